#include "shell/SettingsDialog.h"

#include "platform/Fields.h"
#include "platform/Files.h"

#include <array>

namespace zorbe::settingsdialog {

namespace {

// One key "確　定" writes: the section and key as written (the readers ask
// for some of them in another letter case), and the choice it takes.
struct WrittenKey
{
    const char *section;
    const char *key;
    std::string Choices::*value;
    bool erasedFirst;
};

// In the order they are written.
constexpr std::array<WrittenKey, 10> kWrittenKeys{{
    {"Yosou", "Yosou", &Choices::yosou, true},
    {"Insatu", "Insatu", &Choices::insatu, true},
    {"Font", "Font", &Choices::font, true},
    {"Sinba", "Sinba", &Choices::sinba, true},
    {"Kako", "Kako", &Choices::kako, true},
    {"Sinbun", "sinbun", &Choices::sinbun, true},
    {"Color", "Color", &Choices::color, true},
    {"OZZ", "ozz", &Choices::ozz, true},
    {"botan", "botan", &Choices::botan, false},
    {"hosei", "hosei", &Choices::hosei, false},
}};

const char *const kPatSection = "PATWIN";
const char *const kPatKey = "PATWIN";

// What a read of a written value gives back: the settings file keeps no
// blanks at the ends of a value.
std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

// True when the file now holds what confirm wrote (a settings file that
// cannot be written loses its writes without telling).
bool storedAsWritten(const ProfileFile &settings, const Choices &choices, const std::string &patFolder)
{
    // A byte no value can hold, so that a missing key never looks written.
    const std::string absent(1, '\x01');
    for (const WrittenKey &k : kWrittenKeys) {
        const std::string &value = choices.*k.value;
        const std::string stored = settings.readString(k.section, k.key, absent);
        if (value.empty() ? (k.erasedFirst && stored != absent) : stored != trimmed(value))
            return false;
    }
    return settings.readString(kPatSection, kPatKey, absent) == trimmed(patFolder);
}

// Makes <PAT folder>\ODDS when the folder is there without one.
void makeOddsFolder(const std::string &patFolder)
{
    if (patFolder.empty())
        return;
    const WinPath folder(patFolder);
    const WinPath odds = folder / "ODDS";
    if (!files::isDirectory(folder) || files::isDirectory(odds))
        return;
    files::makeDirectories(odds);
}

// A folder inside the program's drives in the Windows form the other
// settings use ("C:\Program Files\PATWIN50"), so that the setting still
// holds when the program's home moves. Other folders stay as they are.
std::string inWindowsForm(const std::string &folder)
{
    const std::string drives = WinPath::fromNative(zorbeHome() / "drives").text() + "/";
    if (folder.compare(0, drives.size(), drives) != 0)
        return folder;
    const std::string rest = folder.substr(drives.size()); // "c/Program Files/PATWIN50"
    const char drive = rest.empty() ? '\0' : rest[0];
    if (!(drive >= 'a' && drive <= 'z') || (rest.size() > 1 && rest[1] != '/'))
        return folder;
    std::string out{static_cast<char>(drive - 'a' + 'A'), ':'};
    // "/" is never the trail byte of a two-byte character.
    for (std::size_t i = 1; i < rest.size(); ++i)
        out += rest[i] == '/' ? '\\' : rest[i];
    return out;
}

} // namespace

std::string formCreate(const ProfileFile &settings, SettingsSnapshot &snapshot)
{
    snapshot.patwin = settings.readString(kPatSection, kPatKey, defaults::patwin);
    return snapshot.patwin;
}

Choices formActivate(const ProfileFile &s, SettingsSnapshot &snapshot)
{
    Choices stored;
    stored.insatu = s.readString("Insatu", "insatu", defaults::insatu);
    stored.font = s.readString("Font", "Font", defaults::font);
    stored.kako = s.readString("Kako", "Kako", defaults::kako);
    stored.yosou = s.readString("Yosou", "Yosou", defaults::yosou);
    stored.sinba = s.readString("Sinba", "Sinba", defaults::sinba);
    stored.sinbun = s.readString("sinbun", "Sinbun", defaults::sinbun);
    stored.color = s.readString("Color", "Color", defaults::color);
    stored.hosei = s.readString("hosei", "hosei", defaults::hosei);
    stored.ozz = s.readString("ozz", "ozz", defaults::ozz);
    stored.botan = s.readString("botan", "botan", defaults::botan);

    snapshot.insatu = stored.insatu;
    snapshot.font = stored.font;
    snapshot.kako = stored.kako;
    snapshot.yosou = stored.yosou;
    snapshot.sinba = stored.sinba;
    snapshot.sinbun = stored.sinbun;
    snapshot.color = stored.color;
    snapshot.ozz = stored.ozz;
    snapshot.botan = stored.botan;
    return selectionOf(stored);
}

Choices selectionOf(const Choices &stored)
{
    const auto onOff = [](const std::string &v) { return std::string(v != "0" ? "1" : "0"); };
    Choices c;
    c.insatu = stored.insatu == "2" ? "2" : stored.insatu == "1" ? "1" : "0";
    c.font = onOff(stored.font);
    c.yosou = onOff(stored.yosou);
    c.kako = stored.kako;
    c.sinbun = stored.sinbun == "0" ? "0" : stored.sinbun == "1" ? "1" : "2";
    c.sinba = onOff(stored.sinba);
    c.color = onOff(stored.color);
    c.ozz = stored.ozz == "0" || stored.ozz == "1" || stored.ozz == "2" ? stored.ozz : "";
    c.botan = stored.botan == "0" ? "0" : "1";
    c.hosei = onOff(stored.hosei);
    return c;
}

bool kakoAcceptable(std::string_view kako)
{
    if (!isDigits(kako))
        return false;
    // Leading zeros are allowed: "05" is five.
    const auto first = kako.find_first_not_of('0');
    return first == std::string_view::npos || (first + 1 == kako.size() && kako[first] <= '5');
}

void writeChoices(ProfileFile &settings, const Choices &choices)
{
    for (const WrittenKey &k : kWrittenKeys) {
        if (k.erasedFirst)
            settings.eraseSection(k.section);
        const std::string &value = choices.*k.value;
        if (!value.empty())
            settings.writeString(k.section, k.key, value);
    }
}

bool confirm(ProfileFile &settings, const Choices &choices, const std::string &patFolder,
             DesktopServices &desktop)
{
    if (!kakoAcceptable(choices.kako)) {
        desktop.showMessage(kKakoRefusedMessage);
        return false;
    }
    writeChoices(settings, choices);
    if (!patFolder.empty())
        settings.eraseSection(kPatSection);
    settings.writeString(kPatSection, kPatKey, patFolder);

    if (!storedAsWritten(settings, choices, patFolder)) {
        desktop.showError("設定ファイルに書き込めませんでした。設定は保存されていません。\n"
                          + settings.path().string());
        return false;
    }
    try {
        makeOddsFolder(patFolder);
    } catch (const files::FileError &e) {
        desktop.showError(std::string("PAT For Win のオッズフォルダを作成できませんでした。\n") + e.what()
                          + "\n設定は保存しました。");
        return false;
    }
    return true;
}

std::string folderOf(const WinPath &file)
{
    std::string folder = file.parent().text();
    // parent() keeps the backslash of a drive's root only.
    if (folder.size() == 3 && folder[1] == ':' && folder[2] == '\\')
        folder.pop_back();
    return folder;
}

std::optional<std::string> browsePatFolder(const std::string &patFolder, const SettingsSnapshot &snapshot,
                                           DesktopServices &desktop)
{
    DesktopServices::FileDialog dialog;
    dialog.title = "PAT FOR WIN 選択";
    dialog.filter = "PATファイル|*.EXE";
    dialog.initialFolder = WinPath(patFolder.empty() ? snapshot.patwin : patFolder);
    const auto chosen = desktop.openFileDialog(dialog);
    if (!chosen || chosen->empty())
        return std::nullopt;
    return inWindowsForm(folderOf(*chosen));
}

Choices firstStartChoices()
{
    Choices c;
    c.insatu = defaults::insatu;
    c.font = defaults::font;
    c.yosou = mainwindow_defaults::yosou;
    c.kako = defaults::kako;
    c.sinbun = defaults::sinbun;
    c.sinba = defaults::sinba;
    c.color = defaults::color;
    c.ozz = defaults::ozz;
    c.botan = defaults::botan;
    c.hosei = defaults::hosei;
    return c;
}

} // namespace zorbe::settingsdialog
