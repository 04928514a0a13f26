#pragma once

#include "paper/PageCanvas.h"

#include <cstdint>
#include <string>
#include <string_view>

// What the results and database pages share: positions in millimetres from
// the sheet's corner, turned into device units as mm × dpi / 25.4, rounded,
// minus the device origin (no scale factors, unlike the newspaper pages),
// and the number texts they print.
namespace zorbe::dbpage {

class PageWriter
{
public:
    explicit PageWriter(const TPageContext &ctx) : m_ctx(ctx) {}

    PageCanvas &canvas() const { return m_ctx.canvas; }
    int x(int mm) const;
    int y(int mm) const;

    // Fills the device rectangle (no origin applied) with white.
    void whiten(const PageRect &deviceRect);
    // A new horizontal font of face (cp932) at sizePt points of the page's
    // dpi, black, regular or bold.
    void selectFont(std::string_view face, int sizePt, bool bold);
    void text(int xMm, int yMm, std::string_view cp932Text);
    // A straight line between two points in millimetres.
    void line(int x1Mm, int y1Mm, int x2Mm, int y2Mm);

private:
    const TPageContext &m_ctx;
};

// tenths / 10 with one decimal: 570 -> "57.0".
std::string tenthsText(std::int64_t tenths);
// part / whole × 100 in tenths of a percent, halves rounded up (whole > 0).
std::int64_t rateTenths(std::int64_t part, std::int64_t whole);
// A rate in tenths of a percent as text: "41.7%".
std::string rateText(std::int64_t tenths);
// A whole number with thousands separators: 12345 -> "12,345".
std::string groupedNumber(std::int64_t value);

// Bytes from1 … from1 + count - 1 (1-based) of text, as far as it has them.
std::string bytesOf(std::string_view text, std::size_t from1, std::size_t count);
// Text without the ASCII and full-width blanks at its end.
std::string withoutTrailingBlanks(std::string_view text);
// True when the text is not empty and holds nothing but full-width blanks.
bool allWideBlanks(std::string_view text);

} // namespace zorbe::dbpage
