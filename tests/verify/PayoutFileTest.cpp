#include "verify/LhaTestArchive.h"
#include "verify/PayoutFile.h"
#include "verify/Unlha.h"
#include "verify/VerifyTestDay.h"

#include "platform/Cp932.h"
#include "platform/Files.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

using namespace zorbe;
using test::ResultRecord;

namespace {

const std::string kRule(78, '-');

std::vector<std::string> tableOf(const std::vector<ResultRecord> &records, const std::string &label = "a.SDT")
{
    std::string bytes;
    for (const ResultRecord &r : records)
        bytes += r.bytes();
    TPayoutTable table;
    table.appendResults(bytes, label);
    return table.lines();
}

TEST(PayoutTable, TitleBlockAndRaceLineKeepTheirBytePositions)
{
    ResultRecord r("20240608", "01", 1);
    r.plain(15, 10, 2, "68", 1170, 14760, 35250);
    const auto lines = tableOf({r});
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[0], kRule);
    EXPECT_EQ(u8(lines[1]), "☆★払戻金情報★☆  ２４年２回札幌　５日目                    24年06月08日(土)");
    EXPECT_EQ(lines[1].size(), 78u);
    EXPECT_EQ(lines[2], std::string(78, '='));
    EXPECT_EQ(u8(lines[3]), "Race|  単 勝  |  複勝１ |  複勝２ |  複勝３ |  枠  連  |   馬  連   |返還&同着");
    EXPECT_EQ(lines[4], kRule);
    EXPECT_EQ(lines[5], "  1R|15|  1170|15|   150|10|   230| 2|   310|6-8| 14760|10-15| 35250|         ");
    EXPECT_EQ(lines[6], kRule);
    EXPECT_EQ(u8(lines[7]), "※なお、各レースの成績、及び配当金は主催者発行のものとご照合下さい。m(__)m");
    EXPECT_EQ(lines[8], std::string(78, '='));
}

TEST(PayoutTable, CodesOutsideTheTitleTablesKeepTheirWidths)
{
    ResultRecord r("20040608", "11", 1, "09", "21", '9');
    const std::string title = payoutTitleLine(r.bytes());
    EXPECT_EQ(title.size(), 78u);
    EXPECT_EQ(u8(title), "☆★払戻金情報★☆      年  回        日目                    04年06月08日(  )");
    EXPECT_TRUE(u8(payoutTitleLine(ResultRecord("20090608", "10", 1, "08", "20", '8').bytes()))
                    .starts_with("☆★払戻金情報★☆  　９年８回小倉２０日目                    09"));
}

TEST(PayoutTable, MissingPlacesAndBracketsAreBlankColumns)
{
    ResultRecord r("20240608", "05", 3);
    r.win(1, 7, 540).place(1, 7, 250).place(2, 5, 470).quinella(1, 5, 7, 3210);
    const auto lines = tableOf({r});
    // Not race 1: no title block.
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "  3R| 7|   540| 7|   250| 5|   470|  |      |0-0|      | 5- 7|  3210|         ");
}

TEST(PayoutTable, DeadHeatsAddAStarLineBeforeTheRaceLine)
{
    // A dead heat for first, both winners in frame 4: no second bracket.
    ResultRecord first("20240608", "05", 2);
    first.plain(7, 8, 3, "44", 400, 1300, 2100).win(2, 8, 380).quinella(2, 0, 0, 0);
    auto lines = tableOf({first});
    ASSERT_EQ(lines.size(), 5u);
    const std::string &star = lines[0];
    EXPECT_EQ(star, "*   | 8|   380|  |      |  |      |  |      |   |      |     |      |         ");
    EXPECT_EQ(star[14], '|');
    EXPECT_EQ(star.substr(45, 23), "   |      |     |      ");
    EXPECT_EQ(lines[1].substr(0, 5), "  2R|");

    // A dead heat for first across frames, with its own bracket and quinella.
    first.bracket(2, "45", 900).quinella(2, 3, 8, 1800);
    lines = tableOf({first});
    EXPECT_EQ(lines[0].substr(45, 23), "4-5|   900| 3- 8|  1800");

    // A dead heat for second: the second bracket and quinella.
    ResultRecord second("20240608", "05", 4);
    second.plain(2, 9, 5, "15", 300, 700, 1500).bracket(2, "16", 800).quinella(2, 2, 11, 2600);
    lines = tableOf({second});
    EXPECT_EQ(lines[0], "*   |  |      |  |      |  |      |  |      |1-6|   800| 2-11|  2600|         ");
    EXPECT_EQ(lines[1], "  4R| 2|   300| 2|   150| 9|   230| 5|   310|1-5|   700| 2- 9|  1500|         ");
}

