#include "platform/WinPath.h"

#include "platform/Cp932.h"

#include <cstdlib>
#include <system_error>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace zorbe {
namespace fs = std::filesystem;

WinPath WinPath::fromUtf8(std::string_view utf8)
{
    return WinPath(cp932::fromUtf8(utf8));
}

WinPath WinPath::fromNative(const fs::path &native)
{
    return WinPath(cp932::fromUtf8(native.string()));
}

std::string WinPath::utf8() const
{
    return cp932::toUtf8(m_text);
}

WinPath WinPath::operator/(std::string_view cp932Name) const
{
    if (m_text.empty())
        return WinPath(std::string(cp932Name));
    std::string joined = m_text;
    // A trailing backslash is a separator only when it is not the trail byte
    // of a two-byte character (0x5C is a valid cp932 trail byte: "表" is 95 5C).
    bool endsWithSeparator = false;
    for (std::size_t i = 0; i < joined.size();) {
        const std::size_t n = cp932::charLength(joined, i);
        endsWithSeparator = (n == 1 && (joined[i] == '\\' || joined[i] == '/'));
        i += n;
    }
    if (!endsWithSeparator)
        joined += '\\';
    joined.append(cp932Name);
    return WinPath(std::move(joined));
}

namespace {

// Splits cp932 text at "\" and "/" that are whole characters.
std::vector<std::string> splitComponents(std::string_view text)
{
    std::vector<std::string> parts;
    std::string current;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = cp932::charLength(text, i);
        if (n == 1 && (text[i] == '\\' || text[i] == '/')) {
            parts.push_back(std::move(current));
            current.clear();
        } else {
            current.append(text.substr(i, n));
        }
        i += n;
    }
    parts.push_back(std::move(current));
    return parts;
}

bool hasDrive(std::string_view t)
{
    return t.size() >= 2 && t[1] == ':'
           && ((t[0] >= 'A' && t[0] <= 'Z') || (t[0] >= 'a' && t[0] <= 'z'));
}

struct Split
{
    fs::path base;
    std::vector<std::string> components; // UTF-8
    bool native = false;
};

Split splitPath(const WinPath &path)
{
    Split s;
    std::string_view t = path.text();
    if (!t.empty() && t[0] == '/') {
        s.native = true;
        s.base = "/";
    } else if (hasDrive(t)) {
        const char drive = static_cast<char>(t[0] >= 'A' && t[0] <= 'Z' ? t[0] + 32 : t[0]);
        s.base = zorbeHome() / "drives" / std::string(1, drive);
        t.remove_prefix(2);
    } else if (!t.empty() && (t[0] == '\\')) {
        s.base = zorbeHome() / "drives" / "c";
    } else {
        s.base = zorbeHome();
    }
    for (auto &part : splitComponents(t)) {
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            if (!s.components.empty())
                s.components.pop_back();
            continue;
        }
        s.components.push_back(cp932::toUtf8(part));
    }
    return s;
}

char32_t nextCodePoint(std::string_view s, std::size_t &i)
{
    const auto c = static_cast<unsigned char>(s[i]);
    std::size_t n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    if (c >= 0x80 && c < 0xC0)
        n = 1;
    if (i + n > s.size())
        n = s.size() - i;
    char32_t cp = n == 1 ? c : n == 2 ? (c & 0x1F) : n == 3 ? (c & 0x0F) : (c & 0x07);
    for (std::size_t k = 1; k < n; ++k)
        cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    i += n;
    return cp;
}

char32_t foldCase(char32_t c)
{
    if (c >= U'a' && c <= U'z')
        return c - 32;
    if (c >= 0xFF41 && c <= 0xFF5A) // full-width ａ..ｚ
        return c - 0x20;
    return c;
}

} // namespace

std::string WinPath::fileName() const
{
    auto parts = splitComponents(m_text);
    return parts.empty() ? std::string() : parts.back();
}

WinPath WinPath::parent() const
{
    const std::string name = fileName();
    std::string t = m_text.substr(0, m_text.size() - name.size());
    if (t.size() > 1 && (t.back() == '\\' || t.back() == '/') && !(t.size() == 3 && t[1] == ':'))
        t.pop_back();
    return WinPath(std::move(t));
}

fs::path zorbeHome()
{
    if (const char *home = std::getenv("ZORBE_HOME"); home && *home)
        return fs::path(home);
    if (const char *user = std::getenv("HOME"); user && *user)
        return fs::path(user) / ".local" / "share" / "zorbe";
    return fs::path("/tmp") / "zorbe";
}

bool nativeNamesEqualIgnoreCase(std::string_view a, std::string_view b)
{
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (foldCase(nextCodePoint(a, i)) != foldCase(nextCodePoint(b, j)))
            return false;
    }
    return i == a.size() && j == b.size();
}

