#include "paper/qt/TForm3.h"

#include "link/LocalFeedLink.h"
#include "paper/PrintTarget.h"
#include "paper/RaceSelection.h"
#include "paper/RecordingCanvas.h"
#include "paper/qt/TForm10.h"
#include "platform/Cp932.h"
#include "platform/ProfileFile.h"
#include "platform/qt/QtText.h"
#include "shell/AppState.h"
#include "support/ScriptedDesktop.h"
#include "support/TempHome.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace zorbe {
namespace {

class RaceSelectionWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        app = std::make_unique<AppState>(std::make_unique<LocalFeedLink>());
        app->settings.sinbun = "0";
        app->settings.insatu = "1";
        app->settings.font = "1";
        app->settings.yosou = "1";
        app->settings.sinba = "0";
        app->settings.kako = "0"; // the hand-made horses have no past races
        TForm3::Hooks hooks;
        hooks.showMain = [this] { calls.push_back("main"); };
        hooks.loadRaceDay = [this] { calls.push_back("load"); };
        hooks.showNewspaper = [this] { calls.push_back("newspaper"); };
        hooks.releaseRaceButtons = [this] { calls.push_back("release"); };
        form = std::make_unique<TForm3>(*app, *app->newspaper, &printer, desktop, std::move(hooks));
    }
    void TearDown() override
    {
        form.reset();
        app.reset();
    }

    // A day of `races` races of 16 runners, 1400 m dirt, at Tokyo.
    void loadDay(int races)
    {
        TRaceCard &c = *app->raceCard;
        c.MeetYear = "2026", c.MeetMonth = "05", c.MeetDay = "10";
        c.RaceCount = races;
        c.Form3Label1 = sj("東京　2026年　5月　10日（日）");
        for (int r = 0; r < races; ++r) {
            c.RaceVenue[r] = "05";
            c.RaceKind[r] = "13";
            c.RaceClass[r] = {"", "000", "005", "005", "000", ""};
            c.RaceTrack[r] = "23";
            c.RaceDistance[r] = "1400";
            c.RaceEntries[r] = "16";
        }
    }
    void activate(const char *sinbun = "0")
    {
        app->settings.sinbun = sinbun;
        form->FormActivate();
    }
    QPushButton *button(const char *name) const
    {
        return form->findChild<QPushButton *>(QString::fromLatin1(name));
    }
    QString label(const char *name) const
    {
        return form->findChild<QLabel *>(QString::fromLatin1(name))->text();
    }
    std::string stored(const char *key) const
    {
        return app->settingsFile.readString(sj("拡大縮小"), sj(key), "-");
    }

    test::TempHome home;
    test::ScriptedDesktop desktop;
    RecordingPrinter printer;
    std::unique_ptr<AppState> app;
    std::unique_ptr<TForm3> form;
    std::vector<std::string> calls;
};

TEST_F(RaceSelectionWindow, ListsTheRacesOfTheDayAndSelectsThemAll)
{
    loadDay(8);
    activate();
    EXPECT_EQ(calls, std::vector<std::string>{"release"});
    EXPECT_EQ(form->label1()->text(), QStringLiteral("東京　2026年　5月　10日（日）"));
    for (int r = 0; r < 12; ++r) {
        QCheckBox *box = form->raceCheckBox(r);
        EXPECT_EQ(box->isEnabled(), r < 8) << r;
        EXPECT_EQ(box->text().isEmpty(), r >= 8) << r;
    }
    EXPECT_EQ(form->raceCheckBox(2)->text(),
              QStringLiteral("　３Ｒ サラ３歳以上 １勝クラス　 ダート  1400ｍ16頭"));

    form->allRacesCheckBox()->click();
    for (int r = 0; r < 12; ++r)
        EXPECT_EQ(form->raceCheckBox(r)->isChecked(), r < 8) << r;
    form->allRacesCheckBox()->click();
    for (int r = 0; r < 8; ++r)
        EXPECT_FALSE(form->raceCheckBox(r)->isChecked());

    // Activating again starts from a clean list.
    form->raceCheckBox(1)->setChecked(true);
    loadDay(3);
    app->raceCard->RaceCount = 3;
    activate();
    EXPECT_FALSE(form->raceCheckBox(1)->isChecked());
    EXPECT_FALSE(form->raceCheckBox(5)->isEnabled());
    EXPECT_TRUE(form->raceCheckBox(5)->text().isEmpty());
}

