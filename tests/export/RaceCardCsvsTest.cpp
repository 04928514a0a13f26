#include "export/CsvExports.h"
#include "export/CsvText.h"
#include "export/HorseCsv.h"
#include "export/RaceCardCsv.h"
#include "export/RaceTitle.h"

#include "model/RaceCard.h"
#include "platform/Cp932.h"
#include "platform/Files.h"

#include "CsvTestSupport.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

using namespace zorbe;
using namespace zorbe::formats;
using namespace zorbe::test;

namespace {

// Past race k of a horse as the entries conversion writes a race that was
// run: 2004-06-06 at 東京, 3rd meeting, 2nd day, race 11, turf left.
TPastRaceRec pastRace()
{
    TPastRaceRec p;
    TRaceKey key = raceKey(11, "05", "20040606");
    key.set(RaceKeyFields::Nichi, "02");
    p.setBlock(PastRaceFields::Key, key);
    p.set(PastRaceFields::RaceName, sj("安田記"));
    p.set(PastRaceFields::Grade, "A");
    p.set(PastRaceFields::Class, "999");
    p.set(PastRaceFields::Distance, "1600");
    p.set(PastRaceFields::Track, "11");
    p.set(PastRaceFields::Registered, "18");
    p.set(PastRaceFields::Starters, "17");
    p.set(PastRaceFields::Going, "2");
    p.set(PastRaceFields::HorseNo, "07");
    p.set(PastRaceFields::Bracket, "4");
    p.set(PastRaceFields::Weight, "580");
    p.set(PastRaceFields::JockeyName, sj("武豊"));
    p.set(PastRaceFields::Abnormal, "0");
    p.set(PastRaceFields::BodyWeight, "486");
    for (std::size_t c = 1; c <= 4; ++c)
        p.set(PastRaceFields::Corner, c, c == 1 ? "00" : zeroPad(static_cast<int>(c) + 1, 2));
    p.set(PastRaceFields::Last3F, "337");
    p.set(PastRaceFields::Time, "1325");
    p.set(PastRaceFields::Finish, "03");
    p.set(PastRaceFields::Popularity, "02");
    p.set(PastRaceFields::RivalName, sj("ツルマルボーイ"));
    p.set(PastRaceFields::TimeDiff, "+02");
    return p;
}

// A horse of 2000 with its profile filled in.
THorseRec profiledHorse(const std::string &id)
{
    THorseRec h = horse(id, "ゼンノロブロイ");
    h.set(HorseFields::DataDate, "20040620");
    h.set(HorseFields::BirthDate, "20000327");
    h.set(HorseFields::Breed, "1");
    h.set(HorseFields::Sex, "1");
    h.set(HorseFields::Colour, "03");
    h.set(HorseFields::Mark, "07");
    h.set(HorseFields::Sire, sj("サンデーサイレンス"));
    h.set(HorseFields::Owner, sj("大城　　　　　　敬三"));
    h.set(HorseFields::TrainerCode, "01001");
    h.set(HorseFields::InviteRegion, sj("香港"));
    h.set(HorseFields::PrizeMain, "0123456");
    h.setResults(2, TResultCounts::fromBytes("001002003004"));
    h.setResults(24, TResultCounts::fromBytes("009008007006"));
    h.setPast(1, pastRace());
    return h;
}

// n full-width spaces, UTF-8.
std::string wide(int n)
{
    std::string out;
    for (int i = 0; i < n; ++i)
        out += "　";
    return out;
}

// A summary master entry: family and given name of 16 bytes each, padded
// with full-width spaces as the master file holds them.
TMasterEntry trainer(const std::string &code, const std::string &family, const std::string &given,
                     const std::string &region)
{
    TMasterEntry t;
    t.Code = code;
    const auto half = [](const std::string &name) { return sj(name + wide(8 - static_cast<int>(name.size() / 3))); };
    t.Name = half(family) + half(given);
    t.Region = region;
    return t;
}

class RaceCardCsvs : public ::testing::Test
{
protected:
    void SetUp() override { rebuildLabelTables(labels); }