TEST(PayoutTable, VenuesGetTheirTitleBlockAndLargePayoutsAreCappedAndReported)
{
    std::string bytes;
    for (const char *venue : {"01", "07"})
        for (int race = 1; race <= 2; ++race)
            bytes += ResultRecord("20240608", venue, race).plain(1, 2, 3, "12", 200, 300, 400).bytes();
    bytes += ResultRecord("20240608", "07", 3).plain(1, 2, 3, "12", 200, 300, 1234567).bytes();
    TPayoutTable table;
    const auto notices = table.appendResults(bytes + "trailing", sj("中京.SDT"));
    const auto &lines = table.lines();
    ASSERT_EQ(lines.size(), 5u + 2u + 5u + 3u + 3u);
    EXPECT_EQ(lines[1].substr(30, 4), sj("札幌"));
    EXPECT_EQ(lines[8].substr(30, 4), sj("中京"));
    EXPECT_EQ(lines[14].substr(62, 6), "999999");
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].text.find("中京.SDT 5件目"), std::string::npos);
    EXPECT_NE(notices[0].text.find("1234567"), std::string::npos);
    EXPECT_EQ(u8(table.defaultSaveName()), "中京240608");
}

TEST(PayoutTable, AFieldThatIsNotANumberStopsTheFileNamingIt)
{
    std::string bytes = ResultRecord("20240608", "05", 1).plain(1, 2, 3, "12", 200, 300, 400).bytes();
    bytes += ResultRecord("20240608", "05", 2).plain(1, 2, 3, "12", 200, 300, 400).put(335, "12x4567").bytes();
    TPayoutTable table;
    try {
        table.appendResults(bytes, "b.SDT");
        FAIL() << "no error";
    } catch (const ConversionError &e) {
        EXPECT_NE(std::string(e.what()).find("b.SDT 2件目 単勝払戻金"), std::string::npos) << e.what();
    }
    // The first race's lines stay.
    EXPECT_EQ(table.lines().size(), 6u);
}

TEST(PayoutTable, FilesAccumulateUntilSavedAndTheNameAlwaysGetsTxt)
{
    test::TempHome home;
    home.writeFile("a.SDT", ResultRecord("20240608", "01", 1).plain(1, 2, 3, "12", 200, 300, 400).bytes());
    home.writeFile("b.SDT", ResultRecord("20240609", "01", 1).plain(4, 5, 6, "23", 210, 310, 410).bytes());
    TPayoutTable table;
    std::vector<TPayoutNotice> notices;
    EXPECT_FALSE(table.appendResultsFile(WinPath("missing.SDT"), notices));
    EXPECT_TRUE(table.empty());
    ASSERT_TRUE(table.appendResultsFile(WinPath("a.SDT"), notices));
    ASSERT_TRUE(table.appendResultsFile(WinPath("b.SDT"), notices));
    EXPECT_EQ(table.lines().size(), 18u);
    files::makeDirectories(WinPath("out"));
    const WinPath saved = savePayoutTable(table, WinPath("out\\kensyo.TXT"));
    EXPECT_EQ(saved.text(), "out\\kensyo.TXT.TXT");
    const std::string bytes = test::readNative(home.path() / "out" / "kensyo.TXT.TXT");
    EXPECT_EQ(bytes, table.bytes());
    EXPECT_EQ(bytes.substr(78, 2), "\r\n");
}

TEST(PayoutSource, AnArchiveIsUnpackedIntoTheResultsFolderFirst)
{
    test::TempHome home;
    const TPayoutSettings direct{"c:\\zorbelab\\sei", "c:\\zorbelab\\sei\\JracSei1.dat", "1"};
    TPayoutSettings packed = direct;
    packed.kousin = "0";
    lha::TUnlha unlha;
    EXPECT_EQ(payoutSourceFile(direct, WinPath("x.lzh"), unlha).file.text(), "x.lzh");

    files::makeDirectories(WinPath("c:\\zorbelab\\sei"));
    const std::string results = ResultRecord("20240608", "01", 1).plain(1, 2, 3, "12", 200, 300, 400).bytes();
    home.writeFile("in/day.lzh", test::makeLhaArchive({{"JracSei1.dat", results, 1}, {"..\\..\\JracSei1.dat", "x", 0}}));
    const TPayoutSource source = payoutSourceFile(packed, WinPath::fromNative(home.path() / "in" / "day.lzh"), unlha);
    EXPECT_EQ(source.file.text(), "c:\\zorbelab\\sei\\JracSei1.dat");
    EXPECT_EQ(files::readAll(source.file), results);
    ASSERT_EQ(source.refused.size(), 2u); // what was unpacked, and what was not
    EXPECT_NE(u8(source.refused[1]).find("展開先の外を指すため展開しません: ..\\..\\JracSei1.dat"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(home.path() / "drives" / "JracSei1.dat"));

    // An archive without the member leaves no results file behind.
    home.writeFile("in/other.lzh", test::makeLhaArchive({{"other.dat", "x", 0}}));
    const TPayoutSource none = payoutSourceFile(packed, WinPath::fromNative(home.path() / "in" / "other.lzh"), unlha);
    EXPECT_FALSE(files::exists(none.file));
    EXPECT_TRUE(none.refused.empty());
}

} // namespace
