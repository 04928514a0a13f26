#include "platform/Cp932.h"

#include <cerrno>
#include <iconv.h>

namespace zorbe::cp932 {
namespace {

// One iconv descriptor per direction and thread; iconv_t is not thread safe,
// and opening one per call would dominate the conversions of a download run.
class Converter
{
public:
    Converter(const char *to, const char *from)
        : m_cd(iconv_open(to, from))
    {
    }
    ~Converter()
    {
        if (m_cd != reinterpret_cast<iconv_t>(-1))
            iconv_close(m_cd);
    }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;

    bool valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // Converts in; on an invalid or unconvertible sequence calls onBad with
    // the remaining input and appends what it returns, skipping the bytes it
    // reports as consumed.
    template <typename OnBad>
    std::string run(std::string_view in, OnBad onBad)
    {
        if (!valid())
            throw EncodingError("文字コード変換(CP932)が使えません");
        std::string out;
        out.reserve(in.size() * 3 / 2 + 8);
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        const char *src = in.data();
        std::size_t left = in.size();
        char buf[4096];
        while (left > 0) {
            char *dst = buf;
            std::size_t room = sizeof buf;
            std::size_t rc = iconv(m_cd, const_cast<char **>(&src), &left, &dst, &room);
            out.append(buf, static_cast<std::size_t>(dst - buf));
            if (rc != static_cast<std::size_t>(-1))
                continue;
            if (errno == E2BIG)
                continue;
            // EILSEQ or EINVAL: a bad or truncated sequence at src.
            std::size_t skip = 1;
            out += onBad(std::string_view(src, left), skip);
            if (skip > left)
                skip = left;
            src += skip;
            left -= skip;
            iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        }
        return out;
    }

private:
    iconv_t m_cd;
};

Converter &toUtf8Converter()
{
    thread_local Converter c("UTF-8", "CP932");
    return c;
}

Converter &fromUtf8Converter()
{
    thread_local Converter c("CP932", "UTF-8");
    return c;
}

std::size_t utf8SequenceLength(std::string_view s)
{
    const auto c = static_cast<unsigned char>(s[0]);
    std::size_t n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    if (c >= 0x80 && c < 0xC0)
        n = 1;
    return n > s.size() ? s.size() : n;
}

std::string hexBytes(std::string_view s, std::size_t n)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string r;
    for (std::size_t i = 0; i < n && i < s.size(); ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (i)
            r += ' ';
        r += digits[c >> 4];
        r += digits[c & 15];
    }
    return r;
}

// ASCII is the same bytes in cp932 and UTF-8. Most texts a run converts
// (codes, dates, numbers, file names) are ASCII only, and they skip iconv.
bool isAscii(std::string_view s)
{
    for (const char c : s)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

} // namespace

std::string toUtf8(std::string_view sjis)
{
    if (isAscii(sjis))
        return std::string(sjis);
    return toUtf8Converter().run(sjis, [](std::string_view, std::size_t &skip) {
        skip = 1;
        return std::string("\xEF\xBF\xBD");
    });
}

std::string toUtf8Strict(std::string_view sjis)
{
    if (isAscii(sjis))
        return std::string(sjis);
    return toUtf8Converter().run(sjis, [sjis](std::string_view rest, std::size_t &) -> std::string {
        throw EncodingError("Shift-JIS として読めないバイト列があります（位置 "
                            + std::to_string(sjis.size() - rest.size() + 1) + ": " + hexBytes(rest, 2) + "）");
    });
}

std::string fromUtf8(std::string_view utf8)
{
    if (isAscii(utf8))
        return std::string(utf8);
    return fromUtf8Converter().run(utf8, [](std::string_view rest, std::size_t &skip) {
        skip = utf8SequenceLength(rest);
        return std::string("\x81\x48"); // full-width question mark
    });
}

std::string fromUtf8Strict(std::string_view utf8)
{
    if (isAscii(utf8))
        return std::string(utf8);
    return fromUtf8Converter().run(utf8, [](std::string_view rest, std::size_t &) -> std::string {
        const std::string ch(rest.substr(0, utf8SequenceLength(rest)));
        throw EncodingError("文字「" + ch + "」は Shift-JIS で表せません");
    });
}

bool equalsIgnoreCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    auto fold = [](unsigned char c) { return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 32) : c; };
    for (std::size_t i = 0; i < a.size();) {
        const std::size_t n = charLength(a, i);
        if (n == 2) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1])
                return false;
        } else if (fold(static_cast<unsigned char>(a[i])) != fold(static_cast<unsigned char>(b[i]))) {
            return false;
        }
        i += n;
    }
    return true;
}

std::string_view cutBytes(std::string_view text, std::size_t maxBytes)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t n = charLength(text, i);
        if (i + n > maxBytes)
            break;
        i += n;
    }
    return text.substr(0, i);
}

} // namespace zorbe::cp932