    // Writes the race card and its horse file; returns the race card path.
    WinPath writeDay(const std::vector<TRaceCardRec> &races, const std::vector<THorseRec> &horses)
    {
        std::string rdt, hdt;
        for (const auto &r : races)
            rdt += r.bytes();
        for (const auto &h : horses)
            hdt += h.bytes();
        putFile(rdtPath, rdt);
        putFile(withExtension(rdtPath, ".HDT"), hdt);
        return rdtPath;
    }
    // The day's horses: horse i has id 2001000000 + i and the profile above.
    std::vector<THorseRec> horses(int count) const
    {
        std::vector<THorseRec> out;
        for (int i = 1; i <= count; ++i)
            out.push_back(profiledHorse(std::to_string(2001000000 + i)));
        return out;
    }
    std::string horseCsv()
    {
        return files::readAll(csvexport::writeHorseCsv(rdtPath, masters, labels));
    }

    TempHome home;
    LabelTables labels;
    MasterTables masters;
    const WinPath rdtPath = WinPath(sj("d:\\zorbeLab\\JRA\\東京20040627.RDT"));
};

constexpr int kPast1 = 117; // the first past-race column of a U.CSV row

} // namespace

TEST_F(RaceCardCsvs, EightRunnersGiveEightRowsAndTheNextRaceStartsAtTheNinthHorse)
{
    writeDay({raceCard(1, 8), raceCard(2, 3)}, horses(11));
    const WinPath written = csvexport::writeHorseCsv(rdtPath, masters, labels);
    EXPECT_EQ(written.text(), sj("d:\\zorbeLab\\JRA\\東京20040627U.CSV"));

    const auto lines = csvLines(files::readAll(written));
    ASSERT_EQ(lines.size(), 2u + 8u + 2u + 3u);
    EXPECT_EQ(lines[1] + "\r\n", csvexport::horseCsvHeader());
    EXPECT_EQ(csvFields(lines[1]).size(), 223u);
    for (int row = 0; row < 8; ++row) {
        const auto fields = csvFields(lines[2 + row]);
        ASSERT_EQ(fields.size(), 223u);
        EXPECT_EQ(fields[1], zeroPad(row + 1, 2));
        EXPECT_EQ(fields[6], std::to_string(2001000001 + row));
    }
    EXPECT_EQ(u8(lines[10]).substr(0, 9), "　２Ｒ");
    EXPECT_EQ(csvFields(lines[12])[1], "01");
    EXPECT_EQ(csvFields(lines[12])[6], "2001000009");
    EXPECT_EQ(csvFields(lines[14])[6], "2001000011");
}

TEST_F(RaceCardCsvs, TitleLinesNameTheRaceKindClassTrackAndSize)
{
    TRaceCardRec open = raceCard(11, 16);
    TRaceCardRec maiden = raceCard(1, 0);
    maiden.set(RaceCardFields::RaceName, sj("　　　"));
    maiden.set(RaceCardFields::Grade, " ");
    maiden.set(RaceCardFields::RaceKind, "12");
    maiden.set(RaceCardFields::WeightRule, "3");
    for (std::size_t c = 1; c <= 5; ++c)
        maiden.set(RaceCardFields::Class, c, c == 4 ? "703" : "000");
    maiden.set(RaceCardFields::Track, "24");
    maiden.set(RaceCardFields::Distance, "1200");
    TRaceCardRec jump = raceCard(8, 0);
    jump.set(RaceCardFields::RaceKind, "18");
    jump.set(RaceCardFields::Grade, "F");
    jump.set(RaceCardFields::Track, "52");
    jump.set(RaceCardFields::Distance, "4250");
    // A jump race of a class the jump titles do not know is titled as a
    // flat race, with no track text for a jump course.
    TRaceCardRec oddJump = jump;
    for (std::size_t c = 1; c <= 5; ++c)
        oddJump.set(RaceCardFields::Class, c, "005");
    oddJump.set(RaceCardFields::Track, "54");
    TRaceCardRec longName = raceCard(2, 0);
    longName.set(RaceCardFields::RaceName, sj("ジャパンカップダートサラブレッド記念競走"));
    longName.set(RaceCardFields::WeightRule, "9");

    writeDay({open, maiden, jump, oddJump, longName}, horses(16));
    const auto u = utf8Lines(horseCsv());
    EXPECT_EQ(u[0], "　１Ｒ サラ３歳以上 オープンＧⅠ宝塚記念 定量 芝      2200ｍ 16頭");
    EXPECT_EQ(u[18], "　２Ｒ サラ３歳指定 未勝利　　　 馬齢 ダート  1200ｍ 00頭");
    EXPECT_EQ(u[20], "　３Ｒ サラ３歳以上 障害ＧⅠ　　 直線ダ  4250ｍ 00頭");
    EXPECT_EQ(u[22], "　４Ｒ サラ３歳以上 1勝クラス　 宝塚記念 定量4250ｍ 00頭");
    // No full-width space to cut at: the whole 60 bytes.
    EXPECT_EQ(u[24], "　５Ｒ サラ３歳以上 オープンＧⅠジャパンカップダートサラブレッド記念競走" + wide(10) + " 芝      2200ｍ 00頭");

    writeDay({open, maiden, jump}, {});
    const auto r = utf8Lines(files::readAll(csvexport::writeRaceCardCsv(rdtPath, labels)));
    EXPECT_EQ(r[0], "　１Ｒ サラ３歳以上 オープンＧⅠ 芝      2200ｍ 16頭");
    EXPECT_EQ(r[18], "　２Ｒ サラ３歳指定 未勝利　　　 ダート  1200ｍ 00頭");
    EXPECT_EQ(r[20], "　３Ｒ サラ３歳以上 障害ＧⅠ　　 直線ダ  4250ｍ 00頭");
}

