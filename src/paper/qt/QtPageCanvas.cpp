#include "paper/qt/QtPageCanvas.h"

#include "paper/qt/VerticalGlyphs.h"
#include "platform/qt/QtFonts.h"
#include "platform/qt/QtText.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>

#include <vector>

namespace zorbe {

namespace {

QColor toQColor(Rgb c)
{
    return QColor(c.r, c.g, c.b);
}

// Characters a vertical "@" face turns on their side: the single-byte
// characters of cp932 (ASCII and half-width katakana).
bool turnedInVerticalText(char32_t c)
{
    return c < 0x80 || (c >= 0xFF61 && c <= 0xFF9F);
}

// Upright characters that should lie on their side in a column when a font
// has no vertical form for them.
bool turnedWithoutVerticalForm(char32_t c)
{
    switch (c) {
    case U'ー': case U'～': case U'〜': case U'－': case U'―': case U'‐': case U'…': case U'‥':
    case U'＝': case U'（': case U'）': case U'「': case U'」': case U'『': case U'』': case U'【':
    case U'】': case U'［': case U'］': case U'〔': case U'〕': case U'＜': case U'＞': case U'《':
    case U'》': case U'｛': case U'｝':
        return true;
    default:
        return false;
    }
}

// A piece of a vertical text: a run of turned characters, or one upright.
struct Piece
{
    QString text;
    bool turned = false;
    char32_t character = 0;
    qreal advance = 0;
};

// The text cell is one character height tall with the baseline at the
// font's ascent, as the page faces define it; the IPA fonts' line spacing
// is larger, and a taller cell would paint over neighbouring rules.
struct Cell
{
    int height;
    qreal ascent;
};

Cell cellOf(const QFontMetricsF &metrics, const PageFont &font)
{
    const int em = qMax(1, font.pixelSize());
    return {em, qMin<qreal>(metrics.ascent(), em * 0.88)};
}

} // namespace

QtPageCanvas::QtPageCanvas(QPainter &painter, int deviceResolution)
    : PageCanvas(deviceResolution)
    , m_painter(painter)
{
}

QFont QtPageCanvas::qtFont(const PageFont &font)
{
    const QString face = toQString(font.face);
    auto it = m_families.constFind(face);
    if (it == m_families.constEnd())
        it = m_families.insert(face, mapFontFamily(face));
    QFont f(*it);
    f.setPixelSize(qMax(1, font.pixelSize()));
    f.setBold(font.bold);
    f.setKerning(false);
    // Page positions are computed, not hinted: the same text has the same
    // width on screen, paper and PDF.
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

void QtPageCanvas::drawText(int x, int y, std::string_view cp932Text, const PageFont &font, Rgb background)
{
    const QString text = toQString(cp932Text);
    if (font.vertical)
        drawVertical(x, y, text, font, background);
    else
        drawHorizontal(x, y, text, font, background);
}

void QtPageCanvas::drawHorizontal(int x, int y, const QString &text, const PageFont &font, Rgb background)
{
    const QFont f = qtFont(font);
    const QFontMetricsF metrics(f, m_painter.device());
    const Cell cell = cellOf(metrics, font);
    const int width = qRound(metrics.horizontalAdvance(text));
    m_painter.fillRect(QRect(x, y, width, cell.height), toQColor(background));
    m_painter.setFont(f);
    m_painter.setPen(toQColor(font.colour));
    m_painter.drawText(QPointF(x, y + cell.ascent), text);
}

void QtPageCanvas::drawVertical(int x, int y, const QString &text, const PageFont &font, Rgb background)
{
    const QFont f = qtFont(font);
    const QFontMetricsF metrics(f, m_painter.device());
    const Cell cellMetrics = cellOf(metrics, font);
    const qreal cell = cellMetrics.height;
    const qreal ascent = cellMetrics.ascent;
    const qreal em = cell;
    const QRawFont raw = QRawFont::fromFont(f);

    std::vector<Piece> pieces;
    const QList<uint> characters = text.toUcs4();
    for (uint u : characters) {
        const auto c = static_cast<char32_t>(u);
        if (turnedInVerticalText(c)) {
            if (pieces.empty() || !pieces.back().turned)
                pieces.push_back(Piece{QString(), true, 0, 0});
            pieces.back().text += QString::fromUcs4(&c, 1);
        } else {
            pieces.push_back(Piece{QString::fromUcs4(&c, 1), false, c, em});
        }
    }
    qreal length = 0;
    for (Piece &p : pieces) {
        if (p.turned)
            p.advance = metrics.horizontalAdvance(p.text);
        length += p.advance;
    }

    // The column: one cell wide to the left of x, growing downward.
    m_painter.fillRect(QRect(x - cellMetrics.height, y, cellMetrics.height, qRound(length)), toQColor(background));
    m_painter.setFont(f);
    m_painter.setPen(toQColor(font.colour));

    // Upright glyphs sit in the em square of their place in the column.
    qreal down = y;
    for (const Piece &p : pieces) {
        if (p.turned) {
            m_painter.save();
            m_painter.translate(x, down);
            m_painter.rotate(90);
            m_painter.drawText(QPointF(0, ascent), p.text);
            m_painter.restore();
            down += p.advance;
            continue;
        }
        const quint32 plain = plainGlyph(raw, p.character);
        const quint32 glyph = verticalGlyph(raw, p.character);
        if (glyph == 0) {
            // Not in the page font: Qt's fallback font draws it upright.
            const qreal w = metrics.horizontalAdvance(p.text);
            m_painter.drawText(QPointF(x - cell + (cell - w) / 2, down + ascent), p.text);
            down += p.advance;
            continue;
        }
        QGlyphRun run;
        run.setRawFont(raw);
        run.setGlyphIndexes({glyph});
        run.setPositions({QPointF(0, 0)});
        const qreal w = raw.advancesForGlyphIndexes(QList<quint32>{glyph}).value(0).x();
        if (glyph == plain && turnedWithoutVerticalForm(p.character)) {
            // No vertical form: the horizontal glyph turned on its side,
            // centred in its square.
            m_painter.save();
            m_painter.translate(x - cell / 2, down + em / 2);
            m_painter.rotate(90);
            m_painter.drawGlyphRun(QPointF(-w / 2, ascent - em / 2), run);
            m_painter.restore();
        } else {
            m_painter.drawGlyphRun(QPointF(x - cell + (cell - w) / 2, down + ascent), run);
        }
        down += p.advance;
    }
}

void QtPageCanvas::drawLine(int x1, int y1, int x2, int y2, int penWidth)
{
    m_painter.save();
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setPen(QPen(Qt::black, qMax(1, penWidth), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    m_painter.drawLine(x1, y1, x2, y2);
    m_painter.restore();
}

void QtPageCanvas::drawRect(const PageRect &rect, Rgb colour)
{
    m_painter.fillRect(QRect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top), toQColor(colour));
}

int QtPageCanvas::measureText(std::string_view cp932Text, const PageFont &font)
{
    const QFontMetricsF metrics(qtFont(font), m_painter.device());
    return qRound(metrics.horizontalAdvance(toQString(cp932Text)));
}

int QtPageCanvas::measureHeight(const PageFont &font)
{
    return cellOf(QFontMetricsF(qtFont(font), m_painter.device()), font).height;
}

} // namespace zorbe
