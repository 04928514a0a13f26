#include "paper/RecordingCanvas.h"

#include "platform/Cp932.h"

namespace zorbe {

void RecordingCanvas::drawText(int x, int y, std::string_view cp932Text, const PageFont &font, Rgb)
{
    RecordedCall call;
    call.kind = font.vertical ? RecordedCall::Kind::VText : RecordedCall::Kind::Text;
    call.x = x;
    call.y = y;
    call.face = font.face;
    call.sizePt = font.sizePt();
    call.bold = font.bold;
    call.colour = font.colour;
    call.text = std::string(cp932Text);
    m_calls.push_back(std::move(call));
}

void RecordingCanvas::drawLine(int x1, int y1, int x2, int y2, int penWidth)
{
    RecordedCall call;
    call.kind = RecordedCall::Kind::Line;
    call.x = x1;
    call.y = y1;
    call.x2 = x2;
    call.y2 = y2;
    call.penWidth = penWidth;
    m_calls.push_back(std::move(call));
}

void RecordingCanvas::drawRect(const PageRect &rect, Rgb colour)
{
    RecordedCall call;
    call.kind = RecordedCall::Kind::Rect;
    call.x = rect.left;
    call.y = rect.top;
    call.x2 = rect.right;
    call.y2 = rect.bottom;
    call.colour = colour;
    m_calls.push_back(std::move(call));
}

int RecordingCanvas::measureText(std::string_view cp932Text, const PageFont &font)
{
    return static_cast<int>(cp932Text.size()) * font.pixelSize() / 2;
}

int RecordingCanvas::measureHeight(const PageFont &font)
{
    return font.pixelSize();
}

const RecordedCall *RecordingCanvas::findText(std::string_view cp932Text) const
{
    for (const RecordedCall &call : m_calls)
        if ((call.kind == RecordedCall::Kind::Text || call.kind == RecordedCall::Kind::VText) &&
            call.text == cp932Text)
            return &call;
    return nullptr;
}

std::vector<RecordedCall> RecordingCanvas::texts() const
{
    std::vector<RecordedCall> result;
    for (const RecordedCall &call : m_calls)
        if (call.kind == RecordedCall::Kind::Text || call.kind == RecordedCall::Kind::VText)
            result.push_back(call);
    return result;
}

namespace {

// Tabs and line breaks inside a text would break the one-line-per-call
// format; they are written as spaces.
std::string oneLine(std::string utf8)
{
    for (char &c : utf8)
        if (c == '\t' || c == '\n' || c == '\r')
            c = ' ';
    return utf8;
}

const char *kindName(RecordedCall::Kind kind)
{
    switch (kind) {
    case RecordedCall::Kind::Text:
        return "text";
    case RecordedCall::Kind::VText:
        return "vtext";
    case RecordedCall::Kind::Line:
        return "line";
    case RecordedCall::Kind::Rect:
        return "rect";
    }
    return "";
}

} // namespace

std::string recordedLine(const RecordedCall &call)
{
    const bool isText = call.kind == RecordedCall::Kind::Text || call.kind == RecordedCall::Kind::VText;
    std::string line = kindName(call.kind);
    auto add = [&line](const std::string &field) {
        line += '\t';
        line += field;
    };
    add(std::to_string(call.x));
    add(std::to_string(call.y));
    add(isText ? "" : std::to_string(call.x2));
    add(isText ? "" : std::to_string(call.y2));
    add(isText ? oneLine(cp932::toUtf8(call.face)) : "");
    add(isText ? std::to_string(call.sizePt) : "");
    add(isText ? (call.bold ? "1" : "0") : "");
    add(colourText(call.colour));
    add(call.kind == RecordedCall::Kind::Line ? std::to_string(call.penWidth) : "");
    add(isText ? oneLine(cp932::toUtf8(call.text)) : "");
    return line;
}

std::string RecordingCanvas::toText() const
{
    std::string out;
    for (const RecordedCall &call : m_calls) {
        out += recordedLine(call);
        out += '\n';
    }
    return out;
}

} // namespace zorbe
