#include "model/RaceCard.h"

#include "data/formats/RaceDayFormats.h"
#include "platform/Cp932.h"
#include "platform/Files.h"

#include "support/ScriptedDesktop.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

using namespace zorbe;
using namespace zorbe::formats;

namespace {

// A race card line of the given race number and number of entries at
// 東京 (05), 3rd meeting, 8th day, 2004-06-27, a Sunday.
// The entries carry the ids of horse(firstHorse), horse(firstHorse + 1), ...
TRaceCardRec race(int no, int entries, const std::string &venue = "05", int firstHorse = 0)
{
    TRaceCardRec r;
    TRaceKey k;
    k.set(RaceKeyFields::Year, "2004");
    k.set(RaceKeyFields::MonthDay, "0627");
    k.set(RaceKeyFields::Venue, venue);
    k.set(RaceKeyFields::Kai, "03");
    k.set(RaceKeyFields::Nichi, "08");
    k.set(RaceKeyFields::RaceNo, zeroPad(no, 2));
    r.setBlock(RaceCardFields::Key, k);
    r.set(RaceCardFields::Weekday, "2");
    r.set(RaceCardFields::RaceName, sj("宝塚記念"));
    r.set(RaceCardFields::Distance, "2200");
    r.set(RaceCardFields::Track, "11");
    r.set(RaceCardFields::StartTime, "1540");
    r.set(RaceCardFields::Entries, zeroPad(std::min(entries, 99), 2));
    for (int j = 1; j <= std::min(entries, 18); ++j) {
        TRaceEntryRec e = r.entry(static_cast<std::size_t>(j));
        e.set(RaceEntryFields::HorseNo, zeroPad(j, 2));
        e.set(RaceEntryFields::HorseId, zeroPad(2000100000 + firstHorse + j - 1, 10));
        e.set(RaceEntryFields::Weight, "570");
        e.set(RaceEntryFields::JockeyCode, zeroPad(no * 100 + j, 5));
        e.set(RaceEntryFields::JockeyName, sj("武豊"));
        r.setEntry(static_cast<std::size_t>(j), e);
    }
    return r;
}

THorseRec horse(int n)
{
    THorseRec h;
    h.set(HorseFields::Id, zeroPad(2000100000 + n, 10));
    h.set(HorseFields::Name, sj("ゾルベ") + std::to_string(n));
    TPastRaceRec p = h.past(1);
    p.set(PastRaceFields::Time, "1234");
    p.set(PastRaceFields::Last3F, "345");
    h.setPast(1, p);
    return h;
}

class RaceCardTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        files::makeDirectories(WinPath("d:\\zorbeLab\\JRA"));
        files::makeDirectories(WinPath("d:\\zorbeLab\\odds"));
        files::makeDirectories(WinPath("d:\\zorbelab\\dat"));
    }

    // Writes a day with the given numbers of entries and a horse line per entry.
    WinPath writeDay(const std::vector<int> &entries, const std::string &name = "東京20040627")
    {
        std::string rdt, hdt;
        int n = 0;
        for (std::size_t r = 0; r < entries.size(); ++r) {
            rdt += race(static_cast<int>(r + 1), entries[r], "05", n).bytes();
            for (int j = 0; j < std::min(entries[r], 18); ++j)
                hdt += horse(n++).bytes();
        }
        const WinPath file = WinPath("d:\\zorbeLab\\JRA") / sj(name + ".RDT");
        files::writeAll(file, rdt);
        files::writeAll(withExtension(file, ".HDT"), hdt);
        return file;
    }

    void load(const WinPath &file, const std::string &mode = "1")
    {
        LoadRaceDay(*card, file, "d:\\zorbeLab\\odds", mode, WinPath("d:\\zorbelab\\dat"), desktop);
    }

    test::TempHome home;
    test::ScriptedDesktop desktop;
    std::unique_ptr<TRaceCard> card = makeRaceCard();
};

} // namespace

