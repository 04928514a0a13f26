#pragma once

#include "data/convert/ConversionSupport.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zorbe {

namespace formats {
class TResultRec;
}

// What the time correction takes from one race of a results file.
struct TimeCorrectionRace
{
    int raceNumber = 0;
    std::string track;     // track code
    std::int64_t distance = 0;
    int finishers = 0;
    std::string going;     // going code
    std::string youngestClass; // the fifth condition code
    std::array<std::int64_t, 25> laps{}; // tenths of a second
    struct Runner
    {
        std::string placing; // "01" ..
        std::int64_t time = 0;   // tenths of a second
        std::int64_t last3F = 0; // tenths of a second
    };
    std::vector<Runner> runners;

    static TimeCorrectionRace fromResult(const formats::TResultRec &result);
};

// A finishing time "mSSt" in tenths of a second: the minute digit times 600
// plus the seconds and tenths. A blank time is 0.
std::int64_t timeInTenths(std::string_view mSSt);

// The three values of a race, in tenths of a second (0: no value).
// Standard time: the mean of the non-zero times of placings 1-5 (the
// winner's alone when six or fewer finished), halves rounded up, less 7 on
// dirt or 4 on turf when the going is not firm and the class is "009",
// "014", "015", "016" or "999". Standard last three furlongs: the mean of
// placings 1-5 (flat races only). Early three furlongs: the first three
// laps and, at distances whose first lap is a half furlong, half the fourth
// (flat races only).
std::int64_t standardTime(const TimeCorrectionRace &race);
std::int64_t standardLast3F(const TimeCorrectionRace &race);
std::int64_t early3F(const TimeCorrectionRace &race);

// After a results file has been written: trims the time-correction files
// of the data folder ("STIME.DAT", "cSTIME.DAT") when they have grown past
// 1439 lines (the three oldest days go), then appends the meeting day's
// line unless its key is already there.
void AppendTimeCorrection(const ConversionFolders &folders, const WinPath &resultsFile, ConversionView &view);

// The time-correction files of a data folder for a run of conversions:
// read once, at the first day appended, then kept in memory with every
// change and written by flush(), each file whole through a temporary file,
// "cSTIME.DAT" first. After a flush the files are those that appending the
// days one at a time with AppendTimeCorrection leaves. Nothing else may
// write the files while the object lives.
//
// Writing once for a run of days instead of twice for every day is safe for
// an interrupted run: the days are converted again by the next run (the
// download's from-time moves only after the conversions), a day already in
// "STIME.DAT" is not added again, and a day already in "cSTIME.DAT" is not
// added to it twice.
class TimeCorrectionFiles
{
public:
    TimeCorrectionFiles(const ConversionFolders &folders, ConversionView &view);

    // The day of these results (the records of a results file) appended.
    void append(const RecordFile &results);
    // Writes the files changed since the last flush.
    void flush();

private:
    struct File
    {
        WinPath path;
        std::size_t recordLength = 0;
        std::optional<RecordFile> records; // nothing: not a file
        bool changed = false; // not yet written
    };
    void load();
    void trimIfFull(File &file);
    void replace(File &file, std::string bytes);
    void writeIfChanged(File &file);

    ConversionFolders m_folders;
    ConversionView &m_view;
    bool m_loaded = false;
    File m_stime, m_cstime;
};

} // namespace zorbe
