#include "link/LocalFeedLink.h"

#include "platform/Cp932.h"
#include "platform/ProfileFile.h"

#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace zorbe;
namespace fs = std::filesystem;

namespace {

// A record of the given kind and total length (CR LF included).
std::string record(const std::string &head, std::size_t length)
{
    std::string r = head;
    r.resize(length - 2, ' ');
    return r + "\r\n";
}

class LocalFeedLinkTest : public ::testing::Test
{
protected:
    LocalFeedLinkTest()
    {
        feed = home.path() / "feed";
        fs::create_directories(feed);
        link.setNow("20040628090000");
        EXPECT_EQ(link.JVInit(std::string(kSoftwareId)), 0);
    }

    void deliver(const std::string &name, const std::string &content) { home.writeFile("feed/" + name, content); }

    int open(const std::string &from)
    {
        return link.JVOpen("RACERCOV", from, 2, readCount, downloadCount, lastStamp);
    }

    // Reads to the end; returns the codes and the records in order.
    std::vector<std::string> readAll()
    {
        std::vector<std::string> seen;
        for (int guard = 0; guard < 1000; ++guard) {
            std::string buf, name;
            const int r = link.JVRead(buf, 60000, name);
            if (r > 0)
                seen.push_back(u8(name) + ":" + buf.substr(0, 3));
            else
                seen.push_back(std::to_string(r));
            if (r == 0 || r < -1)
                break;
        }
        return seen;
    }

    test::TempHome home;
    fs::path feed;
    LocalFeedLink link;
    int readCount = -1, downloadCount = -1;
    std::string lastStamp;
};

} // namespace

TEST_F(LocalFeedLinkTest, DeliversFilesNewerThanTheFromTimeUpToTheClockInOrder)
{
    deliver("RAVM2004062420040624180000.txt", record("RA2", 1272));
    deliver("SEVM2004062420040624180000.txt", record("SE2", 555));
    deliver("KSMT2004062320040624120000.txt", record("KS1", 4173));
    deliver("OLD_0000000020040601000000.txt", record("RA2", 1272));  // not newer than from-time
    deliver("LATE0000000020040705000000.txt", record("RA7", 1272));  // after the clock
    deliver("notes.txt", "not a delivered file\r\n");
    deliver("SHORTNAME2004062.txt", "x\r\n");

    ASSERT_EQ(open("20040617000000"), 0);
    EXPECT_EQ(readCount, 3);
    EXPECT_EQ(downloadCount, 3);
    EXPECT_EQ(lastStamp, "20040624180000");

    // Status advances one file per call, up to the download count.
    EXPECT_EQ(link.JVStatus(), 1);
    EXPECT_EQ(link.JVStatus(), 2);
    EXPECT_EQ(link.JVStatus(), 3);
    EXPECT_EQ(link.JVStatus(), 3);

    EXPECT_EQ(readAll(), (std::vector<std::string>{
                             "KSMT2004062320040624120000.txt:KS1", "-1",
                             "RAVM2004062420040624180000.txt:RA2", "-1",
                             "SEVM2004062420040624180000.txt:SE2", "-1", "0"}));
    EXPECT_TRUE(link.damagedRecords().empty());
    EXPECT_EQ(link.JVClose(), 0);

    // A second run over the same files: nothing left to download.
    ASSERT_EQ(open("20040617000000"), 0);
    EXPECT_EQ(readCount, 3);
    EXPECT_EQ(downloadCount, 0);
    EXPECT_EQ(readAll().back(), "0");
    link.JVClose();

    // Moving the clock on brings the later file; from-time is exclusive.
    link.setNow("20040705000000");
    ASSERT_EQ(open("20040624180000"), 0);
    EXPECT_EQ(readCount, 1);
    EXPECT_EQ(lastStamp, "20040705000000");
    link.JVClose();
}

