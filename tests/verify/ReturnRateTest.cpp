#include "verify/PayoutFile.h"
#include "verify/ReturnRate.h"
#include "verify/VerifyTestDay.h"

#include "platform/Cp932.h"
#include "platform/Files.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <random>

using namespace zorbe;
using test::ResultRecord;

namespace {

constexpr const char *kFolder = "C:\\ZORBELAB\\txt";

std::string twoWide(int n)
{
    return n < 10 ? " " + std::to_string(n) : std::to_string(n);
}

// A race line of a pick file as the pick output writes it; "" points are
// not bought (five blanks), a fourth point makes it the six-point form.
std::string pickLine(int race, int top, std::array<std::string, 6> points, const char *course = "D  ",
                     const char *klass = "5M　")
{
    for (std::string &p : points)
        if (p.empty())
            p = "     ";
    std::string line = twoWide(race) + "R  " + twoWide(top) + " " + points[0] + " " + points[1] + " " + points[2];
    if (points[3] != "     ")
        line += " " + points[3] + " " + points[4] + " " + points[5] + "  |";
    else
        line += std::string(20, ' ') + "|";
    return line + "  " + course + " " + sj(klass) + " 1600m  [15:25]";
}

std::string pickFile(const std::vector<std::string> &races)
{
    const std::string rule(75, '-');
    std::string out = rule + "\r\n" + sj("札幌 2024年  2回  5日目  6月  8日(土)") + "\r\n" + rule + "\r\n";
    for (const std::string &r : races)
        out += r + "\r\n";
    return out;
}

class ReturnRates : public ::testing::Test
{
protected:
    void SetUp() override { files::makeDirectories(WinPath(kFolder)); }

    // The payout file of the records, as the payout window saves it.
    WinPath payoutFile(const std::vector<ResultRecord> &records, const char *name = "payout")
    {
        std::string bytes;
        for (const ResultRecord &r : records)
            bytes += r.bytes();
        TPayoutTable table;
        table.appendResults(bytes, "t.SDT");
        return savePayoutTable(table, WinPath(kFolder) / name);
    }
    void writePicks(const std::string &name, const std::vector<std::string> &races)
    {
        files::writeAll(WinPath(kFolder) / sj(name), pickFile(races));
    }
    void choose(const WinPath &file)
    {
        rates.beginChoice();
        rates.choosePayoutFile(file);
    }
    const std::string &cell(int grid, int col, int row) const
    {
        return rates.grids[static_cast<std::size_t>(grid - 1)].cell(col, row);
    }
    std::vector<std::string> row(int grid, int r) const
    {
        std::vector<std::string> cells;
        const TGrid &g = rates.grids[static_cast<std::size_t>(grid - 1)];
        for (int c = 1; c < g.cols(); ++c)
            cells.push_back(g.cell(c, r));
        return cells;
    }

    // Four races of 札幌 on 2024-06-08: a quinella hit, three points that
    // miss, a dead heat for first and a race judged on its bracket.
    void standardDay()
    {
        ResultRecord r1("20240608", "01", 1), r2("20240608", "01", 2), r3("20240608", "01", 3),
            r4("20240608", "01", 4);
        r1.plain(3, 8, 1, "25", 450, 800, 1230);
        r2.plain(1, 2, 4, "12", 200, 300, 400);
        r3.plain(5, 9, 2, "35", 300, 640, 2100).win(2, 9, 280);
        r4.plain(1, 2, 3, "12", 190, 520, 0).quinella(1, 0, 0, 0);
        choose(payoutFile({r1, r2, r3, r4}));
        writePicks("札幌20240608本紙.txt",
                   {pickLine(1, 3, {" 3- 8", " 1- 3", " 3- 5", " 1- 8", " 5- 8", " 3- 9"}, "D  ", "未勝"),
                    pickLine(2, 5, {"   35", "   45", "   57"}, "T  ", "5M　"),
                    pickLine(3, 9, {"   35", " 9-11", " 2- 9"}, "D  ", "10　"),
                    pickLine(4, 1, {"   12", "   13", "   14"}, "TS ", "OP　")});
    }

