#include "paper/qt/QtPageCanvas.h"

#include "paper/qt/VerticalGlyphs.h"
#include "platform/qt/QtFonts.h"
#include "platform/qt/QtText.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
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

// One upright character or a run of turned ones, laid out once.
struct VerticalPiece
{
    enum class Kind { Turned, Glyph, TurnedGlyph, Fallback };
    Kind kind = Kind::Glyph;
    QString text;       // Turned, Fallback
    QGlyphRun run;      // Glyph, TurnedGlyph
    qreal width = 0;    // the glyph's (or fallback text's) horizontal advance
    qreal advance = 0;  // down the column
};

// A text's shape is the same wherever it stands on the page, so what it
// costs (the cp932 conversion, the advances, the vertical glyph look-ups) is
// paid once per text and font.
template <typename Value>
Value &cached(std::unordered_map<std::string, Value> &cache, const std::string &key, std::size_t limit,
              const std::function<Value()> &make)
{
    auto it = cache.find(key);
    if (it != cache.end())
        return it->second;
    if (cache.size() >= limit)
        cache.clear();
    return cache.emplace(key, make()).first->second;
}

constexpr std::size_t kTextsPerFont = 4096;
constexpr std::size_t kFontEntries = 256;

} // namespace

struct QtPageCanvas::VerticalRun
{
    std::vector<VerticalPiece> pieces;
    qreal length = 0;
};

struct QtPageCanvas::FontEntry
{
    QFont font;
    QFontMetricsF metrics;
    Cell cell;
    std::optional<QRawFont> raw; // made when the face first draws vertically
    std::unordered_map<std::string, qreal> widths;
    std::unordered_map<std::string, VerticalRun> verticalRuns;

    FontEntry(const QFont &f, QPaintDevice *device, const PageFont &page)
        : font(f)
        , metrics(f, device)
        , cell(cellOf(metrics, page))
    {
    }

    qreal width(const std::string &cp932Text)
    {
        return cached<qreal>(widths, cp932Text, kTextsPerFont,
                             [&] { return metrics.horizontalAdvance(toQString(cp932Text)); });
    }
};

QtPageCanvas::QtPageCanvas(QPainter &painter, int deviceResolution)
    : PageCanvas(deviceResolution)
    , m_painter(painter)
{
}

QtPageCanvas::FontEntry &QtPageCanvas::fontEntry(const PageFont &font)
{
    // Never destroyed, so that no font outlives the application object at
    // exit. Pages are drawn on the thread of the windows only.
    static auto &entries = *new std::unordered_map<std::string, std::unique_ptr<FontEntry>>;
    QPaintDevice *device = m_painter.device();
    const int dpiX = device ? device->logicalDpiX() : 0;
    const int dpiY = device ? device->logicalDpiY() : 0;
    std::string key = font.face;
    key += '\t' + std::to_string(font.pixelSize()) + '\t' + (font.bold ? "b" : "") + '\t' + std::to_string(dpiX)
           + 'x' + std::to_string(dpiY);
    auto it = entries.find(key);
    if (it != entries.end())
        return *it->second;
    if (entries.size() >= kFontEntries)
        entries.clear();
    QFont f(mapFontFamily(toQString(font.face)));
    f.setPixelSize(qMax(1, font.pixelSize()));
    f.setBold(font.bold);
    f.setKerning(false);
    // Page positions are computed, not hinted: the same text has the same
    // width on screen, paper and PDF.
    f.setHintingPreference(QFont::PreferNoHinting);
    return *entries.emplace(key, std::make_unique<FontEntry>(f, device, font)).first->second;
}

void QtPageCanvas::drawText(int x, int y, std::string_view cp932Text, const PageFont &font, Rgb background)
{
    const std::string text(cp932Text);
    if (font.vertical)
        drawVertical(x, y, text, font, background);
    else
        drawHorizontal(x, y, text, font, background);
}

void QtPageCanvas::drawHorizontal(int x, int y, const std::string &cp932Text, const PageFont &font, Rgb background)
{
    FontEntry &entry = fontEntry(font);
    const int width = qRound(entry.width(cp932Text));
    m_painter.fillRect(QRect(x, y, width, entry.cell.height), toQColor(background));
    m_painter.setFont(entry.font);
    m_painter.setPen(toQColor(font.colour));
    m_painter.drawText(QPointF(x, y + entry.cell.ascent), toQString(cp932Text));
}

