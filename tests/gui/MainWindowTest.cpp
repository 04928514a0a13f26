#include "support/ScriptedDesktop.h"

#include "link/LocalFeedLink.h"
#include "platform/ProfileFile.h"
#include "platform/qt/QtText.h"
#include "shell/AppState.h"
#include "shell/MainWindowCommands.h"
#include "shell/qt/Forms.h"
#include "shell/qt/TAboutBox.h"
#include "shell/qt/TForm1.h"
#include "paper/qt/TForm3.h"
#include "paper/qt/TForm5.h"
#include "data/formats/RaceDayFormats.h"
#include "platform/Files.h"
#include "support/TempHome.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace zorbe {
namespace {

using test::ScriptedDesktop;
namespace fs = std::filesystem;

// One summary master line: code, name, the four counts, affiliation.
std::string masterLine(const char *code, const char *name, const char *counts, const char *region)
{
    std::string line = std::string(code) + sj(name);
    line.resize(37, ' ');
    return line + counts + region + "\r\n";
}

// A picture of a window, for looking at it, when $ZORBE_GUI_SNAPSHOT_DIR is set.
void snapshot(QWidget &window, const char *name)
{
    if (const char *dir = std::getenv("ZORBE_GUI_SNAPSHOT_DIR"))
        window.grab().save(QString::fromUtf8(dir) + QLatin1Char('/') + QString::fromLatin1(name)
                           + QStringLiteral(".png"));
}

class MainWindow : public ::testing::Test
{
protected:
    // Starts the program's windows as the desktop program does.
    void start(std::unique_ptr<LocalFeedLink> link = std::make_unique<LocalFeedLink>())
    {
        app = std::make_unique<AppState>(std::move(link));
        forms = std::make_unique<Forms>(*app, desktop);
        forms->start();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form1()));
    }
    TForm1 &form1() { return forms->form1(); }
    QPushButton *button(const char *name)
    {
        return form1().findChild<QPushButton *>(QString::fromLatin1(name));
    }
    QLabel *label(const char *name) { return form1().findChild<QLabel *>(QString::fromLatin1(name)); }
    void activate()
    {
        QEvent activation(QEvent::WindowActivate);
        QApplication::sendEvent(&form1(), &activation);
    }
    static void moveOver(QWidget *w)
    {
        QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), w->mapToGlobal(QPointF(3, 3)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w, &move);
    }
    static void click(QWidget *w) { QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(3, 3)); }

    void TearDown() override
    {
        forms.reset();
        app.reset();
    }

    test::TempHome home;
    ScriptedDesktop desktop;
    std::unique_ptr<AppState> app;
    std::unique_ptr<Forms> forms;
};

