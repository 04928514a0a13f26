#include "shell/Settings.h"

#include "platform/Files.h"
#include "shell/SettingsDialog.h"

#include <filesystem>

namespace zorbe {

void readStartupSettings(const ProfileFile &s, SettingsSnapshot &v)
{
    namespace d = mainwindow_defaults;
    v.kisyu = s.readString("kisyufile", "kisyu", d::kisyu);
    v.cyoukyou = s.readString("tekifile", "cyoukyou", d::cyoukyou);
    v.racedat = s.readString("listdir", "racedat", d::racedat);
}

void readActivationSettings(const ProfileFile &s, SettingsSnapshot &v)
{
    namespace d = mainwindow_defaults;
    v.zorbe = s.readString("zorbedir", "zorbe", d::zorbe);
    v.lzhdat = s.readString("Lzhdir", "lzhdat", d::lzhdat);
    v.seiseki = s.readString("seisekidir", "seiseki", d::seiseki);
    v.down = s.readString("downdir", "down", d::down);
    v.ozzdir = s.readString("ozzdir", "ozzdat", d::ozzdir);
    v.ozzfile = s.readString("ozzfile", "ozzdat", d::ozzfile);
    v.patwin = s.readString("PATWIN", "PATWIN", d::patwin);
    v.lastFileTime = s.readString("LastFileTime", "LastFileTime", d::lastFileTime);
    v.insatu = s.readString("Insatu", "insatu", d::insatu);
    v.font = s.readString("Font", "Font", d::font);
    v.kako = s.readString("Kako", "Kako", d::kako);
    v.yosou = s.readString("Yosou", "Yosou", d::yosou);
    v.sinba = s.readString("Sinba", "Sinba", d::sinba);
    v.sinbun = s.readString("sinbun", "Sinbun", d::sinbun);
    v.color = s.readString("Color", "Color", d::color);
    v.ozz = s.readString("ozz", "ozz", d::ozz);
    v.botan = s.readString("botan", "botan", d::botan);
    v.zoom = s.readString("Zoom", "Scale", d::zoom);
}

bool createDefaultFoldersOnFirstStart(const ProfileFile &settings)
{
    std::error_code ec;
    if (std::filesystem::exists(settings.path(), ec))
        return false;
    // The folders every reader's default names, and the folders of the
    // default files. Components match without regard to case, so the first
    // spelling makes the folder: the race-day folders' "zorbeLab", as the
    // conversions write it.
    static const char *const folders[] = {
        "d:\\zorbeLab\\JRA", "d:\\zorbeLab\\sei", "d:\\zorbeLab\\down", "d:\\zorbeLab\\odds", "d:\\zorbelab\\dat",
        "C:\\zorbelab\\DAT", "c:\\zorbelab\\sei", "C:\\ZORBELAB", "C:\\ZORBELAB\\txt", "C:\\ZORBE\\txt",
        "C:\\patwin",
    };
    for (const char *f : folders) {
        try {
            files::makeDirectories(WinPath(f));
        } catch (const files::FileError &) {
            // A folder that cannot be made only means a dialog opens elsewhere.
        }
    }
    // Make the settings file exist, so this happens on the first start only.
    if (settings.path().has_parent_path())
        std::filesystem::create_directories(settings.path().parent_path(), ec);
    // As an installation does: the start-up master files are the ones the
    // conversions keep in the data folder (the readers' own defaults name
    // two other places), and the download starts from the default time.
    // The newspaper settings start as the settings dialog shows them when
    // there are none: without them the main window's readers would take no
    // past race for the time index, and no race would get picks.
    if (!std::filesystem::exists(settings.path(), ec)) {
        ProfileFile writable(settings.path());
        const WinPath data(mainwindow_defaults::racedat);
        writable.writeString("kisyufile", "kisyu", (data / "KISYU.DAT").text());
        writable.writeString("tekifile", "cyoukyou", (data / "CHOKYOSI.DAT").text());
        writable.writeString("LastFileTime", "LastFileTime", mainwindow_defaults::lastFileTime);
        settingsdialog::writeChoices(writable, settingsdialog::firstStartChoices());
    }
    return true;
}

} // namespace zorbe
