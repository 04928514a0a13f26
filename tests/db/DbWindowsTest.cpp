#include "db/DbTestSupport.h"

#include "data/formats/RecordIo.h"
#include "db/qt/TForm13.h"
#include "db/qt/TForm8.h"
#include "db/qt/TForm9.h"
#include "link/LocalFeedLink.h"
#include "paper/PrintTarget.h"
#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/ProfileFile.h"
#include "platform/qt/QtText.h"
#include "shell/AppState.h"
#include "shell/LabelTables.h"
#include "shell/MasterTables.h"
#include "shell/Settings.h"
#include "shell/qt/Forms.h"
#include "shell/qt/TForm1.h"
#include "support/ScriptedDesktop.h"
#include "support/TempHome.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cstdlib>

using namespace zorbe;
using namespace zorbe::formats;

namespace {

// A picture of a window, for looking at it, when $ZORBE_GUI_SNAPSHOT_DIR is set.
void snapshot(QWidget &window, const char *name)
{
    if (const char *dir = std::getenv("ZORBE_GUI_SNAPSHOT_DIR"))
        window.grab().save(QString::fromUtf8(dir) + QLatin1Char('/') + QString::fromLatin1(name) +
                           QStringLiteral(".png"));
}

// A recording printer that also counts its set-up dialogs.
class TestPrinter : public RecordingPrinter
{
public:
    bool setup() override
    {
        ++setups;
        return true;
    }
    int setups = 0;
};

std::vector<TResultRec> threeRaces()
{
    std::vector<TResultRec> races;
    for (int q = 1; q <= 3; ++q) {
        TResultRec race = test::resultRace(q);
        for (int n = 1; n <= 3; ++n) {
            test::ResultRunner r;
            r.horseNo = n;
            r.finish = n;
            r.popularity = n;
            test::addRunner(race, r);
        }
        races.push_back(race);
    }
    return races;
}

std::vector<std::string> textsOf(const RecordingCanvas &canvas)
{
    std::vector<std::string> out;
    for (const RecordedCall &c : canvas.texts())
        out.push_back(cp932::toUtf8(c.text));
    return out;
}

bool contains(const std::vector<std::string> &texts, const std::string &text)
{
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

class DbWindows : public ::testing::Test
{
protected:
    DbWindows()
    {
        rebuildLabelTables(labels);
        settings.racedat = "d:\\zorbelab\\dat";
        settings.font = "1";
        settings.color = "1";
        files::makeDirectories(WinPath(settings.racedat));
    }

    void writeJockeys(const std::vector<TJockeyDetailRec> &jockeys)
    {
        files::writeAll(WinPath(settings.racedat) / "JracKisi.dat", joinRecords(jockeys));
    }
    void writeTrainers(const std::vector<TTrainerDetailRec> &trainers)
    {
        files::writeAll(WinPath(settings.racedat) / "JracChok.dat", joinRecords(trainers));
    }

    test::TempHome home;
    test::ScriptedDesktop desktop;
    TestPrinter printer;
    LabelTables labels;
    SettingsSnapshot settings;
    MasterTables masters;
    ProfileFile settingsFile{ProfileFile::defaultPath()};
    std::vector<std::string> hooks;
};

} // namespace

TEST_F(DbWindows, ResultsWindowSwitchesBetweenSummaryAndRacePagesWithItsButtons)
{
    auto results = test::loadResults(threeRaces());
    TForm8::Hooks h;
    h.showMain = [this] { hooks.push_back("main"); };
    h.showJockeys = [this] { hooks.push_back("jockeys"); };
    h.showTrainers = [this] { hooks.push_back("trainers"); };
    h.loadResults = [this] { hooks.push_back("results"); };
    TForm8 form(*results, labels, settings, &printer, desktop, h);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("ゾルベ成績"));
    for (int q = 1; q <= 12; ++q)
        EXPECT_EQ(form.raceButton(q)->isVisible(), q <= 3) << q;
    EXPECT_EQ(form.raceButton(2)->text(), QStringLiteral("2R"));
    EXPECT_TRUE(form.showsSummary());

