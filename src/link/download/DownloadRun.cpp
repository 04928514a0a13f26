#include "link/download/DownloadRun.h"

#include "export/SqliteExport.h"

#include "data/formats/Codes.h"
#include "platform/Cp932.h"
#include "platform/Fields.h"
#include "platform/Files.h"
#include "platform/ProfileFile.h"
#include "platform/StopPoint.h"

#include <algorithm>
#include <iterator>

namespace zorbe {
namespace {

constexpr int kReadBufferSize = 60000;
// Routed records held in memory before they are written: a delivered file is
// written in one go unless it is larger than this.
constexpr std::size_t kDefaultPendingLimit = 16u << 20;
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
// 8-digit date of the record, extension. Empty for an unknown venue or a
// date that is not one.
std::string temporaryName(std::string_view buffer, const char *extension)
{
    const std::string venue = downloadVenueName(fieldAt(buffer, 20, 2));
    const std::string_view date = fieldAt(buffer, 12, 8);
    // A date that is not eight digits names no venue day, and could name no
    // file (a separator, a control character).
    if (venue.empty() || date.size() != 8
        || !std::all_of(date.begin(), date.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return {};
    return venue + kindDigit(buffer) + std::string(date) + extension;
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

// Results of a day whose race cards the same run finished wait under this
// name (the finished name + suffix) until the race cards are converted.
constexpr std::string_view kHeldSuffix = ".wait";

std::string heldName(const std::string &finished)
{
    return finished + std::string(kHeldSuffix);
}

// A converted race-card file that its day's results replace is set aside
// under this name (the finished name + suffix) and removed once the
// conversions are over. Freed files are what makes new ones slow to create
// on some file systems (ext4 without a journal skips, one by one, every
// inode of the group freed in the last minute or more), and the results
// conversion creates a file per day right after the cards are replaced.
constexpr std::string_view kConsumedSuffix = ".used";

bool endsWith(std::string_view s, std::string_view suffix)
{
    return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

// A temporary race or runner file: venue name (4 bytes), kind digit, the
// 8-digit date, ".RLB" or ".SLB".
bool isTemporaryName(std::string_view name)
{
    if (name.size() != 17 || (name[4] != '1' && name[4] != '7') || !isDigits(name.substr(5, 8)))
        return false;
    const std::string_view ext = name.substr(13);
    if (ext != ".RLB" && ext != ".SLB")
        return false;
    for (int v = 1; v <= 10; ++v)
        if (name.substr(0, 4) == downloadVenueName(zeroPad(v, 2)))
            return true;
    return false;
}

bool contains(const std::vector<std::string> &list, const std::string &name)
{
    return std::find(list.begin(), list.end(), name) != list.end();
}

} // namespace

std::string downloadVenueName(std::string_view code)
{
    return std::string(formats::codes::racecourses().name(code));
}

std::string dataLinkCodeText(int code)
{
    switch (code) {
    case 0:
        return {};
    case -1:
        return "前回の取得以降に新しいデータはありません";
    case -3:
        return "まだダウンロード中です";
    case -111:
        return "データ種別が正しくありません";
    case -112:
        return "最終データ取得日が正しい日時ではありません";
    case -115:
        return "オプションが正しくありません";
    case -201:
        return "JV-Linkが初期化されていません";
    case -202:
        return "前回の要求がまだ閉じられていません";
    case -203:
        return "要求が開かれていません";
    case -211:
        return "配信フォルダを読めません";
    case -402:
        return "配信ファイルを読めません";
    default:
        return "JV-Linkがエラーを返しました";
    }
}

TDownloadRun::TDownloadRun(TJVLink &link, DownloadView &view, ConversionHandOff *conversions)
    : m_link(link)
    , m_view(view)
    , m_conversions(conversions)
    , m_pendingLimit(kDefaultPendingLimit)
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

std::string TDownloadRun::errorText() const
{
    if (m_failureStatus.empty())
        return {};
    const std::string words = m_outcome == Outcome::DownloadFailed ? "ダウンロードできませんでした"
                                                                   : dataLinkCodeText(m_errorCode);
    return words.empty() ? m_failureStatus : m_failureStatus + "（" + words + "）";
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
    if (running())
        return;
    m_view.setTimerActive(false);
    m_cancel = false;
    m_openSucceeded = false;
    m_readToEnd = false;
    m_didRead = false;
    m_outcome = Outcome::None;
    m_errorCode = 0;
    m_failureStatus.clear();
    // Each run starts with empty file lists and reports only its own days.
    m_raceFiles.clear();
    m_runnerFiles.clear();
    m_finishedRaces.clear();
    m_finishedCards.clear();
    m_held.clear();
    m_currentDelivered.clear();
    m_startedTargets.clear();
    m_runnerFileCount = 0;
    m_finishedAnyRace = false;
    m_damaged.clear();
    m_view.setProgress(0, 100);

    const std::string from = fromTime();
    m_opening = true;
    m_view.setStartEnabled(false);
    m_view.setBusy(true);
    // "中止" stays usable for the whole run: it is the only way to stop it.
    m_view.setCancelEnabled(true);
    files::makeDirectories(m_downFolder);

    const int rc = m_link.JVOpen("RACERCOV", from, 2, m_readCount, m_downloadCount, m_lastFileTimestamp);
    m_opening = false;
    if (rc != 0) {
        fail(rc == -1 ? Outcome::NothingNew : Outcome::OpenFailed, rc, "JVOpenエラー:" + std::to_string(rc));
        close();
        return;
    }
    stopPoint("open");
    m_openSucceeded = true;
    m_view.setStatus("JVOpen正常終了:0\r\n");

    if (m_downloadCount != 0) {
        m_view.setCaption("ダウンロード中・・・");
        m_view.setProgress(0, m_downloadCount);
        m_state = State::Downloading;
        m_view.setTimerActive(true);
        return;
    }
    m_view.setProgress(100, 100);
    readAndFinish();
}

void TDownloadRun::timerTick()
{
    if (m_state != State::Downloading)
        return;
    const int s = m_link.JVStatus();
    m_view.setCaption("ダウンロード中");
    if (s < 0) {
        m_view.setTimerActive(false);
        fail(Outcome::DownloadFailed, s, "ダウンロード失敗:");
        close();
        return;
    }
    const std::string caption
        = "ダウンロード中．．．(" + std::to_string(s) + "/" + std::to_string(m_downloadCount) + ")";
    m_view.setCaption(caption);
    m_view.setProgress(std::min(s, m_downloadCount), m_downloadCount);
    if (s >= m_downloadCount) {
        m_view.setTimerActive(false);
        readAndFinish();
    }
}

void TDownloadRun::cancel()
{
    m_view.setTimerActive(false);
    m_link.JVCancel();
    m_cancel = true;
    if (running()) {
        m_outcome = Outcome::Cancelled;
        m_failureStatus = "キャンセルしました";
    }
    m_view.setStatus("キャンセルしました");
    if (m_state == State::Downloading) {
        // Cancelled while downloading: nothing is read; the request closes.
        close();
    }
}

void TDownloadRun::fail(Outcome outcome, int code, const std::string &status)
{
    m_outcome = outcome;
    m_errorCode = code;
    m_failureStatus = status;
    m_view.setStatus(status + "\r\n");
    const std::string words = errorText();
    if (words != status)
        m_view.setCaption(words);
}

// Reading, the close, and after a read to the end the conversions.
void TDownloadRun::readAndFinish()
{
    // The run resolves the same few folders for every record it routes and
    // every file it converts: their names are listed once for the run.
    FolderNameCache folderNames;
    try {
        read();
    } catch (const files::FileError &e) {
        // A raw file that cannot be written (a full disk, a folder taken
        // away) ends the read as a failed read of the data link does: the
        // run closes and says why, nothing is converted or recorded, and
        // the next run starts again from a clean work space.
        m_readToEnd = false;
        fail(Outcome::ReadFailed, 0, std::string("読込みエラー: ") + e.what());
    }
    close();
    if (m_readToEnd && !m_cancel)
        handOffAndRecord();
}

void TDownloadRun::cleanWorkSpace()
{
    for (const std::string &name : files::list(m_downFolder))
        if (isTemporaryName(name) || endsWith(name, kHeldSuffix) || endsWith(name, kConsumedSuffix)
            || name == kJockeyDownload || name == kTrainerDownload)
            files::remove(m_downFolder / name);
}

void TDownloadRun::read()
{
    m_state = State::Reading;
    m_didRead = true;
    // The raw files are written, renamed and removed in the background, in
    // order, while the next delivered file is read and routed.
    files::WriteBehind writeBehind;
    cleanWorkSpace();
    m_view.setCaption("データ読込み中．．．(0/" + std::to_string(m_readCount) + ")");
    m_view.setProgress(0, m_readCount);
    int fileCounter = 0;
    std::string buffer, fileName;
    for (;;) {
        m_view.processEvents();
        if (m_cancel) {
            m_outcome = Outcome::Cancelled;
            break;
        }
        const int r = m_link.JVRead(buffer, kReadBufferSize, fileName);
        // Only records are tested for skipping: the end-of-file and end-of-data
        // codes must always be seen, or a skipped last file would never end.
        if (r > 0 && isSkipped(buffer, fileName)) {
            m_view.setCaption("読込みスキップ．．．(" + u8(fileName) + ")");
            continue;
        }
        if (r > 0) {
            routeRecord(buffer, fileName);
            stopPoint("record");
            m_view.setCaption("データ読込み中..(" + u8(fieldAt(buffer, 12, 8)) + u8(fieldAt(buffer, 26, 2)) + ")");
        } else if (r == -1) {
            ++fileCounter;
            m_view.setProgress(fileCounter, m_readCount);
            writePending();
            finishFiles();
            m_currentDelivered.clear();
            stopPoint("file");
        } else if (r == 0) {
            m_view.setCaption("データ読込み完了(" + std::to_string(fileCounter) + "/" + std::to_string(m_readCount)
                              + ")");
            m_readToEnd = true;
            break;
        } else {
            fail(Outcome::ReadFailed, r, "読込みエラー:" + std::to_string(r));
            break;
        }
    }
    // A cancelled or failed read leaves what it routed on the disk, as it
    // would had every record been written at once; the next run starts from
    // a clean work space either way.
    writePending();
    writeBehind.finish();
    reportDamaged();
}

void TDownloadRun::routeRecord(const std::string &buffer, const std::string &fileName)
{
    if (fileName != m_currentDelivered) {
        writePending();
        m_currentDelivered = fileName;
        m_startedTargets.clear();
    }
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
    bool perDeliveredFile = false;
    if (weekly) {
        target = deliveredDat(fileName);
        perDeliveredFile = true;
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
        perDeliveredFile = true;
    }
    if (list && !contains(*list, target))
        list->push_back(target);
    // The raw file of a delivered file holds that file's records only: the
    // first record written anew, the others appended.
    bool anew = false;
    if (perDeliveredFile && !contains(m_startedTargets, target)) {
        m_startedTargets.push_back(target);
        anew = true;
    }
    // A delivered file feeds few raw files (its own, a race and a runner
    // file per venue day, the masters), so a linear search is the fastest.
    auto pending = std::find_if(m_pending.begin(), m_pending.end(),
                                [&](const PendingWrite &w) { return w.target == target; });
    if (pending == m_pending.end() || anew) {
        std::string bytes;
        if (!m_spareBuffers.empty()) {
            bytes = std::move(m_spareBuffers.back());
            m_spareBuffers.pop_back();
            m_spareBytes -= bytes.capacity();
        }
        m_pending.push_back({target, anew, std::move(bytes)});
        pending = std::prev(m_pending.end());
    }
    pending->bytes += buffer;
    m_pendingBytes += buffer.size();
    if (m_pendingBytes >= m_pendingLimit)
        writePending();
}

void TDownloadRun::writePending()
{
    for (PendingWrite &w : m_pending) {
        if (w.anew)
            files::writeAll(m_downFolder / w.target, w.bytes);
        else
            files::append(m_downFolder / w.target, w.bytes);
        w.bytes.clear();
        if (m_spareBytes + w.bytes.capacity() <= 2 * m_pendingLimit) {
            m_spareBytes += w.bytes.capacity();
            m_spareBuffers.push_back(std::move(w.bytes));
        }
    }
    m_pending.clear();
    m_pendingBytes = 0;
}

// Finishes a temporary race or runner file: renamed to its finished name,
// replacing a finished file of an earlier run. Results of a day whose race
// cards this run finished wait under their own name instead.
void TDownloadRun::finishFile(const std::string &temp, bool isRace)
{
    const std::string done = finishedName(temp);
    const char kind = temp[4];
    const bool hold = kind == '7' && contains(m_finishedCards, done);
    const std::string target = hold ? heldName(done) : done;
    files::remove(m_downFolder / target);
    if (files::exists(m_downFolder / temp))
        files::rename(m_downFolder / temp, m_downFolder / target);
    if (hold && !contains(m_held, done))
        m_held.push_back(done);
    if (kind == '1' && !contains(m_finishedCards, done))
        m_finishedCards.push_back(done);
    if (!isRace) {
        ++m_runnerFileCount;
        return;
    }
    const bool known = std::any_of(m_finishedRaces.begin(), m_finishedRaces.end(),
                                   [&](const DownloadedDay &d) { return d.fileName == done && d.kind == kind; });
    if (!known)
        m_finishedRaces.push_back({done, kind});
    if (!m_finishedAnyRace) {
        m_downloadKind = std::string(1, kind);
        m_finishedAnyRace = true;
    }
}

void TDownloadRun::finishFiles()
{
    for (const auto &temp : m_raceFiles)
        finishFile(temp, true);
    m_raceFiles.clear();
    for (const auto &temp : m_runnerFiles)
        finishFile(temp, false);
    m_runnerFiles.clear();
}

void TDownloadRun::releaseHeldResults()
{
    for (const std::string &done : m_held) {
        if (files::exists(m_downFolder / done)) {
            const std::string consumed = done + std::string(kConsumedSuffix);
            files::rename(m_downFolder / done, m_downFolder / consumed);
            m_consumed.push_back(consumed);
        }
        if (files::exists(m_downFolder / heldName(done)))
            files::rename(m_downFolder / heldName(done), m_downFolder / done);
    }
    m_held.clear();
}

void TDownloadRun::removeConsumedCards()
{
    // One that cannot be removed now is removed with the work space of the
    // next run; it does not fail this one.
    for (const std::string &name : m_consumed) {
        try {
            files::remove(m_downFolder / name);
        } catch (const files::FileError &) {
        }
    }
    m_consumed.clear();
}

bool TDownloadRun::handOff(ConversionHandOff &conversions)
{
    std::vector<DownloadedDay> entries, results;
    for (const auto &day : m_finishedRaces)
        (day.kind == '1' ? entries : results).push_back(day);
    // Each conversion starts from a disk that has every change made before
    // it, however it reads the files.
    files::settle();
    if (!entries.empty() && !conversions.convertEntries(entries))
        return false;
    releaseHeldResults();
    files::settle();
    if (!results.empty() || entries.empty())
        return conversions.convertResults(results);
    return true;
}

// The conversions take the finished days; only when they succeeded does
// the next run start after this one's files.
void TDownloadRun::handOffAndRecord()
{
    bool converted = true;
    std::string why;
    if (m_conversions) {
        try {
            // The conversions write about three files a meeting day; each
            // is flushed to the disk while the next is made.
            files::WriteBehind writeBehind;
            converted = handOff(*m_conversions);
            writeBehind.finish();
        } catch (const std::exception &e) {
            converted = false;
            why = e.what();
        }
    }
    removeConsumedCards();
    if (!converted) {
        m_outcome = Outcome::ConversionFailed;
        m_failureStatus = why.empty() ? "データ変換エラー:" : "データ変換エラー: " + why;
        m_view.setStatus("正常終了: " + m_failureStatus);
        return;
    }
    stopPoint("convert");
    ProfileFile(ProfileFile::defaultPath()).writeString("LastFileTime", "LastFileTime", m_lastFileTimestamp);
    m_outcome = Outcome::Completed;
    // With [db] auto = "1" the database follows the converted files; its
    // result is shown, and never fails the download that has completed.
    for (const std::string &line : dbexport::exportAfterDownload())
        m_view.setStatus(line);
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

// The close keeps what went wrong in front of its own text, so that a failed
// or cancelled run is never shown as a plain "正常終了:".
void TDownloadRun::close()
{
    const int rc = m_link.JVClose();
    m_view.setBusy(false);
    std::string status = rc == 0 ? "正常終了:" : "終了処理エラー:";
    if (!m_failureStatus.empty())
        status = m_failureStatus + " " + status;
    const std::string damaged = damagedSummary();
    if (!damaged.empty())
        status += " " + damaged;
    m_view.setStatus(status);
    m_view.setCancelEnabled(true);
    m_state = State::Closed;
    m_view.setStartEnabled(true);
}

} // namespace zorbe
