#pragma once

#include "paper/PageCanvas.h"

#include <string>
#include <string_view>
#include <vector>

namespace zorbe {

// One drawing call as the recording canvas saw it.
struct RecordedCall
{
    enum class Kind { Text, VText, Line, Rect };
    Kind kind = Kind::Text;
    int x = 0;        // text: cell position; line: from; rect: left, top
    int y = 0;
    int x2 = 0;       // line: to; rect: right, bottom
    int y2 = 0;
    std::string face; // text: face (cp932), size, bold, colour
    int sizePt = 0;
    bool bold = false;
    Rgb colour = kBlack; // text: font colour; rect: brush colour; line: black
    int penWidth = 0;    // line only
    std::string text;    // cp932
};

// A canvas that draws nothing and lists every call, for checking where a
// layout puts each item. Text is measured as if every byte were half a
// character height wide (a fixed-pitch face), so widths are predictable.
class RecordingCanvas : public PageCanvas
{
public:
    explicit RecordingCanvas(int deviceResolution = 96) : PageCanvas(deviceResolution) {}

    const std::vector<RecordedCall> &calls() const { return m_calls; }
    void clear() { m_calls.clear(); }

    // The first text call with exactly this (cp932) text, or nullptr.
    const RecordedCall *findText(std::string_view cp932Text) const;
    // Every text call (horizontal and vertical) in drawing order.
    std::vector<RecordedCall> texts() const;

    // The calls as tab-separated UTF-8 lines ending in "\n", one per call:
    // call (text, vtext, line, rect), x, y, x2, y2, face, size in points,
    // bold (0/1), colour #rrggbb, pen width, text. Fields a call does not
    // have are empty (x2 and y2 of a text, font fields of a line or
    // rectangle, the pen width of all but a line).
    std::string toText() const;

protected:
    void drawText(int x, int y, std::string_view cp932Text, const PageFont &font, Rgb background) override;
    void drawLine(int x1, int y1, int x2, int y2, int penWidth) override;
    void drawRect(const PageRect &rect, Rgb colour) override;
    int measureText(std::string_view cp932Text, const PageFont &font) override;
    int measureHeight(const PageFont &font) override;

private:
    std::vector<RecordedCall> m_calls;
};

// One recorded call as a line of RecordingCanvas::toText (without "\n").
std::string recordedLine(const RecordedCall &call);

} // namespace zorbe
