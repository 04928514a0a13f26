#pragma once

#include "platform/WinPath.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// Every file operation of the program goes through these functions, which
// map the program's Windows-form paths to native ones (WinPath.h).
namespace zorbe::files {

// An input/output failure; what() says, in Japanese, what could not be done
// to which file.
class FileError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// A file that can be read but does not hold what it should (damaged, cut
// short, or a file of another kind); what() names the file and, where there
// is one, the record and the field, in Japanese.
class DamagedFileError : public FileError
{
public:
    using FileError::FileError;
};

bool exists(const WinPath &path);      // a file or a folder
bool isFile(const WinPath &path);
bool isDirectory(const WinPath &path);
std::optional<std::uint64_t> fileSize(const WinPath &path);

// Reads a native file whole into `buffer`, which keeps its length when it
// is already long enough (a buffer used for file after file is not
// cleared again); `size` is set to the bytes read. One read of the size
// the file has, then small reads to its end if it grows meanwhile: the
// read that finds the end never makes the buffer grow and copy the file
// once more.
struct NativeRead
{
    int error = 0;       // errno of the failed open or read, 0 when read
    bool opened = false; // false: the open failed
};
NativeRead readNativeInto(const std::filesystem::path &file, std::string &buffer, std::size_t &size);

// Whole-file reads and writes. Throw FileError.
std::string readAll(const WinPath &path);
std::optional<std::string> readIfExists(const WinPath &path);
// Creates or truncates, then writes.
void writeAll(const WinPath &path, std::string_view bytes);
// Writes a temporary file beside the target and renames it over the target,
// so that a failure leaves the old file whole.
void writeAtomic(const WinPath &path, std::string_view bytes);
// Opens for appending (creating the file), writes, flushes and closes.
void append(const WinPath &path, std::string_view bytes);

// Returns false when there was nothing to delete; throws when deleting failed.
bool remove(const WinPath &path);
// Replaces an existing target.
void rename(const WinPath &from, const WinPath &to);
void copy(const WinPath &from, const WinPath &to);
// Creates the folder and its missing parents.
void makeDirectories(const WinPath &path);

// Names (cp932) of the entries of a folder, sorted; empty when it is missing.
std::vector<std::string> list(const WinPath &folder);

// Write-behind for a run that writes many files at once.
//
// Within the scope of a WriteBehind, the changes that the thread that made it
// asks for (writeAll, append, writeAtomic, remove, rename) are queued and
// made by threads of the scope's own, in the order of the calls, while the
// thread goes on: writeAtomic writes its temporary file at once, four
// threads flush such files to the disk, several at once (which the file
// system commits together), and one makes the changes in order, renaming a
// flushed file over its target. To the program every queued change is made
// at once: exists, isFile and remove answer as after the changes, a read,
// size or listing of a file with a change pending waits for it, and a new
// folder or a settings write waits for all of them. The changes thus reach
// the disk in the program's order, and a run killed at any moment leaves
// what the same run without write-behind would have left at some earlier
// moment. Code that reads the disk by other means calls settle() first.
//
// A change that fails is thrown, as the FileError the call itself would have
// thrown, by the next change the thread asks for, a wait, or finish(); the
// changes queued behind it are dropped.
class WriteBehind
{
public:
    // At most `depth` changes pending (an atomic write keeps its temporary
    // file open until it is flushed), and at most 16 MB of written bytes.
    explicit WriteBehind(std::size_t depth = 64);
    // Makes the pending changes. A failure that finish() did not throw is
    // lost, so a run that keeps on after the scope calls finish().
    ~WriteBehind();
    WriteBehind(const WriteBehind &) = delete;
    WriteBehind &operator=(const WriteBehind &) = delete;

    // Waits for the pending changes and throws a failure.
    void finish();

    struct Impl;

private:
    Impl *m_impl = nullptr; // null when the thread has a write-behind already
};

// Waits for the pending changes of the thread's write-behind, if it has one,
// and throws a failure; for files read or changed without these functions.
void settle();

} // namespace zorbe::files

namespace zorbe {

class RecordFile;

namespace files {

// "<what>「<path>」の n 件目" (n 1-based): where a message about a record
// points the user to.
std::string recordPlace(std::string_view what, const WinPath &file, std::size_t recordNumber);

// The note for a file whose size is not a multiple of its record length:
// it was read up to its last whole record.
std::string strayBytesNote(const WinPath &file, std::size_t strayBytes, std::size_t recordLength);

// The message for record n (1-based) of a file of own lines that does not
// end in CR LF.
std::string lineEndMissing(std::string_view what, const WinPath &file, std::size_t recordNumber);

// Throws DamagedFileError naming the first record that does not end in
// CR LF: every line of the program's own files does, so a record that
// does not is damaged or the file is of another kind. `what` names the
// kind of file ("出馬表ファイル").
void requireLineRecords(const RecordFile &records, const WinPath &file, std::string_view what);

} // namespace files

// A file read as fixed-length records: record n starts at byte n * length,
// the count is size / length, and a trailing partial record is ignored (but
// reported by trailingBytes(), so that a caller can tell the user).
class RecordFile
{
public:
    RecordFile() = default;
    RecordFile(std::string bytes, std::size_t recordLength);

    // Throws files::FileError when the file cannot be read.
    static RecordFile read(const WinPath &path, std::size_t recordLength);
    // An empty file when the path does not exist.
    static RecordFile readIfExists(const WinPath &path, std::size_t recordLength);

    std::size_t count() const { return m_length ? m_bytes.size() / m_length : 0; }
    std::size_t recordLength() const { return m_length; }
    std::size_t trailingBytes() const { return m_length ? m_bytes.size() % m_length : 0; }
    std::string_view record(std::size_t n) const;
    const std::string &bytes() const { return m_bytes; }

private:
    std::string m_bytes;
    std::size_t m_length = 0;
};

} // namespace zorbe
