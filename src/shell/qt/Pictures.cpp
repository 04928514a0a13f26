#include "shell/qt/Pictures.h"

#include "platform/qt/QtFonts.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zorbe::pictures {

namespace {

const QColor kTurfDark(8, 46, 32);
const QColor kTurfLight(22, 92, 58);
const QColor kGold(226, 186, 92);
const QColor kGoldLight(255, 236, 170);
const QColor kGoldDeep(160, 112, 32);
const QColor kCinnabar(196, 36, 28);

QLinearGradient goldGradient(const QRectF &r)
{
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0.0, kGoldLight);
    g.setColorAt(0.45, kGold);
    g.setColorAt(0.55, kGoldDeep);
    g.setColorAt(1.0, kGold);
    return g;
}

// Turf: a dark green ground with the mown stripes of a racecourse.
void paintTurf(QPainter &p, const QRectF &r)
{
    QLinearGradient ground(r.topLeft(), r.bottomLeft());
    ground.setColorAt(0.0, kTurfDark);
    ground.setColorAt(1.0, kTurfLight);
    p.fillRect(r, ground);

    p.save();
    p.setClipRect(r);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 9));
    const qreal stripe = r.width() / 7.0;
    for (int i = -2; i < 10; i += 2) {
        QPolygonF band;
        const qreal x = r.left() + i * stripe;
        band << QPointF(x, r.bottom()) << QPointF(x + stripe, r.bottom())
             << QPointF(x + stripe + r.height() * 0.5, r.top()) << QPointF(x + r.height() * 0.5, r.top());
        p.drawPolygon(band);
    }
    // A soft light from the upper left, as on a sunny afternoon.
    QRadialGradient light(QPointF(r.left() + r.width() * 0.3, r.top() + r.height() * 0.2), r.width() * 0.8);
    light.setColorAt(0.0, QColor(255, 255, 220, 46));
    light.setColorAt(1.0, QColor(255, 255, 220, 0));
    p.fillRect(r, light);
    p.restore();
}

// The white inside and outside rails of the track, curving across.
void paintRails(QPainter &p, const QRectF &r, qreal top)
{
    p.save();
    p.setClipRect(r);
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 2; ++i) {
        const qreal y = top + i * r.height() * 0.09;
        QPainterPath rail;
        rail.moveTo(r.left() - 10, y + r.height() * 0.16);
        rail.cubicTo(QPointF(r.left() + r.width() * 0.3, y - r.height() * 0.05),
                     QPointF(r.left() + r.width() * 0.7, y - r.height() * 0.05),
                     QPointF(r.right() + 10, y + r.height() * 0.16));
        p.setPen(QPen(QColor(255, 255, 255, i == 0 ? 150 : 90), i == 0 ? 2.0 : 1.4));
        p.drawPath(rail);
    }
    p.restore();
}

// Text filled with gold, with a dark drop shadow and a thin outline.
void paintGoldText(QPainter &p, const QRectF &box, const QFont &font, const QString &text)
{
    QPainterPath path;
    const QFontMetricsF fm(font);
    const qreal w = fm.horizontalAdvance(text);
    const QPointF origin(box.center().x() - w / 2.0, box.center().y() + (fm.ascent() - fm.descent()) / 2.0);
    path.addText(origin, font, text);

    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 120));
    p.drawPath(path.translated(2.5, 3.0));
    p.setBrush(goldGradient(path.boundingRect()));
    p.setPen(QPen(QColor(90, 60, 10), 1.0));
    p.drawPath(path);
    p.restore();
}

void paintPlainText(QPainter &p, const QRectF &box, const QFont &font, const QColor &color, const QString &text,
                    int flags = Qt::AlignCenter)
{
    p.save();
    p.setFont(font);
    p.setPen(QColor(0, 0, 0, 110));
    p.drawText(box.translated(1, 1), flags, text);
    p.setPen(color);
    p.drawText(box, flags, text);
    p.restore();
}

// The red seal of a newspaper: the characters set two by two in a square.
void paintSeal(QPainter &p, const QPointF &centre, qreal size, const QString &fourChars)
{
    p.save();
    p.translate(centre);
    p.rotate(-6);
    const QRectF square(-size / 2, -size / 2, size, size);
    p.setPen(Qt::NoPen);
    p.setBrush(kCinnabar);
    p.drawRoundedRect(square, size * 0.08, size * 0.08);
    p.setPen(QPen(QColor(255, 236, 226), size * 0.04));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(square.adjusted(size * 0.08, size * 0.08, -size * 0.08, -size * 0.08), size * 0.05,
                      size * 0.05);
    QFont f = windowsFont(QStringLiteral("ＭＳ 明朝"), int(size * 0.34));
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(255, 240, 232));
    // Read from the right column down, then the left column, as seals are.
    const qreal h = size * 0.36;
    const QRectF cells[4] = {{0, -h, h, h}, {0, 0, h, h}, {-h, -h, h, h}, {-h, 0, h, h}};
    for (int i = 0; i < 4 && i < fourChars.size(); ++i)
        p.drawText(cells[i], Qt::AlignCenter, fourChars.mid(i, 1));
    p.restore();
}