TEST_F(RaceCardCsvs, ClassTextsAreThirteenBytesAndTheFirstMatchingRuleWins)
{
    csvexport::RaceConditions c;
    for (const char *code : {"701", "702", "703", "004", "005", "009", "010", "015", "016", "999"}) {
        c.codes[0] = code;
        for (const char *grade : {" ", "A", "B", "C", "D", "E"}) {
            c.grade = grade;
            EXPECT_EQ(csvexport::classText(c).size(), 13u) << code << grade;
        }
    }
    // "703" in any of the four codes makes a maiden race, before "999".
    c.codes[0] = "999";
    c.codes[3] = "703";
    EXPECT_EQ(u8(csvexport::classText(c)), " 未勝利　　　");
    EXPECT_EQ(u8(csvexport::jumpClassText(c)), " 障害未勝利  ");
    // An open race of a grade without a text, and a money class with none.
    c.codes[3] = "999";
    c.grade = "L";
    EXPECT_EQ(csvexport::classText(c), "");
    c.codes[0] = c.codes[3] = "003";
    EXPECT_EQ(csvexport::classText(c), "");
}

TEST_F(RaceCardCsvs, RaceNameIsCutBeforeItsFirstFullWidthSpaceFromTheSeventhByte)
{
    using csvexport::cutRaceName;
    const std::string pad = std::string(60, ' ');
    EXPECT_EQ(u8(cutRaceName(padRight(sj("宝塚記念　　　　"), 60))), "宝塚記念");
    // Byte 5 is not looked at: a two-character name keeps the space after it.
    EXPECT_EQ(u8(cutRaceName(padRight(sj("有馬　　　"), 60))), "有馬　");
    EXPECT_EQ(u8(cutRaceName(padRight(sj("　宝塚記念"), 60))), "");
    EXPECT_EQ(cutRaceName(pad), pad);
}

