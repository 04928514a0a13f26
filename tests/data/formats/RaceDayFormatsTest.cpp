#include "data/formats/RaceDayFormats.h"
#include "data/formats/RecordIo.h"

#include "Bytes.h"
#include "platform/Cp932.h"

#include <gtest/gtest.h>

namespace zorbe::formats {
namespace {

using test::spaces;
using test::wide;
using test::zeros;

using RC = TRaceCardRec;
using E = TRaceEntryRec;
using CR = TCourseRecordBlock;
using P = TPastRaceRec;
using H = THorseRec;

// The course-record block of a race without a record, character for character.
const std::string kNoCourseRecord
    = sj("00000000000000000000000000000000000　　　　　　　　　000000000　　　　000000　　　　000");

std::string blankPastRace()
{
    return spaces(16) + wide(3) + spaces(10) + wide(12) + spaces(37) + wide(4) + spaces(6) + wide(4) + spaces(76)
           + wide(9) + spaces(6);
}

TEST(RaceDayFormats, RecordLengths)
{
    EXPECT_EQ(RC::kLength, 1463u);
    EXPECT_EQ(E::kLength, 63u);
    EXPECT_EQ(CR::kLength, 87u);
    EXPECT_EQ(H::kLength, 2881u);
    EXPECT_EQ(P::kLength, 215u);
    EXPECT_EQ(TRaceRefRec::kLength, 18u);
    EXPECT_EQ(TResultCounts::kLength, 12u);
    EXPECT_EQ(TOddsDayRec::kLength, 1504u);
    EXPECT_EQ(TOddsVenueRec::kLength, 92u);
    // Every blank record comes out at its length and as a line.
    for (const std::string &b : {RC().bytes(), H().bytes(), TOddsVenueRec().bytes(), TOddsDayRec().bytes()})
        EXPECT_EQ(b.substr(b.size() - 2), "\r\n");
    EXPECT_EQ(RC().size(), 1463u);
    EXPECT_EQ(H().size(), 2881u);
}

TEST(RaceDayFormats, BlankBlocksAreTheLiteralPatterns)
{
    EXPECT_EQ(E::blank().bytes(), spaces(63));
    EXPECT_EQ(CR::blank().bytes(), kNoCourseRecord);
    EXPECT_EQ(CR().bytes(), kNoCourseRecord);
    EXPECT_EQ(kNoCourseRecord,
              zeros(35) + wide(9) + zeros(9) + wide(4) + zeros(6) + wide(4) + zeros(3));
    EXPECT_TRUE(CR().isEmpty());
    EXPECT_EQ(P::blank().bytes(), blankPastRace());
    EXPECT_TRUE(P::blank().isMissing());
    EXPECT_EQ(TRaceRefRec::blank().bytes(), spaces(18));
    EXPECT_EQ(TResultCounts::blank().bytes(), zeros(12));
    // A new past race to be filled in differs from the blank one only in its
    // fillers, which then hold their zeros.
    const std::string fresh = P().bytes();
    EXPECT_EQ(fresh.substr(62, 10), "0000000000");
    EXPECT_EQ(fresh.substr(167, 14), zeros(14));
    EXPECT_EQ(fresh.substr(209, 3), "000");
    std::string blanked = fresh;
    blanked.replace(62, 10, spaces(10)).replace(167, 14, spaces(14)).replace(209, 3, spaces(3));
    EXPECT_EQ(blanked, blankPastRace());

    // A new race card carries the no-record block at 232 and 18 blank entries;
    // a new horse line five blank past races and 50 blank history slots.
    const RC card;
    EXPECT_EQ(card.bytes().substr(232, 87), kNoCourseRecord);
    EXPECT_EQ(card.get(RC::CourseRecord).substr(0, 1), "0");
    EXPECT_EQ(card.bytes().substr(327, 18 * 63), spaces(18 * 63));
    const H horse;
    for (std::size_t k = 1; k <= 5; ++k)
        EXPECT_EQ(horse.get(H::Past, k), blankPastRace());
    EXPECT_EQ(horse.bytes().substr(1979, 900), spaces(900));
    EXPECT_EQ(horse.bytes().substr(616, 288), zeros(288));
}

TEST(RaceDayFormats, PastRaceMissingByYearOrMeeting)
{
    P p = P::fromBytes(blankPastRace());
    p.set(P::Key, "2004053005020810");
    EXPECT_FALSE(p.isMissing());
    p.set(P::Key, "    053005  0810");
    EXPECT_TRUE(p.isMissing());
    p.set(P::Key, "2004053005  0810");
    EXPECT_TRUE(p.isMissing());
}

E sampleEntry1()
{
    E e;
    e.set(E::HorseNo, "01");
    e.set(E::Bracket, "1");
    e.set(E::HorseId, "2000100001");
    e.set(E::HorseName, sj("テストホース"));
    e.set(E::Sex, "1");
    e.set(E::Weight, "580");
    e.set(E::Blinker, " ");
    e.set(E::JockeyCode, "01014");
    e.set(E::JockeyName, sj("武豊"));
    e.set(E::Apprentice, " ");
    e.set(E::TrainerCode, "01000");
    e.set(E::TrainerName, sj("ﾃｽﾄ"));
    return e;
}

TEST(RaceDayFormats, RaceCardGoldenBytes)
{
    RC r;
    r.set(RC::Key, "2004062705030811");
    r.set(RC::Weekday, "2");
    r.set(RC::RaceName, sj("宝塚記念"));
    r.set(RC::ShortName, sj("宝塚記"));
    r.set(RC::Edition, "045");
    r.set(RC::Grade, "A");
    r.set(RC::RaceKind, "13");
    r.set(RC::Symbol, "000");
    r.set(RC::WeightRule, "4");
    for (std::size_t c = 1; c <= 5; ++c)
        r.set(RC::Class, c, c <= 2 ? "000" : "999");
    r.set(RC::Distance, "2200");
    r.set(RC::Track, "17");
    r.set(RC::Course, "A ");
    const char *prizes[] = {"0013200", "0005300", "0003300", "0002000", "0001300"};
    for (std::size_t p = 1; p <= 5; ++p)
        r.set(RC::Prize, p, prizes[p - 1]);
    r.set(RC::AddedPrize, 1, "0000100");
    r.set(RC::AddedPrize, 2, "0000050");
    r.set(RC::AddedPrize, 3, "0000020");
    CR cr;
    cr.set(CR::DataKind, "1");
    cr.set(CR::RecordTime, "2107");
    cr.set(CR::Year, "2002");
    cr.set(CR::MonthDay, "0623");
    cr.set(CR::Kai, "03");
    cr.set(CR::Nichi, "08");
    cr.set(CR::Venue, "09");
    cr.set(CR::RaceNo, "11");
    cr.set(CR::Going, "1");
    cr.set(CR::Weather, "2");
    cr.set(CR::HorseId, "1997104325");
    cr.set(CR::HorseName, sj("ダンツフレーム") + wide(11)); // a 36-byte name: its first 18 bytes
    cr.set(CR::Sex, "1");
    cr.set(CR::Weight, "580");
    cr.set(CR::JockeyCode, "01014");
    cr.set(CR::JockeyName, sj("藤田"));
    cr.set(CR::TrainerCode, "00401");
    cr.set(CR::TrainerName, sj("山内"));
    r.setCourseRecord(cr);
    r.set(RC::StartTime, "1540");
    r.set(RC::Entries, "02");
    r.setEntry(1, sampleEntry1());
    E e2 = sampleEntry1();
    e2.set(E::HorseNo, "02");
    e2.set(E::HorseName, sj("アイウエオカキクケコサシスセソタチツ"));
    r.setEntry(2, e2);

    const std::string entry1 = "01" "1" "2000100001" + sj("テストホース") + wide(3) + "1" "580" " " "01014"
                               + sj("武豊") + wide(2) + " " "01000" + sj("ﾃｽﾄ") + wide(2) + " ";
    const std::string entry2 = "02" "1" "2000100001" + sj("アイウエオカキクケ") + "1" "580" " " "01014"
                               + sj("武豊") + wide(2) + " " "01000" + sj("ﾃｽﾄ") + wide(2) + " ";
    const std::string courseRecord = "1" "2107" "2002" "0623" "03" "08" "09" "11" "1" "2" "00" "1997104325"
                                     + sj("ダンツフレーム") + wide(2) + "1" "580" "01014" + sj("藤田") + wide(2)
                                     + "0" "00401" + sj("山内") + wide(2) + "000";
    std::string expected = "2004062705030811" "2" + sj("宝塚記念") + wide(26) + sj("宝塚記")
                           + "045" "A" "13" "000" "4" "000000999999999" + wide(12) + "2200" "17" "A "
                           + "00000000" "0013200" "0005300" "0003300" "0002000" "0001300" + zeros(14)
                           + "0000100" "0000050" "0000020" + zeros(14) + courseRecord + "1540" "0" "02" "0"
                           + entry1 + entry2;
    for (int j = 3; j <= 18; ++j)
        expected += spaces(63);
    expected += "\r\n";
    ASSERT_EQ(expected.size(), 1463u);
    EXPECT_EQ(r.bytes(), expected);

    // Read back through the same layout.
    const RC back = RC::fromBytes(expected);
    EXPECT_EQ(back.key().get(TRaceKey::Venue), "05");
    EXPECT_EQ(back.key().get(TRaceKey::RaceNo), "11");
    EXPECT_EQ(u8(back.get(RC::RaceName)).substr(0, 12), "宝塚記念");
    EXPECT_EQ(back.get(RC::Class, 5), "999");
    EXPECT_EQ(back.number(RC::Prize, 3), 3300);
    EXPECT_EQ(back.get(RC::AddedPrize, 3), "0000020");
    EXPECT_EQ(back.courseRecord().get(CR::RecordTime), "2107");
    EXPECT_EQ(back.get(RC::CourseRecord).substr(35, 18), sj("ダンツフレーム") + wide(2));
    EXPECT_EQ(back.number(RC::Entries), 2);
    EXPECT_EQ(back.entry(2).get(E::HorseName), sj("アイウエオカキクケ"));
    EXPECT_EQ(back.entry(1).get(E::TrainerName), sj("ﾃｽﾄ") + wide(2) + " ");
    EXPECT_EQ(back.entry(3).bytes(), spaces(63));
}

TEST(RaceDayFormats, SixteenRunnersLeaveTwoBlankEntries)
{
    RC r;
    for (std::size_t j = 1; j <= 16; ++j) {
        E e = sampleEntry1();
        e.setNumber(E::HorseNo, static_cast<std::int64_t>(j));
        r.setEntry(j, e);
    }
    r.setNumber(RC::Entries, 16);
    EXPECT_EQ(r.size(), 1463u);
    EXPECT_EQ(r.entry(16).get(E::HorseNo), "16");
    EXPECT_EQ(r.bytes().substr(327 + 16 * 63, 2 * 63), spaces(126));
    EXPECT_EQ(r.bytes().substr(1461), "\r\n");
    EXPECT_THROW(r.entry(19), LayoutError);
}

TEST(RaceDayFormats, HorseGoldenBytes)
{
    H h;
    h.set(H::Id, "2001105432");
    h.set(H::DataKind, "1");
    h.set(H::DataDate, "20040620");
    h.set(H::Retired, "0");
    h.set(H::RetiredDate, "00000000");
    h.set(H::Name, sj("ゼンノロブロイ"));
    h.set(H::BirthDate, "20000327");
    h.set(H::Breed, "1");
    h.set(H::Sex, "1");
    h.set(H::Colour, "03");
    h.set(H::Mark, "00");
    h.set(H::Sire, sj("サンデーサイレンス"));
    h.set(H::Dam, sj("ローミンレイチェル"));
    h.set(H::DamSire, sj("マイニング"));
    h.set(H::Birthplace, sj("白老町") + wide(7)); // 20 bytes of source
    h.set(H::Breeder, sj("白老ファーム"));
    h.set(H::OwnerCode, "123456");
    h.set(H::Owner, sj("テスト馬主"));
    h.set(H::TrainerCode, "01016");
    h.set(H::TrainerName, sj("藤沢和"));
    h.set(H::PrizeMain, "0012345");
    h.set(H::PrizeAdded, "0000123");
    h.set(H::PrizeEarned, 1, "0004500");
    TResultCounts total;
    total.set(TResultCounts::Wins, "003");
    total.set(TResultCounts::Seconds, "002");
    total.set(TResultCounts::Thirds, "001");
    total.setNumber(TResultCounts::Others, 4);
    h.setResults(H::kGroupTotal, total);
    TResultCounts longDirt;
    longDirt.setNumber(TResultCounts::Wins, 1);
    longDirt.setNumber(TResultCounts::Others, 2);
    h.setResults(H::kGroupDirtDistance + 2, longDirt);

    P p;
    p.set(P::Key, "2004053005020810");
    p.set(P::RaceName, sj("目黒記"));
    p.set(P::Grade, " ");
    p.set(P::RaceKind, "13");
    p.set(P::Symbol, "000");
    p.set(P::WeightRule, "1");
    p.set(P::Class, "999");
    p.set(P::ConditionName, sj("オープン"));
    p.set(P::Distance, "2500");
    p.set(P::Track, "11");
    p.set(P::Registered, "18");
    p.set(P::Starters, "18");
    p.set(P::Finishers, "17");
    p.set(P::Going, "1");
    p.set(P::Weather, "1");
    p.set(P::HorseNo, "07");
    p.set(P::Bracket, "4");
    p.set(P::Sex, "1");
    p.set(P::Weight, "560");
    p.set(P::Blinker, " ");
    p.set(P::JockeyCode, "05203");
    p.set(P::JockeyName, sj("ペリエ"));
    p.set(P::Apprentice, " ");
    p.set(P::TrainerCode, "01016");
    p.set(P::TrainerName, sj("藤沢和"));
    p.set(P::Abnormal, "0");
    p.set(P::BodyWeight, "486");
    p.set(P::BodyChange, "+02");
    p.set(P::Corner, 1, "03");
    p.set(P::Corner, 2, "03");
    p.set(P::Corner, 3, "03");
    p.set(P::Corner, 4, "02");
    p.set(P::Last4F, "470");
    p.set(P::Last3F, "345");
    p.set(P::Time, "2313");
    p.set(P::MarginCode, "1  ");
    p.set(P::Arrival, "02");
    p.set(P::Finish, "02");
    p.set(P::Popularity, "01");
    p.set(P::WinOdds, "0021");
    p.set(P::Prize, 1, "0004200");
    p.set(P::Prize, 2, "0000000");
    p.set(P::RivalId, "1999106789");
    p.set(P::RivalName, sj("ライバル") + wide(14));
    p.set(P::TimeDiff, "+02");
    h.setPast(1, p);

    const std::string past1 = "2004053005020810" + sj("目黒記") + " " "13" "000" "1" "999" + sj("オープン") + wide(8)
                              + "2500" "11" "0000000000" "18" "18" "17" "1" "1" "07" "4" "1" "560" " " "05203"
                              + sj("ペリエ") + wide(1) + " " "01016" + sj("藤沢和") + wide(1) + "0" "486" "+02"
                              + "03030302" "470" "345" "2313" "1  " "02" "02" "01" "0021" "0004200" "0000000"
                              + zeros(14) + "1999106789" + sj("ライバル") + wide(5) + "000" "+02";
    ASSERT_EQ(past1.size(), 215u);
    std::string expected = "2001105432" "1" "20040620" "0" "00000000" + sj("ゼンノロブロイ") + wide(11)
                           + "20000327" "1" "1" "03" "00" + sj("サンデーサイレンス") + wide(9) + zeros(21)
                           + sj("ローミンレイチェル") + wide(9) + zeros(21) + sj("マイニング") + wide(13) + zeros(21);
    for (int k = 0; k < 3; ++k)
        expected += wide(18) + zeros(21);
    expected += sj("白老町") + wide(9) + sj("白老ファーム") + wide(14) + "123456" + sj("テスト馬主") + wide(15)
                + zeros(20) + "01016" + sj("藤沢和") + wide(1) + "0" + wide(12) + "0012345" "0000123" "0004500"
                + "0000000" + "003002001004";
    for (int g = 2; g <= 23; ++g)
        expected += zeros(12);
    expected += "001000000002" + past1;
    for (int k = 2; k <= 5; ++k)
        expected += blankPastRace();
    expected += spaces(18 * 50) + "\r\n";
    ASSERT_EQ(expected.size(), 2881u);
    EXPECT_EQ(h.bytes(), expected);

    const H back = H::fromBytes(expected);
    EXPECT_EQ(back.get(H::Birthplace), sj("白老町") + wide(9));
    EXPECT_EQ(back.results(1).number(TResultCounts::Others), 4);
    EXPECT_EQ(back.results(24).get(TResultCounts::Others), "002");
    EXPECT_EQ(back.past(1).get(P::RivalName), sj("ライバル") + wide(5));
    EXPECT_EQ(back.past(1).get(P::Corner, 4), "02");
    EXPECT_FALSE(back.past(1).isMissing());
    EXPECT_TRUE(back.past(2).isMissing());
    EXPECT_EQ(back.history(50).bytes(), spaces(18));
}

TEST(RaceDayFormats, HorseFileReadByWholeRecords)
{
    // Twelve races of sixteen runners pair with 192 horse lines; a trailing
    // partial line is left out and reported, never read as a horse.
    std::vector<H> horses(192);
    for (std::size_t i = 0; i < horses.size(); ++i)
        horses[i].set(H::Id, zeroPad(static_cast<std::int64_t>(i), 10));
    const std::string file = joinRecords(horses) + std::string(100, 'x');
    const RecordFile records(file, H::kLength);
    EXPECT_EQ(records.count(), 192u);
    EXPECT_EQ(records.trailingBytes(), 100u);
    EXPECT_EQ(recordAt<H>(records, 191).get(H::Id), "0000000191");
    EXPECT_EQ(allRecords<H>(records).size(), 192u);
}

TEST(RaceDayFormats, OddsGoldenBytes)
{
    TRaceKey key;
    key.set(TRaceKey::Year, "2004");
    key.set(TRaceKey::MonthDay, "0627");
    key.set(TRaceKey::Venue, "05");
    key.set(TRaceKey::Kai, "03");
    key.set(TRaceKey::Nichi, "08");
    key.set(TRaceKey::RaceNo, "11");
    EXPECT_EQ(oddsDayKey(key), "042004030811");
    key.set(TRaceKey::Venue, "08");
    EXPECT_EQ(oddsDayKey(key).substr(0, 2), "00");
    key.set(TRaceKey::Venue, "11");
    EXPECT_EQ(oddsDayKey(key), "");

    TOddsDayRec d;
    d.set(TOddsDayRec::Key, "042004030811");
    d.set(TOddsDayRec::Stamp, "12345678");
    d.set(TOddsDayRec::Item104, "1");
    d.set(TOddsDayRec::Item105, "2345");
    d.set(TOddsDayRec::Item109, "67");
    d.set(TOddsDayRec::WinOdds, 1, "00123");
    d.set(TOddsDayRec::WinOdds, 2, "*    ");
    d.set(TOddsDayRec::WinOdds, 18, "/    ");
    const std::string expected = "042004030811" "12345678" + spaces(84) + "1" "2345" "67" + spaces(50) + "00123"
                                 + "*    " + spaces(15 * 5) + "/    " + spaces(1251) + "\r\n";
    EXPECT_EQ(d.bytes(), expected);
    EXPECT_EQ(TOddsDayRec::fromBytes(expected).get(TOddsDayRec::WinOdds, 18), "/    ");

    TOddsVenueRec v;
    v.set(TOddsVenueRec::WinOdds, 1, " 12.3");
    v.set(TOddsVenueRec::WinOdds, 18, "123.4");
    EXPECT_EQ(v.bytes(), " 12.3" + spaces(16 * 5) + "123.4" + "\r\n");
}

} // namespace
} // namespace zorbe::formats
