#pragma once

#include "link/JVLink.h"
#include "platform/WinPath.h"

#include <string>
#include <vector>

namespace zorbe {

// What the download run shows while it works. The download window is one
// view; the headless `zorbe download` prints the same texts. Texts are UTF-8.
class DownloadView
{
public:
    virtual ~DownloadView() = default;
    virtual void setCaption(const std::string &text) = 0;
    // Panel 0 of the main window's status bar: the data link's results.
    virtual void setStatus(const std::string &text) = 0;
    virtual void setProgress(int position, int maximum) = 0;
    virtual void setCancelEnabled(bool enabled) = 0;
    // "開始": off from the start of a run until its request is closed, so a
    // second press cannot open the request again in the middle of a run.
    virtual void setStartEnabled(bool) {}
    virtual void setBusy(bool busy) = 0;
    // Lets pending user-interface events run (the cancel button, the timer).
    virtual void processEvents() = 0;
    // The 10 ms status timer on or off; while on, the view calls
    // TDownloadRun::timerTick every 10 ms.
    virtual void setTimerActive(bool active) = 0;
};

// A view that shows nothing; it keeps whether the status timer is on, so a
// caller without a window polls the run while it downloads:
//   run.start(); while (view.timerActive()) run.timerTick();
class SilentDownloadView : public DownloadView
{
public:
    void setCaption(const std::string &) override {}
    void setStatus(const std::string &) override {}
    void setProgress(int, int) override {}
    void setCancelEnabled(bool) override {}
    void setBusy(bool) override {}
    void processEvents() override {}
    void setTimerActive(bool active) override { m_timer = active; }
    bool timerActive() const { return m_timer; }

private:
    bool m_timer = false;
};

// One finished raw file of the run: a venue-day's races or runners.
struct DownloadedDay
{
    std::string fileName; // finished name in the download folder, e.g. 東京20040627.RLB (cp932)
    char kind = '1';      // '1' race cards (data kind 2), '7' results (data kind 7)
};

// Where the conversions take over after a run: the race-card days go to the
// entries conversion first, then the results days to the results
// conversion, each by its own kind, so that no downloaded day is left
// unconverted. A run that finished no race file still takes the results
// path (which rebuilds the masters). Each returns false when its conversion
// failed (the failure has been shown).
class ConversionHandOff
{
public:
    virtual ~ConversionHandOff() = default;
    virtual bool convertEntries(const std::vector<DownloadedDay> &days) = 0;
    virtual bool convertResults(const std::vector<DownloadedDay> &days) = 0;
};

// The download run of the download window: open a request on the data link
// for everything published since the from-time, wait for the download,
// read every record and route it into raw files in the download folder,
// close the request, hand the finished days to the conversions, and only
// then store the new [LastFileTime]. The window and `zorbe download` both
// run it.
//
// Raw files, all in the download folder, each a plain concatenation of the
// delivered records:
//   records of delivered files named "RAQW…"/"SEQW…"   first 12 characters of the delivered name + ".DAT"
//   RA of data kind 2/7                               venue + kind digit + date + ".RLB" while filling,
//                                                     venue + date + ".RLB" when finished
//   SE of data kind 2/7                               the same with ".SLB"
//   KS                                                "Jra#Kisi.dat"
//   CH                                                "Jra#Chok.dat"
//   anything else that is not skipped                 first 12 characters of the delivered name + ".DAT"
// Every record is written open-append-close, so no file stays open between
// reads.
//
// A run is all or nothing, so that a run that is cancelled, fails, or is
// killed at any moment is simply run again and gives the files an
// uninterrupted run gives:
// - [LastFileTime] moves forward only after the read ended with code 0 and
//   the conversions succeeded; otherwise the next run fetches the same files.
// - Reading starts from a clean work space: the temporary race and runner
//   files and the master downloads an interrupted run left are removed.
// - A ".DAT" raw file is written anew by the first record of each delivered
//   file that goes to it, so a file delivered again replaces its earlier
//   copy instead of being appended to it.
// - When one run finishes both the race cards and the results of a day
//   (a catch-up over several weeks), the results wait under a name of their
//   own until the race cards are converted, since both finish under the
//   same name.
// - A cancelled or failed read is not converted: its days come again with
//   the next run, whole.
class TDownloadRun
{
public:
    TDownloadRun(TJVLink &link, DownloadView &view, ConversionHandOff *conversions = nullptr);

    // The conversions a run that has read to the end hands its days to.
    // Without any, the run stores [LastFileTime] as soon as it has read to
    // the end.
    void setConversions(ConversionHandOff *conversions) { m_conversions = conversions; }

    // FormShow: re-read the settings, fill Edit2 from [LastFileTime], set the
    // caption to the data link's version text, delete the master downloads
    // of an earlier run.
    void formShow(const std::string &versionCaption);

    // "開始". Ends with the timer running (downloading) or the run closed
    // (and, after a read to the end, converted). Ignored while a run is open.
    void start();
    // Every 10 ms while the timer runs.
    void timerTick();
    // "中止".
    void cancel();

    // The from-time field in the shape YYYY年MM月DD日hh時mm分ss秒 (cp932).
    std::string Edit2;
    // The 14-digit from-time of Edit2's bytes 1-4, 7-8, 11-12, 15-16, 19-20, 23-24.
    std::string fromTime() const;