TEST_F(MainWindow, StartsWithItsWindowsCaptionAndDataLinkVersion)
{
    start();
    EXPECT_EQ(forms->created(),
              (QStringList{QStringLiteral("TForm1"), QStringLiteral("TForm5"), QStringLiteral("TAboutBox"),
                           QStringLiteral("TForm16"), QStringLiteral("TForm24"), QStringLiteral("TForm6"),
                           QStringLiteral("TForm7"), QStringLiteral("TForm3"), QStringLiteral("TForm8"),
                           QStringLiteral("TForm9"), QStringLiteral("TForm13"), QStringLiteral("TForm14")}));
    EXPECT_EQ(form1().windowTitle(), QStringLiteral("ゾルベData Lab.版"));
    EXPECT_EQ(form1().size(), QSize(367, 464));
    EXPECT_EQ(form1().minimumSize(), form1().maximumSize());
    EXPECT_TRUE(form1().windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(form1().windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(form1().font().pixelSize(), 12);
    EXPECT_TRUE(form1().isVisible());
    EXPECT_FALSE(forms->aboutBox().isVisible());
    EXPECT_EQ(forms->current(), &form1());

    EXPECT_EQ(form1().statusText(1), QStringLiteral(" JV-Link Ver.1.2.1"));
    EXPECT_EQ(form1().statusText(0), QString());
    EXPECT_EQ(app->JVLinkVersion, "121");
    const auto *bar = form1().findChild<QWidget *>(QStringLiteral("StatusBar1"));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->geometry().bottom(), 463);
    EXPECT_EQ(form1().findChild<QWidget *>(QStringLiteral("StatusPanel0"))->x(), 0);
    EXPECT_EQ(form1().findChild<QWidget *>(QStringLiteral("StatusPanel1"))->x(), 240);
    EXPECT_EQ(form1().findChild<QWidget *>(QStringLiteral("StatusPanel2"))->x(), 355);
}

TEST_F(MainWindow, HasTheTwelveButtonsWhereTheUserKnowsThem)
{
    start();
    struct Expected
    {
        const char *name;
        int x, y;
        QString caption, hint;
        QColor color;
    };
    const QColor plain = form1().palette().color(QPalette::ButtonText);
    const Expected expected[] = {
        {"BitBtn1", 5, 5, QStringLiteral("レース選択"), QStringLiteral("新聞表示レース選択"), plain},
        {"BitBtn2", 130, 5, QStringLiteral("データ表示"), QStringLiteral("各種圧縮ファイルの解凍"), plain},
        {"BitBtn10", 255, 5, QStringLiteral("JV-Link設定"), QStringLiteral("各種JRA-VANデータ表示"), plain},
        {"BitBtn17", 5, 35, QStringLiteral("初期　設定"), QStringLiteral("各種初期設定起動"), QColor(255, 0, 255)},
        {"BitBtn7", 130, 35, QStringLiteral("新聞データDL"), QStringLiteral("詳細予想起動"), QColor(0, 0, 255)},
        {"SpeedButton2", 255, 35, QStringLiteral("バージョン情報"), QStringLiteral("バージョン情報"), plain},
        {"SpeedButton5", 5, 65, QStringLiteral("HELP"), QStringLiteral("ヘルプ表示"), plain},
        {"SpeedButton1", 130, 65, QStringLiteral("DLﾌｧｲﾙ削除"), QStringLiteral("ゴミファイル削除"), plain},
        {"BitBtn4", 255, 65, QStringLiteral("検証ﾌｧｲﾙ出力"), QStringLiteral("競走馬データをEXCELで読めるCSVファイル変換"),
         plain},
        {"BitBtn12", 5, 95, QStringLiteral("検　証"), QStringLiteral("回収率検証"), plain},
        {"BitBtn15", 130, 95, QStringLiteral("CSV形式出力"), QStringLiteral("競走馬データをEXCELで読めるCSVファイル変換"),
         plain},
        {"BitBtn3", 255, 95, QStringLiteral("終　了"), QStringLiteral("ゾルベの終了"), QColor(255, 0, 0)},
    };
    const auto *panel1 = form1().findChild<QWidget *>(QStringLiteral("Panel1"));
    ASSERT_NE(panel1, nullptr);
    EXPECT_EQ(panel1->geometry(), QRect(0, 265, 370, 184));
    EXPECT_EQ(form1().findChild<QWidget *>(QStringLiteral("Panel4"))->geometry(), QRect(0, 0, 370, 270));
    EXPECT_EQ(panel1->findChildren<QPushButton *>().size(), 12);
    for (const Expected &e : expected) {
        SCOPED_TRACE(e.name);
        const QPushButton *b = button(e.name);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->parentWidget(), panel1);
        EXPECT_EQ(b->geometry(), QRect(e.x, e.y, 110, 25));
        EXPECT_EQ(b->text(), e.caption);
        EXPECT_EQ(b->toolTip(), e.hint);
        EXPECT_EQ(b->palette().color(QPalette::ButtonText), e.color);
        EXPECT_TRUE(b->isVisible());
    }

    snapshot(form1(), "TForm1");
}

TEST_F(MainWindow, PopupMenusHoldTheirItemsAndOpenWhereTheButtonsSay)
{
    start();
    desktop.events.clear();
    const auto items = [](QMenu *menu) {
        QStringList out;
        for (const QAction *a : menu->actions())
            out << a->objectName() + QLatin1Char('=') + a->text();
        return out;
    };
    EXPECT_EQ(items(form1().popupMenu1()),
              (QStringList{QStringLiteral("N1=成績データ表示"), QStringLiteral("N2=騎手データ"),
                           QStringLiteral("N3=調教師データ"), QStringLiteral("IME1=TIMEデータ変換")}));
    EXPECT_EQ(items(form1().popupMenu4()),
              (QStringList{QStringLiteral("CSV1=競走馬CSV出力"), QStringLiteral("CSV2=出馬表CSV出力"),
                           QStringLiteral("CSV3=成績CSV出力1"), QStringLiteral("CSV21=成績CSV出力2"),
                           QStringLiteral("CSV4=タイムデータCSV形式出力")}));

    EXPECT_EQ(form1().popupMenu1Point(), form1().pos() + QPoint(210, 310));
    EXPECT_EQ(form1().popupMenu4Point(), form1().pos() + QPoint(210, 390));
    button("BitBtn2")->click();
    EXPECT_TRUE(form1().popupMenu1()->isVisible());
    form1().popupMenu1()->hide();
    button("BitBtn15")->click();
    EXPECT_TRUE(form1().popupMenu4()->isVisible());
    form1().popupMenu4()->hide();
    // Items whose windows are not there yet leave the main window as it is
    // (the results and database items are tried with their windows).
    for (QAction *a : form1().popupMenu1()->actions() + form1().popupMenu4()->actions())
        if (!QStringList{QStringLiteral("N1"), QStringLiteral("N2"), QStringLiteral("N3")}.contains(a->objectName()))
            a->trigger();
    EXPECT_EQ(forms->current(), &form1());
    EXPECT_TRUE(desktop.events.empty());
}

