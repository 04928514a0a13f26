#include "shell/MainWindowCommands.h"

#include "db/ResultsFile.h"
#include "platform/Files.h"

#include <filesystem>

namespace zorbe {

AppState::AppState(std::unique_ptr<IJVLink> link)
    : settingsFile(ProfileFile::defaultPath())
    , JVLink1(std::move(link))
    , raceCard(makeRaceCard())
    , results(makeResults())
    , newspaper(std::make_unique<TNewspaper>(*raceCard, masters, labels))
{
}

namespace mainwindow {

void formCreate(AppState &app, DesktopServices &desktop)
{
    app.settingsFile = ProfileFile(ProfileFile::defaultPath());
    createDefaultFoldersOnFirstStart(app.settingsFile);
    readStartupSettings(app.settingsFile, app.settings);
    loadMasterFile(WinPath(app.settings.cyoukyou), app.masters.TrainerTable, desktop, kTrainerFileMissingMessage);
    loadMasterFile(WinPath(app.settings.kisyu), app.masters.JockeyTable, desktop, kJockeyFileMissingMessage);
}

std::string formShow(AppState &app)
{
    if (app.JVLink1.JVInit(std::string(kSoftwareId)) != 0)
        return {};
    const std::string digits = app.JVLink1.m_JVLinkVersion();
    app.JVLinkVersion = JVLinkVersionDigits(digits);
    app.JVLinkVersionCaption = JVLinkVersionText(digits);
    return app.JVLinkVersionCaption;
}

void formActivate(AppState &app)
{
    app.settingsFile = ProfileFile(ProfileFile::defaultPath());
    readActivationSettings(app.settingsFile, app.settings);
    rebuildLabelTables(app.labels);
}

std::string setupDataLink(AppState &app)
{
    return app.JVLink1.JVSetUIProperties() == 0 ? "セットアップ正常終了:" : "セットアップエラーJRA-VANへご連絡ください:";
}

bool chooseAndLoadRaceDay(AppState &app, DesktopServices &desktop)
{
    DesktopServices::FileDialog dialog;
    dialog.title = "表示する新聞のデータファイル(JRA版)の選択";
    dialog.filter = "JRA版出馬表ファイル(*.RDT)|*.RDT";
    dialog.initialFolder = WinPath(app.settings.lzhdat);
    const auto chosen = desktop.openFileDialog(dialog);
    return chosen && loadRaceDay(app, *chosen, desktop);
}

bool loadRaceDay(AppState &app, const WinPath &raceCardFile, DesktopServices &desktop)
{
    try {
        LoadRaceDay(*app.raceCard, raceCardFile, app.settings.ozzdir, app.settings.ozz,
                    WinPath(app.settings.racedat), desktop);
    } catch (const std::exception &e) {
        // A missing or damaged file ends the command; what was read stays.
        desktop.showError(e.what());
        return false;
    }
    return true;
}

bool chooseAndLoadResults(AppState &app, DesktopServices &desktop)
{
    DesktopServices::FileDialog dialog;
    dialog.title = "競走成績を表示するファイルの選択";
    dialog.filter = "ゾルベ成績ファイル(*.SDT)|*.SDT";
    dialog.initialFolder = WinPath(app.settings.seiseki);
    const auto chosen = desktop.openFileDialog(dialog);
    if (!chosen || chosen->empty())
        return false;
    return OpenResultsFile(*app.results, *chosen, desktop);
}

std::filesystem::path installedManual()
{
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    const std::filesystem::path relative = "share/doc/zorbe/manual/index.html";
    if (!ec) {
        const std::filesystem::path beside = exe.parent_path().parent_path() / relative;
        if (std::filesystem::is_regular_file(beside, ec))
            return beside;
    }
    const std::filesystem::path system = std::filesystem::path("/usr") / relative;
    if (std::filesystem::is_regular_file(system, ec))
        return system;
    return {};
}

void openHelp(const AppState &app, DesktopServices &desktop)
{
    const std::filesystem::path help = toNative(WinPath(app.settings.zorbe) / "DataLab.chm");
    std::error_code ec;
    const std::filesystem::path manual = std::filesystem::is_regular_file(help, ec) ? std::filesystem::path()
                                                                                   : installedManual();
    if (!manual.empty())
        desktop.openWithDefaultProgram(manual.string());
    else
        desktop.openWithDefaultProgram(help.string());
}

void deleteDownloadFile(const AppState &app, DesktopServices &desktop)
{
    DesktopServices::FileDialog dialog;
    dialog.title = "削除対象ダウンロードファイルの選択";
    dialog.filter = "削除するダウンロードファイル(*.DAT/SLB/RLB)|*.*";
    dialog.initialFolder = WinPath(app.settings.down);
    if (const auto chosen = desktop.openFileDialog(dialog))
        desktop.moveToTrash(*chosen);
}

void openHomepage(DesktopServices &desktop)
{
    desktop.openWithDefaultProgram(kHomepage);
}

std::string supportMailUrl()
{
    return std::string("mailto:") + kSupportMail + "?" + "subject=ゾルベData Lab.版について質問です&" + "cc=&"
           + "bcc=&";
}

void openSupportMail(DesktopServices &desktop)
{
    desktop.showMessage("Out look Express を宛先、件名を入力して起動します\n"
                        "あとは本文（質問事項等）を書いて送信して下さい");
    desktop.openWithDefaultProgram(supportMailUrl());
}

} // namespace mainwindow
} // namespace zorbe