    RecordingCanvas canvas;
    form.drawPage(canvas);
    EXPECT_TRUE(contains(textsOf(canvas), "一番人気"));
    EXPECT_FALSE(form.button("BitBtn3")->isEnabled());
    EXPECT_TRUE(form.raceButton(3)->isEnabled());
    EXPECT_FALSE(form.raceButton(4)->isEnabled());
    snapshot(form, "TForm8-summary");

    // A race button: its page, the button down and disabled meanwhile.
    QTest::mouseClick(form.raceButton(2), Qt::LeftButton);
    EXPECT_FALSE(form.showsSummary());
    EXPECT_EQ(form.shownRace(), 2);
    canvas.clear();
    form.drawPage(canvas);
    EXPECT_TRUE(contains(textsOf(canvas), "　２Ｒ ３歳上"));
    EXPECT_TRUE(form.raceButton(2)->isChecked());
    EXPECT_FALSE(form.raceButton(2)->isEnabled());
    EXPECT_TRUE(form.raceButton(1)->isEnabled());
    EXPECT_TRUE(form.button("BitBtn3")->isEnabled());
    form.paintBox1()->repaint();
    snapshot(form, "TForm8-race");

    // Printing prints the summary while a race page is shown.
    form.button("BitBtn9")->click();
    ASSERT_EQ(printer.jobs().size(), 1u);
    EXPECT_EQ(printer.jobs()[0].title, "seisekidata Print");
    EXPECT_TRUE(printer.jobs()[0].ended);
    EXPECT_TRUE(contains(textsOf(*printer.jobs()[0].canvas), "一番人気"));
    EXPECT_EQ(desktop.busyDepth, 0);
    form.button("BitBtn8")->click();
    EXPECT_EQ(printer.setups, 1);

    // "レース" gives the summary again, every race button up.
    form.button("BitBtn3")->click();
    canvas.clear();
    form.drawPage(canvas);
    EXPECT_TRUE(form.showsSummary());
    EXPECT_FALSE(form.raceButton(2)->isChecked());

    for (const char *name : {"BitBtn4", "BitBtn5", "BitBtn6", "BitBtn1"}) {
        form.show();
        form.button(name)->click();
        EXPECT_FALSE(form.isVisible()) << name;
    }
    form.show();
    form.close();
    EXPECT_EQ(hooks, (std::vector<std::string>{"jockeys", "trainers", "results", "main", "main"}));
    EXPECT_TRUE(desktop.errors.empty());
}