TEST_F(MainWindow, FreshHomeShowsBothMissingMasterMessagesUnderTheSplash)
{
    std::vector<bool> splashShown;
    desktop.onMessage = [&](const std::string &) {
        bool visible = false;
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (w->objectName() == QStringLiteral("Form2") && w->isVisible()) {
                visible = true;
                snapshot(*w, "TForm2");
            }
        }
        splashShown.push_back(visible);
    };
    start();
    ASSERT_EQ(desktop.messages.size(), 2u);
    EXPECT_EQ(desktop.messages[0], kTrainerFileMissingMessage);
    EXPECT_EQ(desktop.messages[1], kJockeyFileMissingMessage);
    EXPECT_EQ(splashShown, (std::vector<bool>{true, true}));
    // The splash is released once start-up is done.
    for (const QWidget *w : QApplication::topLevelWidgets())
        EXPECT_NE(w->objectName(), QStringLiteral("Form2"));
    EXPECT_TRUE(app->masters.JockeyTable.empty());
    EXPECT_TRUE(app->masters.TrainerTable.empty());
    // The first start made the folders the dialogs open in.
    EXPECT_TRUE(fs::is_directory(toNative(WinPath("d:\\zorbeLab\\down"))));
}

TEST_F(MainWindow, MasterTablesAreFilledFromTheMasterFiles)
{
    // Where a first start points the start-up masters: the data folder.
    home.writeFile("drives/d/zorbelab/dat/CHOKYOSI.DAT",
                   masterLine("01001", "調教　一郎", "010010005020", "1") + masterLine("01002", "調教　二郎", "000000003004", "2"));
    home.writeFile("drives/d/zorbelab/dat/KISYU.DAT", masterLine("00666", "武　豊", "100050025025", "2"));
    start();
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_TRUE(desktop.errors.empty());
    ASSERT_EQ(app->masters.TrainerTable.size(), 2u);
    EXPECT_EQ(app->masters.TrainerTable[0].Code, "01001");
    EXPECT_DOUBLE_EQ(app->masters.TrainerTable[0].TopTwoRate, 20.0 / 45.0);
    EXPECT_EQ(app->masters.TrainerTable[1].TopTwoRate, 0.0);
    ASSERT_EQ(app->masters.JockeyTable.size(), 1u);
    EXPECT_EQ(toQString(app->masters.JockeyTable[0].Name).trimmed(), QStringLiteral("武　豊"));
    EXPECT_EQ(app->masters.JockeyTable[0].Region, "2");
}

TEST_F(MainWindow, EveryActivationRereadsSettingsAndRebuildsLabels)
{
    start();
    activate();
    EXPECT_EQ(app->labels.CircledNumberText[0], "  ");
    EXPECT_EQ(app->labels.CircledNumberText[18], sj("⑱"));
    EXPECT_EQ(app->labels.HorseNumberText[9], " 9");
    EXPECT_EQ(app->labels.RaceNumberText[1], sj("　１Ｒ"));
    EXPECT_EQ(app->labels.RaceNumberText[12], sj("１２Ｒ"));
    EXPECT_EQ(app->settings.down, "d:\\zorbeLab\\down");

    // A value another window saved takes effect on the return.
    ProfileFile(ProfileFile::defaultPath()).writeString("DOWNDIR", "Down", "e:\\dl");
    app->labels.RaceNumberText[5].clear();
    activate();
    EXPECT_EQ(app->settings.down, "e:\\dl");
    EXPECT_EQ(app->labels.RaceNumberText[5], sj("　５Ｒ"));
}

