#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

// Field access in fixed-layout text records, and the strict number
// conversion every computation on a stored field goes through.
namespace zorbe {

// Raised when a field that must hold a number does not; what() names the
// field and quotes its text (converted for display), in Japanese.
class ConversionError : public std::runtime_error
{
public:
    ConversionError(std::string field, std::string text);
    const std::string &field() const { return m_field; }
    const std::string &text() const { return m_text; } // the field's bytes as stored

private:
    std::string m_field;
    std::string m_text;
};

// A field of a fixed layout: its name, 0-based byte offset and width.
struct FieldSpec
{
    std::string_view name;
    std::size_t offset;
    std::size_t width;

    constexpr std::size_t end() const { return offset + width; }
};

// A field given, as JV-Data documents it, by 1-based byte position.
constexpr FieldSpec jvField(std::string_view name, std::size_t position, std::size_t length)
{
    return FieldSpec{name, position - 1, length};
}

// The bytes of a field. A record shorter than the field yields what is there
// (possibly nothing): callers read whole records, so this only matters for
// damaged input, which must not read past the buffer.
inline std::string_view field(std::string_view record, std::size_t offset, std::size_t width)
{
    if (offset >= record.size())
        return {};
    return record.substr(offset, width);
}
inline std::string_view field(std::string_view record, const FieldSpec &f)
{
    return field(record, f.offset, f.width);
}
// 1-based position, as in JV-Data and the text formats.
inline std::string_view fieldAt(std::string_view record, std::size_t position, std::size_t length)
{
    return field(record, position - 1, length);
}

// Strict decimal conversion: optional leading '-' or '+', then one or more
// ASCII digits and nothing else (no blanks). Anything else raises
// ConversionError naming fieldName and the text.
std::int64_t toInt(std::string_view text, std::string_view fieldName);

// The same, but a field that is entirely blank (or empty) gives blankValue:
// for the fields whose callers test for blanks.
std::int64_t toIntOrBlank(std::string_view text, std::string_view fieldName, std::int64_t blankValue);

// True when every byte is an ASCII blank (an empty text counts as blank).
bool isBlank(std::string_view text);
// True when text is non-empty and all ASCII digits.
bool isDigits(std::string_view text);

// Number written with leading zeros to exactly width digits; a value too wide
// keeps its last width digits (the record layouts are fixed).
std::string zeroPad(std::int64_t value, std::size_t width);
// Text padded with ASCII blanks (or cut at a character boundary) to width bytes.
std::string padRight(std::string_view text, std::size_t width, char fill = ' ');

} // namespace zorbe