TEST_F(DbWindows, JockeyWindowListsByKanaDrawsTheChosenJockeyAndPrintsIt)
{
    TJockeyDetailRec first = test::jockeyDetail("00001", "秋山", "真一", "ｱｷﾔﾏ");
    TJockeyDetailRec namesake = test::jockeyDetail("00002", "秋山", "真一", "ｱｷﾔﾏ");
    namesake.set(JockeyDetailFields::BirthDate, "19900101");
    writeJockeys({first, namesake, test::jockeyDetail("00003", "安藤", "勝己", "ｱﾝﾄﾞｳ"),
                  test::jockeyDetail("00004", "熊沢", "重文", "ｸﾏｻﾞﾜ"), test::jockeyDetail("00005", "菊地", "昇吾", "ｹｸﾁ")});
    PersonDbWindow::Hooks h;
    h.showMain = [this] { hooks.push_back("main"); };
    h.showOther = [this] { hooks.push_back("trainers"); };
    h.loadResults = [this] { hooks.push_back("results"); };
    TForm9 form(settings, masters, settingsFile, &printer, desktop, h);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));

    QComboBox *list = form.comboBox1();
    EXPECT_EQ(list->maxVisibleItems(), 25);
    ASSERT_EQ(list->count(), 3);
    EXPECT_TRUE(form.kanaButton(0)->isChecked());
    EXPECT_EQ(form.kanaButton(0)->text(), QStringLiteral("ア"));
    EXPECT_EQ(list->currentText(), QStringLiteral("安藤　 勝己　1"));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("安藤　 勝己"));
    snapshot(form, "TForm9");

    // The second namesake by its place in the list.
    list->setCurrentIndex(2);
    ASSERT_TRUE(form.selectedPerson());
    EXPECT_EQ(*form.selectedPerson(), 1u);
    RecordingCanvas canvas;
    EXPECT_TRUE(form.drawPage(canvas));
    EXPECT_TRUE(contains(textsOf(canvas), "1990年 1月 1日(34歳)"));
    form.button("BitBtn4")->click();
    ASSERT_EQ(printer.jobs().size(), 1u);
    EXPECT_EQ(printer.jobs()[0].title, "kisyudata Print");
    EXPECT_TRUE(contains(textsOf(*printer.jobs()[0].canvas), "1990年 1月 1日(34歳)"));

    // Typed text finds the first jockey whose list text it is, any case;
    // a text of nobody draws and prints nothing.
    list->setCurrentIndex(0);
    list->setEditText(QStringLiteral("秋山　 真一　1"));
    EXPECT_EQ(form.selectedPerson(), 0u);
    list->setEditText(QStringLiteral("nobody"));
    canvas.clear();
    EXPECT_FALSE(form.drawPage(canvas));
    EXPECT_TRUE(canvas.calls().empty());
    form.button("BitBtn4")->click();
    EXPECT_EQ(printer.jobs().size(), 1u);

    // "ケ" lists what "ク" lists.
    const auto items = [&] {
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out << list->itemText(i);
        return out;
    };
    form.pressKana(7);
    EXPECT_EQ(form.kanaButton(7)->text(), QStringLiteral("ク"));
    const QStringList ku = items();
    QTest::mouseClick(form.kanaButton(8), Qt::LeftButton);
    EXPECT_EQ(form.kanaButton(8)->text(), QStringLiteral("ケ"));
    EXPECT_EQ(items(), ku);
    EXPECT_EQ(ku.size(), 2);
    // A kana without jockeys empties the list.
    form.pressKana(43);
    EXPECT_EQ(list->count(), 0);
    EXPECT_EQ(list->currentText(), QString());

    form.button("BitBtn5")->click();
    EXPECT_EQ(printer.setups, 1);
    form.button("BitBtn6")->click();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(hooks, (std::vector<std::string>{"trainers"}));
    // The way to the trainers does not store the geometry.
    EXPECT_FALSE(settingsFile.sectionExists(sj("騎手ＤＢ")));
}

TEST_F(DbWindows, DatabaseWindowsRestoreTheirSizeAndPosition)
{
    writeJockeys({test::jockeyDetail("00001", "秋山", "真一", "ｱｷﾔﾏ")});
    writeTrainers({test::trainerDetail("01001", "相沢", "郁", "ｱｲｻﾞﾜ")});
    {
        TForm9 jockeys(settings, masters, settingsFile, &printer, desktop, {});
        EXPECT_EQ(jockeys.size(), QSize(718, 491));
        EXPECT_EQ(jockeys.pos(), QPoint(50, 50));
        TForm13 trainers(settings, settingsFile, &printer, desktop, {});
        EXPECT_EQ(trainers.size(), QSize(702, 360));
        EXPECT_EQ(trainers.comboBox1()->currentText(), QStringLiteral("aaa"));

        jockeys.show();
        jockeys.resize(650, 420);
        jockeys.move(120, 80);
        jockeys.TitleClick();
        trainers.show();
        trainers.resize(640, 380);
        trainers.move(30, 60);
        trainers.OtherClick(); // "騎手DB" stores it too
    }
    EXPECT_EQ(settingsFile.readString(sj("騎手ＤＢ"), "Width", ""), "650");
    EXPECT_EQ(settingsFile.readString(sj("調教師ＤＢ"), "Top", ""), "60");
    TForm9 jockeys(settings, masters, settingsFile, &printer, desktop, {});
    EXPECT_EQ(jockeys.size(), QSize(650, 420));
    EXPECT_EQ(jockeys.pos(), QPoint(120, 80));
    TForm13 trainers(settings, settingsFile, &printer, desktop, {});
    EXPECT_EQ(trainers.size(), QSize(640, 380));
    EXPECT_EQ(trainers.pos(), QPoint(30, 60));

    // A position off every screen comes back at the default place.
    settingsFile.writeString(sj("騎手ＤＢ"), "Left", "-9000");
    TForm9 lost(settings, masters, settingsFile, &printer, desktop, {});
    EXPECT_EQ(lost.pos(), QPoint(50, 50));
}

