#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zorbe {

// A colour as red, green, blue 0-255.
struct Rgb
{
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;

    friend constexpr bool operator==(const Rgb &, const Rgb &) = default;
};

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kWhite{255, 255, 255};

// "#rrggbb".
std::string colourText(Rgb colour);

// The canvas font as the layouts see it. The face is the Windows face name
// in cp932 ("ＭＳ Ｐ明朝", "@ＭＳ Ｐゴシック", ...). height follows the Windows
// convention: negative is the character (em) height in device units.
struct PageFont
{
    std::string face;
    int height = -12;
    int resolution = 96;     // device units per inch the point sizes refer to
    bool bold = false;
    bool vertical = false;   // escapement 2700: the text runs downward
    Rgb colour = kBlack;

    // Character height in device units (what the backends draw with).
    int pixelSize() const { return height < 0 ? -height : height; }
    // Size in points at the font resolution, as the canvas reports it.
    int sizePt() const;
};

// A device rectangle; right and bottom are outside it.
struct PageRect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// The surface a page layout draws on: the display window's page, a printer
// page, a PDF or PNG page, or a recording for tests. It keeps the drawing
// state (font, pen width, brush, current position) the way a Windows device
// canvas does, and hands each primitive to its backend. Text is cp932; the
// backend converts it only when it draws.
class PageCanvas
{
public:
    explicit PageCanvas(int deviceResolution);
    virtual ~PageCanvas() = default;
    PageCanvas(const PageCanvas &) = delete;
    PageCanvas &operator=(const PageCanvas &) = delete;

    // Font. createFont replaces the font the way a new font handle does:
    // face, height (negative: character height) and escapement (2700
    // tenths of a degree for downward text, 0 otherwise), weight 400/700.
    void setFontResolution(int dpi);
    void createFont(std::string_view face, int height, int escapement, int weight);
    // Direct changes to the current font. Each of them gives horizontal text
    // again (the escapement of createFont is not kept) but keeps the face,
    // "@" prefix included.
    void setFontSize(int pt);   // height = -MulDiv(pt, resolution, 72)
    void setFontBold(bool bold);
    void setFontColour(Rgb colour);
    void setFontName(std::string_view face);
    const PageFont &font() const { return m_font; }

    void setPenWidth(int width) { m_penWidth = width; }
    int penWidth() const { return m_penWidth; }
    void setBrushColour(Rgb colour) { m_brush = colour; }
    Rgb brushColour() const { return m_brush; }

    void moveTo(int x, int y);
    void lineTo(int x, int y);
    // Text at (x, y), the top-left of its cell, on a cell painted with the
    // brush colour. With a vertical font the text runs downward from y in
    // the strip of one cell height to the left of x.
    void textOut(int x, int y, std::string_view cp932Text);
    // Fills the rectangle with the brush colour.
    void fillRect(const PageRect &rect);
    // Advance of a horizontal text in the current font, in device units.
    int textWidth(std::string_view cp932Text);
    // Cell height of the current font in device units.
    int textHeight();

protected:
    virtual void drawText(int x, int y, std::string_view cp932Text, const PageFont &font, Rgb background) = 0;
    virtual void drawLine(int x1, int y1, int x2, int y2, int penWidth) = 0;
    virtual void drawRect(const PageRect &rect, Rgb colour) = 0;
    virtual int measureText(std::string_view cp932Text, const PageFont &font) = 0;
    virtual int measureHeight(const PageFont &font) = 0;

private:
    PageFont m_font;
    int m_penWidth = 1;
    Rgb m_brush = kWhite;
    int m_x = 0;
    int m_y = 0;
};

// What each page routine receives: the canvas and how millimetres become
// device units on it.
struct TPageContext
{
    PageCanvas &canvas;
    int originX = 0;   // subtracted from every converted coordinate
    int originY = 0;
    int dpi = 96;      // device units per inch on both axes
};

} // namespace zorbe
