#include "db/DbPage.h"

#include "data/formats/Layout.h"
#include "paper/PageModel.h"
#include "platform/Cp932.h"

namespace zorbe::dbpage {

int PageWriter::x(int mm) const
{
    return mmToDevice(mm, m_ctx.dpi, 1.0, m_ctx.originX);
}

int PageWriter::y(int mm) const
{
    return mmToDevice(mm, m_ctx.dpi, 1.0, m_ctx.originY);
}

void PageWriter::whiten(const PageRect &deviceRect)
{
    canvas().setBrushColour(kWhite);
    canvas().fillRect(deviceRect);
}

void PageWriter::selectFont(std::string_view face, int sizePt, bool bold)
{
    canvas().setFontResolution(m_ctx.dpi);
    canvas().createFont(face, -MulDiv(sizePt, m_ctx.dpi, 72), 0, bold ? 700 : 400);
    canvas().setFontColour(kBlack);
}

void PageWriter::text(int xMm, int yMm, std::string_view cp932Text)
{
    canvas().textOut(x(xMm), y(yMm), cp932Text);
}

void PageWriter::line(int x1Mm, int y1Mm, int x2Mm, int y2Mm)
{
    canvas().moveTo(x(x1Mm), y(y1Mm));
    canvas().lineTo(x(x2Mm), y(y2Mm));
}

std::string tenthsText(std::int64_t tenths)
{
    const bool negative = tenths < 0;
    const std::int64_t magnitude = negative ? -tenths : tenths;
    return (negative ? "-" : "") + std::to_string(magnitude / 10) + "." + std::to_string(magnitude % 10);
}

std::int64_t rateTenths(std::int64_t part, std::int64_t whole)
{
    return whole > 0 ? (2 * part * 1000 + whole) / (2 * whole) : 0;
}

std::string rateText(std::int64_t tenths)
{
    return tenthsText(tenths) + "%";
}

std::string groupedNumber(std::int64_t value)
{
    std::string digits = std::to_string(value < 0 ? -value : value);
    for (std::size_t at = digits.size(); at > 3; at -= 3)
        digits.insert(at - 3, ",");
    return (value < 0 ? "-" : "") + digits;
}

std::string bytesOf(std::string_view text, std::size_t from1, std::size_t count)
{
    if (from1 == 0 || from1 > text.size())
        return {};
    return std::string(text.substr(from1 - 1, count));
}

std::string withoutTrailingBlanks(std::string_view text)
{
    // Character by character, so that the trail byte of a two-byte
    // character is never taken for the start of a blank.
    std::size_t end = 0;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = cp932::charLength(text, i);
        const std::string_view c = text.substr(i, length);
        i += length;
        if (c != " " && c != formats::kWideSpace)
            end = i;
    }
    return std::string(text.substr(0, end));
}

bool allWideBlanks(std::string_view text)
{
    if (text.empty() || text.size() % 2 != 0)
        return false;
    for (std::size_t i = 0; i < text.size(); i += 2)
        if (text.substr(i, 2) != formats::kWideSpace)
            return false;
    return true;
}

} // namespace zorbe::dbpage
