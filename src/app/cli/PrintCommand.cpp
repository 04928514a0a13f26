#include "app/cli/Commands.h"

#include "app/cli/NewspaperDay.h"
#include "app/cli/PageFiles.h"
#include "platform/Files.h"

#include <ostream>

namespace zorbe::cli {
namespace {

constexpr const char *kUsage = "print RDTFILE [--races 1,3-5] --out DIR";

} // namespace

// The race selection window's batch print, each job a PDF file in a folder.
int runPrint(Args args, Streams &streams)
{
    std::string file, races, out;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &opt = args[i];
        if (opt.starts_with("--") && i + 1 >= args.size())
            return usageError(streams, kUsage, "値がありません: " + opt);
        if (opt == "--races")
            races = args[++i];
        else if (opt == "--out")
            out = args[++i];
        else if (file.empty() && !opt.starts_with("--"))
            file = opt;
        else
            return usageError(streams, kUsage, "不明な指定です: " + opt);
    }
    if (file.empty())
        return usageError(streams, kUsage, "出馬表ファイルがありません");
    if (out.empty())
        return usageError(streams, kUsage, "--out がありません");
    if (!races.empty() && !parseRaceList(races, TRaceCard::kRaces))
        return usageError(streams, kUsage, "レースは 1,3-5 のように 1 から 12 で指定してください: " + races);
    if (!pagePicturesAvailable()) {
        streams.err << "zorbe: " << kNoPicturesMessage << '\n';
        return kExitFailure;
    }

    const WinPath rdt = pathArgument(file);
    if (const std::string missing = missingRaceDayFile(rdt); !missing.empty()) {
        streams.err << "zorbe: " << missing << '\n';
        return kExitFailure;
    }
    StreamDesktop desktop(streams.err);
    std::unique_ptr<NewspaperDay> day;
    try {
        day = loadNewspaperDay(rdt, desktop);
    } catch (const std::exception &e) {
        streams.err << "zorbe: " << e.what() << '\n';
        return kExitFailure;
    }
    const int count = day->card->RaceCount;
    std::array<bool, 12> checked{};
    if (races.empty()) {
        for (int r = 0; r < count; ++r)
            checked[static_cast<std::size_t>(r)] = true;
    } else if (const auto listed = parseRaceList(races, count)) {
        checked = *listed;
    } else {
        streams.err << "zorbe: この日は" << count << "レースまでです: " << races << '\n';
        return kExitFailure;
    }
    if (count == 0) {
        streams.err << "zorbe: この出馬表ファイルにはレースがありません\n";
        return kExitFailure;
    }
    const bool done = printNewspaperDay(*day, checked, toNative(pathArgument(out)), streams.out, streams.err,
                                         isTerminal(streams.out));
    return done ? kExitOk : kExitFailure;
}

} // namespace zorbe::cli