// The pick marks of a racing paper in white discs.
void paintMarks(QPainter &p, const QRectF &row)
{
    const QString marks = QStringLiteral("◎○▲△☆");
    const qreal d = row.height();
    const qreal gap = d * 0.45;
    const qreal total = marks.size() * d + (marks.size() - 1) * gap;
    qreal x = row.center().x() - total / 2.0;
    QFont f = windowsFont(QStringLiteral("ＭＳ ゴシック"), int(d * 0.68));
    f.setBold(true);
    p.save();
    p.setFont(f);
    for (int i = 0; i < marks.size(); ++i) {
        const QRectF disc(x, row.top(), d, d);
        p.setPen(QPen(kGold, 1.2));
        p.setBrush(QColor(250, 246, 232));
        p.drawEllipse(disc);
        p.setPen(i == 0 ? kCinnabar : QColor(30, 30, 30));
        p.drawText(disc.adjusted(0, 1, 0, 1), Qt::AlignCenter, marks.mid(i, 1));
        x += d + gap;
    }
    p.restore();
}

// A Latin serif face for the "Data Lab." line.
QFont serifFont()
{
    QFont f;
    f.setFamilies({QStringLiteral("DejaVu Serif"), QStringLiteral("Liberation Serif")});
    f.setStyleHint(QFont::Serif);
    return f;
}

void paintGoldFrame(QPainter &p, const QRectF &r, qreal inset)
{
    p.save();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kGold, 1.6));
    p.drawRect(r.adjusted(inset, inset, -inset, -inset));
    p.setPen(QPen(QColor(226, 186, 92, 120), 0.8));
    p.drawRect(r.adjusted(inset + 3, inset + 3, -inset - 3, -inset - 3));
    p.restore();
}

} // namespace

void paintHorseshoe(QPainter &p, const QRectF &area, const QColor &color)
{
    const qreal s = std::min(area.width(), area.height());
    const QPointF c(area.center().x(), area.top() + s * 0.46);
    const qreal outer = s * 0.46, inner = s * 0.27;

    // An arc of about 290 degrees, open at the bottom, with squared heels.
    QPainterPath shoe;
    const qreal start = -55, sweep = 290;
    QRectF outerBox(c.x() - outer, c.y() - outer, 2 * outer, 2 * outer);
    QRectF innerBox(c.x() - inner, c.y() - inner, 2 * inner, 2 * inner);
    shoe.arcMoveTo(outerBox, start);
    shoe.arcTo(outerBox, start, sweep);
    shoe.arcTo(innerBox, start + sweep, -sweep);
    shoe.closeSubpath();

    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 90));
    p.drawPath(shoe.translated(s * 0.02, s * 0.025));
    QLinearGradient metal(area.topLeft(), area.bottomRight());
    metal.setColorAt(0.0, color.lighter(140));
    metal.setColorAt(0.5, color);
    metal.setColorAt(1.0, color.darker(150));
    p.setBrush(metal);
    p.setPen(QPen(color.darker(180), std::max<qreal>(0.8, s * 0.012)));
    p.drawPath(shoe);

    // Nail holes along the middle of the shoe.
    const qreal mid = (outer + inner) / 2.0;
    p.setPen(Qt::NoPen);
    p.setBrush(color.darker(230));
    for (int i = 0; i < 8; ++i) {
        const qreal deg = start + 18 + i * (sweep - 36) / 7.0;
        const qreal rad = deg * std::numbers::pi / 180.0;
        const QPointF hole(c.x() + mid * std::cos(rad), c.y() - mid * std::sin(rad));
        p.drawEllipse(hole, s * 0.022, s * 0.022);
    }
    p.restore();
}

