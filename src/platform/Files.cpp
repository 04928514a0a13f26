#include "platform/Files.h"

#include "platform/Cp932.h"
#include "platform/StopPoint.h"

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <deque>
#include <exception>
#include <filesystem>
#include <mutex>
#include <thread>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
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

// Opens a native file with O_TRUNC or O_APPEND (creating it), writes and
// closes. The file is noted in the thread's name cache once it is there (a
// write-behind's own threads have none).
void writeNative(const fs::path &native, const WinPath &path, std::string_view bytes, int flags)
{
    const int fd = ::open(native.c_str(), flags | O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        fail("ファイルを作成できません", path, errno);
    FolderNameCache::noteCreated(native);
    writeFd(fd, bytes, path);
    if (::close(fd) != 0)
        fail("ファイルに書き込めません", path, errno);
}

[[noreturn]] void failAfterWrite(const std::string &what, const fs::path &temp, const WinPath &path, int err)
{
    ::unlink(temp.c_str());
    fail(what, path, err);
}

// Flushes a written temporary file to the disk and closes it; the errno of
// a failure, 0 when it is on the disk.
int syncAndClose(int fd)
{
    const int synced = ::fsync(fd) == 0 ? 0 : errno;
    const int closed = ::close(fd) == 0 ? 0 : errno;
    return synced ? synced : closed;
}

// Renames a temporary file that is on the disk over the target; on failure
// the temporary file is removed.
void renameTemp(const fs::path &temp, const fs::path &target, const WinPath &path)
{
    stopPoint("write");
    if (::rename(temp.c_str(), target.c_str()) != 0)
        failAfterWrite("ファイルを置き換えられません", temp, path, errno);
}

} // namespace

struct WriteBehind::Impl
{
    enum class Op
    {
        Commit, // a written temporary file: flushed, then renamed over the target
        Write,  // the target created or truncated, then written
        Append, // the target opened for appending (created), then written
        Remove, // the target removed
        Rename, // `from` renamed to the target
    };

    struct Pending
    {
        Op op;
        fs::path target;
        WinPath path;        // for the message of a failure (Rename: the old name)
        int fd = -1;         // Commit: the open temporary file
        fs::path from;       // Commit: the temporary file; Rename: the old name
        std::string bytes;   // Write, Append
        bool synced = false; // Commit: flushed (or failed to); the others need no flush
        int syncError = 0;   // errno of a failed flush
        bool dropped = false; // behind a failure: not made
    };

    // Flushes run on several threads at once: the file system then commits
    // them together (one journal commit, one disk cache flush for many
    // files), where one after the other each would wait for the disk.
    static constexpr int kSyncThreads = 4;
    // The bytes of pending writes, and of the buffers kept for the next ones.
    static constexpr std::size_t kByteLimit = 16u << 20;

    explicit Impl(std::size_t depth)
        : depth(std::max<std::size_t>(depth, 1))
    {
        for (int n = 0; n < kSyncThreads; ++n)
            syncers.emplace_back([this] { syncFiles(); });
        executor = std::thread([this] { executeInOrder(); });
    }

    ~Impl()
    {
        {
            std::lock_guard lock(mutex);
            stopping = true;
        }
        toSync.notify_all();
        changed.notify_all();
        executor.join();
        for (std::thread &t : syncers)
            t.join();
    }

    // A flusher: takes the next file to flush, in queue order.
    void syncFiles()
    {
        std::unique_lock lock(mutex);
        for (;;) {
            toSync.wait(lock, [this] { return !unsynced.empty() || stopping; });
            if (unsynced.empty())
                return;
            Pending &p = *unsynced.front(); // a deque keeps it in place while others come and go
            unsynced.pop_front();
            lock.unlock();
            const int err = syncAndClose(p.fd);
            lock.lock();
            p.syncError = err;
            p.synced = true;
            changed.notify_all();
        }
    }

    static void perform(Pending &p)
    {
        switch (p.op) {
        case Op::Commit:
            if (p.syncError)
                failAfterWrite("ファイルに書き込めません", p.from, p.path, p.syncError);
            renameTemp(p.from, p.target, p.path);
            return;
        case Op::Write:
        case Op::Append:
            writeNative(p.target, p.path, p.bytes, p.op == Op::Write ? O_TRUNC : O_APPEND);
            return;
        case Op::Remove: {
            std::error_code ec;
            if (!fs::remove(p.target, ec) && ec)
                fail("ファイルを削除できません", p.path, ec.value());
            return;
        }
        case Op::Rename:
            if (::rename(p.from.c_str(), p.target.c_str()) != 0)
                fail("ファイル名を変更できません", p.path, errno);
            return;
        }
    }

