#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// What the fuzz targets share: a home of their own, a small real home to
// take valid files and seeds from, seeding, and the rule of what a reader
// may do with bad input.
namespace zorbe {
class DesktopServices;
}

namespace zorbe::fuzz {

namespace fs = std::filesystem;

// A desktop whose message boxes show nothing.
DesktopServices &silentDesktop();

// The fuzzer's own $ZORBE_HOME (on a RAM disk when there is one), set in
// the environment on first use. Its folders are the defaults of the
// settings (d:\zorbeLab\JRA and so on).
const fs::path &home();

// A small real home, made once per process: one generated week at one
// venue (with odds files), downloaded on the Friday and on the Monday and
// converted. Its raw downloads as each conversion found them are kept in
// raw/entries and raw/results.
const fs::path &sample();

// A file of the sample home, relative to it ("drives/d/zorbeLab/JRA"...).
std::string sampleFile(const fs::path &relative);
// The files of a sample folder whose names end in extension, sorted.
std::vector<fs::path> sampleFiles(const fs::path &folder, std::string_view extension);

// Native file writes and reads.
void put(const fs::path &file, std::string_view bytes);
std::string get(const fs::path &file);
// Removes everything below the fuzzer's home except the settings file.
void clearHome();

// The first n records of a file of fixed-length records.
std::string firstRecords(const std::string &bytes, std::size_t length, std::size_t n);

// When ZORBE_FUZZ_SEEDS names a folder, writes seeds() there (one file
// each) and ends the process; scripts/fuzz.sh seeds every target's corpus
// this way. Call from LLVMFuzzerInitialize.
void seedIfAsked(const std::function<std::vector<std::string>()> &seeds);

// Runs one input through a reader. What a reader may do with bad input is
// refuse it with its message: files::FileError (damaged files included),
// ConversionError or cp932::EncodingError end the input normally. Any other
// exception leaves the target, which libFuzzer reports as a finding, as it
// does a crash, a hang or a sanitizer's report.
void readerMayRefuse(const std::function<void()> &work);

// A small real race day of the sample: its first two races and their
// horses, the day's time corrections, masters and odds.
struct SampleDay
{
    std::string raceCards, horses; // .RDT, .HDT
    std::string timeCorrections;   // STIME.DAT
    std::string jockeys, trainers; // KISYU.DAT, CHOKYOSI.DAT
    std::string dayOdds, venueOdds; // .odz, .odd
    std::string date, venue;        // yyyymmdd, "01".."10"
};
const SampleDay &sampleDay();

// The files of a race day in the fuzzer's home, as the loader finds them:
// the race card and horse files (fuzz.RDT, fuzz.HDT in the race-day
// folder), STIME.DAT and the masters in the data folder, the odds in the
// odds folder. Returns the race card file.
struct DayFiles
{
    fs::path raceCards, horses, timeCorrections, jockeys, trainers, dayOdds, venueOdds;
};
DayFiles dayFiles();
// Writes the sample day's files, each replaced by its override when given.
fs::path placeDay(const SampleDay &day);

// Draws every race of a loaded race day into a recording canvas, as the
// display window paints it; a page that stops with a conversion error is
// what the window shows as an error box.
void drawEveryRace(const fs::path &raceCardFile);

} // namespace zorbe::fuzz

// The entry points of a target: ZORBE_FUZZ_TARGET(seeds) { body using data,
// size }, where seeds is a function returning the seed inputs.
#define ZORBE_FUZZ_TARGET(seeds)                                                                                  \
    extern "C" int LLVMFuzzerInitialize(int *, char ***)                                                          \
    {                                                                                                             \
        ::zorbe::fuzz::home();                                                                                    \
        ::zorbe::fuzz::seedIfAsked(seeds);                                                                        \
        return 0;                                                                                                 \
    }                                                                                                             \
    static void zorbeFuzzOne(std::string_view input);                                                             \
    extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, std::size_t size)                            \
    {                                                                                                             \
        zorbeFuzzOne(std::string_view(reinterpret_cast<const char *>(data), size));                               \
        return 0;                                                                                                 \
    }                                                                                                             \
    static void zorbeFuzzOne(std::string_view input)