TEST_F(DbWindows, TrainerWindowInactiveKanaAndProblemsOfTheFileToldOnce)
{
    TTrainerDetailRec bad = test::trainerDetail("01002", "沼田", "一", "ﾇﾏﾀ");
    std::string damaged = bad.bytes();
    damaged.replace(TrainerDetailFields::CareerJump.offset, 5, "abcde");
    files::writeAll(WinPath(settings.racedat) / "JracChok.dat",
                    test::trainerDetail("01001", "西園", "正都", "ﾆｼｿﾞﾉ").bytes() + damaged +
                        test::trainerDetail("01003", "根本", "康広", "ﾈﾓﾄ").bytes());
    PersonDbWindow::Hooks h;
    h.showOther = [this] { hooks.push_back("jockeys"); };
    h.loadResults = [this] { hooks.push_back("results"); };
    TForm13 form(settings, settingsFile, &printer, desktop, h);
    form.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !desktop.messages.empty(); }));
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_NE(desktop.messages[0].find("JracChok.dat 2行目: 通算障害着回数が数字ではありません"), std::string::npos)
        << desktop.messages[0];
    EXPECT_EQ(form.comboBox1()->count(), 0); // nobody under ア
    snapshot(form, "TForm13");

    // "ニ" lists ﾆ, ﾇ, ﾈ; "ネ" has no list of its own.
    int ni = -1, ne = -1;
    for (int i = 0; i < form.kanaCount(); ++i) {
        if (form.kanaButton(i)->text() == QStringLiteral("ニ"))
            ni = i;
        if (form.kanaButton(i)->text() == QStringLiteral("ネ"))
            ne = i;
    }
    form.pressKana(ni);
    EXPECT_EQ(form.comboBox1()->count(), 2);
    form.pressKana(ne);
    EXPECT_TRUE(form.kanaButton(ne)->isChecked());
    EXPECT_EQ(form.comboBox1()->count(), 2);
    EXPECT_EQ(form.findChild<QToolButton *>(QStringLiteral("SpeedButton30")), nullptr);
    EXPECT_EQ(form.findChild<QToolButton *>(QStringLiteral("SpeedButton45"))->text(), QStringLiteral("外人"));

    form.button("BitBtn5")->click();
    ASSERT_EQ(printer.jobs().size(), 1u);
    EXPECT_EQ(printer.jobs()[0].title, "chokdata Print");

    // Shown again: the same problems are not told again.
    form.button("BitBtn7")->click();
    form.show();
    QTest::qWait(20);
    EXPECT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(hooks, (std::vector<std::string>{"results"}));
}

namespace {

class DatabaseChain : public DbWindows
{
protected:
    void start()
    {
        app = std::make_unique<AppState>(std::make_unique<LocalFeedLink>());
        forms = std::make_unique<Forms>(*app, desktop);
        forms->start();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&forms->form1()));
    }
    QAction *item(const char *name)
    {
        return forms->form1().popupMenu1()->findChild<QAction *>(QString::fromLatin1(name));
    }
    void TearDown() override
    {
        forms.reset();
        app.reset();
    }

    std::unique_ptr<AppState> app;
    std::unique_ptr<Forms> forms;
};

} // namespace

