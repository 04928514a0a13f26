#include "data/formats/ResultFormats.h"

#include "Bytes.h"
#include "platform/Cp932.h"

#include <gtest/gtest.h>

namespace zorbe::formats {
namespace {

using test::spaces;
using test::wide;
using test::zeros;

using R = TResultRec;
using RR = TResultRunnerRec;
using E = TRaceEntryRec;

TEST(ResultFormats, LengthsAndBlanks)
{
    EXPECT_EQ(R::kLength, 3048u);
    EXPECT_EQ(RR::kLength, 129u);
    EXPECT_EQ(TPayoutEntry::kShortLength, 11u);
    EXPECT_EQ(TPayoutEntry::kLongLength, 15u);
    EXPECT_EQ(RR::blank().bytes(), spaces(129));
    EXPECT_EQ(RR().bytes(), spaces(115) + zeros(14)); // a new block, to be filled in
    EXPECT_EQ(TPayoutEntry::blankShort().bytes(), "00000000000");
    EXPECT_EQ(TPayoutEntry::blankLong().bytes(), "000000000000000");
    EXPECT_TRUE(TPayoutEntry::blankLong().isEmpty());

    // A new results line: every payout "0", the 45 "0", laps "000", all
    // runner blocks blank, and the no-record course block.
    const R r;
    EXPECT_EQ(r.size(), 3048u);
    EXPECT_EQ(r.bytes().substr(333, 649 - 333), zeros(649 - 333));
    EXPECT_EQ(r.bytes().substr(649, 75), zeros(75));
    EXPECT_EQ(r.bytes().substr(724, 18 * 129), spaces(18 * 129));
    EXPECT_EQ(r.bytes().substr(232, 87),
              zeros(35) + wide(9) + zeros(9) + wide(4) + zeros(6) + wide(4) + zeros(3));
    EXPECT_EQ(r.bytes().substr(3046), "\r\n");
}

TEST(ResultFormats, PayoutFormsAreKeptApart)
{
    R r;
    TPayoutEntry win = TPayoutEntry::blankShort();
    win.setCombination("07");
    win.setPayout("0000350");
    win.setPopularity("01");
    TPayoutEntry quinella = TPayoutEntry::blankLong();
    quinella.setCombination("0307");
    quinella.setPayout("00001230");
    quinella.setPopularity("004");
    EXPECT_THROW(win.setPayout("00000350"), LayoutError);
    EXPECT_THROW(r.setPayout(R::Quinella, 1, win), LayoutError);
    EXPECT_THROW(r.setPayout(R::Win, 1, quinella), LayoutError);
    r.setPayout(R::Win, 1, win);
    r.setPayout(R::Quinella, 1, quinella);
    EXPECT_EQ(r.payout(R::Win, 1).payout(), "0000350");
    EXPECT_TRUE(r.payout(R::Quinella, 1).isLong());
    EXPECT_FALSE(r.payout(R::Win, 1).isLong());
    EXPECT_EQ(r.payout(R::Quinella, 1).combination(), "0307");
    EXPECT_EQ(r.payout(R::Quinella, 1).popularity(), "004");
    EXPECT_TRUE(r.payout(R::Wide, 7).isEmpty());
    EXPECT_THROW(r.payout(R::Win, 4), LayoutError);
    EXPECT_THROW(TPayoutEntry::fromBytes("0000"), LayoutError);
}

E entry(std::string_view no, std::string_view name)
{
    E e;
    e.set(E::HorseNo, no);
    e.set(E::Bracket, no.substr(1));
    e.set(E::HorseId, "2001100000");
    e.set(E::HorseName, sj(name));
    e.set(E::Sex, "2");
    e.set(E::Weight, "540");
    e.set(E::Blinker, "1");
    e.set(E::JockeyCode, "00666");
    e.set(E::JockeyName, sj("ﾃﾞﾑｰﾛ"));
    e.set(E::Apprentice, "1");
    e.set(E::TrainerCode, "01001");
    e.set(E::TrainerName, sj("角居"));
    return e;
}

RR runner(std::string_view no, std::string_view name, std::string_view finish)
{
    RR r;
    r.setEntry(entry(no, name));
    r.set(RR::Abnormal, "0");
    r.set(RR::BodyWeight, "470");
    r.set(RR::BodyChange, "-04");
    for (std::size_t c = 1; c <= 4; ++c)
        r.set(RR::Corner, c, c <= 2 ? "00" : "01");
    r.set(RR::Last4F, "468");
    r.set(RR::Last3F, "344");
    r.set(RR::Time, "1094");
    r.set(RR::MarginCode, "D  ");
    r.set(RR::Arrival, "01");
    r.set(RR::Finish, finish);
    r.set(RR::Popularity, "03");
    r.set(RR::WinOdds, "0052");
    r.set(RR::PrizeMain, "0003900");
    r.set(RR::PrizeAdded, "0000000");
    return r;
}

TEST(ResultFormats, ResultGoldenBytesWithDeadHeat)
{
    R r;
    r.set(R::Key, "2004062709030601");
    r.set(R::Weekday, "1");
    r.set(R::RaceName, "");
    r.set(R::ShortName, "");
    r.set(R::Edition, "000");
    r.set(R::Grade, " ");
    r.set(R::RaceKind, "12");
    r.set(R::Symbol, "020");
    r.set(R::WeightRule, "3");
    for (std::size_t c = 1; c <= 5; ++c)
        r.set(R::Class, c, c == 2 || c == 5 ? "703" : "000");
    r.set(R::Distance, "1200");
    r.set(R::Track, "24");
    r.set(R::Course, "  ");
    for (std::size_t p = 1; p <= 7; ++p)
        r.setNumber(R::Prize, p, static_cast<std::int64_t>(p));
    for (std::size_t p = 1; p <= 5; ++p)
        r.setNumber(R::AddedPrize, p, 0);
    r.set(R::StartTime, "1000");
    r.set(R::Entries, "12");
    r.set(R::Starters, "12");
    r.set(R::Finishers, "12");
    r.set(R::Going, "2");
    r.set(R::Weather, "1");
    // A dead heat for first: win and quinella entries 1 and 2 are filled.
    const auto shortEntry = [](std::string_view n, std::string_view yen, std::string_view pop) {
        TPayoutEntry e = TPayoutEntry::blankShort();
        e.setCombination(n);
        e.setPayout(yen);
        e.setPopularity(pop);
        return e;
    };
    r.setPayout(R::Win, 1, shortEntry("03", "0000250", "01"));
    r.setPayout(R::Win, 2, shortEntry("11", "0000900", "05"));
    r.setPayout(R::Place, 1, shortEntry("03", "0000120", "01"));
    r.setPayout(R::BracketQuinella, 1, shortEntry("38", "0001570", "07"));
    TPayoutEntry q = TPayoutEntry::blankLong();
    q.setCombination("0311");
    q.setPayout("00001680");
    q.setPopularity("006");
    r.setPayout(R::Quinella, 1, q);
    const int laps[] = {122, 108, 113, 117, 118, 122};
    for (std::size_t k = 1; k <= 6; ++k)
        r.setNumber(R::Lap, k, laps[k - 1]);
    for (std::size_t m = 1; m <= 12; ++m) {
        const std::string no = zeroPad(static_cast<std::int64_t>(m), 2);
        r.setRunner(m, runner(no, m == 1 ? "ハヤブサ" : "アイウエオカキクケコサシ", m <= 2 ? "01" : no));
    }

    std::string expected = "2004062709030601" "1" + wide(30) + wide(3) + "000" " " "12" "020" "3"
                           + "000703000000703" + wide(12) + "1200" "24" "  " "00000000";
    for (int p = 1; p <= 7; ++p)
        expected += "000000" + std::to_string(p);
    expected += zeros(35);
    expected += zeros(35) + wide(9) + zeros(9) + wide(4) + zeros(6) + wide(4) + zeros(3);
    expected += "1000" "0" "12" "0" "12" "12" "2" "1";
    expected += "03000025001" "11000090005" "00000000000";
    expected += "03000012001" + zeros(44);
    expected += "38000157007" + zeros(22);
    expected += "031100001680006" + zeros(30);
    expected += zeros(105) + zeros(45);
    expected += "122108113117118122" + zeros(19 * 3);
    for (int m = 1; m <= 12; ++m) {
        const std::string no = zeroPad(m, 2);
        const std::string name = m == 1 ? sj("ハヤブサ") + wide(5) : sj("アイウエオカキクケ");
        expected += no + no.substr(1) + "2001100000" + name + "2" "540" "1" "00666" + sj("ﾃﾞﾑｰﾛ") + wide(1) + " "
                    + "1" "01001" + sj("角居") + wide(2);
        expected += "0" "470" "-04" "00000101" "468" "344" "1094" "D  " "01" + (m <= 2 ? std::string("01") : no)
                    + "03" "0052" "0003900" "0000000" + zeros(14);
    }
    for (int m = 13; m <= 18; ++m)
        expected += spaces(129);
    expected += "\r\n";
    ASSERT_EQ(expected.size(), 3048u);
    EXPECT_EQ(r.bytes(), expected);

    const R back = R::fromBytes(expected);
    EXPECT_EQ(back.payout(R::Win, 2).combination(), "11");
    EXPECT_TRUE(back.payout(R::Win, 3).isEmpty());
    EXPECT_TRUE(back.payout(R::Quinella, 2).isEmpty());
    EXPECT_EQ(back.get(R::Lap, 6), "122");
    for (std::size_t k = 7; k <= 25; ++k)
        EXPECT_EQ(back.get(R::Lap, k), "000");
    EXPECT_EQ(back.runner(1).entry().get(E::HorseName), sj("ハヤブサ") + wide(5));
    EXPECT_EQ(back.runner(2).get(RR::Finish), "01");
    EXPECT_EQ(back.runner(12).number(RR::Time), 1094);
    EXPECT_EQ(back.runner(13).bytes(), spaces(129));
    EXPECT_TRUE(back.courseRecord().isEmpty());
}

TEST(ResultFormats, CourseRecordBlockCarriedOverUnchanged)
{
    TRaceCardRec card;
    TCourseRecordBlock cr;
    cr.set(TCourseRecordBlock::DataKind, "2");
    cr.set(TCourseRecordBlock::RecordTime, "1071");
    cr.set(TCourseRecordBlock::HorseName, sj("レコード馬"));
    card.setCourseRecord(cr);
    R r;
    r.setCourseRecord(card.courseRecord());
    EXPECT_EQ(r.bytes().substr(232, 87), card.bytes().substr(232, 87));
    EXPECT_EQ(r.get(R::CourseRecord), card.get(TRaceCardRec::CourseRecord));
}

} // namespace
} // namespace zorbe::formats
