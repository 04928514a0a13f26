// The download window's "中止" at every point of a run where it can be
// pressed, then "開始" again: the home ends up with exactly the files of a run
// that was never cancelled.

#include "support/ScriptedDesktop.h"
#include "support/TempHome.h"
#include "support/TreeSnapshot.h"

#include "data/convert/Conversions.h"
#include "link/LocalFeedLink.h"
#include "link/feedgen/FeedGenerator.h"
#include "data/qt/TForm7.h"
#include "link/qt/TForm6.h"
#include "platform/ProfileFile.h"
#include "platform/Sqlite.h"
#include "shell/AppState.h"
#include "shell/qt/Forms.h"
#include "shell/qt/TForm1.h"

#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

namespace zorbe {
namespace {

namespace fs = std::filesystem;

// The program's data link, with a hand on it: called before every status
// poll and every read, with their numbers, so that a test can press a
// button at an exact point of the run.
class WatchedLink : public LocalFeedLink
{
public:
    std::function<void(int polls)> beforeStatus;
    std::function<void(int reads, bool afterFileEnd)> beforeRead;

    int JVStatus() override
    {
        if (beforeStatus)
            beforeStatus(++m_polls);
        return LocalFeedLink::JVStatus();
    }
    int JVRead(std::string &buffer, int size, std::string &fileName) override
    {
        if (beforeRead)
            beforeRead(++m_reads, m_lastWasFileEnd);
        const int r = LocalFeedLink::JVRead(buffer, size, fileName);
        m_lastWasFileEnd = r == -1;
        return r;
    }
    void restart()
    {
        m_polls = m_reads = 0;
        m_lastWasFileEnd = false;
    }

private:
    int m_polls = 0, m_reads = 0;
    bool m_lastWasFileEnd = false;
};

class DownloadWindow : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_feed = new test::TempHome();
        feedgen::FeedOptions options;
        options.weeks = 1;
        options.venues = 1;
        ASSERT_GT(feedgen::generateFeed(options, WinPath::fromNative(s_feed->path() / "feed"), WinPath()), 0);
        // The files of the run never cancelled, made by the same run without
        // a window.
        test::TempHome reference;
        ::setenv("ZORBE_FEED", (s_feed->path() / "feed").c_str(), 1);
        auto feed = std::make_unique<LocalFeedLink>();
        feed->setNow(kMonday);
        TJVLink jvlink(std::move(feed));
        ASSERT_EQ(jvlink.JVInit(std::string(kSoftwareId)), 0);
        SilentDownloadView view;
        SilentConversionView progress;
        test::ScriptedDesktop quiet;
        ProfileFile settings(ProfileFile::defaultPath());
        TConversions conversions(settings, progress, quiet);
        TDownloadRun run(jvlink, view, &conversions);
        run.formShow("");
        run.start();
        while (view.timerActive())
            run.timerTick();
        ASSERT_EQ(run.outcome(), TDownloadRun::Outcome::Completed) << run.errorText();
        s_expected = test::snapshotTree(reference.path() / "drives", true);
    }
    static void TearDownTestSuite()
    {
        ::unsetenv("ZORBE_FEED");
        delete s_feed;
    }

    void SetUp() override
    {
        ::setenv("ZORBE_FEED", (s_feed->path() / "feed").c_str(), 1);
        auto watched = std::make_unique<WatchedLink>();
        watched->setNow(kMonday);
        link = watched.get();
        app = std::make_unique<AppState>(std::move(watched));
        forms = std::make_unique<Forms>(*app, desktop);
        forms->start();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&forms->form1()));
    }
    void TearDown() override
    {
        forms.reset();
        app.reset();
    }

    QPushButton *button(const char *name)
    {
        return forms->form6().findChild<QPushButton *>(QString::fromLatin1(name));
    }
    static std::string lastFileTime()
    {
        return ProfileFile(ProfileFile::defaultPath()).readString("LastFileTime", "LastFileTime", "none");
    }
    QPushButton *startButton() { return button("BitBtn1"); }
    QPushButton *cancelButton() { return button("BitBtn2"); }

    // "新聞データDL", then "開始"; returns when the main window is back.
    void runFromTheMainWindow()
    {
        link->restart();
        forms->form1().findChild<QPushButton *>(QStringLiteral("BitBtn7"))->click();
        ASSERT_TRUE(forms->form6().isVisible());
        ASSERT_TRUE(startButton()->isEnabled());
        startButton()->click();
        ASSERT_TRUE(QTest::qWaitFor([&] { return forms->form1().isVisible(); }, 60000));
    }

    // Presses "中止" through the window's own button, checking on the way
    // that the run has "開始" off and "中止" on.
    void pressCancel()
    {
        EXPECT_FALSE(startButton()->isEnabled());
        EXPECT_TRUE(cancelButton()->isEnabled());
        cancelButton()->click();
        pressed = true;
    }

    // A cancelled run, then the run again: the files of an uninterrupted run.
    void cancelThenRunAgain()
    {
        const std::string before = lastFileTime();
        runFromTheMainWindow();
        ASSERT_TRUE(pressed);
        EXPECT_TRUE(forms->form1().statusText(0).startsWith(QStringLiteral("キャンセルしました")))
            << forms->form1().statusText(0).toStdString();
        EXPECT_EQ(lastFileTime(), before);
        link->beforeStatus = nullptr;
        link->beforeRead = nullptr;
        runFromTheMainWindow();
        EXPECT_EQ(forms->form1().statusText(0), QStringLiteral("正常終了:"));
        EXPECT_EQ(test::differences(s_expected, test::snapshotTree(home.path() / "drives", true)), "");
        // [db] auto is off by default.
        EXPECT_FALSE(std::filesystem::exists(home.path() / "zorbe.sqlite"));
    }

    static constexpr const char *kMonday = "20240610235959";
    static test::TempHome *s_feed;
    static test::TreeSnapshot s_expected;

    test::TempHome home;
    test::ScriptedDesktop desktop;
    WatchedLink *link = nullptr;
    std::unique_ptr<AppState> app;
    std::unique_ptr<Forms> forms;
    bool pressed = false;
};