fs::path toNativeLexical(const WinPath &path)
{
    if (path.empty())
        return {};
    Split s = splitPath(path);
    fs::path p = s.base;
    for (const auto &c : s.components)
        p /= c;
    return p;
}

namespace {

// A name as the case-insensitive comparison sees it.
std::u32string foldedName(std::string_view utf8)
{
    std::u32string out;
    for (std::size_t i = 0; i < utf8.size();)
        out.push_back(foldCase(nextCodePoint(utf8, i)));
    return out;
}

thread_local FolderNameCache *t_cache = nullptr;

} // namespace

struct FolderNameCache::Impl
{
    struct Listing
    {
        bool exists = false;
        std::unordered_set<std::string> exact;
        // The first entry of each folded spelling, in the folder's own order,
        // as a listing on every look-up would find it.
        std::unordered_map<std::u32string, std::string> folded;
        // How many names of the folder share each folded spelling: a name
        // removed looks for another spelling to stand in only when there is
        // one, so a removal costs the same however large the folder is.
        std::unordered_map<std::u32string, std::size_t> spellings;

        void add(const std::string &name)
        {
            if (!exact.insert(name).second)
                return;
            std::u32string key = foldedName(name);
            ++spellings[key];
            folded.emplace(std::move(key), name);
        }
        void erase(const std::string &name)
        {
            if (exact.erase(name) == 0)
                return;
            const std::u32string key = foldedName(name);
            auto count = spellings.find(key);
            const bool others = count != spellings.end() && --count->second > 0;
            if (count != spellings.end() && count->second == 0)
                spellings.erase(count);
            auto it = folded.find(key);
            if (it == folded.end() || it->second != name)
                return;
            folded.erase(it);
            if (!others)
                return;
            for (const std::string &other : exact)
                if (foldedName(other) == key) {
                    folded.emplace(key, other);
                    break;
                }
        }
    };

    std::unordered_map<std::string, Listing> folders;

    Listing &listing(const fs::path &folder)
    {
        auto [it, inserted] = folders.try_emplace(folder.string());
        if (inserted) {
            std::error_code ec;
            fs::directory_iterator dir(folder, ec);
            it->second.exists = !ec;
            for (fs::directory_iterator end; !ec && dir != end; dir.increment(ec))
                it->second.add(dir->path().filename().string());
        }
        return it->second;
    }

    Listing *cached(const fs::path &folder)
    {
        auto it = folders.find(folder.string());
        return it == folders.end() ? nullptr : &it->second;
    }
};

FolderNameCache::FolderNameCache()
    : m_impl(new Impl)
    , m_outer(t_cache)
{
    t_cache = this;
}

FolderNameCache::~FolderNameCache()
{
    t_cache = m_outer;
    delete m_impl;
}

void FolderNameCache::noteCreated(const fs::path &native)
{
    for (FolderNameCache *c = t_cache; c; c = c->m_outer)
        if (auto *l = c->m_impl->cached(native.parent_path())) {
            l->exists = true;
            l->add(native.filename().string());
        }
}

void FolderNameCache::noteRemoved(const fs::path &native)
{
    for (FolderNameCache *c = t_cache; c; c = c->m_outer) {
        if (auto *l = c->m_impl->cached(native.parent_path()))
            l->erase(native.filename().string());
        c->m_impl->folders.erase(native.string()); // a folder removed
    }
}

void FolderNameCache::forgetFolder(const fs::path &nativeFolder)
{
    for (FolderNameCache *c = t_cache; c; c = c->m_outer)
        for (fs::path p = nativeFolder;; p = p.parent_path()) {
            c->m_impl->folders.erase(p.string());
            if (p == p.parent_path() || p.empty())
                break;
        }
}

fs::path toNative(const WinPath &path)
{
    if (path.empty())
        return {};
    Split s = splitPath(path);
    fs::path p = s.base;
    bool parentExists = true;
    if (t_cache) {
        for (const auto &c : s.components) {
            if (parentExists) {
                const FolderNameCache::Impl::Listing &l = t_cache->m_impl->listing(p);
                if (l.exact.count(c)) {
                    p /= c;
                    continue;
                }
                const auto it = l.folded.find(foldedName(c));
                if (it != l.folded.end()) {
                    p /= it->second;
                    continue;
                }
                parentExists = false;
            }
            p /= c;
        }
        return p;
    }
    for (const auto &c : s.components) {
        std::error_code ec;
        if (parentExists && !fs::exists(p / c, ec)) {
            std::string match;
            for (fs::directory_iterator it(p, ec), end; !ec && it != end; it.increment(ec)) {
                const std::string name = it->path().filename().string();
                if (nativeNamesEqualIgnoreCase(name, c)) {
                    match = name;
                    break;
                }
            }
            if (match.empty()) {
                parentExists = false;
                p /= c;
            } else {
                p /= match;
            }
        } else {
            p /= c;
        }
    }
    return p;
}

} // namespace zorbe