TEST_F(MainWindow, LinkLabelsLightUpUnderTheMouseAndTurnBackOverTheirNeighbours)
{
    start();
    QLabel *label3 = label("Label3");
    QLabel *label4 = label("Label4");
    ASSERT_NE(label3, nullptr);
    ASSERT_NE(label4, nullptr);
    EXPECT_EQ(label3->text(), QString::fromUtf8(mainwindow::kHomepage));
    EXPECT_EQ(label4->text(), QStringLiteral("E-mail : ") + QString::fromUtf8(mainwindow::kSupportMail));
    EXPECT_EQ(label3->font().pixelSize(), 15);
    EXPECT_EQ(label4->font().pixelSize(), 16);
    EXPECT_TRUE(label3->font().bold() && label3->font().underline());
    EXPECT_TRUE(label4->font().bold() && label4->font().underline());

    const auto colour = [](QLabel *l) { return l->palette().color(QPalette::WindowText); };
    const auto cursor = [](QLabel *l) { return l->cursor().shape(); };
    EXPECT_EQ(colour(label3), QColor(Qt::black));

    for (const char *neighbour : {"Panel1", "BitBtn12", "SpeedButton5", "SpeedButton2", "BitBtn3"}) {
        SCOPED_TRACE(neighbour);
        moveOver(label3);
        moveOver(label4);
        EXPECT_EQ(colour(label3), QColor(Qt::blue));
        EXPECT_EQ(colour(label4), QColor(Qt::blue));
        EXPECT_EQ(cursor(label3), Qt::PointingHandCursor);
        EXPECT_EQ(cursor(label4), Qt::PointingHandCursor);
        moveOver(form1().findChild<QWidget *>(QString::fromLatin1(neighbour)));
        EXPECT_EQ(colour(label3), QColor(Qt::black));
        EXPECT_EQ(colour(label4), QColor(Qt::black));
        EXPECT_EQ(cursor(label3), Qt::ArrowCursor);
        EXPECT_EQ(cursor(label4), Qt::ArrowCursor);
    }
    // Other buttons leave a lit label as it is.
    moveOver(label3);
    moveOver(button("BitBtn1"));
    EXPECT_EQ(colour(label3), QColor(Qt::blue));
}

TEST_F(MainWindow, LinkLabelsOpenTheHomepageAndTheMailProgram)
{
    start();
    desktop.events.clear();
    click(label("Label3"));
    click(label("Label4"));
    ASSERT_EQ(desktop.events.size(), 3u);
    EXPECT_EQ(desktop.events[0], std::string("open ") + mainwindow::kHomepage);
    EXPECT_EQ(desktop.events[1], "message Out look Express を宛先、件名を入力して起動します\n"
                                 "あとは本文（質問事項等）を書いて送信して下さい");
    EXPECT_EQ(desktop.events[2], std::string("open mailto:") + mainwindow::kSupportMail
                                     + "?subject=ゾルベData Lab.版について質問です&cc=&bcc=&");
}

TEST_F(MainWindow, HelpAndDeleteDownloadFileGoThroughTheDesktop)
{
    start();
    click(button("SpeedButton5"));
    ASSERT_EQ(desktop.opened.size(), 1u);
    EXPECT_EQ(fs::path(desktop.opened[0]), home.path() / "drives/c/zorbelab/DataLab.chm");

    // Cancelled: nothing is deleted.
    click(button("SpeedButton1"));
    ASSERT_EQ(desktop.dialogs.size(), 1u);
    EXPECT_EQ(desktop.dialogs[0].title, "削除対象ダウンロードファイルの選択");
    EXPECT_EQ(desktop.dialogs[0].filter, "削除するダウンロードファイル(*.DAT/SLB/RLB)|*.*");
    EXPECT_EQ(desktop.dialogs[0].initialFolder, WinPath("d:\\zorbeLab\\down"));
    EXPECT_TRUE(desktop.trashed.empty());

    const fs::path file = home.writeFile("drives/d/zorbeLab/down/RAQW20040624.DAT", "x");
    desktop.dialogAnswers.push_back(WinPath::fromNative(file));
    click(button("SpeedButton1"));
    ASSERT_EQ(desktop.trashed.size(), 1u);
    EXPECT_EQ(toNative(desktop.trashed[0]), file);
}

TEST_F(MainWindow, DataLinkSetupReportsInStatusPanel0)
{
    // Headless, the feed link has no folder chooser and reports an error.
    start();
    click(button("BitBtn10"));
    EXPECT_EQ(form1().statusText(0), QStringLiteral("セットアップエラーJRA-VANへご連絡ください:"));
}