TEST_F(RaceSelectionWindow, StyleDecidesMarginsLabelsAndStoredEdits)
{
    loadDay(12);
    app->settingsFile.writeString(sj("拡大縮小"), sj("縦上"), "8");
    app->settingsFile.writeString(sj("拡大縮小"), sj("横上"), "12");
    app->settingsFile.writeString("Color", "Color", "0");
    activate("0");
    EXPECT_EQ(label("Label12"), QStringLiteral("上余白(４～ )mm"));
    EXPECT_EQ(label("Label13"), QStringLiteral("左余白(５～ )mm"));
    EXPECT_EQ(label("Label27"), QStringLiteral("縦書余白設定"));
    EXPECT_EQ(label("Label8"), QStringLiteral("新聞：縦ﾆﾎﾝ風五"));
    EXPECT_EQ(label("Label3"), QStringLiteral("印刷表示：白　黒"));
    EXPECT_EQ(form->upDown(3)->minimum(), 4);
    EXPECT_EQ(form->upDown(4)->minimum(), 5);
    EXPECT_EQ(form->edit(3)->text(), QStringLiteral("8"));
    EXPECT_EQ(form->edit(2)->text(), QStringLiteral("106"));

    activate("1");
    EXPECT_EQ(label("Label12"), QStringLiteral("上余白(５～ )mm"));
    EXPECT_EQ(label("Label13"), QStringLiteral("左余白(４～ )mm"));
    EXPECT_EQ(label("Label27"), QStringLiteral("横書余白設定"));
    EXPECT_EQ(form->upDown(3)->minimum(), 5);
    EXPECT_EQ(form->upDown(4)->minimum(), 4);
    EXPECT_EQ(form->edit(3)->text(), QStringLiteral("12"));
    EXPECT_EQ(form->edit(1)->text(), QStringLiteral("106"));

    // The up-downs keep the margins at their minimum and wrap the scales.
    form->edit(3)->setText(QStringLiteral("5"));
    form->upDown(3)->stepBy(-1);
    EXPECT_EQ(form->edit(3)->text(), QStringLiteral("5"));
    form->edit(1)->setText(QStringLiteral("120"));
    form->upDown(1)->stepBy(1);
    EXPECT_EQ(form->edit(1)->text(), QStringLiteral("90"));

    // The programme page starts from odd races: even ones cannot be chosen
    // one by one, but "全レース選択" still checks them.
    activate("2");
    EXPECT_EQ(label("Label8"), QStringLiteral("新聞：レープロ風"));
    EXPECT_TRUE(form->raceCheckBox(0)->isEnabled());
    EXPECT_FALSE(form->raceCheckBox(1)->isEnabled());
    EXPECT_FALSE(form->raceCheckBox(11)->isEnabled());
    form->allRacesCheckBox()->click();
    EXPECT_TRUE(form->raceCheckBox(11)->isChecked());
}

TEST_F(RaceSelectionWindow, MarginResetAndNewspaperButton)
{
    loadDay(4);
    activate("0");
    button("BitBtn9")->click();
    EXPECT_EQ(form->edit(1)->text() + form->edit(2)->text(), QStringLiteral("100100"));
    EXPECT_EQ(form->edit(3)->text() + QLatin1Char('/') + form->edit(4)->text(), QStringLiteral("7/23"));
    EXPECT_EQ(stored("縦左"), "-"); // the reset is not saved by itself
    activate("1");
    button("BitBtn9")->click();
    EXPECT_EQ(form->edit(3)->text() + QLatin1Char('/') + form->edit(4)->text(), QStringLiteral("22/7"));

    form->edit(1)->setText(QStringLiteral("95"));
    calls.clear();
    button("BitBtn1")->click();
    EXPECT_EQ(calls, std::vector<std::string>{"newspaper"});
    EXPECT_EQ(stored("縦横"), "95");
    EXPECT_EQ(stored("横横"), "100");
    EXPECT_EQ(stored("横上"), "22");
    EXPECT_EQ(stored("横左"), "7");
    EXPECT_EQ(stored("縦縦"), "-");
    EXPECT_EQ(form->printEdits().vScale, "95");
}