test::TempHome *DownloadWindow::s_feed = nullptr;
test::TreeSnapshot DownloadWindow::s_expected;

TEST_F(DownloadWindow, CancelWhileFilesDownload)
{
    for (int poll : {1, 3}) {
        SCOPED_TRACE(poll);
        pressed = false;
        link->beforeStatus = [&, poll](int n) {
            if (n == poll && !pressed)
                pressCancel();
        };
        runFromTheMainWindow();
        EXPECT_TRUE(pressed);
        EXPECT_FALSE(forms->form6().isVisible());
    }
    link->beforeStatus = nullptr;
    pressed = true;
    link->beforeRead = nullptr;
    // Nothing was read: the next run downloads it all.
    runFromTheMainWindow();
    EXPECT_EQ(test::differences(s_expected, test::snapshotTree(home.path() / "drives", true)), "");
}

TEST_F(DownloadWindow, CancelWhileRecordsAreRouted)
{
    link->beforeRead = [&](int n, bool) {
        if (n == 700 && !pressed)
            pressCancel();
    };
    cancelThenRunAgain();
}

TEST_F(DownloadWindow, CancelAtTheFirstRecord)
{
    link->beforeRead = [&](int n, bool) {
        if (n == 1 && !pressed)
            pressCancel();
    };
    cancelThenRunAgain();
}

TEST_F(DownloadWindow, CancelBetweenDeliveredFiles)
{
    int ends = 0;
    link->beforeRead = [&](int, bool afterFileEnd) {
        if (afterFileEnd && ++ends == 9 && !pressed)
            pressCancel();
    };
    cancelThenRunAgain();
}

TEST_F(DownloadWindow, TheNoRaceCardMessageComesOverTheMainWindow)
{
    // Thursday: nominations and masters, no race card.
    link->setNow("20240606235959");
    bool mainShown = false, conversionShown = true;
    desktop.onMessage = [&](const std::string &) {
        mainShown = forms->form1().isVisible();
        conversionShown = forms->form7().isVisible();
    };
    pressed = true;
    desktop.messages.clear();
    runFromTheMainWindow();
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_NE(desktop.messages[0].find("出馬表ファイルがありません"), std::string::npos);
    EXPECT_TRUE(mainShown);
    EXPECT_FALSE(conversionShown);
}

// With [db] auto = "1" the window's run ends with the database export; off
// (the default) there is no database.
TEST_F(DownloadWindow, WithDbAutoTheRunEndsWithTheDatabaseExport)
{
    const std::filesystem::path database = home.path() / "zorbe.sqlite";
    ProfileFile(ProfileFile::defaultPath()).writeString("db", "auto", "1");
    runFromTheMainWindow();
    // The export's summary is the run's last status text.
    EXPECT_TRUE(forms->form1().statusText(0).startsWith(QStringLiteral("データベース出力: ")))
        << forms->form1().statusText(0).toStdString();
    EXPECT_TRUE(forms->form1().statusText(0).contains(QStringLiteral("追加 ")));
    ASSERT_TRUE(std::filesystem::exists(database));
    sqlite::Database db(database);
    EXPECT_GT(db.queryInt("SELECT COUNT(*) FROM race_day WHERE results > 0").value_or(0), 0);
    EXPECT_GT(db.queryInt("SELECT COUNT(*) FROM runner").value_or(0), 0);
}

TEST_F(DownloadWindow, ClosingTheConversionWindowShowsTheMainWindow)
{
    forms->show(forms->form7());
    ASSERT_TRUE(forms->form7().isVisible());
    forms->form7().close();
    EXPECT_FALSE(forms->form7().isVisible());
    EXPECT_TRUE(forms->form1().isVisible());
}

} // namespace
} // namespace zorbe