    // The executor: performs the front change once its file is flushed,
    // then takes it off the queue, so that a change stays pending until it
    // is made, and the changes are made in the order of the calls. After a
    // failure the changes behind it are dropped.
    void executeInOrder()
    {
        std::unique_lock lock(mutex);
        for (;;) {
            changed.wait(lock, [this] { return (!queue.empty() && queue.front().synced) || (stopping && queue.empty()); });
            if (queue.empty())
                return;
            Pending &p = queue.front();
            const bool drop = p.dropped;
            lock.unlock();
            std::exception_ptr failed;
            if (drop) {
                if (p.op == Op::Commit)
                    ::unlink(p.from.c_str());
            } else {
                try {
                    perform(p);
                } catch (...) {
                    failed = std::current_exception();
                }
            }
            lock.lock();
            if (failed) {
                // Everything behind it is dropped, also once the failure
                // has been thrown; nothing is added until then.
                failure = failed;
                for (Pending &q : queue)
                    q.dropped = true;
            }
            queuedBytes -= p.bytes.size();
            if (p.bytes.capacity() > 0 && spareBytes + p.bytes.capacity() <= kByteLimit) {
                spareBytes += p.bytes.capacity();
                spare.push_back(std::move(p.bytes));
            }
            queue.pop_front();
            changed.notify_all();
        }
    }

    // Throws a failure of the writer once.
    void throwFailure(std::unique_lock<std::mutex> &lock)
    {
        if (!failure)
            return;
        std::exception_ptr f = std::exchange(failure, nullptr);
        lock.unlock();
        std::rethrow_exception(f);
    }

    void drain()
    {
        std::unique_lock lock(mutex);
        changed.wait(lock, [this] { return queue.empty(); });
        throwFailure(lock);
    }

    // A change pending to that file, or to any file in that folder.
    bool pending(const fs::path &native, bool inFolder)
    {
        std::lock_guard lock(mutex);
        auto is = [&](const fs::path &p) { return (inFolder ? p.parent_path() : p).native() == native.native(); };
        return std::any_of(queue.begin(), queue.end(),
                           [&](const Pending &p) { return is(p.target) || (!p.from.empty() && is(p.from)); });
    }

    // Whether the file will be there once the pending changes are made;
    // nothing when none of them concerns it.
    std::optional<bool> pendingExistence(const fs::path &native)
    {
        std::lock_guard lock(mutex);
        for (auto it = queue.rbegin(); it != queue.rend(); ++it) {
            if (it->target.native() == native.native())
                return it->op != Op::Remove;
            if (it->op == Op::Rename && it->from.native() == native.native())
                return false;
        }
        return std::nullopt;
    }

    void add(Pending p)
    {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] {
            return failure || queue.empty() || (queue.size() < depth && queuedBytes + p.bytes.size() <= kByteLimit);
        });
        if (failure) {
            if (p.op == Op::Commit) {
                ::close(p.fd);
                ::unlink(p.from.c_str());
            }
            throwFailure(lock);
        }
        p.synced = p.op != Op::Commit;
        queuedBytes += p.bytes.size();
        queue.push_back(std::move(p));
        if (!queue.back().synced) {
            unsynced.push_back(&queue.back());
            toSync.notify_one();
        }
        changed.notify_all();
    }

    // A write's bytes, copied into a buffer kept from an earlier write.
    void addWrite(Op op, const fs::path &target, const WinPath &path, std::string_view bytes)
    {
        Pending p{op, target, path};
        {
            std::lock_guard lock(mutex);
            if (!spare.empty()) {
                p.bytes = std::move(spare.back());
                spare.pop_back();
                spareBytes -= p.bytes.capacity();
            }
        }
        p.bytes.assign(bytes);
        add(std::move(p));
    }

    // The names of the folders as the program sees them, pending changes
    // made: a folder is listed when a change to it is queued (the path is
    // resolved first), so a later look-up in another case finds a file not
    // yet on the disk. Kept for the scope; the notes of the changes reach the
    // caches around it as well.
    FolderNameCache names;
    const std::size_t depth;
    std::mutex mutex;
    std::condition_variable changed; // the queue moved on, or a file is flushed
    std::condition_variable toSync;  // a file to flush
    std::deque<Pending> queue;
    std::deque<Pending *> unsynced;  // Commits of the queue no flusher has taken
    std::size_t queuedBytes = 0;
    std::vector<std::string> spare;
    std::size_t spareBytes = 0;
    std::exception_ptr failure;
    bool stopping = false;
    std::vector<std::thread> syncers; // started once the rest is there
    std::thread executor;
};