TEST_F(LocalFeedLinkTest, AFileCountsAsDownloadedOnlyOnceItWasReadToItsEnd)
{
    deliver("RAVM2004062420040624180000.txt", record("RA2", 1272) + record("RA2", 1272));
    deliver("SEVM2004062420040624180000.txt", record("SE2", 555));
    std::string buf, name;
    auto downloadAll = [&] {
        while (link.JVStatus() < downloadCount) {
        }
    };

    // Downloaded, one record read, then closed (a cancel, or the end of a
    // killed process): nothing counts as downloaded.
    ASSERT_EQ(open("20040617000000"), 0);
    downloadAll();
    EXPECT_GT(link.JVRead(buf, 60000, name), 0);
    link.JVClose();
    ASSERT_EQ(open("20040617000000"), 0);
    EXPECT_EQ(downloadCount, 2);

    // The first file read to its end and the caller back for more: that
    // file is done, the second is not.
    downloadAll();
    for (int r = link.JVRead(buf, 60000, name); r != -1; r = link.JVRead(buf, 60000, name))
        ASSERT_GT(r, 0);
    EXPECT_GT(link.JVRead(buf, 60000, name), 0);
    link.JVClose();
    ASSERT_EQ(open("20040617000000"), 0);
    EXPECT_EQ(downloadCount, 1);
    link.JVClose();
}

TEST_F(LocalFeedLinkTest, ReadingMustWaitForTheDownload)
{
    deliver("RAVM2004062420040624180000.txt", record("RA2", 1272));
    ASSERT_EQ(open("20040617000000"), 0);
    std::string buf, name;
    EXPECT_EQ(link.JVRead(buf, 60000, name), -3);
    EXPECT_EQ(link.JVStatus(), 1);
    EXPECT_GT(link.JVRead(buf, 60000, name), 0);
    EXPECT_EQ(buf.size(), 1272u);
}

TEST_F(LocalFeedLinkTest, DamagedLinesAreLeftOutAndRemembered)
{
    const std::string good = record("SE7", 555);
    std::string lostByte = record("SE7", 555);
    lostByte.erase(100, 1);
    const std::string unknownKind = "H1xxxx\r\n"; // kinds the program does not use pass through
    deliver("SEVM2004062720040628080000.txt",
            good + lostByte + "\r\n" + good + unknownKind + good.substr(0, 50));

    ASSERT_EQ(open("20040617000000"), 0);
    while (link.JVStatus() < downloadCount) {
    }
    const auto seen = readAll();
    EXPECT_EQ(seen, (std::vector<std::string>{"SEVM2004062720040628080000.txt:SE7",
                                              "SEVM2004062720040628080000.txt:SE7",
                                              "SEVM2004062720040628080000.txt:H1x", "-1", "0"}));
    const auto &damaged = link.damagedRecords();
    ASSERT_EQ(damaged.size(), 2u);
    EXPECT_EQ(u8(damaged[0].fileName), "SEVM2004062720040628080000.txt");
    EXPECT_EQ(damaged[0].line, 2u);
    EXPECT_EQ(damaged[0].length, 554u);
    EXPECT_EQ(damaged[0].expected, 555u);
    EXPECT_EQ(damaged[1].line, 6u); // the unterminated tail
}