TEST_F(DatabaseChain, TheResultsAndDatabaseWindowsLeadToEachOtherAndBack)
{
    writeJockeys({test::jockeyDetail("00001", "秋山", "真一", "ｱｷﾔﾏ")});
    writeTrainers({test::trainerDetail("01001", "相沢", "郁", "ｱｲｻﾞﾜ")});
    test::loadResults(threeRaces(), "d:\\zorbeLab\\sei\\tokyo.SDT");
    start();
    const QStringList created = forms->created();
    ASSERT_GE(created.size(), 3);
    EXPECT_EQ(created.mid(created.indexOf(QStringLiteral("TForm3")), 4),
              (QStringList{QStringLiteral("TForm3"), QStringLiteral("TForm8"), QStringLiteral("TForm9"),
                           QStringLiteral("TForm13")}));
    desktop.messages.clear();

    // "成績データ表示": the dialog in the results folder, then the window.
    desktop.dialogAnswers.push_back(WinPath("d:\\zorbeLab\\sei\\tokyo.SDT"));
    item("N1")->trigger();
    ASSERT_EQ(desktop.dialogs.size(), 1u);
    EXPECT_EQ(desktop.dialogs[0].title, "競走成績を表示するファイルの選択");
    EXPECT_EQ(desktop.dialogs[0].filter, "ゾルベ成績ファイル(*.SDT)|*.SDT");
    TForm8 &results = forms->form8();
    ASSERT_TRUE(results.isVisible());
    EXPECT_FALSE(forms->form1().isVisible());
    EXPECT_EQ(app->results->ResultCount, 3);
    EXPECT_TRUE(results.raceButton(3)->isVisible());

    results.button("BitBtn4")->click();
    TForm9 &jockeys = forms->form9();
    ASSERT_TRUE(jockeys.isVisible());
    EXPECT_FALSE(results.isVisible());
    EXPECT_EQ(jockeys.comboBox1()->count(), 1);
    jockeys.button("BitBtn6")->click();
    TForm13 &trainers = forms->form13();
    ASSERT_TRUE(trainers.isVisible());
    EXPECT_EQ(trainers.comboBox1()->currentText(), QStringLiteral("相沢　 郁　　"));
    trainers.button("BitBtn6")->click();
    ASSERT_TRUE(jockeys.isVisible());

    // "成　績　ＤＢ": the main window and its dialog; cancelled, the main
    // window stays and the jockey window is hidden.
    jockeys.button("BitBtn7")->click();
    EXPECT_EQ(desktop.dialogs.size(), 2u);
    EXPECT_TRUE(forms->form1().isVisible());
    EXPECT_FALSE(jockeys.isVisible());
    EXPECT_EQ(forms->current(), &forms->form1());

    // The menu items of the databases, and "ﾚｰｽ変更" with a file chosen.
    item("N3")->trigger();
    ASSERT_TRUE(trainers.isVisible());
    desktop.dialogAnswers.push_back(WinPath("d:\\zorbeLab\\sei\\tokyo.SDT"));
    trainers.button("BitBtn7")->click();
    ASSERT_TRUE(results.isVisible());
    desktop.dialogAnswers.push_back(WinPath("d:\\zorbeLab\\sei\\tokyo.SDT"));
    results.button("BitBtn6")->click();
    ASSERT_TRUE(results.isVisible());
    results.button("BitBtn5")->click();
    ASSERT_TRUE(trainers.isVisible());
    trainers.button("BitBtn1")->click();
    EXPECT_TRUE(forms->form1().isVisible());
    item("N2")->trigger();
    ASSERT_TRUE(jockeys.isVisible());
    jockeys.close();
    EXPECT_TRUE(forms->form1().isVisible());
    EXPECT_FALSE(jockeys.isVisible());
    EXPECT_TRUE(desktop.errors.empty()) << (desktop.errors.empty() ? "" : desktop.errors[0]);
}
