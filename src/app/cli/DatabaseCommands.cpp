#include "app/cli/Commands.h"

#include "app/cli/NewspaperDay.h"
#include "app/cli/PageOutput.h"
#include "db/PersonDetails.h"
#include "db/PersonLists.h"
#include "db/PersonPages.h"
#include "db/ResultPages.h"
#include "db/ResultsFile.h"
#include "platform/Cp932.h"
#include "platform/Files.h"

#include <ostream>

// The pages of the results window and of the jockey and trainer databases.
namespace zorbe::cli {
namespace {

constexpr const char *kResultsUsage = "results SDTFILE [--race N] --out FILE.png|FILE.pdf|FILE.txt";
constexpr const char *kJockeyUsage = "jockey CODE --out FILE.png|FILE.pdf|FILE.txt";
constexpr const char *kTrainerUsage = "trainer CODE --out FILE.png|FILE.pdf|FILE.txt";

// One positional argument and the options; "" when all went well, else the
// usage error's text.
struct PageArgs
{
    std::string subject;
    std::string out;
    std::string race;
};

std::string parsePageArgs(Args args, bool takesRace, PageArgs &parsed)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &opt = args[i];
        if (opt.starts_with("--") && i + 1 >= args.size())
            return "値がありません: " + opt;
        if (opt == "--out")
            parsed.out = args[++i];
        else if (opt == "--race" && takesRace)
            parsed.race = args[++i];
        else if (parsed.subject.empty() && !opt.starts_with("--"))
            parsed.subject = opt;
        else
            return "不明な指定です: " + opt;
    }
    return {};
}

int writePage(const WindowPage &page, PageOutput output, const std::string &out, Streams &streams)
{
    const std::string error = writeWindowPage(page, output, pathArgument(out));
    if (!error.empty()) {
        streams.err << "zorbe: " << error << '\n';
        return kExitFailure;
    }
    streams.out << "書き出しました: " << out << '\n';
    return kExitOk;
}

void printProblems(const std::vector<std::string> &problems, Streams &streams)
{
    for (const std::string &p : problems)
        streams.err << "zorbe: " << p << '\n';
}

} // namespace

// The results window's summary page, or the result page of race N.
int runResults(Args args, Streams &streams)
{
    PageArgs a;
    if (const std::string problem = parsePageArgs(args, true, a); !problem.empty())
        return usageError(streams, kResultsUsage, problem);
    if (a.subject.empty())
        return usageError(streams, kResultsUsage, "成績ファイルがありません");
    int race = 0;
    if (!a.race.empty()) {
        const auto n = parseInt(a.race, 1, TResults::kRaces);
        if (!n)
            return usageError(streams, kResultsUsage, "レース番号は 1 から 12 で指定してください: " + a.race);
        race = *n;
    }
    int exitCode = kExitOk;
    const auto output = checkPageOutput(a.out, kResultsUsage, streams, exitCode);
    if (!output)
        return exitCode;

    const WinPath file = pathArgument(a.subject);
    if (!files::isFile(file)) {
        streams.err << "zorbe: 成績ファイルがありません: " << a.subject << '\n';
        return kExitFailure;
    }
    StreamDesktop desktop(streams.err);
    MainWindowState state;
    readMainWindowState(state, desktop);
    auto results = makeResults();
    if (!OpenResultsFile(*results, file, desktop))
        return kExitFailure;
    if (race > results->ResultCount) {
        streams.err << "zorbe: " << race << "レース目はこの成績ファイルにありません（" << results->ResultCount
                    << "レースまで）\n";
        return kExitUsage;
    }

    const TResultsPageSettings settings{state.settings.font, state.settings.color};
    WindowPage page;
    page.width = kResultsPageWidth;
    page.height = kResultsPageHeight;
    page.screen = [&](PageCanvas &canvas) {
        DrawResultsScreen(canvas, *results, race, state.labels, settings, page.dpi);
    };
    // The print button prints the summary, whichever page is shown.
    page.printTitle = kResultsPrintTitle;
    page.printed = [&](const TPageContext &ctx) { DrawResultsSummary(ctx, *results, state.labels, settings); };
    return writePage(page, *output, a.out, streams);
}

namespace {

// The page of the person with the code in the detailed master file, as if
// chosen from the window's list.
template <class Details, class Load, class Find, class Draw>
int runPersonPage(Args args, Streams &streams, const char *usage, const char *person, const char *fileName,
                  const char *printTitle, TPageBox box, Load load, Find find, Draw draw)
{
    PageArgs a;
    if (const std::string problem = parsePageArgs(args, false, a); !problem.empty())
        return usageError(streams, usage, problem);
    if (a.subject.empty())
        return usageError(streams, usage, std::string(person) + "コードがありません");
    int exitCode = kExitOk;
    const auto output = checkPageOutput(a.out, usage, streams, exitCode);
    if (!output)
        return exitCode;

    StreamDesktop desktop(streams.err);
    MainWindowState state;
    readMainWindowState(state, desktop);
    const WinPath folder(state.settings.racedat);
    std::optional<Details> details;
    try {
        details = load(folder);
    } catch (const std::exception &e) {
        streams.err << "zorbe: " << e.what() << '\n';
        return kExitFailure;
    }
    if (!details) {
        streams.err << "zorbe: " << fileName << " がありません: " << (folder / fileName).utf8() << '\n';
        return kExitFailure;
    }
    printProblems(details->problems, streams);
    const auto index = find(details->records, cp932::fromUtf8(a.subject));
    if (!index) {
        streams.err << "zorbe: " << person << "コード " << a.subject << " は " << fileName << " にありません\n";
        return kExitUsage;
    }
    const auto &rec = details->records[*index];
    WindowPage page;
    page.width = box.width;
    page.height = box.height;
    page.screen = [&](PageCanvas &canvas) { draw(screenPersonContext(canvas, page.dpi), rec, state); };
    page.printTitle = printTitle;
    page.printed = [&](const TPageContext &ctx) { draw(ctx, rec, state); };
    return writePage(page, *output, a.out, streams);
}

} // namespace

int runJockey(Args args, Streams &streams)
{
    return runPersonPage<TJockeyDetails>(
        args, streams, kJockeyUsage, "騎手", kJockeyDetailFile, kJockeyPrintTitle, kJockeyPageBox, LoadJockeyDetails,
        findJockeyByCode, [](const TPageContext &ctx, const formats::TJockeyDetailRec &j, const MainWindowState &s) {
            DrawJockeyPage(ctx, j, s.masters.TrainerTable, s.settings.font);
        });
}

int runTrainer(Args args, Streams &streams)
{
    return runPersonPage<TTrainerDetails>(
        args, streams, kTrainerUsage, "調教師", kTrainerDetailFile, kTrainerPrintTitle, kTrainerPageBox, LoadTrainerDetails,
        findTrainerByCode, [](const TPageContext &ctx, const formats::TTrainerDetailRec &t, const MainWindowState &s) {
            DrawTrainerPage(ctx, t, s.settings.font);
        });
}

} // namespace zorbe::cli
