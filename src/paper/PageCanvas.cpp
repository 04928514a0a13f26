#include "paper/PageCanvas.h"

#include "paper/PageModel.h"

#include <cstdio>

namespace zorbe {

std::string colourText(Rgb colour)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", colour.r, colour.g, colour.b);
    return text;
}

int PageFont::sizePt() const
{
    return -MulDiv(height, 72, resolution > 0 ? resolution : 96);
}

PageCanvas::PageCanvas(int deviceResolution)
{
    m_font.resolution = deviceResolution;
    m_font.height = -MulDiv(10, deviceResolution, 72);
}

void PageCanvas::setFontResolution(int dpi)
{
    m_font.resolution = dpi;
}

void PageCanvas::createFont(std::string_view face, int height, int escapement, int weight)
{
    m_font.face = std::string(face);
    m_font.height = height;
    m_font.vertical = escapement == 2700;
    m_font.bold = weight >= 700;
}

void PageCanvas::setFontSize(int pt)
{
    m_font.height = -MulDiv(pt, m_font.resolution, 72);
    m_font.vertical = false;
}

void PageCanvas::setFontBold(bool bold)
{
    m_font.bold = bold;
    m_font.vertical = false;
}

void PageCanvas::setFontColour(Rgb colour)
{
    m_font.colour = colour;
    m_font.vertical = false;
}

void PageCanvas::setFontName(std::string_view face)
{
    m_font.face = std::string(face);
    m_font.vertical = false;
}

void PageCanvas::moveTo(int x, int y)
{
    m_x = x;
    m_y = y;
}

void PageCanvas::lineTo(int x, int y)
{
    drawLine(m_x, m_y, x, y, m_penWidth);
    m_x = x;
    m_y = y;
}

void PageCanvas::textOut(int x, int y, std::string_view cp932Text)
{
    if (!cp932Text.empty())
        drawText(x, y, cp932Text, m_font, m_brush);
}

void PageCanvas::fillRect(const PageRect &rect)
{
    drawRect(rect, m_brush);
}

int PageCanvas::textWidth(std::string_view cp932Text)
{
    PageFont horizontal = m_font;
    horizontal.vertical = false;
    return measureText(cp932Text, horizontal);
}

int PageCanvas::textHeight()
{
    return measureHeight(m_font);
}

} // namespace zorbe
