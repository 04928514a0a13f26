#include "shell/SettingsDialog.h"

#include "link/LocalFeedLink.h"
#include "platform/Cp932.h"
#include "platform/Files.h"
#include "shell/MainWindowCommands.h"

#include "support/ScriptedDesktop.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <vector>

using namespace zorbe;
namespace fs = std::filesystem;
namespace sd = zorbe::settingsdialog;

namespace {

class SettingsDialogTest : public ::testing::Test
{
protected:
    std::string fileText() const { return test::readNative(ProfileFile::defaultPath()); }

    // The section headers of the settings file, in file order.
    std::vector<std::string> sections() const
    {
        std::vector<std::string> out;
        const std::string text = fileText();
        for (std::size_t at = text.find('['); at != std::string::npos; at = text.find('[', at + 1))
            out.push_back(text.substr(at + 1, text.find(']', at) - at - 1));
        return out;
    }

    sd::Choices someChoices() const
    {
        sd::Choices c;
        c.insatu = "2", c.font = "0", c.yosou = "1", c.kako = "3", c.sinbun = "0";
        c.sinba = "1", c.color = "0", c.ozz = "2", c.botan = "1", c.hosei = "0";
        return c;
    }

    test::TempHome home;
    test::ScriptedDesktop desktop;
    ProfileFile settings{ProfileFile::defaultPath()};
    SettingsSnapshot snapshot;
};

} // namespace

TEST_F(SettingsDialogTest, ConfirmErasesEachSectionAndWritesItsOneKeyInOrder)
{
    // Sections of other spellings and with stray keys, and a value the
    // dialog does not write.
    settings.writeString("OZZ", "ozz", "1");
    settings.writeString("ozz", "old", "x");
    settings.writeString("yosou", "Yosou", "0");
    settings.writeString("yosou", "stale", "1");
    settings.writeString("botan", "extra", "keep");
    settings.writeString("Zoom", "Scale", "90");
    settings.writeString("PATWIN", "other", "gone");

    ASSERT_TRUE(sd::confirm(settings, someChoices(), "D:\\PAT", desktop));
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_TRUE(desktop.errors.empty());
    EXPECT_EQ(sections(), (std::vector<std::string>{"botan", "Zoom", "Yosou", "Insatu", "Font", "Sinba", "Kako",
                                                    "Sinbun", "Color", "OZZ", "hosei", "PATWIN"}));
    const std::string text = fileText();
    EXPECT_NE(text.find("[Yosou]\r\nYosou=1\r\n"), std::string::npos);
    EXPECT_NE(text.find("[Insatu]\r\nInsatu=2\r\n"), std::string::npos);
    EXPECT_NE(text.find("[Kako]\r\nKako=3\r\n"), std::string::npos);
    EXPECT_NE(text.find("[Sinbun]\r\nsinbun=0\r\n"), std::string::npos);
    EXPECT_NE(text.find("[OZZ]\r\nozz=2\r\n"), std::string::npos);
    EXPECT_NE(text.find("[PATWIN]\r\nPATWIN=D:\\PAT\r\n"), std::string::npos);
    EXPECT_EQ(text.find("stale"), std::string::npos);
    EXPECT_EQ(text.find("old="), std::string::npos);
    EXPECT_EQ(text.find("gone"), std::string::npos);
    // botan and hosei are written without erasing.
    EXPECT_EQ(settings.readString("botan", "extra", ""), "keep");
    EXPECT_EQ(settings.readString("botan", "botan", ""), "1");
    EXPECT_EQ(settings.readString("hosei", "hosei", ""), "0");

    // The main window's readers find every value, whatever the spelling.
    SettingsSnapshot main;
    readActivationSettings(settings, main);
    EXPECT_EQ(main.insatu, "2");
    EXPECT_EQ(main.font, "0");
    EXPECT_EQ(main.yosou, "1");
    EXPECT_EQ(main.kako, "3");
    EXPECT_EQ(main.sinbun, "0");
    EXPECT_EQ(main.sinba, "1");
    EXPECT_EQ(main.color, "0");
    EXPECT_EQ(main.ozz, "2");
    EXPECT_EQ(main.botan, "1");
    EXPECT_EQ(main.patwin, "D:\\PAT");
    EXPECT_EQ(main.zoom, "90");
}