namespace {

thread_local WriteBehind::Impl *t_writeBehind = nullptr;

// Before a read of a file (or a listing of a folder): waits when a change
// to it (to a file in it) is pending.
void settleFile(const fs::path &native, bool inFolder = false)
{
    if (t_writeBehind && t_writeBehind->pending(native, inFolder))
        t_writeBehind->drain();
}

// Whether a file is there: as it will be after the pending changes to it,
// when there are any.
std::optional<bool> existenceAfterPending(const fs::path &native)
{
    return t_writeBehind ? t_writeBehind->pendingExistence(native) : std::nullopt;
}

} // namespace

WriteBehind::WriteBehind(std::size_t depth)
{
    if (!t_writeBehind)
        t_writeBehind = m_impl = new Impl(depth);
}

WriteBehind::~WriteBehind()
{
    if (!m_impl)
        return;
    t_writeBehind = nullptr;
    delete m_impl; // the executor makes the pending changes before it ends
}

void WriteBehind::finish()
{
    settle();
}

void settle()
{
    if (t_writeBehind)
        t_writeBehind->drain();
}

bool exists(const WinPath &path)
{
    std::error_code ec;
    if (path.empty())
        return false;
    const fs::path native = toNative(path);
    if (const auto pending = existenceAfterPending(native))
        return *pending;
    return fs::exists(native, ec);
}

bool isFile(const WinPath &path)
{
    std::error_code ec;
    if (path.empty())
        return false;
    const fs::path native = toNative(path);
    if (const auto pending = existenceAfterPending(native))
        return *pending; // every pending change is to a file
    return fs::is_regular_file(native, ec);
}

bool isDirectory(const WinPath &path)
{
    std::error_code ec;
    return !path.empty() && fs::is_directory(toNative(path), ec);
}

std::optional<std::uint64_t> fileSize(const WinPath &path)
{
    std::error_code ec;
    const fs::path native = toNative(path);
    settleFile(native);
    const auto size = fs::file_size(native, ec);
    if (ec)
        return std::nullopt;
    return size;
}

NativeRead readNativeInto(const fs::path &file, std::string &buffer, std::size_t &size)
{
    size = 0;
    settleFile(file);
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
    if (t_writeBehind) {
        const fs::path native = toNative(path);
        t_writeBehind->addWrite(WriteBehind::Impl::Op::Write, native, path, bytes);
        FolderNameCache::noteCreated(native);
        return;
    }
    writeNative(toNative(path), path, bytes, O_TRUNC);
}

void writeAtomic(const WinPath &path, std::string_view bytes)
{
    const fs::path target = toNative(path);
    fs::path temp = target;
    temp += ".tmp~";
    // A second write of a pending file waits for the first, whose temporary
    // file it would otherwise overwrite; a failure of the writer is thrown
    // before anything more is written.
    settleFile(target);
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        fail("ファイルを作成できません", path, errno);
    writeFd(fd, bytes, path);
    if (t_writeBehind) {
        WriteBehind::Impl::Pending p{WriteBehind::Impl::Op::Commit, target, path, fd};
        p.from = std::move(temp);
        t_writeBehind->add(std::move(p));
    } else {
        if (const int err = syncAndClose(fd))
            failAfterWrite("ファイルに書き込めません", temp, path, err);
        renameTemp(temp, target, path);
    }
    FolderNameCache::noteCreated(target);
}

void append(const WinPath &path, std::string_view bytes)
{
    if (t_writeBehind) {
        const fs::path native = toNative(path);
        t_writeBehind->addWrite(WriteBehind::Impl::Op::Append, native, path, bytes);
        FolderNameCache::noteCreated(native);
        return;
    }
    writeNative(toNative(path), path, bytes, O_APPEND);
}

bool remove(const WinPath &path)
{
    const fs::path native = toNative(path);
    std::error_code ec;
    const std::optional<bool> pending = existenceAfterPending(native);
    if (pending ? !*pending : !fs::exists(native, ec))
        return false;
    if (t_writeBehind) {
        t_writeBehind->add({WriteBehind::Impl::Op::Remove, native, path});
        FolderNameCache::noteRemoved(native);
        return true;
    }
    if (!fs::remove(native, ec) && ec)
        fail("ファイルを削除できません", path, ec.value());
    FolderNameCache::noteRemoved(native);
    return true;
}

void rename(const WinPath &from, const WinPath &to)
{
    const fs::path a = toNative(from);
    const fs::path b = toNative(to);
    if (t_writeBehind) {
        WriteBehind::Impl::Pending p{WriteBehind::Impl::Op::Rename, b, from};
        p.from = a;
        t_writeBehind->add(std::move(p));
    } else if (::rename(a.c_str(), b.c_str()) != 0)
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
    if (fs::is_directory(native, ec))
        return;
    settle();
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
    const fs::path native = toNative(folder);
    settleFile(native, true);
    for (fs::directory_iterator it(native, ec), end; !ec && it != end; it.increment(ec))
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
