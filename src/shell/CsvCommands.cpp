#include "shell/CsvCommands.h"

#include "export/CsvExports.h"
#include "export/CsvText.h"

#include <exception>

namespace zorbe::mainwindow {

namespace {

std::optional<WinPath> chooseFile(DesktopServices &desktop, const char *title, const char *filter,
                                  const std::string &folder)
{
    DesktopServices::FileDialog dialog;
    dialog.title = title;
    dialog.filter = filter;
    dialog.initialFolder = WinPath(folder);
    auto chosen = desktop.openFileDialog(dialog);
    if (chosen && chosen->empty())
        return std::nullopt;
    return chosen;
}

// Runs an export to output under the busy cursor; a failure is shown as
// the error of the command, and for a file cut short at a damaged record
// the error says where its first part went.
template <class Export>
std::optional<WinPath> runExport(DesktopServices &desktop, const WinPath &output, Export &&exportFile)
{
    desktop.setBusy(true);
    std::optional<WinPath> written;
    std::string error;
    try {
        written = exportFile();
    } catch (const csvexport::ExportError &e) {
        error = std::string(e.what()) + "\n" + output.utf8() + " にはこのレコードの前までを書き出しました。";
    } catch (const std::exception &e) {
        error = e.what();
    }
    desktop.setBusy(false);
    if (!error.empty())
        desktop.showError(error);
    return written;
}

constexpr const char *kRaceCardFilter = "出馬表ファイル(*.RDT)|*.RDT";
constexpr const char *kResultsFilter = "ゾルベ成績ファイル|*.SDT";
constexpr const char *kResultsTitle = "成績ファイルからCSV形式のファイルを作ります";

} // namespace

std::optional<WinPath> exportHorseCsv(const AppState &app, DesktopServices &desktop)
{
    const auto chosen
        = chooseFile(desktop, "競走馬ファイルからCSV形式のファイルを作ります", kRaceCardFilter, app.settings.lzhdat);
    if (!chosen)
        return std::nullopt;
    return runExport(desktop, csvexport::horseCsvPath(*chosen),
                     [&] { return csvexport::writeHorseCsv(*chosen, app.masters, app.labels); });
}

std::optional<WinPath> exportRaceCardCsv(const AppState &app, DesktopServices &desktop)
{
    // The description names ".RDA"; the files it lists are the race cards.
    const auto chosen = chooseFile(desktop, "出馬表ファイルからCSV形式のファイルを作ります",
                                   "出馬表ファイル(*.RDA)|*.RDT", app.settings.lzhdat);
    if (!chosen)
        return std::nullopt;
    return runExport(desktop, csvexport::raceCardCsvPath(*chosen),
                     [&] { return csvexport::writeRaceCardCsv(*chosen, app.labels); });
}

std::optional<WinPath> exportResultsCsv1(const AppState &app, DesktopServices &desktop)
{
    const auto chosen = chooseFile(desktop, kResultsTitle, kResultsFilter, app.settings.seiseki);
    if (!chosen)
        return std::nullopt;
    return runExport(desktop, csvexport::resultsCsv1Path(*chosen),
                     [&] { return csvexport::writeResultsCsv1(*chosen, app.labels); });
}

std::optional<WinPath> exportResultsCsv2(const AppState &app, DesktopServices &desktop)
{
    const auto chosen = chooseFile(desktop, kResultsTitle, kResultsFilter, app.settings.seiseki);
    if (!chosen)
        return std::nullopt;
    return runExport(desktop, csvexport::resultsCsv2Path(*chosen),
                     [&] { return csvexport::writeResultsCsv2(*chosen, app.labels); });
}

std::optional<WinPath> exportTimeCsv(const AppState &app, DesktopServices &desktop)
{
    const WinPath folder(app.settings.racedat);
    return runExport(desktop, csvexport::timeCsvPath(folder), [&] { return csvexport::writeTimeCsv(folder); });
}

} // namespace zorbe::mainwindow
