#pragma once

#include "paper/PageCanvas.h"

#include <QFont>
#include <QString>

class QPainter;

namespace zorbe {

// The page canvas over a QPainter: the display window's page, a printer
// page, a PDF page or an image. Faces map to the installed IPA fonts
// (mapFontFamily). Vertical text runs downward in the strip to the left of
// x: Japanese characters stand upright in their vertical forms (the font's
// 'vert' substitutions), half-width characters are turned 90° clockwise.
class QtPageCanvas : public PageCanvas
{
public:
    // deviceResolution: device units per inch of the painter's device.
    QtPageCanvas(QPainter &painter, int deviceResolution);

    QPainter &painter() { return m_painter; }

protected:
    void drawText(int x, int y, std::string_view cp932Text, const PageFont &font, Rgb background) override;
    void drawLine(int x1, int y1, int x2, int y2, int penWidth) override;
    void drawRect(const PageRect &rect, Rgb colour) override;
    int measureText(std::string_view cp932Text, const PageFont &font) override;
    int measureHeight(const PageFont &font) override;

private:
    struct FontEntry;
    struct VerticalRun;
    // What a page needs of a face at a size on this device: the font, its
    // metrics and text cell, and the widths and vertical runs of the texts
    // drawn in it. Pages draw the same few fonts and many of the same texts
    // (names, marks, column headings) again and again, so these are kept for
    // the whole run and let go when they grow large.
    FontEntry &fontEntry(const PageFont &font);
    const VerticalRun &verticalRun(FontEntry &entry, const std::string &cp932Text);
    void drawHorizontal(int x, int y, const std::string &cp932Text, const PageFont &font, Rgb background);
    void drawVertical(int x, int y, const std::string &cp932Text, const PageFont &font, Rgb background);

    QPainter &m_painter;
};

} // namespace zorbe