    test::TempHome home;
    TReturnRate rates;
};

TEST_F(ReturnRates, TitleLinesGiveTheVenueButtonsAndTheDate)
{
    const WinPath file = payoutFile({ResultRecord("20240608", "01", 1), ResultRecord("20240608", "07", 1, "03", "11")});
    choose(file);
    EXPECT_EQ(u8(rates.captions[0]), "札幌２回　５日目");
    EXPECT_EQ(rates.captions[0].size(), 16u);
    EXPECT_EQ(u8(rates.captions[1]), "中京３回１１日目");
    EXPECT_TRUE(rates.captions[2].empty());
    EXPECT_EQ(u8(rates.label86), "2024年06月08日(土)");

    choose(payoutFile({ResultRecord("19850608", "01", 1)}, "old"));
    EXPECT_EQ(u8(rates.label86), "1985年06月08日(土)");
    // A date of 19xx looks for the pick file of 19xx.
    writePicks("札幌19850608タイム.txt", {pickLine(1, 1, {" 1- 2", " 1- 3", " 1- 4"})});
    EXPECT_NO_THROW(rates.calculate(0, PickType::Time, kFolder));

    rates.beginChoice();
    try {
        rates.calculate(0, PickType::Honshi, kFolder);
        FAIL() << "no error";
    } catch (const ReturnRateError &e) {
        EXPECT_EQ(std::string(e.what()), "成績ファイルを選択して下さい。");
    }
}

TEST_F(ReturnRates, EveryRaceIsJudgedOnItsRowsAndCreditedByCourseAndClass)
{
    standardDay();
    rates.calculate(0, PickType::Honshi, kFolder);
    EXPECT_EQ(u8(rates.label85), "２回札幌　５日目");
    const std::string hit = sj("〇"), miss = sj("×");

    // Race 1: the quinella hits.
    EXPECT_EQ(cell(1, 0, 1), " 1R");
    EXPECT_EQ(cell(1, 5, 1), " 3- 8");
    EXPECT_EQ(cell(1, 7, 1), "1600");
    EXPECT_EQ(cell(2, 7, 1), hit);
    EXPECT_EQ(cell(2, 8, 1), "D ");
    EXPECT_EQ(cell(2, 8, 2), sj("未"));
    // Race 2: three points, none hits.
    EXPECT_EQ(cell(2, 7, 3), miss);
    // Race 3: the dead-heat line is the race's row, the race line its
    // second row; the first row's blank bracket is no hit even for the
    // blank points 4-6, the second row's bracket 3-5 is.
    EXPECT_EQ(cell(1, 0, 5), "   ");
    EXPECT_EQ(cell(1, 1, 5), " 9");
    EXPECT_EQ(cell(1, 3, 5), "   ");
    EXPECT_EQ(cell(1, 1, 6), " 5");
    EXPECT_EQ(cell(1, 3, 6), "3-5");
    EXPECT_EQ(cell(1, 5, 6), " 5- 9");
    EXPECT_EQ(cell(2, 7, 5), miss);
    EXPECT_EQ(cell(2, 7, 6), hit);
    // Race 4: no quinella, judged on the bracket.
    EXPECT_EQ(cell(1, 5, 7), "     ");
    EXPECT_EQ(cell(2, 7, 7), hit);
    EXPECT_TRUE(cell(2, 7, 8).empty());

    using R = std::vector<std::string>;
    // All races: 1230 + 640 + 520 on 6 + 3 + 3 + 3 points.
    EXPECT_EQ(row(3, 1), (R{"2390", "1500", "159.3%"}));
    EXPECT_EQ(row(3, 2), (R{"1870", "900", "207.8%"}));
    EXPECT_EQ(row(3, 3), (R{"0", "300", "0.0%"}));
    EXPECT_EQ(row(3, 4), (R{"520", "300", "173.3%"}));
    // The win bet: 450 on race 1, the dead-heat winner's 280 on race 3,
    // 190 on race 4.
    EXPECT_EQ(row(3, 5), (R{"920", "400", "230.0%"}));
    // Classes: the dead-heat row of race 3 credits its quinella payout.
    EXPECT_EQ(row(5, 1), (R{"1230", "600", "205.0%"}));
    EXPECT_EQ(row(5, 2), (R{"0", "300", "0.0%"}));
    EXPECT_EQ(row(5, 3), (R{"2100", "300", "700.0%"}));
    EXPECT_EQ(row(5, 4), (R{"0", "0", "0.0%"}));
    EXPECT_EQ(row(5, 5), (R{"520", "300", "173.3%"}));
    // Nothing saved yet for the meeting.
    EXPECT_EQ(row(4, 1), (R{"0", "0", "0.0%"}));

    EXPECT_EQ(rates.preparedLine(), "0023901500" "0018700900" "0000000300" "0005200300" "0009200400"
                                    "0012300600" "0000000300" "0021000300" "0000000000" "0005200300");
}

TEST_F(ReturnRates, MeetingFilesAddUpTheFirstEightDaysAndRefuseADaySavedTwice)
{
    standardDay();
    rates.calculate(0, PickType::Honshi, kFolder);
    const TSaveResult saved = rates.saveDay();
    EXPECT_EQ(u8(saved.file.text()), "C:\\ZORBELAB\\txt\\札幌２回本紙.ken");
    EXPECT_FALSE(saved.clamped);
    EXPECT_EQ(files::readAll(saved.file), rates.preparedLine() + "\r\n");
    try {
        rates.saveDay();
        FAIL() << "saved twice";
    } catch (const ReturnRateError &e) {
        EXPECT_NE(std::string(e.what()).find("　５日目は"), std::string::npos) << e.what();
    }
    EXPECT_EQ(files::readAll(saved.file).size(), 102u);

    // The same day for another pick type is another meeting file.
    files::copy(WinPath(kFolder) / sj("札幌20240608本紙.txt"), WinPath(kFolder) / sj("札幌20240608虎の穴.txt"));
    rates.calculate(0, PickType::Tora, kFolder);
    EXPECT_EQ(u8(rates.saveDay().file.text()), "C:\\ZORBELAB\\txt\\札幌２回虎の穴.ken");

    // Nine saved days: the ninth does not count.
    std::string nine;
    for (int d = 0; d < 9; ++d)
        nine += (d < 8 ? rates.preparedLine() : std::string("999999") + "9900" + std::string(90, '0')) + "\r\n";
    files::writeAll(saved.file, nine);
    rates.calculate(0, PickType::Honshi, kFolder);
    using R = std::vector<std::string>;
    EXPECT_EQ(row(4, 1), (R{"19120", "12000", "159.3%"}));
    EXPECT_EQ(row(6, 3), (R{"16800", "2400", "700.0%"}));

    // A meeting file that is not whole lines is neither read wrongly nor
    // appended to.
    files::append(saved.file, "12345");
    std::filesystem::remove(toNative(rates.savedDaysFile()));
    EXPECT_THROW(rates.saveDay(), ReturnRateError);
    files::writeAll(saved.file, nine.substr(0, 30) + "x" + nine.substr(31));
    try {
        rates.calculate(0, PickType::Honshi, kFolder);
        FAIL() << "damaged meeting file read";
    } catch (const ReturnRateError &e) {
        EXPECT_NE(std::string(e.what()).find("札幌２回本紙.ken の 1 行目"), std::string::npos) << e.what();
    }
}

TEST_F(ReturnRates, FiguresTooLargeForTheFormatsAreWrittenInFullOrCapped)
{
    std::vector<ResultRecord> records;
    std::vector<std::string> picks;
    for (int race = 1; race <= 2; ++race) {
        records.push_back(ResultRecord("20240608", "01", race));
        records.back().plain(1, 2, 3, "12", 200, 300, 600000);
        picks.push_back(pickLine(race, 1, {" 1- 2", " 1- 3", " 1- 4"}));
    }
    choose(payoutFile(records));
    writePicks("札幌20240608本紙.txt", picks);
    rates.calculate(0, PickType::Honshi, kFolder);
    using R = std::vector<std::string>;
    EXPECT_EQ(row(3, 1), (R{"1200000", "600", "200000.0%"}));
    EXPECT_EQ(rates.preparedLine().substr(0, 10), "9999990600");
    EXPECT_EQ(rates.preparedLine().size(), 100u);
    EXPECT_TRUE(rates.saveDay().clamped);
}

TEST_F(ReturnRates, ThePageListsTheMeetingTotals)
{
    standardDay();
    EXPECT_THROW(rates.writeHtml(), ReturnRateError);
    rates.calculate(0, PickType::Honshi, kFolder);
    rates.saveDay();
    rates.calculate(0, PickType::Honshi, kFolder);
    const WinPath page = rates.writeHtml();
    EXPECT_EQ(u8(page.text()), "C:\\ZORBELAB\\txt\\札幌２回本紙集計.htm");
    const std::string html = u8(files::readAll(page));
    const std::string expected =
        "<HTML>\r\n<HEAD>\r\n<TITLE>回収率計算</TITLE>\r\n</HEAD>\r\n<BODY bgcolor=\"#ffffff\" TEXT=\"#00FF40\">\r\n"
        "<center>\r\n<TABLE border=5 width=90% height=1% cellspacing=0 cellpadding=2 bgcolor=\"#000000\">\r\n"
        "<th colspan=\"8\">２回札幌</th>\r\n"
        "<TR ALIGN=\"center\"><TD>本紙</TD><TD>配当</TD><TD>投資</TD><TD>回収率</TD><TD>クラス</TD><TD>配当</TD>"
        "<TD>投資</TD><TD>回収率</TD></TR>\r\n"
        "<TR ALIGN=\"right\"><TD>投資</TD><TD>2390円</TD><TD>1500円</TD><TD>159.3%</TD><TD>未勝</TD><TD>1230円"
        "</TD><TD>600円</TD><TD>205.0%</TD></TR>\r\n";
    EXPECT_EQ(html.substr(0, expected.size()), expected);
    EXPECT_TRUE(html.ends_with("<TD>ｵｰﾌﾟﾝ</TD><TD>520円</TD><TD>300円</TD><TD>173.3%</TD></TR>\r\n"
                               "</TABLE></center>\r\n</BODY></HTML>\r\n"));
}

TEST(ReturnRateReaders, DamagedFilesAreReportedByFileAndLine)
{
    auto message = [](auto &&read) {
        try {
            read();
        } catch (const ReturnRateError &e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    TGrid results(8, 25), picks(9, 25);
    std::string label85;
    std::string payout = ResultRecord("20240608", "01", 1).plain(1, 2, 3, "12", 200, 300, 400).bytes();
    TPayoutTable table;
    table.appendResults(payout, "t");
    std::string text = table.bytes();
    const std::string venue = sj("札幌");
    EXPECT_EQ(message([&] { readPayoutTitles(text.substr(0, 200), "p.TXT"); }), "no error");
    EXPECT_EQ(message([&] { readPayoutTitles(text.substr(0, 120), "p.TXT"); }), "p.TXT の 2 行目: 見出し行が短すぎます");
    const std::size_t raceLine = text.find("  1R|");
    std::string badPay = text;
    badPay.replace(raceLine + 9, 4, "12ab");
    EXPECT_EQ(message([&] { readPayoutSection(badPay, "p.TXT", venue, results, label85); }),
              "p.TXT の 6 行目: 単勝の払戻金が数字ではありません「 12ab0」");
    std::string cut = text.substr(0, raceLine + 40) + "\r\n";
    EXPECT_EQ(message([&] { readPayoutSection(cut, "p.TXT", venue, results, label85); }),
              "p.TXT の 6 行目: 払戻の行が78バイトではありません");
    EXPECT_EQ(message([&] { readPickFile("a\r\nb\r\nc\r\nx1R  3\r\n", "k.txt", results, picks); }),
              "k.txt の 4 行目: レース番号が数字ではありません");
    EXPECT_EQ(message([&] { readPickFile("a\r\nb\r\nc\r\n 1R  3\r\n", "k.txt", results, picks); }),
              "k.txt の 4 行目: 予想の行が短すぎます");
    EXPECT_EQ(message([&] { readMeetingFile(std::string(100, '0') + "\r\n" + std::string(50, '0') + "-" +
                                                std::string(49, '0') + "\r\n",
                                            "m.ken"); }),
              "m.ken の 2 行目: 回収率の行に数字でない所があります");

    // Whatever the bytes, the readers answer or report; they never crash.
    std::mt19937 random(14);
    for (int round = 0; round < 300; ++round) {
        std::string bytes = round % 2 ? text : pickFile({pickLine(1, 3, {" 3- 8", " 1- 3", " 3- 5"})});
        const int edits = 1 + static_cast<int>(random() % 8);
        for (int e = 0; e < edits && !bytes.empty(); ++e) {
            const std::size_t at = random() % bytes.size();
            switch (random() % 3) {
            case 0: bytes[at] = static_cast<char>(random()); break;
            case 1: bytes.erase(at, random() % 40); break;
            default: bytes.insert(at, "\r\n"); break;
            }
        }
        try {
            readPayoutTitles(bytes, "p");
            readPayoutSection(bytes, "p", venue, results, label85);
            readPickFile(bytes, "k", results, picks);
            readMeetingFile(bytes, "m");
        } catch (const ReturnRateError &) {
        }
    }
}

TEST(ReturnRateReaders, InvestmentsAreWrittenInHundreds)
{
    EXPECT_EQ(investmentText(0), "0000");
    EXPECT_EQ(investmentText(3), "0300");
    EXPECT_EQ(investmentText(72), "7200");
    TMeetingDay day;
    day.investment[4] = 1200;
    EXPECT_EQ(meetingLine(day).substr(40, 10), "0000001200");
}

} // namespace
