// The entries and results conversions of one week, at growing sizes, to
// show the time per record and that it grows linearly with the records.
//
//   convert_bench --benchmark_counters_tabular=true

#include "data/convert/EntriesConversion.h"
#include "data/convert/ResultsConversion.h"
#include "data/jvdata/JVData_Structure.h"
#include "link/LocalFeedLink.h"
#include "link/download/DownloadRun.h"
#include "link/feedgen/FeedCalendar.h"
#include "link/feedgen/FeedGenerator.h"
#include "platform/Cp932.h"
#include "platform/Desktop.h"
#include "platform/Fields.h"
#include "platform/Files.h"
#include "platform/ProfileFile.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

using namespace zorbe;

namespace {

constexpr int kRaces = 12, kRunners = 16, kPastRuns = 5;
const char *kVenues[] = {"札幌", "函館", "福島", "新潟", "東京", "中山", "中京", "京都", "阪神", "小倉"};

std::string key(int venue, int day, int race)
{
    return "2004062" + std::to_string(6 + day) + zeroPad(venue + 1, 2) + "03" + zeroPad(7 + day, 2) + zeroPad(race, 2);
}

std::string horse(int venue, int day, int race, int n)
{
    return "20" + zeroPad(venue, 2) + zeroPad(day, 1) + zeroPad(race, 2) + zeroPad(n, 2) + "0";
}

// A week of `scale` venues on two days: the day files, the weekly files.
struct Week
{
    std::vector<std::string> days;
    std::size_t records = 0;
};

Week writeWeek(const ConversionFolders &f, int scale, char kind)
{
    Week week;
    std::string raqw, seqw, umpw, hrsw[2];
    for (int v = 0; v < scale; ++v)
        for (int d = 0; d < 2; ++d) {
            std::string ra, se;
            for (int r = 1; r <= kRaces; ++r) {
                jv::RecordBuilder b(jv::raRecord());
                b.set(jv::RA::DataKind, std::string(1, kind)).raw(jv::RA::RaceKey, key(v % 10, d, r));
                b.set(jv::RA::Entries, kRunners).set(jv::RA::Track, "17").set(jv::RA::Distance, 1600);
                ra += b.str();
                hrsw[d] += jv::RecordBuilder(jv::hrRecord()).raw(jv::HR::RaceKey, key(v % 10, d, r)).str();
                for (int n = 1; n <= kRunners; ++n) {
                    const std::string id = horse(v, d, r, n);
                    jv::RecordBuilder s(jv::seRecord());
                    s.set(jv::SE::DataKind, std::string(1, kind)).raw(jv::SE::RaceKey, key(v % 10, d, r));
                    s.raw(jv::SE::HorseId, id).set(jv::SE::HorseNumber, n);
                    se += s.str();
                    umpw += jv::RecordBuilder(jv::umRecord()).raw(jv::UM::HorseId, id).set(jv::UM::RaceCount, 5).str();
                    for (int p = 1; p <= kPastRuns; ++p) {
                        const std::string past = "200405" + zeroPad(p, 2) + "0501010" + std::to_string(p);
                        jv::RecordBuilder q(jv::seRecord());
                        q.raw(jv::SE::RaceKey, past).raw(jv::SE::HorseId, id);
                        seqw += q.str();
                    }
                    week.records += 2 + kPastRuns;
                }
            }
            for (int p = 1; p <= kPastRuns; ++p)
                raqw += jv::RecordBuilder(jv::raRecord()).raw(jv::RA::RaceKey, "200405" + zeroPad(p, 2) + "0501010" + std::to_string(p)).str();
            const std::string base = sj(kVenues[v % 10]) + "2004062" + std::to_string(6 + d);
            files::writeAll(f.down / (base + ".RLB"), ra);
            files::writeAll(f.down / (base + ".SLB"), se);
            week.days.push_back(base + ".RLB");
            week.records += kRaces;
        }
    files::writeAll(f.down / "RAQW20040624.DAT", raqw);
    files::writeAll(f.down / "SEQW20040624.DAT", seqw);
    files::writeAll(f.down / "UMPW20040624.DAT", umpw);
    files::writeAll(f.down / "HRSW20040626.DAT", hrsw[0]);
    files::writeAll(f.down / "HRSW20040627.DAT", hrsw[1]);
    return week;
}

struct Home
{
    Home()
    {
        path = std::filesystem::temp_directory_path() / ("zorbe-bench-" + std::to_string(::getpid()));
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
        ::setenv("ZORBE_HOME", path.c_str(), 1);
        folders = {WinPath("d:\\zorbeLab\\down"), WinPath("d:\\zorbeLab\\JRA"), WinPath("d:\\zorbeLab\\sei"),
                   WinPath("d:\\zorbelab\\dat")};
        for (const WinPath *p : {&folders.down, &folders.lzhdat, &folders.seiseki, &folders.racedat})
            files::makeDirectories(*p);
    }
    ~Home() { std::filesystem::remove_all(path); }
    std::filesystem::path path;
    ConversionFolders folders;
};

void BM_EntriesConversion(benchmark::State &state)
{
    Home home;
    SilentConversionView view;
    ProfileFile settings(ProfileFile::defaultPath());
    std::size_t records = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const Week week = writeWeek(home.folders, static_cast<int>(state.range(0)), '2');
        records += week.records;
        state.ResumeTiming();
        convertEntryDays(week.days, settings, ConversionContext{home.folders, view});
    }
    state.counters["records"] = static_cast<double>(records) / static_cast<double>(state.iterations());
    state.counters["records/s"] = benchmark::Counter(static_cast<double>(records), benchmark::Counter::kIsRate);
}