TEST_F(MainWindow, DataLinkSetupStoresTheChosenFeedFolder)
{
    auto link = std::make_unique<LocalFeedLink>();
    const fs::path chosen = home.path() / "feed2";
    link->setFolderChooser([&](const fs::path &) { return std::optional<fs::path>(chosen); });
    start(std::move(link));
    click(button("BitBtn10"));
    EXPECT_EQ(form1().statusText(0), QStringLiteral("セットアップ正常終了:"));
    EXPECT_EQ(ProfileFile(ProfileFile::defaultPath()).readString("JVLinkFeed", "folder", ""), chosen.string());
}

TEST_F(MainWindow, VersionWindowIsOneRoundTripFromTheMainWindow)
{
    start();
    TAboutBox &about = forms->aboutBox();
    click(button("SpeedButton2"));
    EXPECT_FALSE(form1().isVisible());
    EXPECT_TRUE(about.isVisible());
    EXPECT_EQ(about.productNameText(), QStringLiteral("ゾルベData Lab.版"));
    EXPECT_FALSE(about.versionText().isEmpty());
    EXPECT_FALSE(about.copyrightText().isEmpty());
    snapshot(about, "TAboutBox");

    click(about.findChild<QPushButton *>(QStringLiteral("OKButton")));
    EXPECT_FALSE(about.isVisible());
    EXPECT_TRUE(form1().isVisible());

    // Closing the window does the same; the window is kept for next time.
    click(button("SpeedButton2"));
    about.close();
    EXPECT_FALSE(about.isVisible());
    EXPECT_TRUE(form1().isVisible());
    EXPECT_EQ(forms->current(), &form1());
    click(button("SpeedButton2"));
    EXPECT_TRUE(about.isVisible());
}

TEST_F(MainWindow, ExitButtonAndClosingEndTheProgram)
{
    start();
    QSignalSpy exits(forms.get(), &Forms::exitRequested);
    click(button("BitBtn3"));
    EXPECT_EQ(exits.count(), 1);
    form1().close();
    EXPECT_EQ(exits.count(), 2);
}

} // namespace
} // namespace zorbe

namespace zorbe {
namespace {

// A race-day file of one race without runners, at Tokyo on 2004-06-27.
void writeOneRaceDay()
{
    using namespace formats;
    files::makeDirectories(WinPath("d:\\zorbeLab\\JRA"));
    TRaceCardRec race;
    TRaceKey key;
    key.set(RaceKeyFields::Year, "2004");
    key.set(RaceKeyFields::MonthDay, "0627");
    key.set(RaceKeyFields::Venue, "05");
    key.set(RaceKeyFields::Kai, "03");
    key.set(RaceKeyFields::Nichi, "08");
    key.set(RaceKeyFields::RaceNo, "11");
    race.setBlock(RaceCardFields::Key, key);
    race.set(RaceCardFields::Weekday, "2");
    race.set(RaceCardFields::Entries, "00");
    files::writeAll(WinPath(sj("d:\\zorbeLab\\JRA\\東京20040627.RDT")), race.bytes());
    files::writeAll(WinPath(sj("d:\\zorbeLab\\JRA\\東京20040627.HDT")), "");
}

TEST_F(MainWindow, RaceSelectionLoadsTheDayAndShowsTheRaceSelectionWindow)
{
    writeOneRaceDay();

    start();
    desktop.messages.clear();
    // Cancelled: the main window stays.
    click(button("BitBtn1"));
    EXPECT_TRUE(form1().isVisible());
    EXPECT_FALSE(forms->form3().isVisible());

    desktop.dialogAnswers.push_back(WinPath(sj("d:\\zorbeLab\\JRA\\東京20040627.RDT")));
    click(button("BitBtn1"));
    EXPECT_FALSE(form1().isVisible());
    ASSERT_TRUE(forms->form3().isVisible());
    EXPECT_EQ(forms->form3().windowTitle(), QStringLiteral("3 回  東京　8 日目印刷レース選択"));
    EXPECT_EQ(forms->form3().label1()->text(), QStringLiteral("東京　2004年　6月　27日（日）"));
    // No time-correction file yet: said once, and the window still opens.
    EXPECT_EQ(desktop.messages.size(), 1u);

    click(forms->form3().findChild<QPushButton *>(QStringLiteral("BitBtn3")));
    EXPECT_TRUE(form1().isVisible());
    EXPECT_FALSE(forms->form3().isVisible());
}

TEST_F(MainWindow, ADayOpenedAtStartShowsItsNewspaperAndTheWindowsLeadToEachOther)
{
    writeOneRaceDay();
    start();
    desktop.errors.clear();
    forms->openNewspaper(WinPath(sj("d:\\zorbeLab\\JRA\\東京20040627.RDT")));
    EXPECT_TRUE(desktop.errors.empty());
    TForm5 &form5 = forms->form5();
    ASSERT_TRUE(form5.isVisible());
    EXPECT_FALSE(form1().isVisible());
    EXPECT_FALSE(forms->form3().isVisible());
    EXPECT_EQ(form5.pressedRace(), 0);
    // The race buttons come with the first paint.
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form5));
    form5.paintBox1()->repaint();
    EXPECT_TRUE(form5.raceButton(0)->isEnabled());
    EXPECT_FALSE(form5.raceButton(1)->isEnabled());

