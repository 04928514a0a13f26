#include "support/RaceKeys.h"
#include "support/ScriptedDesktop.h"
#include "support/TempHome.h"

#include "data/formats/MasterFormats.h"
#include "data/formats/ResultFormats.h"
#include "link/LocalFeedLink.h"
#include "platform/Cp932.h"
#include "platform/Files.h"
#include "shell/AppState.h"
#include "shell/qt/Forms.h"
#include "shell/qt/TForm1.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>

namespace zorbe {
namespace {

// The menus' CSV items on the real main window: each asks for its file,
// writes its CSV and leaves the main window where it was.
class CsvMenu : public ::testing::Test
{
protected:
    void SetUp() override
    {
        app = std::make_unique<AppState>(std::make_unique<LocalFeedLink>());
        forms = std::make_unique<Forms>(*app, desktop);
        forms->start();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&forms->form1()));
        QEvent activation(QEvent::WindowActivate);
        QApplication::sendEvent(&forms->form1(), &activation);
    }
    void TearDown() override
    {
        forms.reset();
        app.reset();
    }
    void trigger(QMenu *menu, const char *item)
    {
        QAction *action = menu->findChild<QAction *>(QString::fromLatin1(item));
        ASSERT_NE(action, nullptr) << item;
        action->trigger();
    }

    test::TempHome home;
    test::ScriptedDesktop desktop;
    std::unique_ptr<AppState> app;
    std::unique_ptr<Forms> forms;
};

} // namespace

TEST_F(CsvMenu, ResultsAndTimeDataItemsWriteTheirFiles)
{
    using namespace formats;
    TResultRec race;
    race.setBlock(ResultFields::Key, test::raceKey(1));
    race.set(ResultFields::Entries, "00");
    race.set(ResultFields::Distance, "1600");
    const WinPath sdt(sj("d:\\zorbeLab\\sei\\東京20040627.SDT"));
    files::writeAll(sdt, race.bytes());
    files::writeAll(WinPath("d:\\zorbelab\\dat\\cSTIME.DAT"), TCSTimeRec().bytes());

    TForm1 &form1 = forms->form1();
    desktop.dialogAnswers = {sdt, sdt};
    trigger(form1.popupMenu4(), "CSV3");
    trigger(form1.popupMenu4(), "CSV21");
    EXPECT_EQ(desktop.dialogs.size(), 2u);
    EXPECT_TRUE(desktop.errors.empty());
    EXPECT_EQ(desktop.busyDepth, 0);
    EXPECT_EQ(u8(files::readAll(WinPath(sj("d:\\zorbeLab\\sei\\東京20040627S1.CSV")))).substr(0, 21),
              "３回東京８日目");
    EXPECT_TRUE(files::isFile(WinPath(sj("d:\\zorbeLab\\sei\\東京20040627S2.CSV"))));

    for (const char *item : {"IME1", "CSV4"}) {
        files::remove(WinPath("d:\\zorbelab\\dat\\CSVSTIME.CSV"));
        trigger(item == std::string("IME1") ? form1.popupMenu1() : form1.popupMenu4(), item);
        const std::string csv = files::readAll(WinPath("d:\\zorbelab\\dat\\CSVSTIME.CSV"));
        EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 12) << item;
    }
    EXPECT_EQ(forms->current(), &form1);
    EXPECT_TRUE(form1.isVisible());
}

} // namespace zorbe