TEST_F(RaceCardTest, LoadsRacesEntriesAndHorsesAndFindsTheFirstHorseOfARace)
{
    load(writeDay({16, 14, 12, 10, 8, 18, 16, 14, 12, 10, 8, 6}));
    EXPECT_EQ(card->RaceCount, 12);
    EXPECT_EQ(card->HorseCount, 144);
    EXPECT_EQ(card->FirstHorse(0), 0);
    EXPECT_EQ(card->FirstHorse(3), 16 + 14 + 12);
    EXPECT_EQ(card->MeetYear, "2004");
    EXPECT_EQ(card->MeetMonth, "06");
    EXPECT_EQ(card->MeetDay, "27");
    EXPECT_EQ(card->RaceNo[3], "04");
    EXPECT_EQ(card->RaceName[0].size(), 60u);
    EXPECT_EQ(card->RaceName[0].substr(0, 8), sj("宝塚記念"));
    EXPECT_EQ(card->EntryJockeyCode[3][1], "00401");
    EXPECT_EQ(card->EntryJockeyName[3][1], sj("武豊　　"));
    // Slot 1 of race 3 is the horse FirstHorse(3), in horse file order.
    EXPECT_EQ(card->HorseId[card->FirstHorse(3)], zeroPad(2000100000 + 42, 10));
    EXPECT_EQ(card->PastTime[0][1], "1234");
    EXPECT_EQ(card->PastLast3F[0][1], "345");
    EXPECT_EQ(card->PastYear[0][2], "    "); // a race not run is blank
    EXPECT_EQ(card->HistYear[0][50], "    ");
    EXPECT_EQ(card->HorseResults[0][24][4], "000");
}

TEST_F(RaceCardTest, CaptionsOfTheDay)
{
    load(writeDay({10}));
    EXPECT_EQ(card->MeetDateTitle, sj("東京　2004年　6月　27日"));
    EXPECT_EQ(card->Form3Caption, sj("3 回  東京　8 日目印刷レース選択"));
    EXPECT_EQ(card->Form3Label1, sj("東京　2004年　6月　27日（日）"));
}

TEST_F(RaceCardTest, UnknownVenueEmptiesTheTitleAndKeepsTheCaption)
{
    load(writeDay({10}));
    std::string rdt = race(1, 10, "11").bytes(), hdt;
    for (int n = 0; n < 10; ++n)
        hdt += horse(n).bytes();
    files::writeAll(WinPath("d:\\zorbeLab\\JRA\\X.RDT"), rdt);
    files::writeAll(WinPath("d:\\zorbeLab\\JRA\\X.HDT"), hdt);
    load(WinPath("d:\\zorbeLab\\JRA\\X.RDT"));
    EXPECT_EQ(card->MeetDateTitle, "");
    EXPECT_EQ(card->Form3Caption, sj("3 回  東京　8 日目印刷レース選択"));
}

TEST_F(RaceCardTest, OddsFileNameAndStaleOddsByOddsMode)
{
    const WinPath day = writeDay({3});
    load(day, "1");
    EXPECT_EQ(card->OddsFileName, "d:\\zorbeLab\\odds\\20040627.odz");
    EXPECT_EQ(card->OddsCount, 0);

    TOddsVenueRec odds;
    odds.set(OddsVenueFields::WinOdds, 1, "  2.5");
    files::writeAll(WinPath("d:\\zorbeLab\\odds\\0520040627.odd"), odds.bytes());
    load(day, "0");
    EXPECT_EQ(card->OddsFileName, "d:\\zorbeLab\\odds\\0520040627.odd");
    EXPECT_EQ(card->OddsCount, 1);
    EXPECT_EQ(card->OddsWin[0][1], "  2.5");

    // Another day without odds: the earlier odds stay.
    load(writeDay({3}, "東京20040703"), "2");
    EXPECT_EQ(card->OddsFileName, "d:\\zorbeLab\\odds\\0520040627.odd");
    EXPECT_EQ(card->OddsCount, 1);
    EXPECT_EQ(card->OddsWin[0][1], "  2.5");

    TOddsDayRec dayOdds;
    dayOdds.set(OddsDayFields::Key, "040403080001");
    dayOdds.set(OddsDayFields::WinOdds, 2, " 10.1");
    files::writeAll(WinPath("d:\\zorbeLab\\odds\\20040627.odz"), dayOdds.bytes() + dayOdds.bytes());
    load(day, "1");
    EXPECT_EQ(card->OddsCount, 2);
    EXPECT_EQ(card->OddsKey[1], "040403080001");
    EXPECT_EQ(card->OddsWin[1][2], " 10.1");
}

