#include "app/cli/Commands.h"

#include "app/cli/NewspaperDay.h"

#include "index/TimeIndex.h"
#include "model/RaceCard.h"
#include "platform/Desktop.h"
#include "platform/Fields.h"
#include "platform/Files.h"
#include "platform/ProfileFile.h"
#include "shell/MasterTables.h"
#include "shell/Settings.h"

#include <cstdio>
#include <ostream>

namespace zorbe::cli {
namespace {

constexpr const char *kUsage = "figures RDTFILE [--race N]";

std::string fixed6(double v)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.6f", v);
    return buf;
}

// Every runner of race r as the vertical page body computes it: deviation
// sums from 0, the rest interval from the meeting date, then the figures.
void printRace(const TFigureInputs &in, TRunnerFigures &fig, std::ostream &out)
{
    const TRaceCard &c = in.card;
    const int r = c.CurrentRace;
    const int first = c.FirstHorse(r);
    const int n = c.entriesOf(r);
    fig.NoHistoryCount = 0;
    for (int i = 0; i < n; ++i) {
        const int h = first + i;
        fig.resetDeviations();
        fig.RestMonths[i] = RestMonthsOf(c, h);
        ComputeRunnerFigures(in, h, first, fig);
        out << r + 1 << '\t' << i + 1 << '\t' << c.HorseId[h] << '\t' << fixed6(fig.HonshiFigure[i]) << '\t'
            << fixed6(fig.ToraFigure[i]) << '\t' << fixed6(fig.TimeFigure[i]) << '\t' << fig.TurfDevSum[i] << '\t'
            << fig.TurfDevCount[i] << '\t' << fig.DirtDevSum[i] << '\t' << fig.DirtDevCount[i] << '\t'
            << fig.RestMonths[i] << '\n';
    }
    out << "NoHistoryCount\t" << r + 1 << '\t' << fig.NoHistoryCount << '\n';
}

} // namespace

// The figures behind the picks of a race day, one line per runner.
int runFigures(Args args, Streams &streams)
{
    std::string file;
    int race = 0;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--race" && i + 1 < args.size()) {
            const std::string &v = args[++i];
            if (!isDigits(v) || v.size() > 2 || std::stoi(v) < 1 || std::stoi(v) > TRaceCard::kRaces)
                return usageError(streams, kUsage, "レース番号は 1 から 12 で指定してください: " + v);
            race = std::stoi(v);
        } else if (file.empty() && !args[i].starts_with("--")) {
            file = args[i];
        } else if (args[i] == "--race") {
            return usageError(streams, kUsage, "値がありません: --race");
        } else {
            return usageError(streams, kUsage, "不明な指定です: " + args[i]);
        }
    }
    if (file.empty())
        return usageError(streams, kUsage, "出馬表ファイルがありません");

    const WinPath rdt = pathArgument(file);
    if (const std::string missing = missingRaceDayFile(rdt); !missing.empty()) {
        streams.err << "zorbe: " << missing << '\n';
        return kExitFailure;
    }
    ConsoleDesktop desktop;
    const ProfileFile ini(ProfileFile::defaultPath());
    SettingsSnapshot settings;
    readStartupSettings(ini, settings);
    readActivationSettings(ini, settings);
    try {
        const int pastRaces = pastRacesSetting(settings.kako);
        MasterTables masters;
        loadMasterFile(WinPath(settings.cyoukyou), masters.TrainerTable, desktop, kTrainerFileMissingMessage);
        loadMasterFile(WinPath(settings.kisyu), masters.JockeyTable, desktop, kJockeyFileMissingMessage);

        auto card = makeRaceCard();
        LoadRaceDay(*card, rdt, settings.ozzdir, settings.ozz, WinPath(settings.racedat), desktop);
        if (race > card->RaceCount) {
            streams.err << "zorbe: " << race << "レースはこのファイルにありません\n";
            return kExitFailure;
        }

        TRunnerFigures figures;
        const TFigureInputs in{*card, masters, pastRaces};
        for (int r = 0; r < card->RaceCount; ++r) {
            if (race != 0 && r != race - 1)
                continue;
            card->CurrentRace = r;
            printRace(in, figures, streams.out);
        }
    } catch (const std::exception &e) {
        streams.err << "zorbe: " << e.what() << '\n';
        return kExitFailure;
    }
    return kExitOk;
}

} // namespace zorbe::cli
