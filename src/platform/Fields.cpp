#include "platform/Fields.h"

#include "platform/Cp932.h"

namespace zorbe {

ConversionError::ConversionError(std::string fieldName, std::string text)
    : std::runtime_error("数値変換エラー: 項目「" + fieldName + "」の値「" + cp932::toUtf8(text)
                         + "」は数値ではありません")
    , m_field(std::move(fieldName))
    , m_text(std::move(text))
{
}

std::int64_t toInt(std::string_view text, std::string_view fieldName)
{
    std::size_t i = 0;
    bool negative = false;
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        negative = text[0] == '-';
        i = 1;
    }
    if (i == text.size() || text.size() - i > 18)
        throw ConversionError(std::string(fieldName), std::string(text));
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9')
            throw ConversionError(std::string(fieldName), std::string(text));
        value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

std::int64_t toIntOrBlank(std::string_view text, std::string_view fieldName, std::int64_t blankValue)
{
    return isBlank(text) ? blankValue : toInt(text, fieldName);
}

bool isBlank(std::string_view text)
{
    for (char c : text)
        if (c != ' ')
            return false;
    return true;
}

bool isDigits(std::string_view text)
{
    if (text.empty())
        return false;
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

std::string zeroPad(std::int64_t value, std::size_t width)
{
    if (value < 0 && width > 0)
        return "-" + zeroPad(-value, width - 1);
    std::string digits = std::to_string(value);
    if (digits.size() > width)
        return digits.substr(digits.size() - width);
    return std::string(width - digits.size(), '0') + digits;
}

std::string padRight(std::string_view text, std::size_t width, char fill)
{
    std::string out(cp932::cutBytes(text, width));
    out.append(width - out.size(), fill);
    return out;
}

} // namespace zorbe