TEST_F(RaceCardCsvs, HorseRowHoldsTheEntryProfileCountsAndTrainer)
{
    TRaceCardRec race = raceCard(1, 4);
    TRaceEntryRec e = race.entry(1);
    e.set(RaceEntryFields::Blinker, "1");
    e.set(RaceEntryFields::Apprentice, "3");
    e.set(RaceEntryFields::Weight, "525");
    race.setEntry(1, e);
    auto day = horses(4);
    // A filly of ten, a gelding of twelve (no age), an unknown breed.
    day[1].set(HorseFields::Sex, "2");
    day[1].set(HorseFields::BirthDate, "19940101");
    day[1].set(HorseFields::Owner, sj("　　社台レースホース"));
    day[1].set(HorseFields::TrainerCode, "01002");
    day[2].set(HorseFields::Sex, "3");
    day[2].set(HorseFields::BirthDate, "19920101");
    day[2].set(HorseFields::Breed, "8");
    day[2].set(HorseFields::TrainerCode, "01003");
    day[2].set(HorseFields::Owner, sj("サンデーレーシング"));
    day[3].set(HorseFields::TrainerCode, "09999");
    masters.TrainerTable = {trainer("01001", "藤沢", "和雄", "1"), trainer("01002", "角居", "勝彦", "2"),
                            trainer("01003", "招待", "太郎", "3")};
    writeDay({race}, day);

    const auto lines = csvLines(horseCsv());
    ASSERT_EQ(lines.size(), 6u);
    const auto first = utf8Fields(lines[2]);
    const std::vector<std::string> expected = {
        "1",          "01", "Ｂ",        "52.5", "▲",  "武豊　　",         "2001000001", "ゼンノロブロイ" + wide(11),
        "藤沢　和雄　（美浦）", "2000/03/27", "鹿", "〇父〇抽", "サラ", "牡四", "大城敬三" + wide(10)};
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(first[i], expected[i]) << "column " << i;
    EXPECT_EQ(first[21], "0123456");
    // The counts start with turf right-handed: the total is not written.
    EXPECT_EQ(std::vector<std::string>(first.begin() + 25, first.begin() + 29),
              (std::vector<std::string>{"001", "002", "003", "004"}));
    EXPECT_EQ(std::vector<std::string>(first.begin() + 113, first.begin() + 117),
              (std::vector<std::string>{"009", "008", "007", "006"}));
    EXPECT_EQ(first[222], "20040620");
    EXPECT_EQ(lines[2].back(), '0'); // no separator after the data date

    const auto second = utf8Fields(lines[3]);
    EXPECT_EQ(second[2], "");
    EXPECT_EQ(second[4], "");
    EXPECT_EQ(second[8], "角居　勝彦　（栗東）");
    EXPECT_EQ(second[13], "牝十");
    EXPECT_EQ(second[14], "社台レースホース" + wide(10));
    const auto third = utf8Fields(lines[4]);
    // An invited trainer: the region of the horse record, its first 6 bytes.
    EXPECT_EQ(third[8], "招待　太郎　（香港　）");
    EXPECT_EQ(third[12], "8");
    EXPECT_EQ(third[13], "せん");
    EXPECT_EQ(third[14], "サンデーレーシング" + wide(11));
    // A trainer the master table does not know: his code.
    EXPECT_EQ(utf8Fields(lines[5])[8], "09999");
}

TEST_F(RaceCardCsvs, PastRacesAreWrittenMostRecentFirstAndMissingOnesAreEmpty)
{
    auto day = horses(1);
    TPastRaceRec abroad = pastRace();
    TRaceKey key = raceKey(0, "A6", "20031005");
    key.set(RaceKeyFields::Kai, "00");
    abroad.setBlock(PastRaceFields::Key, key);
    abroad.set(PastRaceFields::Finish, "00");
    abroad.set(PastRaceFields::Abnormal, "4");
    abroad.set(PastRaceFields::Time, "0000");
    abroad.set(PastRaceFields::Last3F, "000");
    abroad.set(PastRaceFields::Weight, "000");
    abroad.set(PastRaceFields::Grade, " ");
    day[0].setPast(2, abroad);
    TPastRaceRec jump = pastRace();
    jump.set(PastRaceFields::Track, "54");
    jump.set(PastRaceFields::Class, "703");
    jump.set(PastRaceFields::Last3F, "   ");
    jump.set(PastRaceFields::HorseNo, "00");
    jump.set(PastRaceFields::Bracket, "0");
    day[0].setPast(3, jump);
    writeDay({raceCard(1, 1)}, day);

    const auto row = utf8Fields(csvLines(horseCsv())[2]);
    ASSERT_EQ(row.size(), 223u);
    const auto past = [&](int k) {
        return std::vector<std::string>(row.begin() + kPast1 + 21 * (k - 1), row.begin() + kPast1 + 21 * k);
    };
    const std::string rival = "ツルマルボーイ" + std::string("　　");
    EXPECT_EQ(past(1), (std::vector<std::string>{"2004/06/06", "東京  3  2  芝左", "11", "オープン", "3", "4", "07",
                                                 "58.0", "02", "486", "1325", "+0.2", "33.7", "③④⑤", "武豊　　",
                                                 "安田記", "G1", "1600", "18", "稍", rival}));
    // Abroad, without a meeting number: the venue alone, no race number; a
    // runner that did not finish shows why; no time, no time difference.
    const auto second = past(2);
    EXPECT_EQ(second[0], "2003/10/05");
    EXPECT_EQ(second[1], "英");
    EXPECT_EQ(second[2], "");
    EXPECT_EQ(second[4], "中止");
    EXPECT_EQ(second[7], "");
    EXPECT_EQ(second[10], "");
    EXPECT_EQ(second[11], "");
    EXPECT_EQ(second[12], "00.0");
    EXPECT_EQ(second[16], "");
    const auto third = past(3);
    EXPECT_EQ(third[1], "東京  3  2  障害");
    EXPECT_EQ(third[3], "障害未勝利");
    EXPECT_EQ(third[5], "");
    EXPECT_EQ(third[6], "");
    EXPECT_EQ(third[12], "");
    for (int k = 4; k <= 5; ++k)
        EXPECT_EQ(past(k), std::vector<std::string>(21)) << k;
}

