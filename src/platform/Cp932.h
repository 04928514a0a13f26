#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

// Shift-JIS (code page 932) <-> UTF-8.
//
// Every text the program stores is cp932; it becomes Unicode only where it is
// shown, drawn or typed on a command line. Both directions go through glibc's
// iconv "CP932" converter, which is Microsoft's table (0x5C is the backslash,
// 0x8160 is U+FF5E, NEC and IBM extensions such as ① and 髙 are included).
namespace zorbe::cp932 {

// Raised by the strict conversions; what() is a sentence for the user.
class EncodingError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// cp932 -> UTF-8. Bytes that do not form a cp932 character each become
// U+FFFD, so damaged text still shows and never stops a display.
std::string toUtf8(std::string_view sjis);

// cp932 -> UTF-8; throws EncodingError on the first invalid byte.
std::string toUtf8Strict(std::string_view sjis);

// UTF-8 -> cp932. A character cp932 has no code for becomes the full-width
// question mark "？" (and invalid UTF-8 likewise), so the byte length of the
// result is always well formed cp932.
std::string fromUtf8(std::string_view utf8);

// UTF-8 -> cp932; throws EncodingError naming the first character that has no
// cp932 code, or on invalid UTF-8.
std::string fromUtf8Strict(std::string_view utf8);

// True when byte c starts a two-byte cp932 character.
constexpr bool isLeadByte(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Length in bytes of the character that starts at text[i] (1 or 2; 1 for a
// lead byte at the very end).
inline std::size_t charLength(std::string_view text, std::size_t i)
{
    return (isLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) ? 2 : 1;
}

// Case-insensitive comparison as the Windows profile and file APIs do it for
// cp932 text: single-byte ASCII letters fold, two-byte characters compare
// exactly (their trail bytes may look like ASCII letters and must not fold).
bool equalsIgnoreCase(std::string_view a, std::string_view b);

// Cuts text to at most maxBytes without splitting a two-byte character.
std::string_view cutBytes(std::string_view text, std::size_t maxBytes);

} // namespace zorbe::cp932

// Shorthand for program literals that must be stored as cp932 bytes:
// sj("東京") is the four bytes of the venue name as the files hold it.
namespace zorbe {
inline std::string sj(std::string_view utf8) { return cp932::fromUtf8Strict(utf8); }
inline std::string u8(std::string_view sjis) { return cp932::toUtf8(sjis); }
} // namespace zorbe
