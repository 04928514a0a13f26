#include "app/cli/Commands.h"

#include "app/cli/NewspaperDay.h"
#include "export/CsvExports.h"
#include "export/CsvText.h"
#include "platform/Files.h"
#include "platform/ProfileFile.h"
#include "shell/LabelTables.h"
#include "shell/MasterTables.h"
#include "shell/Settings.h"

#include <ostream>

namespace zorbe::cli {
namespace {

constexpr const char *kUsage = "csv horses RDTFILE | racecard RDTFILE | results1 SDTFILE | results2 SDTFILE | stime";

struct CsvKind
{
    std::string_view name;
    WinPath (*outputOf)(const WinPath &input);
};

constexpr CsvKind kKinds[] = {
    {"horses", csvexport::horseCsvPath},
    {"racecard", csvexport::raceCardCsvPath},
    {"results1", csvexport::resultsCsv1Path},
    {"results2", csvexport::resultsCsv2Path},
    {"stime", csvexport::timeCsvPath},
};

// The export of kind on input, as the main window's menu runs it.
WinPath runExport(std::string_view kind, const WinPath &input, const SettingsSnapshot &settings, Streams &streams)
{
    LabelTables labels;
    rebuildLabelTables(labels);
    if (kind == "horses") {
        StreamDesktop desktop(streams.err);
        MasterTables masters;
        loadMasterFile(WinPath(settings.cyoukyou), masters.TrainerTable, desktop, kTrainerFileMissingMessage);
        return csvexport::writeHorseCsv(input, masters, labels);
    }
    if (kind == "racecard")
        return csvexport::writeRaceCardCsv(input, labels);
    if (kind == "results1")
        return csvexport::writeResultsCsv1(input, labels);
    if (kind == "results2")
        return csvexport::writeResultsCsv2(input, labels);
    const auto written = csvexport::writeTimeCsv(input);
    if (!written)
        throw files::FileError("cSTIME.DAT がありません: " + toNative(csvexport::timeDataPath(input)).string());
    return *written;
}

} // namespace

// The CSV files of the main window's "CSV形式出力" menu, without dialogs.
int runCsv(Args args, Streams &streams)
{
    if (args.empty())
        return usageError(streams, kUsage, "CSV の種類がありません");
    const CsvKind *kind = nullptr;
    for (const CsvKind &k : kKinds)
        if (args[0] == k.name)
            kind = &k;
    const bool needsFile = kind && kind->name != "stime";
    if (!kind)
        return usageError(streams, kUsage, "不明な CSV の種類です: " + args[0]);
    if (args.size() < (needsFile ? 2u : 1u))
        return usageError(streams, kUsage, "ファイルがありません");
    if (args.size() > (needsFile ? 2u : 1u))
        return usageError(streams, kUsage, "余分な引数があります: " + args[needsFile ? 2 : 1]);

    const ProfileFile ini(ProfileFile::defaultPath());
    SettingsSnapshot settings;
    readStartupSettings(ini, settings);
    readActivationSettings(ini, settings);
    const WinPath input = needsFile ? pathArgument(args[1]) : WinPath(settings.racedat);
    try {
        const WinPath written = runExport(kind->name, input, settings, streams);
        streams.out << toNative(written).string() << '\n';
    } catch (const csvexport::ExportError &e) {
        streams.err << "zorbe: " << e.what() << '\n'
                    << "zorbe: 途中までのファイル: " << toNative(kind->outputOf(input)).string() << '\n';
        return kExitFailure;
    } catch (const std::exception &e) {
        streams.err << "zorbe: " << e.what() << '\n';
        return kExitFailure;
    }
    return kExitOk;
}

} // namespace zorbe::cli
