#include "shell/MainWindowCommands.h"

#include "platform/Files.h"

namespace zorbe {

AppState::AppState(std::unique_ptr<IJVLink> link)
    : settingsFile(ProfileFile::defaultPath())
    , JVLink1(std::move(link))
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

void openHelp(const AppState &app, DesktopServices &desktop)
{
    const WinPath help = WinPath(app.settings.zorbe) / "DataLab.chm";
    desktop.openWithDefaultProgram(toNative(help).string());
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