TEST_F(LocalFeedLinkTest, ErrorCodes)
{
    LocalFeedLink fresh;
    int rc = 0, dc = 0;
    std::string stamp;
    EXPECT_EQ(fresh.JVOpen("RACE", "20040617000000", 2, rc, dc, stamp), -201);
    EXPECT_EQ(fresh.JVInit(""), -101);

    EXPECT_EQ(open("2004061700000"), -112);   // 13 digits
    EXPECT_EQ(open("20041317000000"), -112);  // month 13
    EXPECT_EQ(open("2004O617000000"), -112);  // letter O
    EXPECT_EQ(link.JVOpen("RAC", "20040617000000", 2, readCount, downloadCount, lastStamp), -111);
    EXPECT_EQ(link.JVOpen("RACE", "20040617000000", 9, readCount, downloadCount, lastStamp), -115);
    EXPECT_EQ(open("20040617000000"), -1);    // an empty feed: no data
    EXPECT_EQ(link.JVStatus(), -203);

    deliver("RAVM2004062420040624180000.txt", record("RA2", 1272));
    ASSERT_EQ(open("20040617000000"), 0);
    EXPECT_EQ(open("20040617000000"), -202);
    link.JVStatus();
    // The file disappears between the open and the read.
    fs::remove(feed / "RAVM2004062420040624180000.txt");
    std::string buf, name;
    EXPECT_EQ(link.JVRead(buf, 60000, name), -402);
    EXPECT_EQ(link.JVRead(buf, 60000, name), 0);
    link.JVClose();

    fs::remove_all(feed);
    EXPECT_EQ(open("20040617000000"), -211);
}

TEST_F(LocalFeedLinkTest, FolderFromTheEnvironmentThenTheSettingsThenTheHome)
{
    EXPECT_EQ(link.feedFolder(), home.path() / "feed");
    ProfileFile(ProfileFile::defaultPath()).writeString("JVLinkFeed", "folder", "e:\\jvfeed");
    EXPECT_EQ(link.feedFolder(), home.path() / "drives/e/jvfeed");
    ::setenv("ZORBE_FEED", "/somewhere/else", 1);
    EXPECT_EQ(link.feedFolder(), fs::path("/somewhere/else"));
    ::unsetenv("ZORBE_FEED");

    // The settings dialog of the component stores the chosen folder.
    link.setFolderChooser([&](const fs::path &current) -> std::optional<fs::path> {
        EXPECT_EQ(current, home.path() / "drives/e/jvfeed");
        return fs::path("/data/feed");
    });
    EXPECT_EQ(link.JVSetUIProperties(), 0);
    EXPECT_EQ(link.feedFolder(), fs::path("/data/feed"));
    link.setFolderChooser([](const fs::path &) { return std::optional<fs::path>(); });
    EXPECT_EQ(link.JVSetUIProperties(), 0); // cancelled: nothing changes
    EXPECT_EQ(link.feedFolder(), fs::path("/data/feed"));
}

TEST_F(LocalFeedLinkTest, ClockFromTheEnvironment)
{
    LocalFeedLink other;
    ::setenv("ZORBE_FEED_NOW", "20040627120000", 1);
    EXPECT_EQ(other.now(), "20040627120000");
    ::setenv("ZORBE_FEED_NOW", "garbage", 1);
    EXPECT_EQ(other.now().size(), 14u); // falls back to the real time
    ::unsetenv("ZORBE_FEED_NOW");
}

TEST_F(LocalFeedLinkTest, DamagedDeliveredFilesAreLeftOutRecordByRecord)
{
    // An empty file, a file of another kind, bytes that are not Shift-JIS
    // in a record of the right length, a lone CR, and a record cut short.
    std::string strange = record("RA2", 1272);
    strange.replace(40, 4, "\xff\xfe\x80\x81");
    deliver("RAVM2004062420040624180000.txt", "");
    deliver("RAVM2004062420040624180001.txt", std::string("\x89PNG\r\n\x1a\n\0\0", 10));
    deliver("RAVM2004062420040624180002.txt", strange + "\r" + record("RA2", 1272).substr(0, 900));
    ASSERT_EQ(open("20040617000000"), 0);
    while (link.JVStatus() < downloadCount) {
    }
    const auto seen = readAll();
    EXPECT_EQ(seen, (std::vector<std::string>{"-1", "RAVM2004062420040624180001.txt:\x89PN", "-1",
                                              "RAVM2004062420040624180002.txt:RA2", "-1", "0"}));
    ASSERT_EQ(link.damagedRecords().size(), 2u);
    EXPECT_EQ(link.damagedRecords()[0].line, 2u);
    EXPECT_EQ(link.damagedRecords()[1].line, 2u);
}
