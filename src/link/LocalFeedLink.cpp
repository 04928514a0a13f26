#include "link/LocalFeedLink.h"

#include "data/JVRecordKinds.h"
#include "platform/Cp932.h"
#include "platform/Fields.h"
#include "platform/Files.h"
#include "platform/ProfileFile.h"
#include "platform/WinPath.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>

namespace zorbe {
namespace fs = std::filesystem;

namespace {

int number(std::string_view s)
{
    int v = 0;
    for (char c : s)
        v = v * 10 + (c - '0');
    return v;
}

// The delivered name and time stamp of a feed file, or nothing when the
// file is not a delivered file.
std::optional<std::string> deliveredTimestamp(const std::string &name)
{
    const auto dot = name.rfind('.');
    const std::string stem = dot == std::string::npos ? name : name.substr(0, dot);
    if (stem.size() < 26)
        return std::nullopt;
    std::string stamp = stem.substr(12, 14);
    if (!isDigits(stamp))
        return std::nullopt;
    return stamp;
}

} // namespace

bool isValidTimestamp(std::string_view t)
{
    if (t.size() != 14 || !isDigits(t))
        return false;
    const int month = number(t.substr(4, 2)), day = number(t.substr(6, 2));
    const int hour = number(t.substr(8, 2)), minute = number(t.substr(10, 2)), second = number(t.substr(12, 2));
    return month >= 1 && month <= 12 && day >= 1 && day <= 31 && hour <= 23 && minute <= 59 && second <= 59;
}

LocalFeedLink::LocalFeedLink() = default;

std::string LocalFeedLink::now() const
{
    if (!m_now.empty())
        return m_now;
    if (const char *env = std::getenv("ZORBE_FEED_NOW"); env && isValidTimestamp(env))
        return env;
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    char buf[16];
    std::strftime(buf, sizeof buf, "%Y%m%d%H%M%S", &tm);
    return buf;
}

fs::path LocalFeedLink::feedFolder() const
{
    if (const char *env = std::getenv("ZORBE_FEED"); env && *env)
        return fs::path(env);
    ProfileFile settings(ProfileFile::defaultPath());
    const std::string folder = settings.readString("JVLinkFeed", "folder", "");
    if (!folder.empty())
        return toNative(WinPath(folder));
    return zorbeHome() / "feed";
}

fs::path LocalFeedLink::stateFile() const
{
    return zorbeHome() / "jvlink" / "downloaded.lst";
}

// Which delivered files an earlier run has already fetched, as
// "<feed folder>\t<file name>" lines.
std::set<std::string> LocalFeedLink::loadDownloaded() const
{
    std::set<std::string> done;
    std::ifstream in(stateFile(), std::ios::binary);
    std::string line;
    while (std::getline(in, line))
        done.insert(line);
    return done;
}

void LocalFeedLink::markDownloaded(const Delivered &file)
{
    const std::string line = m_folder.string() + '\t' + file.name;
    if (!m_done.insert(line).second)
        return;
    if (!m_state.is_open()) {
        std::error_code ec;
        fs::create_directories(stateFile().parent_path(), ec);
        m_state.clear();
        m_state.open(stateFile(), std::ios::binary | std::ios::app);
    }
    m_state << line << '\n';
    m_state.flush();
    if (!m_state)
        m_state.close(); // a failed write: the next line opens the file again
}

void LocalFeedLink::markEndedFile()
{
    if (m_ended && *m_ended < m_files.size())
        markDownloaded(m_files[*m_ended]);
    m_ended.reset();
}

int LocalFeedLink::JVInit(const std::string &softwareId)
{
    if (softwareId.empty())
        return -101;
    m_initialised = true;
    return 0;
}

int LocalFeedLink::JVSetUIProperties()
{
    if (!m_chooser)
        return -1;
    const auto chosen = m_chooser(feedFolder());
    if (chosen) {
        ProfileFile settings(ProfileFile::defaultPath());
        settings.writeString("JVLinkFeed", "folder", WinPath::fromNative(*chosen).text());
    }
    return 0;
}

int LocalFeedLink::JVOpen(const std::string &dataSpec, const std::string &fromTime, int option, int &readCount,
                          int &downloadCount, std::string &lastFileTimestamp)
{
    readCount = 0;
    downloadCount = 0;
    if (!m_initialised)
        return -201;
    if (m_open)
        return -202;
    if (dataSpec.empty() || dataSpec.size() % 4 != 0)
        return -111;
    if (!isValidTimestamp(fromTime))
        return -112;
    if (option < 1 || option > 4)
        return -115;
    m_folder = feedFolder();
    std::error_code ec;
    if (!fs::is_directory(m_folder, ec))
        return -211;

    const std::string clock = now();
    m_files.clear();
    for (fs::directory_iterator it(m_folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (!it->is_regular_file(ec))
            continue;
        const std::string name = it->path().filename().string();
        const auto stamp = deliveredTimestamp(name);
        if (stamp && *stamp > fromTime && *stamp <= clock)
            m_files.push_back({name, *stamp});
    }
    std::sort(m_files.begin(), m_files.end(), [](const Delivered &a, const Delivered &b) {
        return a.timestamp != b.timestamp ? a.timestamp < b.timestamp : a.name < b.name;
    });
    if (m_files.empty())
        return -1;

    m_done = loadDownloaded();
    m_toDownload.clear();
    for (std::size_t i = 0; i < m_files.size(); ++i)
        if (!m_done.count(m_folder.string() + '\t' + m_files[i].name))
            m_toDownload.push_back(i);

    m_open = true;
    m_downloaded = 0;
    m_current = 0;
    m_fileLoaded = false;
    m_ended.reset();
    m_damaged.clear();
    readCount = static_cast<int>(m_files.size());
    downloadCount = static_cast<int>(m_toDownload.size());
    lastFileTimestamp = m_files.back().timestamp;
    return 0;
}

int LocalFeedLink::JVStatus()
{
    if (!m_open)
        return -203;
    // One file per call, so that a caller polling the status sees progress.
    if (m_downloaded < m_toDownload.size())
        ++m_downloaded;
    return static_cast<int>(m_downloaded);
}

bool LocalFeedLink::openNextFile(std::string &fileName)
{
    const Delivered &f = m_files[m_current];
    m_currentName = cp932::fromUtf8(f.name);
    fileName = m_currentName;
    m_pos = 0;
    m_line = 0;
    // The buffer is kept from file to file and only grows, so that its
    // bytes are not cleared again for every file.
    m_fileLoaded = files::readNativeInto(m_folder / f.name, m_content, m_contentSize).error == 0;
    return m_fileLoaded;
}

int LocalFeedLink::JVRead(std::string &buffer, int size, std::string &fileName)
{
    buffer.clear();
    if (!m_open)
        return -203;
    if (m_downloaded < m_toDownload.size())
        return -3;
    markEndedFile();
    if (m_current >= m_files.size())
        return 0;
    if (!m_fileLoaded && !openNextFile(fileName)) {
        ++m_current; // go on with the next file on the next call
        return -402;
    }
    fileName = m_currentName;

    const std::string_view content(m_content.data(), m_contentSize);
    while (m_pos < content.size()) {
        const auto eol = content.find("\r\n", m_pos);
        const std::size_t end = eol == std::string_view::npos ? content.size() : eol + 2;
        const std::string_view line = content.substr(m_pos, end - m_pos);
        m_pos = end;
        ++m_line;
        if (line == "\r\n")
            continue;
        const std::size_t expected = jvRecordLength(line.substr(0, 2));
        const bool complete = eol != std::string_view::npos;
        const bool fits = line.size() <= static_cast<std::size_t>(size < 0 ? 0 : size);
        if (!complete || !fits || (expected != 0 && line.size() != expected)) {
            m_damaged.push_back({fileName, m_line, line.size(), expected});
            continue;
        }
        buffer.assign(line);
        return static_cast<int>(line.size());
    }
    // The file has ended.
    m_contentSize = 0;
    m_fileLoaded = false;
    m_ended = m_current;
    ++m_current;
    return -1;
}

int LocalFeedLink::JVCancel()
{
    m_toDownload.resize(m_downloaded);
    return 0;
}

int LocalFeedLink::JVClose()
{
    if (m_open)
        markEndedFile();
    m_state.close();
    m_open = false;
    m_files.clear();
    m_toDownload.clear();
    m_content.clear();
    m_contentSize = 0;
    m_fileLoaded = false;
    return 0;
}

} // namespace zorbe