    enum class State { Idle, Downloading, Reading, Closed };
    State state() const { return m_state; }
    // True from "開始" until the request is closed.
    bool running() const { return m_state == State::Downloading || m_state == State::Reading || m_opening; }
    bool cancelled() const { return m_cancel; }
    bool openSucceeded() const { return m_openSucceeded; }
    // True when reading went to the end (JVRead returned 0).
    bool readToTheEnd() const { return m_readToEnd; }
    // True when this run got as far as reading (however reading stopped).
    bool didRead() const { return m_didRead; }

    // How the last run ended.
    enum class Outcome
    {
        None,             // no run yet, or one still open
        NothingNew,       // JVOpen -1: nothing published since the from-time
        OpenFailed,       // any other JVOpen error
        DownloadFailed,   // JVStatus reported a failure
        ReadFailed,       // JVRead reported an error
        Cancelled,        // "中止"
        ConversionFailed, // read to the end, but a conversion failed
        Completed,        // read to the end, converted, [LastFileTime] stored
    };
    Outcome outcome() const { return m_outcome; }
    // The data link's code of a failed open, download or read (0 otherwise).
    int errorCode() const { return m_errorCode; }
    // What went wrong, in words: the status text and what the code means
    // (empty after a run that completed).
    std::string errorText() const;

    // The run's result for the conversions.
    // Every race file finished in this run, in finishing order.
    const std::vector<DownloadedDay> &LastRaceFileNames() const { return m_finishedRaces; }
    // How many runner files this run finished.
    int RunnerFileCount() const { return m_runnerFileCount; }
    // Kind digit of the first race file finished; kept from earlier runs
    // when this run finished none (empty at start).
    const std::string &DownloadKind() const { return m_downloadKind; }
    // The records the data link left out (wrong length), as texts naming
    // file and line, filled after reading.
    const std::vector<std::string> &damagedReports() const { return m_damaged; }

    WinPath downloadFolder() const { return m_downFolder; }

    // How many routed bytes the run holds before it writes them (it writes
    // at the end of every delivered file in any case); 0 writes each record
    // as it is routed. The raw files are the same either way.
    void setWriteBufferLimit(std::size_t bytes) { m_pendingLimit = bytes; }

    // The texts of the run.
    static std::string fromTimeText(const std::string &yyyymmddhhmmss); // for Edit2

private:
    void readAndFinish();
    void read();
    void close();
    void handOffAndRecord();
    bool handOff(ConversionHandOff &conversions);
    void cleanWorkSpace();
    void routeRecord(const std::string &buffer, const std::string &fileName);
    void writePending();
    void finishFiles();
    void finishFile(const std::string &temporary, bool isRace);
    void releaseHeldResults();
    void removeConsumedCards();
    void fail(Outcome outcome, int code, const std::string &status);
    void reportDamaged();
    std::string damagedSummary() const;

    TJVLink &m_link;
    DownloadView &m_view;
    ConversionHandOff *m_conversions = nullptr;
    WinPath m_downFolder;
    State m_state = State::Idle;
    bool m_opening = false;
    bool m_cancel = false;
    bool m_openSucceeded = false;
    bool m_readToEnd = false;
    bool m_didRead = false;
    bool m_finishedAnyRace = false;
    Outcome m_outcome = Outcome::None;
    int m_errorCode = 0;
    std::string m_failureStatus; // the status text of a failed or cancelled run

    int m_readCount = 0;
    int m_downloadCount = 0;
    std::string m_lastFileTimestamp;

    std::string m_currentRaceFile;   // temporary names (cp932)
    std::string m_currentRunnerFile;
    std::vector<std::string> m_raceFiles;   // temporary names created and not yet finished
    std::vector<std::string> m_runnerFiles;
    std::vector<DownloadedDay> m_finishedRaces;
    std::vector<std::string> m_finishedCards; // finished names of this run's race-card files
    std::vector<std::string> m_held;          // finished names of results waiting for their cards
    std::vector<std::string> m_consumed;      // converted race-card files set aside, removed at the end
    std::string m_currentDelivered;           // the delivered file being read
    std::vector<std::string> m_startedTargets; // ".DAT" files written anew by it
    // Records routed but not yet written, by raw file in the order the files
    // were first routed to: written at the end of each delivered file (or
    // when they grow large), one open and one write per raw file.
    struct PendingWrite
    {
        std::string target;
        bool anew = false; // the first records of this delivered file's own raw file
        std::string bytes;
    };
    std::vector<PendingWrite> m_pending;
    // The buffers of written pending records, emptied and kept for the next
    // delivered files (up to twice the pending limit in all), so that a run
    // does not allocate and fault in fresh memory for every file it routes.
    std::vector<std::string> m_spareBuffers;
    std::size_t m_spareBytes = 0;
    std::size_t m_pendingBytes = 0;
    std::size_t m_pendingLimit;
    int m_runnerFileCount = 0;
    std::string m_downloadKind;
    std::vector<std::string> m_damaged;
};

// What a data link code means, in words, for the codes a user meets (-1
// nothing new, -211 the feed folder cannot be read, -112 the from-time is
// not a valid date, ...); "" for 0.
std::string dataLinkCodeText(int code);

// The venue name (two full-width characters, cp932) of a venue code
// "01".."10", or "" for any other code.
std::string downloadVenueName(std::string_view code);

} // namespace zorbe
