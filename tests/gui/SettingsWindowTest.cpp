#include "support/ScriptedDesktop.h"
#include "support/TempHome.h"

#include "link/LocalFeedLink.h"
#include "paper/qt/TForm3.h"
#include "paper/qt/TForm5.h"
#include "platform/Files.h"
#include "platform/ProfileFile.h"
#include "shell/AppState.h"
#include "shell/qt/Forms.h"
#include "shell/qt/TForm1.h"
#include "shell/qt/TForm16.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace zorbe {
namespace {

namespace fs = std::filesystem;

class SettingsWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        app = std::make_unique<AppState>(std::make_unique<LocalFeedLink>());
        forms = std::make_unique<Forms>(*app, desktop);
        forms->start();
        desktop.messages.clear(); // the missing master files
    }
    void TearDown() override
    {
        forms.reset();
        app.reset();
    }

    TForm16 &form16() { return forms->form16(); }
    // "初期　設定" on the main window.
    void open()
    {
        QTest::mouseClick(forms->form1().findChild<QPushButton *>(QStringLiteral("BitBtn17")), Qt::LeftButton);
        ASSERT_TRUE(form16().isVisible());
        ASSERT_FALSE(forms->form1().isVisible());
        if (const char *dir = std::getenv("ZORBE_GUI_SNAPSHOT_DIR"))
            form16().grab().save(QString::fromUtf8(dir) + QStringLiteral("/TForm16.png"));
    }
    void press(const char *button)
    {
        QTest::mouseClick(form16().findChild<QPushButton *>(QString::fromLatin1(button)), Qt::LeftButton);
    }
    void choose(int radioButton) { QTest::mouseClick(form16().radioButton(radioButton), Qt::LeftButton, {}, QPoint(6, 6)); }
    bool checked(int radioButton) { return form16().radioButton(radioButton)->isChecked(); }
    std::string fileText() const { return test::readNative(ProfileFile::defaultPath()); }
    ProfileFile settings() const { return ProfileFile(ProfileFile::defaultPath()); }

    test::TempHome home;
    test::ScriptedDesktop desktop;
    std::unique_ptr<AppState> app;
    std::unique_ptr<Forms> forms;
};