TEST_F(SettingsDialogTest, ThePatFolderIsWrittenAndGetsAnOddsFolderWhereItCan)
{
    // An empty field: the key is there with an empty value, no folder made.
    settings.writeString("PATWIN", "PATWIN", "C:\\patwin");
    ASSERT_TRUE(sd::confirm(settings, someChoices(), "", desktop));
    EXPECT_TRUE(settings.keyExists("PATWIN", "PATWIN"));
    EXPECT_EQ(settings.readString("PATWIN", "PATWIN", "-"), "");
    EXPECT_FALSE(fs::exists(home.path() / "drives"));

    files::makeDirectories(WinPath("C:\\Program Files\\PATWIN50"));
    ASSERT_TRUE(sd::confirm(settings, someChoices(), "C:\\Program Files\\PATWIN50", desktop));
    EXPECT_TRUE(fs::is_directory(home.path() / "drives/c/Program Files/PATWIN50/ODDS"));
    // A folder that is not there gets no folder made.
    ASSERT_TRUE(sd::confirm(settings, someChoices(), "E:\\nowhere", desktop));
    EXPECT_FALSE(fs::exists(home.path() / "drives/e"));
    // An odds folder of another letter case is the odds folder.
    files::makeDirectories(WinPath("C:\\pat2\\odds"));
    ASSERT_TRUE(sd::confirm(settings, someChoices(), "C:\\PAT2", desktop));
    EXPECT_EQ(files::list(WinPath("C:\\pat2")), (std::vector<std::string>{"odds"}));
    EXPECT_TRUE(desktop.errors.empty());

    // A file where the folder would go: told, after the settings are saved.
    files::makeDirectories(WinPath("C:\\PAT"));
    files::writeAll(WinPath("C:\\PAT\\ODDS"), "x");
    EXPECT_FALSE(sd::confirm(settings, someChoices(), "C:\\PAT", desktop));
    ASSERT_EQ(desktop.errors.size(), 1u);
    EXPECT_NE(desktop.errors[0].find("オッズフォルダを作成できませんでした"), std::string::npos);
    EXPECT_NE(desktop.errors[0].find("C:\\PAT\\ODDS"), std::string::npos);
    EXPECT_NE(desktop.errors[0].find("設定は保存しました"), std::string::npos);
    EXPECT_EQ(settings.readString("PATWIN", "PATWIN", ""), "C:\\PAT");
    EXPECT_EQ(settings.readString("Kako", "Kako", ""), "3");
}

TEST_F(SettingsDialogTest, ACalculationDepthThatIsNoNumberFromZeroToFiveIsRefusedWritingNothing)
{
    settings.writeString("Kako", "Kako", "4");
    settings.writeString("Yosou", "Yosou", "0");
    const std::string before = fileText();
    const std::vector<std::string> refused{"", "6", "10", "a", " 3", "3 ", "-1", "+2", sj("３"),
                                           "00000000000000000000009"};
    for (const std::string &kako : refused) {
        sd::Choices c = someChoices();
        c.kako = kako;
        desktop.messages.clear();
        EXPECT_FALSE(sd::confirm(settings, c, "D:\\PAT", desktop)) << kako;
        ASSERT_EQ(desktop.messages.size(), 1u) << kako;
        EXPECT_EQ(desktop.messages[0], sd::kKakoRefusedMessage);
        EXPECT_EQ(fileText(), before) << kako;
    }
    for (const char *kako : {"0", "5", "05"}) {
        sd::Choices c = someChoices();
        c.kako = kako;
        EXPECT_TRUE(sd::confirm(settings, c, "D:\\PAT", desktop)) << kako;
        EXPECT_EQ(settings.readString("Kako", "Kako", ""), kako);
    }
}

TEST_F(SettingsDialogTest, ASettingsFileThatCannotBeWrittenIsToldAndTheDialogStays)
{
    settings.writeString("Kako", "Kako", "4");
    // Every write goes through a temporary file beside the settings file.
    fs::create_directories(fs::path(ProfileFile::defaultPath()).concat(".tmp~"));
    EXPECT_FALSE(sd::confirm(settings, someChoices(), "D:\\PAT", desktop));
    ASSERT_EQ(desktop.errors.size(), 1u);
    EXPECT_NE(desktop.errors[0].find("設定ファイルに書き込めませんでした"), std::string::npos);
    EXPECT_EQ(settings.readString("Kako", "Kako", ""), "4");

    // Values already stored as chosen are no failure: blanks at the ends of
    // the folder field are not kept by the file.
    fs::remove(fs::path(ProfileFile::defaultPath()).concat(".tmp~"));
    desktop.errors.clear();
    EXPECT_TRUE(sd::confirm(settings, someChoices(), "D:\\PAT ", desktop));
    EXPECT_TRUE(desktop.errors.empty());
}

