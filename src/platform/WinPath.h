#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace zorbe {

// A path as the program builds it: Windows form, cp932 bytes
// ("d:\zorbelab\dat" + "\" + name). Inside the program every path is one of
// these; only the file boundary (Files.h) turns it into a native path.
class WinPath
{
public:
    WinPath() = default;
    explicit WinPath(std::string cp932Text)
        : m_text(std::move(cp932Text))
    {
    }
    // From UTF-8 text (command line, dialogs).
    static WinPath fromUtf8(std::string_view utf8);
    // From a native path (kept as it is: the boundary passes "/..." through).
    static WinPath fromNative(const std::filesystem::path &native);

    const std::string &text() const { return m_text; }
    std::string utf8() const;
    bool empty() const { return m_text.empty(); }

    // Joined with one "\" (none added when this path already ends in one).
    WinPath operator/(std::string_view cp932Name) const;

    // The last component (after the last "\" or "/"), and everything before it.
    std::string fileName() const;
    WinPath parent() const;

    bool operator==(const WinPath &) const = default;

private:
    std::string m_text;
};

// $ZORBE_HOME, default ~/.local/share/zorbe. Read on every call so that tests
// and the demo can point it elsewhere.
std::filesystem::path zorbeHome();

// The mapping at the boundary:
//   "X:\a\b"  -> $ZORBE_HOME/drives/x/a/b   (drive letter folded to lower case)
//   "\a\b"    -> $ZORBE_HOME/drives/c/a/b   (the current drive is C:)
//   "/a/b"    -> /a/b                        (already native)
//   "a\b"     -> $ZORBE_HOME/a/b             (relative: the program's home,
//                                             where the settings file lives)
// Backslashes become "/", cp932 becomes UTF-8, and every component that
// exists on disk is matched case-insensitively (the exact spelling first);
// a component that does not exist keeps the spelling given.
std::filesystem::path toNative(const WinPath &path);

// The same mapping without touching the disk (no case matching).
std::filesystem::path toNativeLexical(const WinPath &path);

// While a FolderNameCache lives, toNative() lists each folder it looks into
// once and answers from that listing, instead of asking the disk for every
// component of every path: a download run resolves the same few folders for
// hundreds of thousands of records. The program's own file operations
// (Files.h) keep the listings current when they create, rename or remove a
// file; a change made by another program while the cache lives is not seen,
// so a cache is kept only for the length of one run. Caches nest; the
// innermost one of the thread is used.
class FolderNameCache
{
public:
    FolderNameCache();
    ~FolderNameCache();
    FolderNameCache(const FolderNameCache &) = delete;
    FolderNameCache &operator=(const FolderNameCache &) = delete;

    // Called by the file operations after they changed a folder.
    static void noteCreated(const std::filesystem::path &native);
    static void noteRemoved(const std::filesystem::path &native);
    // A folder whose entries changed in ways the operation cannot name
    // (folders created with their parents): its listing is read again.
    static void forgetFolder(const std::filesystem::path &nativeFolder);

    struct Impl;

private:
    friend std::filesystem::path toNative(const WinPath &path);
    Impl *m_impl;
    FolderNameCache *m_outer;
};

// True when two native file names are equal as Windows compares them:
// ASCII letters and full-width Latin letters fold, everything else exact.
bool nativeNamesEqualIgnoreCase(std::string_view a, std::string_view b);

} // namespace zorbe