TEST_F(SettingsWindow, WithoutASettingsFileItShowsEveryGroupWithItsOwnDefaults)
{
    fs::remove(ProfileFile::defaultPath());
    open();
    EXPECT_EQ(form16().windowTitle(), QStringLiteral("初期設定"));
    struct Group
    {
        QString caption;
        std::vector<std::pair<int, QString>> buttons;
        int selected; // the default's button
    };
    const Group groups[] = {
        {QStringLiteral("縦書／印刷表示"),
         {{9, QStringLiteral("過去三走（Ａ４）")}, {1, QStringLiteral("過去四走（Ａ４）")}, {2, QStringLiteral("過去五走（Ａ４）")}},
         2},
        {QStringLiteral("フォント指定"), {{4, QStringLiteral("明    朝")}, {5, QStringLiteral("ゴシック")}}, 5},
        {QStringLiteral("新聞予想"), {{6, QStringLiteral("無")}, {7, QStringLiteral("有")}}, 6},
        {QStringLiteral("新聞の作成方法"),
         {{16, QStringLiteral("縦書き新聞ニホン風")}, {17, QStringLiteral("横書き新聞ブック風")}, {14, QStringLiteral("JRAプログラム風")}},
         17},
        {QStringLiteral("新馬障害予想"), {{20, QStringLiteral("無  し")}, {21, QStringLiteral("有  り")}}, 20},
        {QStringLiteral("カラー表示"), {{3, QStringLiteral("無し")}, {8, QStringLiteral("有り")}}, 8},
        {QStringLiteral("オッズ表示"), {{22, QStringLiteral("PAT")}, {23, QStringLiteral("KOL")}, {10, QStringLiteral("ZOR")}}, 23},
        {QStringLiteral("新聞レースボタン"), {{33, QStringLiteral("ＯＮ")}, {34, QStringLiteral("ＯＦＦ")}}, 33},
        {QStringLiteral("タイム補正表示"), {{15, QStringLiteral("無し")}, {28, QStringLiteral("有り")}}, 28},
    };
    for (const Group &g : groups) {
        QGroupBox *box = form16().group(g.caption);
        ASSERT_NE(box, nullptr) << g.caption.toStdString();
        // Exactly these buttons share the group, so choosing one clears the others.
        EXPECT_EQ(box->findChildren<QRadioButton *>().size(), static_cast<qsizetype>(g.buttons.size()));
        for (const auto &[n, caption] : g.buttons) {
            QRadioButton *button = form16().radioButton(n);
            ASSERT_NE(button, nullptr) << n;
            EXPECT_EQ(button->parent(), box) << n;
            EXPECT_EQ(button->text(), caption) << n;
            EXPECT_TRUE(box->rect().contains(button->geometry())) << n;
            EXPECT_EQ(button->isChecked(), n == g.selected) << n;
        }
    }
    EXPECT_EQ(form16().edit4()->parent(), form16().group(QStringLiteral("予想方法")));
    EXPECT_EQ(form16().edit4()->text(), QStringLiteral("5"));
    EXPECT_EQ(form16().edit3()->text(), QStringLiteral("C:\\Program Files\\PATWIN50"));
    // Until the main window reads again, the values shown are the program's.
    EXPECT_EQ(app->settings.kako, "5");
    EXPECT_EQ(app->settings.yosou, "0");
    // Nothing sticks out of the window.
    for (QWidget *child : form16().findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        EXPECT_TRUE(form16().rect().contains(child->geometry())) << child->objectName().toStdString();
}

TEST_F(SettingsWindow, AnUnknownOddsSourceSelectsNoButtonAndConfirmingErasesIt)
{
    settings().writeString("OZZ", "ozz", "7");
    settings().writeString("Sinbun", "sinbun", "3");
    settings().writeString("Insatu", "Insatu", "9");
    settings().writeString("Font", "Font", "");
    settings().writeString("botan", "botan", "2");
    settings().writeString("hosei", "hosei", "0");
    open();
    EXPECT_FALSE(checked(22));
    EXPECT_FALSE(checked(23));
    EXPECT_FALSE(checked(10));
    EXPECT_TRUE(checked(14)); // JRAプログラム風
    EXPECT_TRUE(checked(1));  // 過去四走（Ａ４）for any unknown count
    EXPECT_TRUE(checked(5));  // anything but "0" is Gothic
    EXPECT_TRUE(checked(34)); // ＯＦＦ
    EXPECT_TRUE(checked(15)); // タイム補正 無し
    press("BitBtn1");
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_TRUE(forms->form1().isVisible());
    EXPECT_FALSE(form16().isVisible());
    EXPECT_FALSE(settings().sectionExists("ozz"));
    // Back at the main window the readers' defaults and the saved style hold.
    EXPECT_EQ(app->settings.ozz, "1");
    EXPECT_EQ(app->settings.sinbun, "2");

    // Once a source is chosen the group keeps one.
    open();
    choose(22);
    EXPECT_TRUE(checked(22));
    press("BitBtn1");
    EXPECT_EQ(settings().readString("ozz", "ozz", ""), "0");
}

TEST_F(SettingsWindow, CancelAndClosingWriteNothingAndTheNextOpeningShowsTheFileAgain)
{
    open();
    const std::string before = fileText();
    choose(9);
    choose(34);
    form16().edit4()->setText(QStringLiteral("2"));
    form16().edit3()->setText(QStringLiteral("D:\\PAT"));
    press("BitBtn2");
    EXPECT_TRUE(forms->form1().isVisible());
    EXPECT_EQ(fileText(), before);

    open();
    EXPECT_TRUE(checked(2));
    EXPECT_TRUE(checked(33));
    EXPECT_EQ(form16().edit4()->text(), QStringLiteral("5"));
    choose(16);
    form16().close();
    EXPECT_TRUE(forms->form1().isVisible());
    EXPECT_FALSE(form16().isVisible());

    open();
    choose(16);
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&form16(), &escape);
    EXPECT_TRUE(forms->form1().isVisible());
    EXPECT_EQ(fileText(), before);
    EXPECT_EQ(app->settings.sinbun, "1");
}

