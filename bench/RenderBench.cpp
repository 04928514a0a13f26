// Newspaper pages of a generated meeting day: one page drawn as the display
// window paints it (what switching races costs), the same layout on the
// recording canvas (the layout without the rasteriser), both in each page
// style (argument: the setting Sinbun), and a day's 24 races of two venues
// printed to PDF files as the batch print does.
//
//   render_bench --benchmark_counters_tabular=true

#include "app/cli/Cli.h"
#include "app/cli/NewspaperDay.h"
#include "paper/PagePaths.h"
#include "paper/RecordingCanvas.h"
#include "paper/qt/QtPages.h"
#include "platform/Desktop.h"
#include "platform/Files.h"
#include "platform/WinPath.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <sstream>

using namespace zorbe;
namespace fs = std::filesystem;

namespace {

constexpr int kZoom = 110;
constexpr int kScreenPpi = 96;

// The race days of the latest date of a demo run in a home of its own.
struct Fixture
{
    fs::path home;
    std::vector<std::unique_ptr<cli::NewspaperDay>> days;
};

Fixture &fixture()
{
    static Fixture f = [] {
        Fixture made;
        char pattern[] = "/tmp/zorbe-bench-XXXXXX";
        made.home = ::mkdtemp(pattern);
        ::setenv("ZORBE_HOME", made.home.c_str(), 1);
        std::ostringstream out, err;
        cli::Streams streams{out, err};
        const std::vector<std::string> args{"demo", "--weeks", "2"};
        if (cli::run(args, streams) != 0) {
            std::cerr << err.str();
            std::exit(1);
        }
        // The demo keeps its data in a home of its own.
        ::setenv("ZORBE_HOME", (made.home / "demo").c_str(), 1);
        const WinPath folder("d:\\zorbeLab\\JRA");
        std::string lastDate;
        for (const std::string &name : files::list(folder))
            if (name.size() > 12 && name.ends_with(".RDT"))
                lastDate = std::max(lastDate, name.substr(name.size() - 12, 8));
        ConsoleDesktop desktop;
        for (const std::string &name : files::list(folder))
            if (name.ends_with(lastDate + ".RDT"))
                made.days.push_back(cli::loadNewspaperDay(folder / name, desktop));
        if (made.days.size() != 2) {
            std::cerr << "expected two venues on " << lastDate << ", found " << made.days.size() << '\n';
            std::exit(1);
        }
        return made;
    }();
    return f;
}

// The style of the benchmark's argument; the race-programme style shows
// odd races only (each page holds the next race too).
int selectStyle(cli::NewspaperDay &day, const benchmark::State &state)
{
    day.paper->settings.sinbun = std::to_string(state.range(0));
    return state.range(0) == 2 ? 2 : 1;
}

const char *styleLabel(const benchmark::State &state)
{
    static const char *const kLabels[] = {"vertical", "horizontal", "programme"};
    return kLabels[state.range(0)];
}

// A race after race, as the display window's race buttons switch them.
void BM_ScreenPage(benchmark::State &state)
{
    cli::NewspaperDay &day = *fixture().days[0];
    const int step = selectStyle(day, state);
    const PageBoxSize box = screenPageBoxSize(*day.paper, kZoom, kScreenPpi, 297 / 25.4, 210 / 25.4);
    const QSize size(box.width, box.height);
    int race = 0;
    for (auto _ : state) {
        day.selectRace(race % day.card->RaceCount + 1);
        ImagePage page(size, kScreenPpi, 0, 0);
        DrawScreenPage(page.canvas(), *day.paper, kZoom, kScreenPpi);
        benchmark::DoNotOptimize(page.finish().constBits());
        race += step;
    }
    state.SetLabel(std::string(styleLabel(state)) + ", zoom 110, 96 ppi");
    day.paper->settings.sinbun = "0";
}
BENCHMARK(BM_ScreenPage)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_ScreenPageLayoutOnly(benchmark::State &state)
{
    cli::NewspaperDay &day = *fixture().days[0];
    const int step = selectStyle(day, state);
    int race = 0;
    std::size_t calls = 0;
    std::size_t pages = 0;
    for (auto _ : state) {
        day.selectRace(race % day.card->RaceCount + 1);
        RecordingCanvas canvas(ScreenSetupFor(*day.paper, kZoom, kScreenPpi).dpi);
        DrawScreenPage(canvas, *day.paper, kZoom, kScreenPpi);
        calls += canvas.calls().size();
        ++pages;
        race += step;
    }
    state.counters["calls/page"] = benchmark::Counter(double(calls) / double(pages));
    state.SetLabel(styleLabel(state));
    day.paper->settings.sinbun = "0";
}
BENCHMARK(BM_ScreenPageLayoutOnly)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// Both venues of the day, every race, one PDF file per race.
void BM_PrintDayToPdf(benchmark::State &state)
{
    Fixture &f = fixture();
    std::array<bool, 12> all{};
    int races = 0;
    for (auto _ : state) {
        races = 0;
        for (std::size_t d = 0; d < f.days.size(); ++d) {
            cli::NewspaperDay &day = *f.days[d];
            all.fill(false);
            for (int r = 0; r < day.card->RaceCount; ++r)
                all[static_cast<std::size_t>(r)] = true;
            races += day.card->RaceCount;
            std::ostringstream out, err;
            if (!cli::printNewspaperDay(day, all, f.home / "pdf" / std::to_string(d), out, err)) {
                state.SkipWithError(err.str().c_str());
                return;
            }
        }
    }
    state.counters["races"] = races;
}
BENCHMARK(BM_PrintDayToPdf)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(3)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char **argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    fixture();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ec;
    fs::remove_all(fixture().home, ec);
    return 0;
}
