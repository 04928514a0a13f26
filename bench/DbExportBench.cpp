// The database export on a generated year: the whole export into a new
// file, an export with nothing changed, and one with one day changed.

#include "app/cli/Cli.h"
#include "data/formats/ResultFormats.h"
#include "export/SqliteExport.h"
#include "link/feedgen/FeedCalendar.h"
#include "link/feedgen/FeedGenerator.h"
#include "platform/ProfileFile.h"
#include "platform/WinPath.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

using namespace zorbe;
namespace fs = std::filesystem;

namespace {

constexpr int kWeeks = 52;

void cli(std::vector<std::string> args)
{
    std::ostringstream out, err;
    cli::Streams streams{out, err};
    if (cli::run(args, streams) != 0)
        throw std::runtime_error("zorbe " + args[0] + ": " + err.str());
}

// A home holding a generated year, downloaded and converted once for all
// the benchmarks of the run.
struct Year
{
    Year()
    {
        home = fs::temp_directory_path() / ("zorbe-dbbench-" + std::to_string(::getpid()));
        fs::remove_all(home);
        fs::create_directories(home);
        ::setenv("ZORBE_HOME", home.c_str(), 1);
        feedgen::FeedOptions options;
        options.weeks = kWeeks;
        feedgen::generateFeed(options, WinPath::fromNative(home / "feed"), WinPath());
        const int thursday = feedgen::dayNumber(options.start);
        const std::string end = feedgen::dateText(feedgen::dateOf(thursday + 7 * (kWeeks - 1) + 4)) + "235959";
        cli({"download", "--now", end});
        cli({"settings", "set", "kisyufile", "kisyu", "d:\\zorbelab\\dat\\KISYU.DAT"});
        cli({"settings", "set", "tekifile", "cyoukyou", "d:\\zorbelab\\dat\\CHOKYOSI.DAT"});
    }
    ~Year() { fs::remove_all(home); }

    fs::path database() const { return home / "bench.sqlite"; }
    void removeDatabase() const
    {
        for (const char *suffix : {"", "-wal", "-shm"})
            fs::remove(database().string() + suffix);
    }
    dbexport::ExportReport exportOnce(bool full = false) const
    {
        return dbexport::exportDatabase(ProfileFile(ProfileFile::defaultPath()), {database(), full});
    }

    fs::path home;
};

Year &year()
{
    static Year y;
    return y;
}

void counters(benchmark::State &state, const dbexport::ExportReport &r)
{
    state.counters["days"] = r.added + r.replaced + r.unchanged;
    state.counters["written"] = r.added + r.replaced;
}

void BM_DbExportYear(benchmark::State &state)
{
    Year &y = year();
    dbexport::ExportReport r;
    for (auto _ : state) {
        state.PauseTiming();
        y.removeDatabase();
        state.ResumeTiming();
        r = y.exportOnce();
    }
    counters(state, r);
    state.counters["MB"] = static_cast<double>(fs::file_size(y.database())) / 1e6;
}

void BM_DbExportUnchanged(benchmark::State &state)
{
    Year &y = year();
    y.exportOnce();
    dbexport::ExportReport r;
    for (auto _ : state)
        r = y.exportOnce();
    counters(state, r);
}

// A new results file of one day (a byte of a payout flipped each time).
void BM_DbExportOneDayChanged(benchmark::State &state)
{
    Year &y = year();
    y.exportOnce();
    fs::path sdt;
    for (const auto &e : fs::directory_iterator(y.home / "drives/d/zorbeLab/sei"))
        if (e.path().extension() == ".SDT" && (sdt.empty() || e.path() < sdt))
            sdt = e.path();
    std::string bytes;
    {
        std::ifstream in(sdt, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    dbexport::ExportReport r;
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        // A digit of the first win payout of race 1.
        std::string changed = bytes;
        changed[formats::ResultFields::Win.offset + 4] = static_cast<char>('0' + (++n % 10));
        std::ofstream(sdt, std::ios::binary) << changed;
        state.ResumeTiming();
        r = y.exportOnce();
    }
    counters(state, r);
}

} // namespace

BENCHMARK(BM_DbExportYear)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_DbExportUnchanged)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_DbExportOneDayChanged)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

BENCHMARK_MAIN();