void paintTitle(QPainter &p, const QRectF &area)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QRectF r = area;
    paintTurf(p, r);
    paintRails(p, r, r.top() + r.height() * 0.60);

    // A large faint horseshoe behind the name.
    p.setOpacity(0.16);
    paintHorseshoe(p, QRectF(r.center().x() - 95, r.top() + 12, 190, 190), kGold);
    p.setOpacity(1.0);

    paintGoldFrame(p, r, 6);

    // Masthead.
    QFont small = windowsFont(QStringLiteral("ＭＳ Ｐゴシック"), 11);
    small.setLetterSpacing(QFont::AbsoluteSpacing, 3.0);
    small.setBold(true);
    paintPlainText(p, QRectF(r.left(), r.top() + 16, r.width(), 16), small, kGoldLight,
                   QStringLiteral("JRA RACING NEWSPAPER"));

    QFont name = windowsFont(QStringLiteral("ＭＳ 明朝"), 76);
    name.setBold(true);
    paintGoldText(p, QRectF(r.left(), r.top() + 40, r.width(), 96), name, QStringLiteral("ゾルベ"));

    QFont sub = serifFont();
    sub.setPixelSize(24);
    sub.setItalic(true);
    sub.setBold(true);
    paintPlainText(p, QRectF(r.left(), r.top() + 136, r.width(), 30), sub, QColor(250, 248, 240),
                   QStringLiteral("Data Lab."));
    QFont ban = windowsFont(QStringLiteral("ＭＳ 明朝"), 20);
    ban.setBold(true);
    const QFontMetricsF subMetrics(sub);
    const qreal subRight = r.center().x() + subMetrics.horizontalAdvance(QStringLiteral("Data Lab.")) / 2.0;
    paintPlainText(p, QRectF(subRight + 4, r.top() + 138, 30, 28), ban, kGoldLight, QStringLiteral("版"),
                   Qt::AlignLeft | Qt::AlignVCenter);

    paintSeal(p, QPointF(r.right() - 42, r.top() + 62), 44, QStringLiteral("競馬新聞"));

    // The marks of the picks, and the catch line.
    paintMarks(p, QRectF(r.left(), r.top() + 186, r.width(), 26));
    QFont line = windowsFont(QStringLiteral("ＭＳ Ｐゴシック"), 12);
    line.setBold(true);
    paintPlainText(p, QRectF(r.left(), r.top() + 220, r.width(), 18), line, QColor(236, 240, 228),
                   QStringLiteral("出馬表・成績・タイム指数・予想"));
    p.restore();
}

void paintSplash(QPainter &p, const QRectF &area)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QRectF r = area;
    paintTurf(p, r);
    paintRails(p, r, r.top() + r.height() * 0.70);
    paintGoldFrame(p, r, 4);

    paintHorseshoe(p, QRectF(r.center().x() - 30, r.top() + 14, 60, 60), kGold);

    QFont name = windowsFont(QStringLiteral("ＭＳ 明朝"), 40);
    name.setBold(true);
    paintGoldText(p, QRectF(r.left(), r.top() + 74, r.width(), 48), name, QStringLiteral("ゾルベ"));

    QFont sub = serifFont();
    sub.setPixelSize(15);
    sub.setItalic(true);
    sub.setBold(true);
    paintPlainText(p, QRectF(r.left(), r.top() + 120, r.width(), 20), sub, QColor(250, 248, 240),
                   QStringLiteral("Data Lab. 版"));

    QFont note = windowsFont(QStringLiteral("ＭＳ Ｐゴシック"), 11);
    paintPlainText(p, QRectF(r.left(), r.bottom() - 28, r.width(), 16), note, kGoldLight,
                   QStringLiteral("起動しています…"));
    p.restore();
}

void paintEmblem(QPainter &p, const QRectF &area)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath tile;
    tile.addRoundedRect(area, area.width() * 0.16, area.height() * 0.16);
    p.setClipPath(tile);
    paintTurf(p, area);
    p.setClipping(false);
    p.setPen(QPen(kGold, 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawPath(tile);
    paintHorseshoe(p, area.adjusted(area.width() * 0.16, area.height() * 0.14, -area.width() * 0.16,
                                    -area.height() * 0.18),
                   kGold);
    p.restore();
}

void paintIcon(QPainter &p, const QRectF &area)
{
    // The title picture reduced to what a small square still shows: its
    // turf in a rounded tile, the gold frame, the horseshoe in full colour
    // and, from 48 pixels up, the first letter of the name.
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const qreal s = std::min(area.width(), area.height());
    const QRectF r(area.center().x() - s / 2, area.center().y() - s / 2, s, s);
    QPainterPath tile;
    tile.addRoundedRect(r, s * 0.16, s * 0.16);
    p.setClipPath(tile);
    paintTurf(p, r);
    if (s >= 32)
        paintGoldFrame(p, r, std::max(1.0, s * 0.05));
    p.setClipping(false);
    const qreal shoe = s * 0.72;
    paintHorseshoe(p, QRectF(r.center().x() - shoe / 2, r.top() + s * 0.12, shoe, shoe), kGold);
    if (s >= 48) {
        QFont name = windowsFont(QStringLiteral("ＭＳ 明朝"), 10);
        name.setPixelSize(static_cast<int>(s * 0.42));
        name.setBold(true);
        paintGoldText(p, QRectF(r.left(), r.top() + s * 0.26, r.width(), s * 0.5), name, QStringLiteral("ゾ"));
    }
    p.restore();
}

} // namespace zorbe::pictures
