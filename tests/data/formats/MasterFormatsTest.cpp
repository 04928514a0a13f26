#include "data/formats/MasterFormats.h"

#include "Bytes.h"
#include "platform/Cp932.h"
#include "shell/MasterTables.h"

#include <gtest/gtest.h>

namespace zorbe::formats {
namespace {

using test::spaces;
using test::wide;
using test::zeros;

using SM = TSummaryMasterRec;
using J = TJockeyDetailRec;
using T = TTrainerDetailRec;
using C = TResultCounts;

TEST(MasterFormats, Lengths)
{
    EXPECT_EQ(SM::kLength, 52u);
    EXPECT_EQ(J::kLength, 1161u);
    EXPECT_EQ(T::kLength, 906u);
    EXPECT_EQ(TJockeySection::kLength, 336u);
    EXPECT_EQ(TTrainerSection::kLength, 264u);
    EXPECT_EQ(TGradedWinBlock::kLength, 54u);
    EXPECT_EQ(TSTimeRec::kLength, 132u);
    EXPECT_EQ(TCSTimeRec::kLength, 204u);
    EXPECT_EQ(J().size(), 1161u);
    EXPECT_EQ(T().size(), 906u);
}

TEST(MasterFormats, SummaryLineIsReadBackByTheMasterTableLoader)
{
    SM m;
    m.set(SM::Code, "01014");
    m.set(SM::Name, sj("武豊"));
    m.setCounts(123, 45, 67, 0);
    m.set(SM::Affiliation, "2");
    const std::string expected = "01014" + sj("武豊") + wide(14) + "123" "045" "067" "000" "2" "\r\n";
    EXPECT_EQ(m.bytes(), expected);

    const TMasterEntry e = parseMasterLine(m.bytes());
    EXPECT_EQ(e.Code, "01014");
    EXPECT_EQ(e.Name, sj("武豊") + wide(14));
    EXPECT_EQ(e.Region, "2");
    EXPECT_DOUBLE_EQ(e.TopTwoRate, 168.0 / 235.0);
}

TEST(MasterFormats, SummaryCountsNeverWidenTheLine)
{
    SM m;
    m.setCounts(5, 0, 1000, 2997); // the sum of three 3-digit counts can reach 2997
    EXPECT_EQ(m.size(), 52u);
    EXPECT_EQ(m.get(SM::Thirds), "999");
    EXPECT_EQ(m.get(SM::Others), "999");
    EXPECT_EQ(m.get(SM::Wins), "005");
    EXPECT_EQ(m.bytes().substr(50), "\r\n");
}

std::string blankGradedWin()
{
    return zeros(16) + wide(3) + " " "0" "00" + zeros(10) + wide(9);
}

TEST(MasterFormats, JockeyDetailGoldenBytes)
{
    J j;
    j.set(J::Code, "01014");
    j.set(J::DataDate, "20040620");
    j.set(J::Retired, "0");
    j.set(J::RetiredDate, "00000000");
    j.set(J::DisplayName, sj("武") + wide(7) + sj("豊"));
    j.set(J::KanaName, sj("ﾀｹ ﾕﾀｶ"));
    j.set(J::ShortName, sj("武豊"));
    j.set(J::BirthDate, "19690315");
    j.set(J::Affiliation, "2");
    j.set(J::Qualification, "0");
    j.set(J::Apprentice, "0");
    j.set(J::TrainerCode, "00000");
    j.set(J::FirstLicenceYear, "1987");
    TGradedWinBlock w;
    w.set(TGradedWinBlock::Key, "2004062709030811");
    w.set(TGradedWinBlock::ShortName, sj("宝塚記"));
    w.set(TGradedWinBlock::Grade, "A");
    w.set(TGradedWinBlock::Starters, "15");
    w.set(TGradedWinBlock::HorseId, "1999100000");
    w.set(TGradedWinBlock::HorseName, sj("テスト"));
    j.setBlock(J::GradedWin, 1, w);
    const char *prize[] = {"0100000", "0000100", "0050000", "0000200"};
    for (std::size_t i = 1; i <= 4; ++i)
        j.set(J::ThisYearPrize, i, prize[i - 1]);
    const int career[] = {2800, 2000, 1500, 9000};
    for (std::size_t i = 1; i <= 4; ++i)
        j.setNumber(J::CareerFlat, i, career[i - 1]);
    TJockeySection s;
    s.setBlock(TJockeySection::Flat, C::fromBytes("100080060300"));
    s.setBlock(TJockeySection::Course, courseGroup(5), C::fromBytes("010005003020"));
    s.setBlock(TJockeySection::Course, courseGroup(10, true), C::fromBytes("000000000009"));
    s.setBlock(TJockeySection::Distance, 6, C::fromBytes("001000000001"));
    j.setBlock(J::ThisYear, s);

    std::string expected = "01014" "20040620" "0" "00000000" + sj("武") + wide(7) + sj("豊") + wide(7)
                           + sj("ﾀｹ ﾕﾀｶ") + spaces(12) + sj("武豊") + wide(2) + "19690315" "2" "0" "0" "00000"
                           + wide(4) + "0" + wide(12) + "1987";
    for (int k = 0; k < 2; ++k)
        expected += zeros(28) + wide(9) + zeros(2);
    expected += "2004062709030811" + sj("宝塚記") + "A" "0" "15" "1999100000" + sj("テスト") + wide(6);
    expected += blankGradedWin() + blankGradedWin();
    expected += "0100000" "0000100" "0050000" "0000200" + zeros(28);
    expected += "02800" "02000" "01500" "09000" + zeros(20);
    // This year: flat, jump, courses 01-10 in pairs, six distance groups.
    expected += "100080060300" + zeros(12) + zeros(8 * 12) + "010005003020" + zeros(10 * 12) + "000000000009"
                + zeros(5 * 12) + "001000000001";
    expected += zeros(336) + "\r\n";
    ASSERT_EQ(expected.size(), 1161u);
    EXPECT_EQ(j.bytes(), expected);

    const J back = J::fromBytes(expected);
    EXPECT_EQ(back.gradedWin(1).get(TGradedWinBlock::Key).substr(0, 4), "2004");
    EXPECT_EQ(back.gradedWin(2).get(TGradedWinBlock::Key).substr(0, 4), "0000");
    EXPECT_EQ(back.section(J::ThisYear).blockAs<C>(TJockeySection::Course, courseGroup(5)).number(C::Wins), 10);
    EXPECT_EQ(back.get(J::KanaName).substr(0, 2), sj("ﾀｹ"));
    EXPECT_EQ(back.firstRun(2).get(TFirstRunBlock::Finish), "00");
}

TEST(MasterFormats, TrainerDetailGoldenBytesWithoutGradedWin)
{
    T t;
    t.set(T::Code, "01016");
    t.set(T::DataDate, "20040617");
    t.set(T::Retired, "0");
    t.set(T::RetiredDate, "00000000");
    t.set(T::DisplayName, sj("藤沢") + wide(6) + sj("和雄"));
    t.set(T::KanaName, sj("ﾌｼﾞｻﾜ ｶｽﾞｵ"));
    t.set(T::ShortName, sj("藤沢和"));
    t.set(T::BirthDate, "19510922");
    t.set(T::Affiliation, "1");
    t.set(T::InviteRegion, sj("美浦") + wide(8));
    t.set(T::FirstLicenceYear, "1987");
    t.setNumber(T::CareerJump, 4, 12);
    TTrainerSection s;
    s.setBlock(TTrainerSection::Jump, C::fromBytes("001002003004"));
    s.setBlock(TTrainerSection::Course, courseGroup(1, true), C::fromBytes("111222333444"));
    t.setBlock(T::LastYear, s);

    std::string expected = "01016" "20040617" "0" "00000000" + sj("藤沢") + wide(6) + sj("和雄") + wide(6)
                           + sj("ﾌｼﾞｻﾜ ｶｽﾞｵ") + spaces(8) + sj("藤沢和") + wide(1) + "19510922" "1" "0"
                           + sj("美浦") + wide(10) + "1987" + blankGradedWin() + blankGradedWin()
                           + blankGradedWin() + zeros(56) + zeros(20) + "00000000000000000012" + zeros(264)
                           + zeros(12) + "001002003004" + zeros(12) + "111222333444" + zeros(18 * 12) + "\r\n";
    ASSERT_EQ(expected.size(), 906u);
    EXPECT_EQ(t.bytes(), expected);
    EXPECT_EQ(T::fromBytes(expected).gradedWin(1).get(TGradedWinBlock::Key).substr(0, 4), "0000");
    EXPECT_EQ(T::fromBytes(expected).get(T::InviteRegion), sj("美浦") + wide(10));
}

TEST(MasterFormats, TimeCorrectionLinesGoldenBytes)
{
    TCSTimeRec c;
    c.set(TCSTimeRec::Key, "2004050308");
    for (std::size_t p = 1; p <= 10; ++p) {
        c.setNumber(TCSTimeRec::StdTime, p, 700 + static_cast<std::int64_t>(p));
        c.setNumber(TCSTimeRec::Std3F, p, 350 + static_cast<std::int64_t>(p));
        c.setNumber(TCSTimeRec::Early3F, p, 340 + static_cast<std::int64_t>(p));
        c.setNumber(TCSTimeRec::Distance, p, 1000 + 100 * static_cast<std::int64_t>(p));
        c.set(TCSTimeRec::Track, p, p % 2 ? "24" : "17");
    }
    std::string head = "2004050308";
    for (int p = 1; p <= 10; ++p)
        head += "0" + std::to_string(700 + p);
    head += "0000" "0000";
    for (int p = 1; p <= 10; ++p)
        head += std::to_string(350 + p);
    head += "000" "000";
    for (int p = 1; p <= 10; ++p)
        head += std::to_string(340 + p);
    head += "000" "000";
    ASSERT_EQ(head.size(), 130u);
    std::string tail;
    for (int p = 1; p <= 10; ++p)
        tail += std::to_string(1000 + 100 * p);
    tail += "0000" "0000";
    for (int p = 1; p <= 10; ++p)
        tail += p % 2 ? "24" : "17";
    tail += "00" "00";
    EXPECT_EQ(c.bytes(), head + tail + "\r\n");
    EXPECT_EQ(c.toSTime().bytes(), head + "\r\n");
    EXPECT_EQ(c.key().get(TMeetKey::Nichi), "08");
    EXPECT_EQ(TSTimeRec::fromBytes(head + "\r\n").number(TSTimeRec::StdTime, 10), 710);

    // A race number the day did not have holds zeros in every group.
    const TSTimeRec fresh;
    EXPECT_EQ(fresh.get(TSTimeRec::StdTime, 12), "0000");
    EXPECT_EQ(fresh.get(TSTimeRec::Std3F, 12), "000");
    EXPECT_EQ(fresh.get(TSTimeRec::Early3F, 1), "000");
    EXPECT_THROW(c.setNumber(TCSTimeRec::StdTime, 1, 10000), LayoutError);
}

} // namespace
} // namespace zorbe::formats
