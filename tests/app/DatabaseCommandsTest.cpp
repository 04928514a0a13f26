#include "db/DbTestSupport.h"

#include "app/cli/PageFiles.h"
#include "data/formats/RecordIo.h"
#include "platform/Cp932.h"
#include "platform/Files.h"

#include "support/RunCli.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace zorbe;
using namespace zorbe::formats;
using test::runCli;
namespace fs = std::filesystem;

namespace {

class DatabaseCommands : public ::testing::Test
{
protected:
    DatabaseCommands()
    {
        std::vector<TResultRec> races;
        for (int q = 1; q <= 2; ++q) {
            TResultRec race = test::resultRace(q);
            test::ResultRunner r;
            test::addRunner(race, r);
            races.push_back(race);
        }
        sdt = (home.path() / "day.SDT").string();
        home.writeFile("day.SDT", joinRecords(races));

        const WinPath dat("d:\\zorbelab\\dat");
        files::makeDirectories(dat);
        std::string damaged = test::jockeyDetail("00002", "横山", "典弘", "ﾖｺﾔﾏ").bytes();
        damaged.replace(JockeyDetailFields::CareerFlat.offset, 5, "12a45");
        files::writeAll(dat / "JracKisi.dat",
                        test::jockeyDetail("00666", "武", "豊", "ﾀｹ ﾕﾀｶ").bytes() + damaged);
        files::writeAll(dat / "JracChok.dat", test::trainerDetail("01000", "藤沢", "和雄", "ﾌｼﾞｻﾜ").bytes());
    }

    std::string out(const char *name) const { return (home.path() / name).string(); }

    test::TempHome home;
    std::string sdt;
};

} // namespace

TEST_F(DatabaseCommands, ResultsDrawsTheSummaryOrARacePageAsTheWindowPaintsIt)
{
    auto r = runCli({"results", sdt, "--out", out("summary.txt")});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("書き出しました"), std::string::npos);
    const std::string summary = test::readNative(out("summary.txt"));
    EXPECT_EQ(summary.rfind("rect\t0\t0\t762\t420\t", 0), 0u);
    EXPECT_NE(summary.find("text\t56\t5\t\t\tＭＳ ゴシック\t12\t1\t#000000\t\t2004年 6月 27日\n"), std::string::npos)
        << summary.substr(0, 300);
    EXPECT_NE(summary.find("一番人気"), std::string::npos);

    r = runCli({"results", sdt, "--race", "2", "--out", out("race2.txt")});
    ASSERT_EQ(r.code, 0) << r.err;
    const std::string race = test::readNative(out("race2.txt"));
    EXPECT_NE(race.find("　２Ｒ ３歳上"), std::string::npos);
    EXPECT_NE(race.find("平均タイム"), std::string::npos);
    EXPECT_EQ(race.find("一番人気"), std::string::npos);
}

TEST_F(DatabaseCommands, ResultsRefusesRacesOutsideTheFileAndReportsACutRecord)
{
    auto r = runCli({"results", sdt, "--race", "3", "--out", out("x.txt")});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("3レース目はこの成績ファイルにありません（2レースまで）"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(out("x.txt")));
    EXPECT_EQ(runCli({"results", sdt, "--race", "13", "--out", out("x.txt")}).code, 2);
    EXPECT_EQ(runCli({"results", sdt, "--out", out("x.bmp")}).code, 2);
    EXPECT_EQ(runCli({"results", sdt}).code, 2);
    EXPECT_EQ(runCli({"results", out("none.SDT"), "--out", out("x.txt")}).code, 1);

    // An empty file: titles and headings, no rates; a cut record is told.
    home.writeFile("empty.SDT", "");
    r = runCli({"results", out("empty.SDT"), "--out", out("empty.txt")});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(test::readNative(out("empty.txt")).find('%'), std::string::npos);
    home.writeFile("cut.SDT", test::readNative(sdt) + std::string(100, '0'));
    r = runCli({"results", out("cut.SDT"), "--out", out("cut.txt")});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.err.find("最後の 100 バイト"), std::string::npos) << r.err;
    ASSERT_EQ(runCli({"results", sdt, "--out", out("whole.txt")}).code, 0);
    EXPECT_EQ(test::readNative(out("cut.txt")), test::readNative(out("whole.txt")));
}

TEST_F(DatabaseCommands, JockeyAndTrainerDrawThePageOfTheirCode)
{
    auto r = runCli({"jockey", "00666", "--out", out("j.txt")});
    ASSERT_EQ(r.code, 0) << r.err;
    // The damaged line of the file is named, and left out.
    EXPECT_NE(r.err.find("JracKisi.dat 2行目: 通算平地着回数が数字ではありません"), std::string::npos) << r.err;
    const std::string page = test::readNative(out("j.txt"));
    EXPECT_EQ(page.rfind("rect\t0\t0\t600\t480\t", 0), 0u);
    EXPECT_NE(page.find("\tＭＳ Ｐゴシック\t10\t0\t#000000\t\t武　　 豊　　\n"), std::string::npos);

    r = runCli({"jockey", "00002", "--out", out("j2.txt")});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("騎手コード 00002 は JracKisi.dat にありません"), std::string::npos) << r.err;

    r = runCli({"trainer", "01000", "--out", out("t.txt")});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(test::readNative(out("t.txt")).find("藤沢　 和雄　"), std::string::npos);
    EXPECT_EQ(runCli({"trainer", "09999", "--out", out("t2.txt")}).code, 2);
    EXPECT_EQ(runCli({"trainer", "--out", out("t2.txt")}).code, 2);

    files::remove(WinPath("d:\\zorbelab\\dat\\JracChok.dat"));
    r = runCli({"trainer", "01000", "--out", out("t3.txt")});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("JracChok.dat がありません"), std::string::npos) << r.err;
}

TEST_F(DatabaseCommands, PicturesAndPrintedPagesAreWrittenWhereTheBuildDrawsThem)
{
    if (!cli::pagePicturesAvailable())
        GTEST_SKIP() << "a build without pictures";
    for (const char *name : {"s.png", "s.pdf"})
        ASSERT_EQ(runCli({"results", sdt, "--race", "1", "--out", out(name)}).code, 0) << name;
    ASSERT_EQ(runCli({"jockey", "00666", "--out", out("j.pdf")}).code, 0);
    ASSERT_EQ(runCli({"trainer", "01000", "--out", out("t.png")}).code, 0);
    EXPECT_EQ(test::readNative(out("s.png")).substr(1, 3), "PNG");
    EXPECT_EQ(test::readNative(out("s.pdf")).substr(0, 4), "%PDF");
    EXPECT_EQ(test::readNative(out("j.pdf")).substr(0, 4), "%PDF");
    EXPECT_EQ(test::readNative(out("t.png")).substr(1, 3), "PNG");
    // The print jobs' own folders are gone.
    for (const auto &e : fs::directory_iterator(home.path()))
        EXPECT_EQ(e.path().filename().string().find(".zorbe-render"), std::string::npos) << e.path();
}