const QtPageCanvas::VerticalRun &QtPageCanvas::verticalRun(FontEntry &entry, const std::string &cp932Text)
{
    return cached<VerticalRun>(entry.verticalRuns, cp932Text, kTextsPerFont, [&] {
        if (!entry.raw)
            entry.raw = QRawFont::fromFont(entry.font);
        const QRawFont &raw = *entry.raw;
        const qreal em = entry.cell.height;
        VerticalRun run;
        const QList<uint> characters = toQString(cp932Text).toUcs4();
        for (uint u : characters) {
            const auto c = static_cast<char32_t>(u);
            if (turnedInVerticalText(c)) {
                if (run.pieces.empty() || run.pieces.back().kind != VerticalPiece::Kind::Turned)
                    run.pieces.push_back(VerticalPiece{VerticalPiece::Kind::Turned, {}, {}, 0, 0});
                run.pieces.back().text += QString::fromUcs4(&c, 1);
                continue;
            }
            VerticalPiece piece;
            piece.advance = em;
            const quint32 plain = plainGlyph(raw, c);
            const quint32 glyph = verticalGlyph(raw, c);
            if (glyph == 0) {
                // Not in the page font: Qt's fallback font draws it upright.
                piece.kind = VerticalPiece::Kind::Fallback;
                piece.text = QString::fromUcs4(&c, 1);
                piece.width = entry.metrics.horizontalAdvance(piece.text);
            } else {
                // A character without a vertical form that should lie on its
                // side: the horizontal glyph turned, centred in its square.
                piece.kind = glyph == plain && turnedWithoutVerticalForm(c) ? VerticalPiece::Kind::TurnedGlyph
                                                                            : VerticalPiece::Kind::Glyph;
                piece.run.setRawFont(raw);
                piece.run.setGlyphIndexes({glyph});
                piece.run.setPositions({QPointF(0, 0)});
                piece.width = raw.advancesForGlyphIndexes(QList<quint32>{glyph}).value(0).x();
            }
            run.pieces.push_back(std::move(piece));
        }
        for (VerticalPiece &p : run.pieces) {
            if (p.kind == VerticalPiece::Kind::Turned)
                p.advance = entry.metrics.horizontalAdvance(p.text);
            run.length += p.advance;
        }
        return run;
    });
}

void QtPageCanvas::drawVertical(int x, int y, const std::string &cp932Text, const PageFont &font, Rgb background)
{
    FontEntry &entry = fontEntry(font);
    const VerticalRun &run = verticalRun(entry, cp932Text);
    const qreal cell = entry.cell.height;
    const qreal ascent = entry.cell.ascent;
    const qreal em = cell;

    // The column: one cell wide to the left of x, growing downward.
    m_painter.fillRect(QRect(x - entry.cell.height, y, entry.cell.height, qRound(run.length)), toQColor(background));
    m_painter.setFont(entry.font);
    m_painter.setPen(toQColor(font.colour));

    // Upright glyphs sit in the em square of their place in the column.
    qreal down = y;
    for (const VerticalPiece &p : run.pieces) {
        switch (p.kind) {
        case VerticalPiece::Kind::Turned:
            m_painter.save();
            m_painter.translate(x, down);
            m_painter.rotate(90);
            m_painter.drawText(QPointF(0, ascent), p.text);
            m_painter.restore();
            break;
        case VerticalPiece::Kind::Fallback:
            m_painter.drawText(QPointF(x - cell + (cell - p.width) / 2, down + ascent), p.text);
            break;
        case VerticalPiece::Kind::TurnedGlyph:
            m_painter.save();
            m_painter.translate(x - cell / 2, down + em / 2);
            m_painter.rotate(90);
            m_painter.drawGlyphRun(QPointF(-p.width / 2, ascent - em / 2), p.run);
            m_painter.restore();
            break;
        case VerticalPiece::Kind::Glyph:
            m_painter.drawGlyphRun(QPointF(x - cell + (cell - p.width) / 2, down + ascent), p.run);
            break;
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
    return qRound(fontEntry(font).width(std::string(cp932Text)));
}

int QtPageCanvas::measureHeight(const PageFont &font)
{
    return fontEntry(font).cell.height;
}

} // namespace zorbe
