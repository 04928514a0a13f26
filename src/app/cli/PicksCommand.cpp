#include "app/cli/Commands.h"

#include "app/cli/NewspaperDay.h"
#include "platform/Files.h"
#include "verify/PickFiles.h"

#include <ostream>

namespace zorbe::cli {

// "テキスト出力" of the race selection window: the day's three pick files
// in the pick folder ([copyfile] copy).
int runPicks(Args args, Streams &streams)
{
    constexpr const char *kUsage = "picks RDTFILE";
    if (args.empty())
        return usageError(streams, kUsage, "出馬表ファイルがありません");
    if (args.size() != 1 || args[0].starts_with("--"))
        return usageError(streams, kUsage, "不明な指定です: " + args[args[0].starts_with("--") ? 0 : 1]);
    const WinPath rdt = pathArgument(args[0]);
    if (const std::string missing = missingRaceDayFile(rdt); !missing.empty()) {
        streams.err << "zorbe: " << missing << '\n';
        return kExitFailure;
    }
    try {
        StreamDesktop desktop(streams.err);
        const auto day = loadNewspaperDay(rdt, desktop);
        const TPickFileInputs in{*day->card, day->masters,
                                 {pickFolderSetting(day->settingsFile), day->settings.sinba, day->settings.kako}};
        for (const TPickFile &f : WritePickFiles(in, day->paper->figures))
            streams.out << f.name.utf8() << '\n';
    } catch (const std::exception &e) {
        streams.err << "zorbe: " << e.what() << '\n';
        return kExitFailure;
    }
    return kExitOk;
}

} // namespace zorbe::cli