TEST_F(SettingsWindow, BrowseFillsTheFolderAndConfirmSavesItWithItsOddsFolder)
{
    files::makeDirectories(WinPath("C:\\wine\\PATWIN50"));
    open();
    desktop.dialogAnswers.push_back(WinPath("C:\\wine\\PATWIN50\\PATWIN.EXE"));
    press("BitBtn3");
    ASSERT_EQ(desktop.dialogs.size(), 1u);
    EXPECT_EQ(desktop.dialogs[0].initialFolder.text(), "C:\\Program Files\\PATWIN50");
    EXPECT_EQ(form16().edit3()->text(), QStringLiteral("C:\\wine\\PATWIN50"));
    press("BitBtn3"); // cancelled: the field stays
    EXPECT_EQ(form16().edit3()->text(), QStringLiteral("C:\\wine\\PATWIN50"));
    press("BitBtn1");
    EXPECT_TRUE(forms->form1().isVisible());
    EXPECT_EQ(settings().readString("PATWIN", "PATWIN", ""), "C:\\wine\\PATWIN50");
    EXPECT_TRUE(fs::is_directory(home.path() / "drives/c/wine/PATWIN50/ODDS"));
    EXPECT_EQ(app->settings.patwin, "C:\\wine\\PATWIN50");
}

TEST_F(SettingsWindow, ADepthOutsideZeroToFiveIsRefusedAndTheWindowStays)
{
    open();
    const std::string before = fileText();
    form16().edit4()->setText(QStringLiteral("9"));
    press("BitBtn1");
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_TRUE(form16().isVisible());
    EXPECT_EQ(fileText(), before);
    EXPECT_EQ(form16().edit4()->selectedText(), QStringLiteral("9"));

    // The arrows keep the depth from 1 to 5.
    auto *up = form16().upDown1()->findChild<QToolButton *>(QStringLiteral("up"));
    auto *down = form16().upDown1()->findChild<QToolButton *>(QStringLiteral("down"));
    QTest::mouseClick(up, Qt::LeftButton);
    EXPECT_EQ(form16().edit4()->text(), QStringLiteral("5"));
    for (int i = 0; i < 6; ++i)
        QTest::mouseClick(down, Qt::LeftButton);
    EXPECT_EQ(form16().edit4()->text(), QStringLiteral("1"));
    press("BitBtn1");
    EXPECT_FALSE(form16().isVisible());
    EXPECT_EQ(settings().readString("Kako", "Kako", ""), "1");
}

TEST_F(SettingsWindow, TheNewspaperAfterConfirmingUsesTheNewSettings)
{
    open();
    choose(14); // JRAプログラム風
    choose(4);  // 明朝
    choose(3);  // 白黒
    choose(15); // タイム補正なし
    choose(34); // レースボタン ＯＦＦ
    form16().edit4()->setText(QStringLiteral("3"));
    press("BitBtn1");
    ASSERT_TRUE(forms->form1().isVisible());

    // The race selection window and the pages read the main window's values.
    forms->show(forms->form3());
    const TPaperSettings &paper = app->newspaper->settings;
    EXPECT_EQ(paper.style(), PageStyle::Programme);
    EXPECT_EQ(paper.font, "0");
    EXPECT_EQ(paper.color, "0");
    EXPECT_EQ(paper.hosei, "0");
    EXPECT_EQ(paper.kako, "3");
    EXPECT_EQ(forms->form3().findChild<QLabel *>(QStringLiteral("Label8"))->text(), QStringLiteral("新聞：レープロ風"));
    EXPECT_EQ(forms->form3().findChild<QLabel *>(QStringLiteral("Label3"))->text(), QStringLiteral("印刷表示：白　黒"));
    forms->show(forms->form5());
    EXPECT_TRUE(forms->form5().findChild<QWidget *>(QStringLiteral("Panel1"))->isHidden());

    // And back to the vertical page with three past races.
    forms->showMain();
    open();
    EXPECT_TRUE(checked(14));
    EXPECT_TRUE(checked(34));
    choose(16);
    choose(9);
    choose(33);
    press("BitBtn1");
    forms->show(forms->form3());
    EXPECT_EQ(paper.style(), PageStyle::Vertical);
    EXPECT_EQ(paper.pageSettings().insatu, "2");
    EXPECT_EQ(forms->form3().findChild<QLabel *>(QStringLiteral("Label8"))->text(), QStringLiteral("新聞：縦ﾆﾎﾝ風三"));
    EXPECT_EQ(forms->form3().findChild<QLabel *>(QStringLiteral("Label6"))->text(), QStringLiteral("予想 ：過去 3 走"));
    forms->show(forms->form5());
    EXPECT_FALSE(forms->form5().findChild<QWidget *>(QStringLiteral("Panel1"))->isHidden());
}

} // namespace
} // namespace zorbe
