#include "app/cli/Commands.h"

#include "app/cli/NewspaperDay.h"
#include "app/cli/PageFiles.h"
#include "app/cli/PageOutput.h"
#include "paper/PagePaths.h"
#include "paper/RaceSelection.h"
#include "platform/Files.h"

#include <ostream>

namespace zorbe::cli {
namespace {

constexpr const char *kUsage = "render RDTFILE --race N --out FILE.png|FILE.pdf|FILE.txt [--zoom Z]";

// The display window's page: its page box, the screen page at zoom, and
// the print button's page on a sheet turned as the style prints.
WindowPage displayWindowPage(NewspaperDay &day, int zoom)
{
    const PageBoxSize box = screenPageBoxSize(*day.paper, zoom, kScreenPpi, 297 / 25.4, 210 / 25.4);
    WindowPage page;
    page.width = box.width;
    page.height = box.height;
    page.screen = [&day, zoom](PageCanvas &canvas) { DrawScreenPage(canvas, *day.paper, zoom, kScreenPpi); };
    page.printTitle = "Zorbe Print";
    page.printSheet = printedSheet(*day.paper, PrintPath::DisplayButton);
    page.printed = [&day](const TPageContext &ctx) {
        DrawPrintedPage(ctx, *day.paper, PrintPath::DisplayButton,
                        readPrintEdits(day.settingsFile, day.paper->settings.style()));
    };
    return page;
}

} // namespace

// One newspaper page in the style of the settings: as the display window
// paints it (PNG, or the drawing calls as text) or as its print button
// prints it (PDF). A race-programme page is race N and race N + 1, so N
// must be odd there.
int runRender(Args args, Streams &streams)
{
    std::string file, out;
    std::optional<int> race;
    int zoom = 110;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &opt = args[i];
        if (opt.starts_with("--") && i + 1 >= args.size())
            return usageError(streams, kUsage, "値がありません: " + opt);
        if (opt == "--race") {
            race = parseInt(args[++i], 1, TRaceCard::kRaces);
            if (!race)
                return usageError(streams, kUsage, "レース番号は 1 から 12 で指定してください: " + args[i]);
        } else if (opt == "--zoom") {
            const auto z = parseInt(args[++i], 65, 110);
            if (!z)
                return usageError(streams, kUsage, "表示倍率は 65 から 110 で指定してください: " + args[i]);
            zoom = *z;
        } else if (opt == "--out") {
            out = args[++i];
        } else if (file.empty() && !opt.starts_with("--")) {
            file = opt;
        } else {
            return usageError(streams, kUsage, "不明な指定です: " + opt);
        }
    }
    if (file.empty())
        return usageError(streams, kUsage, "出馬表ファイルがありません");
    if (!race)
        return usageError(streams, kUsage, "--race がありません");
    int exitCode = kExitOk;
    const auto output = checkPageOutput(out, kUsage, streams, exitCode);
    if (!output)
        return exitCode;

    const WinPath rdt = pathArgument(file);
    if (const std::string missing = missingRaceDayFile(rdt); !missing.empty()) {
        streams.err << "zorbe: " << missing << '\n';
        return kExitFailure;
    }
    const WinPath target = pathArgument(out);
    StreamDesktop desktop(streams.err);
    std::unique_ptr<NewspaperDay> day;
    try {
        auto load = [&] { day = loadNewspaperDay(rdt, desktop); };
        if (*output == PageOutput::Text)
            load();
        else
            startDrawingAlongside(load);
    } catch (const std::exception &e) {
        streams.err << "zorbe: " << e.what() << '\n';
        return kExitFailure;
    }
    // A race-programme page starts from an odd race and holds the next.
    if (day->paper->settings.style() == PageStyle::Programme && *race % 2 == 0)
        return usageError(streams, kUsage,
                          "JRAプログラム風の新聞は奇数レースとその次のレースで1ページです。--race には奇数を指定してください（" +
                              std::to_string(*race - 1) + "R が " + std::to_string(*race) + "R も載せます）: " +
                              std::to_string(*race));
    if (*race > day->card->RaceCount) {
        streams.err << "zorbe: " << *race << "レースはこのファイルにありません（" << day->card->RaceCount
                    << "レースまで）\n";
        return kExitFailure;
    }
    day->selectRace(*race);
    const std::string error = writeWindowPage(displayWindowPage(*day, zoom), *output, target);
    if (!error.empty()) {
        streams.err << "zorbe: " << error << '\n';
        return kExitFailure;
    }
    streams.out << "書き出しました: " << out << '\n';
    return kExitOk;
}

} // namespace zorbe::cli