TEST_F(RaceCardCsvs, AHorseFileShorterThanTheRaceCardStopsAtTheFirstMissingHorse)
{
    writeDay({raceCard(1, 3), raceCard(2, 3)}, horses(4));
    const std::string what = exportError([&] { csvexport::writeHorseCsv(rdtPath, masters, labels); });
    EXPECT_NE(what.find("東京20040627.RDT の 2 件目のレコード"), std::string::npos) << what;
    EXPECT_NE(what.find("東京20040627.HDT に 5 頭目の馬がありません"), std::string::npos) << what;
    // Race 1 and the first runner of race 2 were written.
    const auto lines = csvLines(files::readAll(csvexport::horseCsvPath(rdtPath)));
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(csvFields(lines.back())[6], "2001000004");

    // Without a horse file nothing is written.
    files::remove(withExtension(rdtPath, ".HDT"));
    files::remove(csvexport::horseCsvPath(rdtPath));
    EXPECT_THROW(csvexport::writeHorseCsv(rdtPath, masters, labels), files::FileError);
    EXPECT_FALSE(files::exists(csvexport::horseCsvPath(rdtPath)));
}

TEST_F(RaceCardCsvs, ADamagedNumberOfEntriesStopsBothExportsAtItsRecord)
{
    TRaceCardRec damaged = raceCard(2, 0);
    damaged.set(RaceCardFields::Entries, "1A");
    writeDay({raceCard(1, 2), damaged, raceCard(3, 2)}, horses(4));
    for (const std::string &what : {exportError([&] { csvexport::writeHorseCsv(rdtPath, masters, labels); }),
                                     exportError([&] { csvexport::writeRaceCardCsv(rdtPath, labels); })}) {
        EXPECT_NE(what.find("2 件目のレコード"), std::string::npos) << what;
        EXPECT_NE(what.find("登録頭数"), std::string::npos) << what;
    }
    EXPECT_EQ(csvLines(files::readAll(csvexport::horseCsvPath(rdtPath))).size(), 4u);
    EXPECT_EQ(csvLines(files::readAll(csvexport::raceCardCsvPath(rdtPath))).size(), 4u);
}

TEST_F(RaceCardCsvs, RaceCardRowsAndARaceWithoutRunners)
{
    TRaceCardRec race = raceCard(1, 3);
    TRaceEntryRec gelding = race.entry(2);
    gelding.set(RaceEntryFields::Sex, "3");
    gelding.set(RaceEntryFields::Blinker, "1");
    gelding.set(RaceEntryFields::Apprentice, "9");
    race.setEntry(2, gelding);
    TRaceEntryRec old = race.entry(3);
    old.set(RaceEntryFields::HorseId, "1990000003");
    old.set(RaceEntryFields::Sex, "2");
    race.setEntry(3, old);
    writeDay({race, raceCard(2, 0)}, {});

    const WinPath written = csvexport::writeRaceCardCsv(rdtPath, labels);
    EXPECT_EQ(written.text(), sj("d:\\zorbeLab\\JRA\\東京20040627R.CSV"));
    const auto lines = utf8Lines(files::readAll(written));
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[1], "枠,馬番,馬　名,性齢,ﾌﾞﾘﾝｶｰ,重量,減量,騎手,調教師");
    // The 18-byte name ends in an ASCII space after its odd byte.
    EXPECT_EQ(lines[2], "1,01,ゾルベ1" + wide(5) + " ,牡三,,57.0,,武豊　　,池江　　");
    // A gelding is "ｾﾝ" here (the horse CSV writes "せん").
    EXPECT_EQ(lines[3], "1,02,ゾルベ2" + wide(5) + " ,ｾﾝ三,Ｂ,57.0,◇,武豊　　,池江　　");
    // Fourteen years old: the sex alone.
    EXPECT_EQ(csvFields(lines[4])[3], "牝");
    EXPECT_EQ(lines[5], "　２Ｒ サラ３歳以上 オープンＧⅠ 芝      2200ｍ 00頭");
    EXPECT_EQ(lines[6], lines[1]);
}