void BM_ResultsConversion(benchmark::State &state)
{
    Home home;
    SilentConversionView view;
    ConsoleDesktop desktop;
    std::size_t records = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const Week week = writeWeek(home.folders, static_cast<int>(state.range(0)), '7');
        for (const std::string &day : week.days)
            files::writeAll(home.folders.lzhdat / (day.substr(0, 12) + ".RDT"), "");
        records += week.records;
        state.ResumeTiming();
        convertResultDays(week.days, desktop, ConversionContext{home.folders, view});
    }
    state.counters["records/s"] = benchmark::Counter(static_cast<double>(records), benchmark::Counter::kIsRate);
}

// The days one download run at `now` finishes, of one kind.
std::vector<std::string> download(const std::string &now, char kind)
{
    auto feed = std::make_unique<LocalFeedLink>();
    feed->setNow(now);
    TJVLink link(std::move(feed));
    link.JVInit(std::string(kSoftwareId));
    SilentDownloadView view;
    TDownloadRun run(link, view);
    run.formShow("");
    run.start();
    while (view.timerActive())
        run.timerTick();
    std::vector<std::string> days;
    for (const auto &d : run.LastRaceFileNames())
        if (d.kind == kind)
            days.push_back(d.fileName);
    return days;
}

std::size_t recordsOf(const ConversionFolders &f, const std::vector<std::string> &days)
{
    std::size_t bytes = 0;
    for (const std::string &d : days)
        bytes += files::fileSize(f.down / (d.substr(0, 12) + ".RLB")).value_or(0) / jv::RA::Length
                 + files::fileSize(f.down / (d.substr(0, 12) + ".SLB")).value_or(0) / jv::SE::Length;
    return bytes;
}

// A generated week at ten times the usual size ("--scale 10"): the Friday's
// race cards through the entries conversion, the Monday's results through
// the results conversion.
void BM_GeneratedWeek(benchmark::State &state)
{
    Home home;
    SilentConversionView view;
    ConsoleDesktop desktop;
    ProfileFile settings(ProfileFile::defaultPath());
    feedgen::FeedOptions options;
    options.weeks = 1;
    options.scale = 10;
    feedgen::generateFeed(options, WinPath::fromNative(home.path / "feed"), WinPath());
    const int thursday = feedgen::dayNumber(options.start);
    auto at = [&](int offset) { return feedgen::dateText(feedgen::dateOf(thursday + offset)) + "235959"; };
    download(at(0), '1');
    const std::vector<std::string> cards = download(at(1), '1');
    const std::size_t cardRecords = recordsOf(home.folders, cards);
    convertEntryDays(cards, settings, ConversionContext{home.folders, view});
    const std::vector<std::string> results = download(at(4), '7');
    const std::size_t resultRecords = recordsOf(home.folders, results);
    // The results conversion consumes its downloads: keep them to restore.
    std::vector<std::pair<WinPath, std::string>> inputs;
    for (const std::string &name : files::list(home.folders.down))
        if (name.size() > 4 && (name.rfind("HRSW", 0) == 0 || name.substr(name.size() - 4) == ".RLB"
                                || name.substr(name.size() - 4) == ".SLB"))
            inputs.emplace_back(home.folders.down / name, files::readAll(home.folders.down / name));

    std::size_t records = 0;
    for (auto _ : state) {
        convertEntryDays(cards, settings, ConversionContext{home.folders, view});
        state.PauseTiming();
        for (const auto &[path, bytes] : inputs)
            files::writeAll(path, bytes);
        state.ResumeTiming();
        convertResultDays(results, desktop, ConversionContext{home.folders, view});
        records += cardRecords + resultRecords;
    }
    state.counters["days"] = static_cast<double>(cards.size() + results.size());
    state.counters["records"] = static_cast<double>(cardRecords + resultRecords);
    state.counters["records/s"] = benchmark::Counter(static_cast<double>(records), benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK(BM_GeneratedWeek)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_EntriesConversion)->Arg(1)->Arg(5)->Arg(20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ResultsConversion)->Arg(1)->Arg(5)->Arg(20)->Unit(benchmark::kMillisecond);
