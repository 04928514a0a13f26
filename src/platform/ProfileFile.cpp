#include "platform/ProfileFile.h"

#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/StopPoint.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <optional>
#include <sstream>
#include <system_error>
#include <unistd.h>

namespace zorbe {
namespace fs = std::filesystem;

namespace {

std::string_view trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

// The section name of a "[name]" line, or nothing.
std::optional<std::string_view> sectionName(std::string_view line)
{
    line = trim(line);
    if (line.size() < 2 || line.front() != '[')
        return std::nullopt;
    const auto close = line.rfind(']');
    if (close == std::string_view::npos || close == 0)
        return std::nullopt;
    return trim(line.substr(1, close - 1));
}

struct KeyValue
{
    std::string_view key;
    std::string_view value;
};

std::optional<KeyValue> keyValue(std::string_view line)
{
    const std::string_view t = trim(line);
    if (t.empty() || t.front() == ';' || t.front() == '[')
        return std::nullopt;
    // "=" is a single-byte character and never a cp932 trail byte (0x3D < 0x40).
    const auto eq = line.find('=');
    if (eq == std::string_view::npos)
        return std::nullopt;
    return KeyValue{trim(line.substr(0, eq)), trim(line.substr(eq + 1))};
}

// Index range [begin, end) of the lines that belong to the first section of
// that name (header excluded); begin is npos when there is none.
struct SectionRange
{
    std::size_t header = std::string::npos;
    std::size_t end = 0;
};

SectionRange findSection(const std::vector<std::string> &lines, std::string_view section)
{
    SectionRange r;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        auto name = sectionName(lines[i]);
        if (!name)
            continue;
        if (r.header != std::string::npos) {
            r.end = i;
            return r;
        }
        if (cp932::equalsIgnoreCase(*name, section))
            r.header = i;
    }
    if (r.header != std::string::npos)
        r.end = lines.size();
    return r;
}

std::string withoutLineBreaks(std::string_view s)
{
    std::string out(s);
    for (char &c : out)
        if (c == '\r' || c == '\n')
            c = ' ';
    return out;
}

} // namespace

ProfileFile::ProfileFile(fs::path nativePath)
    : m_path(std::move(nativePath))
{
}

fs::path ProfileFile::defaultPath()
{
    return toNative(WinPath(std::string("zorbelab.Ini")));
}

std::vector<std::string> ProfileFile::loadLines() const
{
    std::vector<std::string> lines;
    std::ifstream in(m_path, std::ios::binary);
    if (!in)
        return lines;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
    }
    return lines;
}

void ProfileFile::storeLines(const std::vector<std::string> &lines)
{
    std::string text;
    for (const auto &l : lines) {
        text += l;
        text += "\r\n";
    }
    // The files written before the settings reach the disk before them.
    files::settle();
    std::error_code ec;
    if (m_path.has_parent_path())
        fs::create_directories(m_path.parent_path(), ec);
    fs::path temp = m_path;
    temp += ".tmp~";
    // Written and flushed to the disk before the rename, so that a power
    // loss leaves the old settings or the new ones, never an empty file.
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return; // unwritable: the write is lost without a message
    const char *p = text.data();
    std::size_t left = text.size();
    bool ok = true;
    while (ok && left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR)
            continue;
        ok = n > 0;
        if (ok) {
            p += n;
            left -= static_cast<std::size_t>(n);
        }
    }
    ok = ::fsync(fd) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    if (!ok) {
        fs::remove(temp, ec);
        return;
    }
    stopPoint("write");
    if (std::rename(temp.c_str(), m_path.c_str()) != 0)
        fs::remove(temp, ec);
}

std::string ProfileFile::readString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue) const
{
    const auto lines = loadLines();
    const SectionRange r = findSection(lines, section);
    if (r.header == std::string::npos)
        return std::string(defaultValue);
    for (std::size_t i = r.header + 1; i < r.end; ++i)
        if (auto kv = keyValue(lines[i]); kv && cp932::equalsIgnoreCase(kv->key, key))
            return std::string(kv->value);
    return std::string(defaultValue);
}

namespace {

// Removes every section of that name with its lines; true when one was there.
bool eraseSectionLines(std::vector<std::string> &lines, std::string_view section)
{
    bool changed = false;
    for (;;) {
        const SectionRange r = findSection(lines, section);
        if (r.header == std::string::npos)
            break;
        lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(r.header),
                    lines.begin() + static_cast<std::ptrdiff_t>(r.end));
        changed = true;
    }
    return changed;
}

// Sets the key's line in the lines of a file, as writeString does.
void setKeyLine(std::vector<std::string> &lines, std::string_view section, std::string_view key,
                std::string_view value)
{
    const std::string line = std::string(trim(key)) + "=" + withoutLineBreaks(value);
    SectionRange r = findSection(lines, section);
    if (r.header == std::string::npos) {
        if (!lines.empty() && !trim(lines.back()).empty())
            lines.emplace_back();
        lines.push_back("[" + std::string(section) + "]");
        lines.push_back(line);
        return;
    }
    for (std::size_t i = r.header + 1; i < r.end; ++i) {
        if (auto kv = keyValue(lines[i]); kv && cp932::equalsIgnoreCase(kv->key, key)) {
            // The key keeps the spelling it has in the file.
            lines[i] = std::string(kv->key) + "=" + withoutLineBreaks(value);
            return;
        }
    }
    // A new key goes after the section's last non-blank line.
    std::size_t at = r.end;
    while (at > r.header + 1 && trim(lines[at - 1]).empty())
        --at;
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), line);
}

} // namespace

void ProfileFile::writeString(std::string_view section, std::string_view key, std::string_view value)
{
    auto lines = loadLines();
    setKeyLine(lines, section, key, value);
    storeLines(lines);
}

void ProfileFile::replaceSection(std::string_view section, std::string_view key, std::string_view value)
{
    replaceSections({{section, key, value}});
}

void ProfileFile::replaceSections(const std::vector<SectionValue> &entries)
{
    if (entries.empty())
        return;
    auto lines = loadLines();
    for (const SectionValue &e : entries) {
        eraseSectionLines(lines, e.section);
        setKeyLine(lines, e.section, e.key, e.value);
    }
    storeLines(lines);
}

void ProfileFile::eraseSection(std::string_view section)
{
    auto lines = loadLines();
    if (eraseSectionLines(lines, section))
        storeLines(lines);
}

bool ProfileFile::sectionExists(std::string_view section) const
{
    return findSection(loadLines(), section).header != std::string::npos;
}

bool ProfileFile::keyExists(std::string_view section, std::string_view key) const
{
    const auto lines = loadLines();
    const SectionRange r = findSection(lines, section);
    if (r.header == std::string::npos)
        return false;
    for (std::size_t i = r.header + 1; i < r.end; ++i)
        if (auto kv = keyValue(lines[i]); kv && cp932::equalsIgnoreCase(kv->key, key))
            return true;
    return false;
}

} // namespace zorbe
