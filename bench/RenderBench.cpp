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

#include "platform/qt/QtFonts.h"
#include "platform/qt/QtText.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <ctime>
#include <cstdio>
#include <map>
#include <tuple>
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

// The floor of a screen page: the same drawing calls, recorded once, sent
// straight to a bare QPainter on an image of the same size, with their fonts,
// texts and colours made beforehand. A vertical text is drawn a character
// at a time down its column, the least a painter can do for one.
struct ReplayCall
{
    RecordedCall::Kind kind;
    QRect rect;
    QLine line;
    QPointF at;
    int font = 0;
    QColor colour;
    int penWidth = 1;
    QString text;
    QList<QString> characters;
};

struct Replay
{
    std::vector<QFont> fonts;
    std::vector<ReplayCall> calls;
};

Replay recordPage(cli::NewspaperDay &day)
{
    const int dpi = ScreenSetupFor(*day.paper, kZoom, kScreenPpi).dpi;
    RecordingCanvas canvas(dpi);
    DrawScreenPage(canvas, *day.paper, kZoom, kScreenPpi);
    Replay replay;
    std::map<std::tuple<std::string, int, bool>, int> fontIndex;
    for (const RecordedCall &c : canvas.calls()) {
        ReplayCall r{c.kind, {}, {}, {}, 0, QColor(c.colour.r, c.colour.g, c.colour.b), std::max(1, c.penWidth), {}, {}};
        switch (c.kind) {
        case RecordedCall::Kind::Rect:
            r.rect = QRect(c.x, c.y, c.x2 - c.x, c.y2 - c.y);
            break;
        case RecordedCall::Kind::Line:
            r.line = QLine(c.x, c.y, c.x2, c.y2);
            break;
        case RecordedCall::Kind::Text:
        case RecordedCall::Kind::VText: {
            const auto key = std::make_tuple(c.face, c.sizePt, c.bold);
            auto it = fontIndex.find(key);
            if (it == fontIndex.end()) {
                QFont f(mapFontFamily(toQString(c.face)));
                f.setPixelSize(std::max(1, c.sizePt * dpi / 72));
                f.setBold(c.bold);
                replay.fonts.push_back(f);
                it = fontIndex.emplace(key, int(replay.fonts.size()) - 1).first;
            }
            r.font = it->second;
            r.at = QPointF(c.x, c.y + c.sizePt * dpi / 72 * 0.88);
            r.text = toQString(c.text);
            for (uint u : r.text.toUcs4()) {
                const auto ch = static_cast<char32_t>(u);
                r.characters.push_back(QString::fromUcs4(&ch, 1));
            }
            break;
        }
        }
        replay.calls.push_back(std::move(r));
    }
    return replay;
}

void replayPage(const Replay &replay, QImage &image)
{
    image.fill(Qt::white);
    QPainter painter(&image);
    for (const ReplayCall &c : replay.calls) {
        switch (c.kind) {
        case RecordedCall::Kind::Rect:
            painter.fillRect(c.rect, c.colour);
            break;
        case RecordedCall::Kind::Line:
            painter.setPen(QPen(Qt::black, c.penWidth));
            painter.drawLine(c.line);
            break;
        case RecordedCall::Kind::Text:
            painter.setFont(replay.fonts[std::size_t(c.font)]);
            painter.setPen(c.colour);
            painter.drawText(c.at, c.text);
            break;
        case RecordedCall::Kind::VText: {
            painter.setFont(replay.fonts[std::size_t(c.font)]);
            painter.setPen(c.colour);
            const qreal step = replay.fonts[std::size_t(c.font)].pixelSize();
            QPointF at(c.at.x() - step, c.at.y());
            for (const QString &ch : c.characters) {
                painter.drawText(at, ch);
                at.ry() += step;
            }
            break;
        }
        }
    }
}

// The real page and its bare replay, alternately over every race of the
// day, in each style; one line per style for scripts.
void pageAgainstReplay()
{
    cli::NewspaperDay &day = *fixture().days[0];
    for (int style = 0; style < 3; ++style) {
        day.paper->settings.sinbun = std::to_string(style);
        const int step = style == 2 ? 2 : 1;
        const PageBoxSize box = screenPageBoxSize(*day.paper, kZoom, kScreenPpi, 297 / 25.4, 210 / 25.4);
        const QSize size(box.width, box.height);
        std::vector<Replay> replays;
        for (int race = 1; race <= day.card->RaceCount; race += step) {
            day.selectRace(race);
            replays.push_back(recordPage(day));
        }
        QImage image(size, QImage::Format_RGB32);
        const int dotsPerMetre = qRound(kScreenPpi / 0.0254);
        image.setDotsPerMeterX(dotsPerMetre);
        image.setDotsPerMeterY(dotsPerMetre);
        std::vector<double> pages, bare;
        // The thread's CPU time: on a busy machine it drifts far less than
        // the wall clock, and both sides are drawn on this thread.
        const auto now = [] {
            timespec t{};
            ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
            return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
        };
        for (int round = 0; round < 8; ++round) {
            std::size_t n = 0;
            for (int race = 1; race <= day.card->RaceCount; race += step, ++n) {
                day.selectRace(race);
                const double t0 = now();
                {
                    ImagePage page(size, kScreenPpi, 0, 0);
                    DrawScreenPage(page.canvas(), *day.paper, kZoom, kScreenPpi);
                    benchmark::DoNotOptimize(page.finish().constBits());
                }
                const double t1 = now();
                replayPage(replays[n], image);
                benchmark::DoNotOptimize(image.constBits());
                const double t2 = now();
                pages.push_back(t1 - t0);
                bare.push_back(t2 - t1);
            }
        }
        std::sort(pages.begin(), pages.end());
        std::sort(bare.begin(), bare.end());
        const double p = pages[pages.size() / 2], b = bare[bare.size() / 2];
        static const char *const kLabels[] = {"vertical", "horizontal", "programme"};
        std::printf("ratio page/replay %s: %.2fx (cpu: page %.2f ms, bare replay %.2f ms; %zu calls)\n", kLabels[style],
                    b > 0 ? p / b : 0.0, p, b, replays.front().calls.size());
    }
    day.paper->settings.sinbun = "0";
}

} // namespace

int main(int argc, char **argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    fixture();
    benchmark::RunSpecifiedBenchmarks();
    pageAgainstReplay();
    benchmark::Shutdown();
    std::error_code ec;
    fs::remove_all(fixture().home, ec);
    return 0;
}