    // "選択" on the newspaper, "新聞表示" back from the race selection,
    // "ﾀｲﾄﾙ" to the main window.
    form5.SpeedButton15Click();
    ASSERT_TRUE(forms->form3().isVisible());
    EXPECT_FALSE(form5.isVisible());
    click(forms->form3().findChild<QPushButton *>(QStringLiteral("BitBtn1")));
    EXPECT_TRUE(form5.isVisible());
    form5.SpeedButton17Click();
    EXPECT_TRUE(form1().isVisible());
    EXPECT_FALSE(form5.isVisible());
}

TEST_F(MainWindow, ADayThatCannotBeOpenedLeavesTheMainWindowWithOneError)
{
    start();
    desktop.errors.clear();
    forms->openNewspaper(WinPath(sj("d:\\zorbeLab\\JRA\\東京20990101.RDT")));
    EXPECT_EQ(desktop.errors.size(), 1u);
    EXPECT_TRUE(form1().isVisible());
    EXPECT_FALSE(forms->form5().isVisible());
}

} // namespace
} // namespace zorbe

#include "link/feedgen/FeedGenerator.h"
#include "link/qt/TForm6.h"
#include "data/qt/TForm7.h"

#include <QLineEdit>

namespace zorbe {
namespace {

TEST_F(MainWindow, DownloadWindowFetchesTheFeedAndConvertsTheRaceCards)
{
    feedgen::FeedOptions options;
    options.weeks = 1;
    ASSERT_GT(feedgen::generateFeed(options, WinPath::fromNative(home.path() / "feed"), WinPath()), 0);
    // The clock on the Friday evening of the first week: nominations, masters
    // and the weekend's race cards have been published.
    ::setenv("ZORBE_FEED_NOW", "20240607235959", 1);
    start();
    desktop.messages.clear();

    click(button("BitBtn7"));
    TForm6 &download = forms->form6();
    ASSERT_TRUE(download.isVisible());
    EXPECT_FALSE(form1().isVisible());
    auto *edit2 = download.findChild<QLineEdit *>(QStringLiteral("Edit2"));
    EXPECT_EQ(edit2->text(), QStringLiteral("2004年06月17日00時00分00秒"));
    EXPECT_EQ(download.windowTitle(), QStringLiteral(" JV-Link Ver.1.2.1"));

    click(download.findChild<QPushButton *>(QStringLiteral("BitBtn1")));
    // The status timer downloads, then reading and the conversion follow and
    // the main window comes back.
    EXPECT_TRUE(QTest::qWaitFor([&] { return form1().isVisible(); }, 60000));
    ::unsetenv("ZORBE_FEED_NOW");
    EXPECT_FALSE(download.isVisible());
    EXPECT_FALSE(forms->form7().isVisible());
    EXPECT_EQ(form1().statusText(0), QStringLiteral("正常終了:"));
    EXPECT_TRUE(desktop.errors.empty()) << (desktop.errors.empty() ? "" : desktop.errors[0]);

    std::size_t cards = 0;
    for (const std::string &name : files::list(WinPath("d:\\zorbeLab\\JRA")))
        cards += name.size() > 4 && name.substr(name.size() - 4) == ".RDT";
    EXPECT_GE(cards, 4u); // two venues, Saturday and Sunday
    EXPECT_EQ(ProfileFile(ProfileFile::defaultPath()).readString("LastFileTime", "LastFileTime", "").substr(0, 8),
              "20240607");
}

} // namespace
} // namespace zorbe