TEST_F(RaceSelectionWindow, LeavingClearsTheLoadedOdds)
{
    loadDay(2);
    activate();
    app->raceCard->OddsWin[0][1] = "12.3";
    calls.clear();
    button("BitBtn3")->click();
    EXPECT_TRUE(app->raceCard->OddsWin[0][1].empty());
    app->raceCard->OddsWin[0][1] = "12.3";
    button("BitBtn7")->click();
    EXPECT_TRUE(app->raceCard->OddsWin[0][1].empty());
    EXPECT_EQ(calls, (std::vector<std::string>{"main", "load"}));
}

TEST_F(RaceSelectionWindow, BatchPrintWithProgressAndCancel)
{
    loadDay(12);
    activate("0");
    form->show();
    for (int r = 0; r < 5; ++r)
        form->raceCheckBox(r)->setChecked(true);
    form->edit(3)->setText(QStringLiteral("9"));

    std::vector<QString> shown;
    bool disabledWhilePrinting = true;
    QObject::connect(&form->form10(), &TForm10::progressShown, form.get(), [&](const QString &text) {
        shown.push_back(text);
        disabledWhilePrinting = disabledWhilePrinting && !form->isEnabled() && form->form10().isVisible();
        if (shown.size() == 3)
            form->form10().cancelButton()->click();
    });
    button("BitBtn2")->click();

    ASSERT_EQ(printer.jobs().size(), 3u) << (desktop.errors.empty() ? "" : desktop.errors[0]);
    EXPECT_EQ(printer.jobs()[0].title, "0526051001");
    EXPECT_EQ(printer.jobs()[2].title, "0526051003");
    EXPECT_TRUE(printer.jobs()[2].ended);
    EXPECT_FALSE(printer.jobs()[0].canvas->calls().empty());
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0], QStringLiteral("東京　2026年　5月　10日（日）　 １Ｒ 出力中"));
    EXPECT_TRUE(disabledWhilePrinting);
    EXPECT_TRUE(form->isEnabled());
    EXPECT_FALSE(form->form10().isVisible());
    EXPECT_EQ(stored("縦上"), "9");
    EXPECT_TRUE(desktop.errors.empty());

    // The next batch starts without the earlier cancel.
    form->raceCheckBox(0)->setChecked(false);
    form->raceCheckBox(1)->setChecked(false);
    button("BitBtn2")->click();
    EXPECT_EQ(printer.jobs().size(), 6u);
}

TEST_F(RaceSelectionWindow, ProgrammeBatchPrintsTheOddRacesUpright)
{
    loadDay(12);
    activate("2");
    form->show();
    // "全レース選択" checks the disabled even races as well.
    form->allRacesCheckBox()->click();
    ASSERT_TRUE(form->raceCheckBox(1)->isChecked());
    button("BitBtn2")->click();
    std::vector<std::string> titles;
    for (const auto &job : printer.jobs()) {
        titles.push_back(job.title);
        EXPECT_TRUE(job.ended);
        EXPECT_EQ(job.sheet, SheetOrientation::Portrait);
    }
    EXPECT_EQ(titles, (std::vector<std::string>{"0526051001", "0526051003", "0526051005", "0526051007",
                                                "0526051009", "0526051011"}));
    EXPECT_TRUE(desktop.errors.empty()) << desktop.errors.front();
}

TEST_F(RaceSelectionWindow, BatchFailureIsReportedOnce)
{
    loadDay(3);
    activate("0");
    form->allRacesCheckBox()->click();
    form->edit(4)->setText(QStringLiteral("1O"));
    button("BitBtn2")->click();
    EXPECT_TRUE(printer.jobs().empty());
    EXPECT_EQ(desktop.errors.size(), 1u);
    EXPECT_TRUE(form->isEnabled());

    // A runner count that is not a number is reported on activation and
    // leaves nothing to print.
    app->raceCard->RaceEntries[1] = "xx";
    activate("0");
    EXPECT_EQ(desktop.errors.size(), 2u);
    EXPECT_FALSE(form->raceCheckBox(0)->isEnabled());
}

} // namespace
} // namespace zorbe
