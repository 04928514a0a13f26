#include "platform/Files.h"

#include "platform/Cp932.h"
#include "platform/StopPoint.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <filesystem>
#include <unistd.h>

namespace zorbe::files {
namespace fs = std::filesystem;

namespace {

[[noreturn]] void fail(const std::string &what, const WinPath &path, int err)
{
    throw FileError(what + ": " + path.utf8() + "（" + std::strerror(err) + "）");
}

void writeFd(int fd, std::string_view bytes, const WinPath &path)
{
    const char *p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int err = errno;
            ::close(fd);
            fail("ファイルに書き込めません", path, err);
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
}

void writeWithFlags(const WinPath &path, std::string_view bytes, int flags)
{
    const fs::path native = toNative(path);
    const int fd = ::open(native.c_str(), flags | O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        fail("ファイルを作成できません", path, errno);
    FolderNameCache::noteCreated(native);
    writeFd(fd, bytes, path);
    if (::close(fd) != 0)
        fail("ファイルに書き込めません", path, errno);
}

} // namespace

bool exists(const WinPath &path)
{
    std::error_code ec;
    return !path.empty() && fs::exists(toNative(path), ec);
}

bool isFile(const WinPath &path)
{
    std::error_code ec;
    return !path.empty() && fs::is_regular_file(toNative(path), ec);
}

bool isDirectory(const WinPath &path)
{
    std::error_code ec;
    return !path.empty() && fs::is_directory(toNative(path), ec);
}

std::optional<std::uint64_t> fileSize(const WinPath &path)
{
    std::error_code ec;
    const auto size = fs::file_size(toNative(path), ec);
    if (ec)
        return std::nullopt;
    return size;
}

NativeRead readNativeInto(const fs::path &file, std::string &buffer, std::size_t &size)
{
    size = 0;
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {errno, false};
    struct stat st{};
    if (::fstat(fd, &st) == 0 && buffer.size() < static_cast<std::size_t>(std::max<off_t>(st.st_size, 0)))
        buffer.resize(static_cast<std::size_t>(st.st_size));
    std::size_t got = 0;
    char more[16384];
    for (;;) {
        const bool inPlace = got < buffer.size();
        const ssize_t n = inPlace ? ::read(fd, buffer.data() + got, buffer.size() - got) : ::read(fd, more, sizeof more);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int err = errno;
            ::close(fd);
            return {err, true};
        }
        if (n == 0)
            break;
        if (!inPlace)
            buffer.append(more, static_cast<std::size_t>(n));
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    size = got;
    return {0, true};
}

std::string readAll(const WinPath &path)
{
    std::string out;
    std::size_t size = 0;
    if (const NativeRead read = readNativeInto(toNative(path), out, size); read.error)
        fail(read.opened ? "ファイルを読めません" : "ファイルを開けません", path, read.error);
    out.resize(size);
    return out;
}

std::optional<std::string> readIfExists(const WinPath &path)
{
    if (!isFile(path))
        return std::nullopt;
    return readAll(path);
}

void writeAll(const WinPath &path, std::string_view bytes)
{
    writeWithFlags(path, bytes, O_TRUNC);
}

void writeAtomic(const WinPath &path, std::string_view bytes)
{
    const fs::path target = toNative(path);
    fs::path temp = target;
    temp += ".tmp~";
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        fail("ファイルを作成できません", path, errno);
    writeFd(fd, bytes, path);
    if (::fsync(fd) != 0 || ::close(fd) != 0) {
        const int err = errno;
        ::unlink(temp.c_str());
        fail("ファイルに書き込めません", path, err);
    }
    stopPoint("write");
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        const int err = errno;
        ::unlink(temp.c_str());
        fail("ファイルを置き換えられません", path, err);
    }
    FolderNameCache::noteCreated(target);
}

void append(const WinPath &path, std::string_view bytes)
{
    writeWithFlags(path, bytes, O_APPEND);
}

bool remove(const WinPath &path)
{
    const fs::path native = toNative(path);
    std::error_code ec;
    if (!fs::exists(native, ec))
        return false;
    if (!fs::remove(native, ec) && ec)
        fail("ファイルを削除できません", path, ec.value());
    FolderNameCache::noteRemoved(native);
    return true;
}

void rename(const WinPath &from, const WinPath &to)
{
    const fs::path a = toNative(from);
    const fs::path b = toNative(to);
    if (::rename(a.c_str(), b.c_str()) != 0)
        fail("ファイル名を変更できません", from, errno);
    FolderNameCache::noteRemoved(a);
    FolderNameCache::noteCreated(b);
}

void copy(const WinPath &from, const WinPath &to)
{
    writeAll(to, readAll(from));
}

void makeDirectories(const WinPath &path)
{
    std::error_code ec;
    const fs::path native = toNative(path);
    // Only folders made now change the listings the name cache holds: a
    // folder that was there already keeps them (the conversions ask for
    // their output folders once per day).
    if (fs::create_directories(native, ec))
        FolderNameCache::forgetFolder(native);
    if (ec)
        fail("フォルダを作成できません", path, ec.value());
}

std::vector<std::string> list(const WinPath &folder)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(toNative(folder), ec), end; !ec && it != end; it.increment(ec))
        names.push_back(cp932::fromUtf8(it->path().filename().string()));
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace zorbe::files

namespace zorbe {

namespace files {

std::string recordPlace(std::string_view what, const WinPath &file, std::size_t recordNumber)
{
    return std::string(what) + "「" + file.utf8() + "」の " + std::to_string(recordNumber) + " 件目";
}

std::string strayBytesNote(const WinPath &file, std::size_t strayBytes, std::size_t recordLength)
{
    return "ファイル " + file.utf8() + " の大きさがレコード長 " + std::to_string(recordLength)
           + " バイトの倍数ではありません。末尾の " + std::to_string(strayBytes)
           + " バイトを除き、最後の完全なレコードまで読み込みました。";
}

std::string lineEndMissing(std::string_view what, const WinPath &file, std::size_t recordNumber)
{
    return recordPlace(what, file, recordNumber)
           + "が読めません: 行の終わり（改行）がレコードの末尾にありません。ファイルが壊れているか、別の種類のファイルです。";
}

void requireLineRecords(const RecordFile &records, const WinPath &file, std::string_view what)
{
    for (std::size_t n = 0; n < records.count(); ++n) {
        const std::string_view r = records.record(n);
        if (r.size() < 2 || r.substr(r.size() - 2) != "\r\n")
            throw DamagedFileError(lineEndMissing(what, file, n + 1));
    }
}

} // namespace files

RecordFile::RecordFile(std::string bytes, std::size_t recordLength)
    : m_bytes(std::move(bytes))
    , m_length(recordLength)
{
}

RecordFile RecordFile::read(const WinPath &path, std::size_t recordLength)
{
    return RecordFile(files::readAll(path), recordLength);
}

RecordFile RecordFile::readIfExists(const WinPath &path, std::size_t recordLength)
{
    auto bytes = files::readIfExists(path);
    return RecordFile(bytes ? std::move(*bytes) : std::string(), recordLength);
}

std::string_view RecordFile::record(std::size_t n) const
{
    if (n >= count())
        return {};
    return std::string_view(m_bytes).substr(n * m_length, m_length);
}

} // namespace zorbe