TEST_F(SettingsDialogTest, BrowsePutsTheFolderOfTheChosenProgramInTheField)
{
    snapshot.patwin = "C:\\patwin";
    EXPECT_EQ(sd::browsePatFolder("D:\\PAT", snapshot, desktop), std::nullopt); // cancelled
    ASSERT_EQ(desktop.dialogs.size(), 1u);
    EXPECT_EQ(desktop.dialogs[0].title, "PAT FOR WIN 選択");
    EXPECT_EQ(desktop.dialogs[0].filter, "PATファイル|*.EXE");
    EXPECT_EQ(desktop.dialogs[0].initialFolder.text(), "D:\\PAT");
    // An empty field: the program's PAT folder.
    sd::browsePatFolder("", snapshot, desktop);
    EXPECT_EQ(desktop.dialogs[1].initialFolder.text(), "C:\\patwin");

    desktop.dialogAnswers.push_back(WinPath("C:\\Program Files\\PATWIN50\\PATWIN.EXE"));
    EXPECT_EQ(sd::browsePatFolder("", snapshot, desktop), "C:\\Program Files\\PATWIN50");
    desktop.dialogAnswers.push_back(WinPath("D:\\PAT.EXE"));
    EXPECT_EQ(sd::browsePatFolder("", snapshot, desktop), "D:");
    // A folder name whose last byte is a backslash-valued trail byte (表).
    desktop.dialogAnswers.push_back(WinPath(sj("C:\\表\\PAT.EXE")));
    EXPECT_EQ(sd::browsePatFolder("", snapshot, desktop), sj("C:\\表"));
    // The desktop's dialog answers with native paths: one in the program's
    // drives is kept in the Windows form, any other as it is.
    desktop.dialogAnswers.push_back(WinPath::fromNative(home.path() / "drives/c/Program Files/PAT/PAT.EXE"));
    EXPECT_EQ(sd::browsePatFolder("", snapshot, desktop), "C:\\Program Files\\PAT");
    desktop.dialogAnswers.push_back(WinPath::fromNative(home.path() / "drives/d/PAT.EXE"));
    EXPECT_EQ(sd::browsePatFolder("", snapshot, desktop), "D:");
    desktop.dialogAnswers.push_back(WinPath::fromNative(home.path() / "drives/dd/PAT.EXE"));
    EXPECT_EQ(sd::browsePatFolder("", snapshot, desktop), (home.path() / "drives/dd").string());
    desktop.dialogAnswers.push_back(WinPath("/home/u/.wine/drive_c/PATWIN/PAT.EXE"));
    EXPECT_EQ(sd::browsePatFolder("", snapshot, desktop), "/home/u/.wine/drive_c/PATWIN");
}

TEST_F(SettingsDialogTest, TheFirstStartWritesTheDialogsSettingsWithPicksOn)
{
    AppState app{std::make_unique<LocalFeedLink>()};
    mainwindow::formCreate(app, desktop);
    mainwindow::formActivate(app);
    // The time index takes five past races and the picks are drawn.
    EXPECT_EQ(app.settings.kako, "5");
    EXPECT_EQ(app.settings.yosou, "1");
    EXPECT_EQ(app.settings.sinbun, "1");
    EXPECT_EQ(app.settings.insatu, "1");
    EXPECT_EQ(app.settings.ozz, "1");
    EXPECT_EQ(app.settings.botan, "0");
    EXPECT_EQ(settings.readString("hosei", "hosei", ""), "1");
    // The dialog shows just that.
    const sd::Choices shown = sd::formActivate(settings, snapshot);
    EXPECT_EQ(shown, sd::firstStartChoices());

    // A later start keeps what the user chose.
    settings.writeString("Kako", "Kako", "2");
    AppState again{std::make_unique<LocalFeedLink>()};
    mainwindow::formCreate(again, desktop);
    mainwindow::formActivate(again);
    EXPECT_EQ(again.settings.kako, "2");
}
