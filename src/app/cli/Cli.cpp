#include "app/cli/Cli.h"

#include "app/cli/Commands.h"

#include <ostream>
#include <string_view>

namespace zorbe::cli {
namespace {

struct Command
{
    std::string_view name;
    std::string_view usage;
    int (*run)(Args, Streams &);
};

constexpr Command kCommands[] = {
    {"version", "version", runVersion},
    {"settings", "settings get SECTION KEY [DEFAULT] | set SECTION KEY VALUE | erase SECTION", runSettings},
    {"path", "path WINPATH", runPath},
    {"download", "download [--from yyyymmddhhmmss] [--now yyyymmddhhmmss]", runDownload},
    {"figures", "figures RDTFILE [--race N]", runFigures},
    {"render", "render RDTFILE --race N --out FILE.png|FILE.pdf|FILE.txt [--zoom Z]", runRender},
    {"print", "print RDTFILE [--races 1,3-5] --out DIR", runPrint},
    {"demo", "demo [--weeks N]", runDemo},
    {"picks", "picks RDTFILE", runPicks},
    {"payout", "payout SDTFILE... --out NAME", runPayout},
    {"kaisyu", "kaisyu PAYOUTFILE --venue 1|2|3 --pick 1|2|3 [--save] [--html]", runKaisyu},
    {"csv", "csv horses RDTFILE | racecard RDTFILE | results1 SDTFILE | results2 SDTFILE | stime", runCsv},
    {"results", "results SDTFILE [--race N] --out FILE.png|FILE.pdf|FILE.txt", runResults},
    {"jockey", "jockey CODE --out FILE.png|FILE.pdf|FILE.txt", runJockey},
    {"trainer", "trainer CODE --out FILE.png|FILE.pdf|FILE.txt", runTrainer},
    {"db", "db export [--out FILE.sqlite] [--full]", runDb},
    {"feed", "feed generate --out DIR [--seed N] [--start YYYYMMDD] [--weeks N] [--venues N] [--scale K] [--odds DIR]",
     runFeed},
};

} // namespace

void printUsage(std::ostream &out)
{
    out << "使い方: zorbe                 デスクトップ版を起動します\n";
    for (const auto &c : kCommands)
        out << "        zorbe " << c.usage << '\n';
}

int usageError(Streams &streams, const char *usage, const std::string &problem)
{
    if (!problem.empty())
        streams.err << "zorbe: " << problem << '\n';
    streams.err << "使い方: zorbe " << usage << '\n';
    return kExitUsage;
}

int run(Args args, Streams &streams)
{
    if (args.empty()) {
        printUsage(streams.err);
        return kExitUsage;
    }
    for (const auto &c : kCommands)
        if (args[0] == c.name)
            return c.run(args.subspan(1), streams);
    if (args[0] == "help" || args[0] == "--help" || args[0] == "-h") {
        printUsage(streams.out);
        return kExitOk;
    }
    streams.err << "zorbe: 不明なサブコマンドです: " << args[0] << '\n';
    printUsage(streams.err);
    return kExitUsage;
}

} // namespace zorbe::cli
