#include "link/download/DownloadRun.h"

#include "data/formats/Codes.h"
#include "platform/Cp932.h"
#include "platform/Fields.h"
#include "platform/Files.h"
#include "platform/ProfileFile.h"

#include <algorithm>

namespace zorbe {
namespace {

constexpr int kReadBufferSize = 60000;
constexpr const char *kJockeyDownload = "Jra#Kisi.dat";
constexpr const char *kTrainerDownload = "Jra#Chok.dat";

bool startsWith(std::string_view s, std::string_view prefix)
{
    return s.substr(0, prefix.size()) == prefix;
}

// Records and delivered files the program has no use for.
bool isSkipped(std::string_view buffer, std::string_view fileName)
{
    for (const char *p : {"RA1", "SE1", "SE9", "RA9"})
        if (startsWith(buffer, p))
            return true;
    for (const char *p : {"H1", "H6", "O1", "O2", "O3", "O4", "O5", "O6", "BN", "JG", "BR"})
        if (startsWith(fileName, p))
            return true;
    return false;
}

bool isWeeklyFile(std::string_view fileName)
{
    return startsWith(fileName, "RAQW") || startsWith(fileName, "SEQW");
}

bool isRaceRecord(std::string_view b) { return startsWith(b, "RA2") || startsWith(b, "RA7"); }
bool isRunnerRecord(std::string_view b) { return startsWith(b, "SE2") || startsWith(b, "SE7"); }

// "RA2"/"SE2" (race cards) give the kind digit '1', "RA7"/"SE7" (results) '7'.
char kindDigit(std::string_view buffer)
{
    return buffer.size() > 2 && buffer[2] == '7' ? '7' : '1';
}

// The temporary name of a race or runner file: venue name, kind digit, the
// 8-digit date of the record, extension. Empty for an unknown venue.
std::string temporaryName(std::string_view buffer, const char *extension)
{
    const std::string venue = downloadVenueName(fieldAt(buffer, 20, 2));
    if (venue.empty())
        return {};
    return venue + kindDigit(buffer) + std::string(fieldAt(buffer, 12, 8)) + extension;
}

// The finished name: the temporary name without its kind digit (byte 5).
std::string finishedName(const std::string &temporary)
{
    return temporary.substr(0, 4) + temporary.substr(5);
}

std::string deliveredDat(std::string_view fileName)
{
    return std::string(fileName.substr(0, 12)) + ".DAT";
}

} // namespace

std::string downloadVenueName(std::string_view code)
{
    return std::string(formats::codes::racecourses().name(code));
}

TDownloadRun::TDownloadRun(TJVLink &link, DownloadView &view)
    : m_link(link)
    , m_view(view)
{
}

std::string TDownloadRun::fromTimeText(const std::string &t)
{
    auto part = [&](std::size_t pos, std::size_t len) { return std::string(field(t, pos, len)); };
    return part(0, 4) + sj("年") + part(4, 2) + sj("月") + part(6, 2) + sj("日") + part(8, 2) + sj("時")
           + part(10, 2) + sj("分") + part(12, 2) + sj("秒");
}

std::string TDownloadRun::fromTime() const
{
    std::string t;
    for (std::size_t pos : {1, 7, 11, 15, 19, 23})
        t += fieldAt(Edit2, pos, pos == 1 ? 4 : 2);
    return t;
}

void TDownloadRun::formShow(const std::string &versionCaption)
{
    ProfileFile settings(ProfileFile::defaultPath());
    m_downFolder = WinPath(settings.readString("downdir", "down", "d:\\zorbeLab\\down"));
    Edit2 = fromTimeText(settings.readString("LastFileTime", "LastFileTime", "20040617000000"));
    m_currentRaceFile.clear();
    m_currentRunnerFile.clear();
    m_view.setCaption(versionCaption);
    files::remove(m_downFolder / kJockeyDownload);
    files::remove(m_downFolder / kTrainerDownload);
}

void TDownloadRun::start()
{
    m_view.setTimerActive(false);
    m_cancel = false;
    m_openSucceeded = false;
    m_readToEnd = false;
    m_didRead = false;
    // Each run starts with empty file lists and reports only its own days.
    m_raceFiles.clear();
    m_runnerFiles.clear();
    m_finishedRaces.clear();
    m_runnerFileCount = 0;
    m_finishedAnyRace = false;
    m_damaged.clear();
    m_view.setProgress(0, 100);

    const std::string from = fromTime();
    m_view.setBusy(true);
    m_view.setCancelEnabled(false);
    files::makeDirectories(m_downFolder);

    const int rc = m_link.JVOpen("RACERCOV", from, 2, m_readCount, m_downloadCount, m_lastFileTimestamp);
    if (rc != 0) {
        m_view.setStatus("JVOpenエラー:" + std::to_string(rc) + "\r\n");
        close();
        return;
    }
    m_openSucceeded = true;
    m_view.setStatus("JVOpen正常終了:0\r\n");
    // The next run starts from here, even if this one fails later.
    ProfileFile(ProfileFile::defaultPath()).writeString("LastFileTime", "LastFileTime", m_lastFileTimestamp);

    if (m_downloadCount != 0) {
        m_view.setCaption("ダウンロード中・・・");
        m_view.setProgress(0, m_downloadCount);
        m_state = State::Downloading;
        m_view.setTimerActive(true);
        return;
    }
    m_view.setProgress(100, 100);
    read();
    close();
}

void TDownloadRun::timerTick()
{
    if (m_state != State::Downloading)
        return;
    const int s = m_link.JVStatus();
    m_view.setCaption("ダウンロード中");
    if (s < 0) {
        m_view.setStatus("ダウンロード失敗:");
        m_view.setTimerActive(false);
        close();
        return;
    }
    const std::string caption
        = "ダウンロード中．．．(" + std::to_string(s) + "/" + std::to_string(m_downloadCount) + ")";
    m_view.setCaption(caption);
    m_view.setProgress(std::min(s, m_downloadCount), m_downloadCount);
    if (s >= m_downloadCount) {
        m_view.setTimerActive(false);
        read();
        close();
    }
}

void TDownloadRun::cancel()
{
    m_view.setTimerActive(false);
    m_link.JVCancel();
    m_cancel = true;
    m_view.setStatus("キャンセルしました");
    if (m_state == State::Downloading) {
        // Cancelled while downloading: nothing is read; the request closes.
        close();
    }
}

void TDownloadRun::read()
{
    m_state = State::Reading;
    m_didRead = true;
    m_view.setCaption("データ読込み中．．．(0/" + std::to_string(m_readCount) + ")");
    m_view.setProgress(0, m_readCount);
    int fileCounter = 0;
    std::string buffer, fileName;
    for (;;) {
        m_view.processEvents();
        if (m_cancel)
            break;
        const int r = m_link.JVRead(buffer, kReadBufferSize, fileName);
        // Only records are tested for skipping: the end-of-file and end-of-data
        // codes must always be seen, or a skipped last file would never end.
        if (r > 0 && isSkipped(buffer, fileName)) {
            m_view.setCaption("読込みスキップ．．．(" + u8(fileName) + ")");
            continue;
        }
        if (r > 0) {
            routeRecord(buffer, fileName);
            m_view.setCaption("データ読込み中..(" + u8(fieldAt(buffer, 12, 8)) + u8(fieldAt(buffer, 26, 2)) + ")");
        } else if (r == -1) {
            ++fileCounter;
            m_view.setProgress(fileCounter, m_readCount);
            finishFiles();
        } else if (r == 0) {
            m_view.setCaption("データ読込み完了(" + std::to_string(fileCounter) + "/" + std::to_string(m_readCount)
                              + ")");
            m_readToEnd = true;
            break;
        } else {
            m_view.setStatus("読込みエラー:" + std::to_string(r) + "\r\n");
            break;
        }
    }
    reportDamaged();
}

void TDownloadRun::routeRecord(const std::string &buffer, const std::string &fileName)
{
    const bool weekly = isWeeklyFile(fileName);
    if (!weekly) {
        if (isRaceRecord(buffer)) {
            m_currentRaceFile = temporaryName(buffer, ".RLB");
        } else if (isRunnerRecord(buffer)) {
            m_currentRunnerFile = temporaryName(buffer, ".SLB");
        }
    }

    std::string target;
    std::vector<std::string> *list = nullptr;
    if (weekly) {
        target = deliveredDat(fileName);
    } else if (isRunnerRecord(buffer) && !m_currentRunnerFile.empty()) {
        target = m_currentRunnerFile;
        list = &m_runnerFiles;
    } else if (isRaceRecord(buffer) && !m_currentRaceFile.empty()) {
        target = m_currentRaceFile;
        list = &m_raceFiles;
    } else if (startsWith(buffer, "KS")) {
        target = kJockeyDownload;
    } else if (startsWith(buffer, "CH")) {
        target = kTrainerDownload;
    } else {
        // Everything else, including a race or runner record of a venue
        // code outside 01-10, which has no venue file to go to.
        target = deliveredDat(fileName);
    }
    // A temporary file left by an interrupted run is appended to and then
    // finished with this run's records.
    if (list && std::find(list->begin(), list->end(), target) == list->end())
        list->push_back(target);
    files::append(m_downFolder / target, buffer);
}

void TDownloadRun::finishFiles()
{
    for (const auto &temp : m_raceFiles) {
        const std::string done = finishedName(temp);
        files::remove(m_downFolder / done);
        if (files::exists(m_downFolder / temp))
            files::rename(m_downFolder / temp, m_downFolder / done);
        m_finishedRaces.push_back({done, temp[4]});
        if (!m_finishedAnyRace) {
            m_downloadKind = std::string(1, temp[4]);
            m_finishedAnyRace = true;
        }
    }
    m_raceFiles.clear();
    for (const auto &temp : m_runnerFiles) {
        const std::string done = finishedName(temp);
        files::remove(m_downFolder / done);
        if (files::exists(m_downFolder / temp))
            files::rename(m_downFolder / temp, m_downFolder / done);
        ++m_runnerFileCount;
    }
    m_runnerFiles.clear();
}

void TDownloadRun::reportDamaged()
{
    for (const auto &d : m_link.leftOutRecords())
        m_damaged.push_back(u8(d.fileName) + " " + std::to_string(d.line) + "行目: 長さ " + std::to_string(d.length)
                            + " バイト（正しくは " + std::to_string(d.expected) + " バイト）");
    if (!m_damaged.empty())
        m_view.setStatus(damagedSummary() + "\r\n");
}

std::string TDownloadRun::damagedSummary() const
{
    if (m_damaged.empty())
        return {};
    return "不正なレコード" + std::to_string(m_damaged.size()) + "件を読み飛ばしました（" + m_damaged.front()
           + (m_damaged.size() > 1 ? " ほか" : "") + "）";
}

void TDownloadRun::close()
{
    const int rc = m_link.JVClose();
    m_view.setBusy(false);
    // The left-out records stay visible in the status panel after the close.
    const std::string damaged = damagedSummary();
    m_view.setStatus(std::string(rc == 0 ? "正常終了:" : "終了処理エラー:") + (damaged.empty() ? "" : " " + damaged));
    m_view.setCancelEnabled(true);
    m_state = State::Closed;
}

} // namespace zorbe

namespace zorbe {

void handOff(const TDownloadRun &run, ConversionHandOff &conversions)
{
    std::vector<DownloadedDay> entries, results;
    for (const auto &day : run.LastRaceFileNames())
        (day.kind == '1' ? entries : results).push_back(day);
    if (!entries.empty())
        conversions.convertEntries(entries);
    if (!results.empty() || entries.empty())
        conversions.convertResults(results);
}

} // namespace zorbe