TEST_F(RaceCardTest, TimeCorrectionsAndTheirMissingMessage)
{
    const WinPath day = writeDay({3});
    load(day);
    EXPECT_EQ(desktop.messages, std::vector<std::string>{kTimeCorrectionMissingMessage});

    std::string line = "2004050308" + std::string(48, '1') + std::string(36, '2') + std::string(36, '3') + "\r\n";
    files::writeAll(WinPath("d:\\zorbelab\\dat\\STIME.DAT"), line + line);
    load(day);
    EXPECT_EQ(desktop.messages.size(), 1u); // found whatever its case
    EXPECT_EQ(card->STimeCount, 2);
    EXPECT_EQ(card->STimeKey[1], "2004050308");
    EXPECT_EQ(card->STimeStd[1], std::string(48, '1'));
    EXPECT_EQ(card->STimeStd3F[1], std::string(36, '2'));

    // Missing again: the earlier table stays.
    files::remove(WinPath("d:\\zorbelab\\dat\\STIME.DAT"));
    load(day);
    EXPECT_EQ(card->STimeCount, 2);
}

TEST_F(RaceCardTest, NeverReadsPastTheCapacities)
{
    // 13 races, one of them claiming 25 entries.
    load(writeDay({18, 25, 18, 18, 18, 18, 18, 18, 18, 18, 18, 18, 18}));
    EXPECT_EQ(card->RaceCount, 12);
    EXPECT_EQ(card->entriesOf(1), 18);
    EXPECT_EQ(card->HorseCount, 13 * 18);

    std::string hdt;
    const std::string one = horse(1).bytes();
    for (int i = 0; i < 700; ++i)
        hdt += one;
    files::writeAll(WinPath("d:\\zorbeLab\\JRA\\big.HDT"), hdt);
    card->HorseFileName = "d:\\zorbeLab\\JRA\\big.HDT";
    LoadHorses(*card);
    EXPECT_EQ(card->HorseCount, 660);
}

TEST_F(RaceCardTest, ALoadKeepsWhatItDoesNotRead)
{
    load(writeDay({10, 10, 10}));
    load(writeDay({8}, "東京20040703"));
    EXPECT_EQ(card->RaceCount, 1);
    EXPECT_EQ(card->RaceNo[2], "03");          // race 3 of the earlier day
    EXPECT_EQ(card->EntryJockeyCode[0][9], "00109"); // slot 9 of the earlier race 1
}

// The per-horse tables make their rows as they are written: a horse never
// loaded reads as empty from a card seen as const, and a copy of a card is
// a card of its own (the windows copy hand-made days into the program's).
TEST_F(RaceCardTest, HorseRowsReadEmptyUntilWrittenAndCopiesAreDeep)
{
    load(writeDay({3}));
    const TRaceCard &seen = *card;
    EXPECT_FALSE(seen.PastYear[0][1].empty());
    EXPECT_TRUE(seen.PastYear[659][5].empty());
    EXPECT_TRUE(seen.HistVenue[400][50].empty());
    EXPECT_TRUE(seen.HorseResults[300][24][4].empty());

    auto copy = makeRaceCard();
    *copy = *card;
    EXPECT_EQ(copy->PastYear[0][1], card->PastYear[0][1]);
    copy->PastYear[0][1] = "1999";
    copy->PastCorner[1][2][3] = "07";
    EXPECT_NE(card->PastYear[0][1], "1999");
    EXPECT_TRUE(seen.PastCorner[1][2][3] != "07");
    *card = *copy;
    EXPECT_EQ(card->PastYear[0][1], "1999");
}

TEST_F(RaceCardTest, MissingFilesRaiseAFileError)
{
    EXPECT_THROW(load(WinPath("d:\\zorbeLab\\JRA\\none.RDT")), files::FileError);
    const WinPath day = writeDay({3});
    files::remove(withExtension(day, ".HDT"));
    EXPECT_THROW(load(day), files::FileError);
    EXPECT_EQ(card->RaceCount, 1); // what was read stays
}

TEST_F(RaceCardTest, ANumberOfEntriesThatIsNotANumberIsReportedWithTheRace)
{
    TRaceCardRec r = race(1, 5);
    std::string bytes = r.bytes();
    bytes[324] = 'X';
    files::writeAll(WinPath("d:\\zorbeLab\\JRA\\bad.RDT"), bytes);
    files::writeAll(WinPath("d:\\zorbeLab\\JRA\\bad.HDT"), "");
    try {
        load(WinPath("d:\\zorbeLab\\JRA\\bad.RDT"));
        FAIL();
    } catch (const files::DamagedFileError &e) {
        EXPECT_NE(std::string(e.what()).find("bad.RDT」の 1 件目"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("登録頭数"), std::string::npos) << e.what();
    }
}
