#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

// The archiver the program unpacks LHA archives with: its own small archiver
// over liblhasa, which is loaded when first needed, not linked, so that the
// program starts and works without it and only an unpacking attempt fails.
//
// The archiver is driven the classic way, by a command line ("E -+ "arc.lzh"
// "d:\dest\" "*.*"") handed to Unlha(), which writes what it did into an
// output buffer and returns a result code.
namespace zorbe::lha {

// Raised by an entry point whose function is not available: the library is
// missing, or lacks a function the entry point needs. what() is the message
// the user sees.
class ArchiverError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Result codes of Unlha().
inline constexpr int kOk = 0;
inline constexpr int kErrorCommand = 0x8001;       // a command this archiver does not carry out, or no archive named
inline constexpr int kErrorArchive = 0x8002;       // the archive cannot be read or is not an LHA archive
inline constexpr int kErrorDamagedMember = 0x8003; // a member that does not unpack to its stored size and CRC
inline constexpr int kErrorUnsafeMember = 0x8004;  // a member refused: its stored path leaves the destination
inline constexpr int kErrorWrite = 0x8005;         // an unpacked file that could not be written

// The version the archiver reports (1.00).
inline constexpr std::uint16_t kArchiverVersion = 100;

// The loaded library and the archiver's entry points. One per program
// (archiver()); tests make their own, for example of a library that is not
// there.
class TUnlhaBinding
{
public:
    // Loads the shared library by name (the platform's normal search) and
    // looks up the functions the archiver needs.
    explicit TUnlhaBinding(const char *libraryName = "liblhasa.so.0");
    ~TUnlhaBinding();
    TUnlhaBinding(const TUnlhaBinding &) = delete;
    TUnlhaBinding &operator=(const TUnlhaBinding &) = delete;

    bool loaded() const { return m_handle != nullptr; }
    // UnlhaGetVersion's number, or 0xFFFF when it is not available.
    std::uint16_t ArchiverVersion() const { return m_version; }

    // The entry points. Each raises ArchiverError when it is not available:
    // "Unlha32 Not Found function(" + its name without "Unlha" + ")", and
    // for UnlhaSetCursorMode the notice that the archiver library is
    // missing (the first call of every run, so the message the user sees).
    std::uint16_t UnlhaGetVersion() const;
    void UnlhaSetCursorMode(bool showCursor);
    // Carries out a command line; the output text goes into output, at
    // most bufferSize - 1 characters (as into a buffer of that size).
    int Unlha(const void *ownerWindow, std::string_view commandLine, std::string &output, std::size_t bufferSize);

    bool cursorMode() const { return m_cursorMode; }

    struct Functions; // the library functions, looked up by name

private:
    void *m_handle = nullptr;
    Functions *m_functions = nullptr;
    std::uint16_t m_version = 0xFFFF;
    bool m_cursorMode = true;
};

// The program's archiver, loaded on first use and freed at program end.
TUnlhaBinding &archiver();

// The messages of the missing entry points.
std::string notFoundMessage(std::string_view functionName); // "Unlha32 Not Found function(GetVersion)"
std::string missingLibraryMessage();

// Whether a member's stored path (either separator) stays inside the
// destination: not absolute, no drive letter or other ':' and no ".."
// component.
bool isSafeMemberPath(std::string_view storedPath);

// Windows wildcard match of a file name ("*" and "?", letters without
// regard to case); "*.*" matches every name, with or without a dot.
bool matchesPattern(std::string_view name, std::string_view pattern);

// The CRC-16 that LHA archives store for every member.
std::uint16_t lhaCrc16(std::string_view bytes);

} // namespace zorbe::lha
