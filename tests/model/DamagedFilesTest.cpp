// Hand-made damaged files for every reader of the race-day and results
// files: each is refused with a message that names the file (and the record
// and field where there is one), or read up to what is whole, and the
// tables are never written past their capacities.

#include "model/RaceCard.h"
#include "model/Results.h"

#include "data/formats/RaceDayFormats.h"
#include "data/formats/ResultFormats.h"
#include "platform/Cp932.h"
#include "platform/Files.h"

#include "support/ScriptedDesktop.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

using namespace zorbe;
using namespace zorbe::formats;

namespace {

const WinPath kRdt("d:\\zorbeLab\\JRA\\day.RDT");
const WinPath kHdt("d:\\zorbeLab\\JRA\\day.HDT");
const WinPath kData("d:\\zorbelab\\dat");

std::string horseId(int n) { return zeroPad(2001100000 + n, 10); }

// Two races of three runners, and their six horse lines.
std::string raceCards(int races = 2)
{
    std::string out;
    for (int r = 0; r < races; ++r) {
        TRaceCardRec card;
        card.set(RaceCardFields::Key, "200406270503080" + std::to_string(r + 1));
        card.set(RaceCardFields::Entries, "03");
        for (int j = 1; j <= 3; ++j) {
            TRaceEntryRec e = card.entry(static_cast<std::size_t>(j));
            e.set(RaceEntryFields::HorseId, horseId(3 * r + j));
            card.setEntry(static_cast<std::size_t>(j), e);
        }
        out += card.bytes();
    }
    return out;
}

std::string horses(int count = 6)
{
    std::string out;
    for (int n = 1; n <= count; ++n) {
        THorseRec h;
        h.set(HorseFields::Id, horseId(n));
        out += h.bytes();
    }
    return out;
}

class DamagedRaceDay : public ::testing::Test
{
protected:
    void SetUp() override { files::makeDirectories(WinPath("d:\\zorbeLab\\JRA")); }

    // Loads the day; "" when it loaded, else the message of the refusal.
    std::string load(const std::string &rdt, const std::string &hdt)
    {
        files::writeAll(kRdt, rdt);
        files::writeAll(kHdt, hdt);
        try {
            LoadRaceDay(*card, kRdt, "d:\\zorbeLab\\odds", "1", kData, desktop);
        } catch (const files::DamagedFileError &e) {
            return e.what();
        }
        return {};
    }

    test::TempHome home;
    test::ScriptedDesktop desktop;
    std::unique_ptr<TRaceCard> card = makeRaceCard();
};

TEST_F(DamagedRaceDay, RaceCardFilesAreRefusedWithTheirRecordAndField)
{
    ASSERT_EQ(load(raceCards(), horses()), "");
    ASSERT_EQ(card->RaceCount, 2);

    std::string notDigits = raceCards();
    notDigits.replace(1463 + 324, 2, "1A");
    const std::string m = load(notDigits, horses());
    EXPECT_NE(m.find("day.RDT」の 2 件目"), std::string::npos) << m;
    EXPECT_NE(m.find("登録頭数"), std::string::npos) << m;
    EXPECT_NE(m.find("1A"), std::string::npos) << m;
    EXPECT_EQ(card->RaceCount, 2); // the refused file changed nothing

    EXPECT_NE(load("", horses()).find("レースがありません"), std::string::npos);
    EXPECT_NE(load(raceCards().substr(0, 1000), horses()).find("レースがありません"), std::string::npos);
    // A results file under a race card's name: its lines are not 1463 bytes.
    EXPECT_NE(load(std::string(TResultRec::blank().bytes()), horses()).find("行の終わり"), std::string::npos);

    // Cut inside its last race: read up to there, and said so.
    desktop.messages.clear();
    EXPECT_EQ(load(raceCards() + raceCards().substr(0, 700), horses()), "");
    EXPECT_EQ(card->RaceCount, 2);
    ASSERT_FALSE(desktop.messages.empty());
    EXPECT_NE(desktop.messages.front().find("末尾の 700 バイト"), std::string::npos) << desktop.messages.front();

    // Bytes that are not Shift-JIS are kept as they are (shown replaced).
    std::string strange = raceCards();
    strange.replace(17, 4, "\x81\xff\xfd\x80");
    EXPECT_EQ(load(strange, horses()), "");
    EXPECT_EQ(card->RaceName[0].substr(0, 4), "\x81\xff\xfd\x80");
}

TEST_F(DamagedRaceDay, CountsLargerThanTheFileNeverGoPastTheTables)
{
    // A race claiming 99 entries has 18 slots; the horse file must then
    // hold 18 + 3 horses, the 4th of them for the race's 4th slot.
    std::string many = raceCards();
    many.replace(324, 2, "99");
    std::string m = load(many, horses());
    EXPECT_NE(m.find("day.HDT」の 4 件目"), std::string::npos) << m;
    TRaceCardRec full = TRaceCardRec::fromBytes(std::string_view(many).substr(0, 1463));
    for (int j = 4; j <= 18; ++j) {
        TRaceEntryRec e = full.entry(static_cast<std::size_t>(j));
        e.set(RaceEntryFields::HorseId, horseId(j));
        full.setEntry(static_cast<std::size_t>(j), e);
    }
    std::string hdt = horses(18);
    for (int n = 4; n <= 6; ++n) {
        THorseRec h;
        h.set(HorseFields::Id, horseId(n));
        hdt += h.bytes();
    }
    std::string second = raceCards().substr(1463);
    EXPECT_EQ(load(full.bytes() + second, hdt), "");
    EXPECT_EQ(card->entriesOf(0), 18);
    EXPECT_EQ(card->FirstHorse(1), 18);

    // Twenty races: the first twelve are read.
    std::string twenty;
    std::string twentyHorses;
    for (int r = 0; r < 20; ++r) {
        twenty += raceCards(1);
        twentyHorses += horses(3);
    }
    EXPECT_EQ(load(twenty, twentyHorses), "");
    EXPECT_EQ(card->RaceCount, 12);
}

TEST_F(DamagedRaceDay, HorseFilesThatDoNotPairWithTheirRaceCardAreRefused)
{
    // A horse line lost in the middle would shift every later runner.
    std::string lost = horses();
    lost.erase(2 * 2881, 2881);
    std::string m = load(raceCards(), lost + horses(1));
    EXPECT_NE(m.find("day.HDT」の 3 件目"), std::string::npos) << m;
    EXPECT_NE(m.find("1R の 3 番目"), std::string::npos) << m;

    EXPECT_NE(load(raceCards(), "").find("0 頭分しかなく"), std::string::npos);
    std::string cut = horses();
    cut.resize(cut.size() - 100);
    EXPECT_NE(load(raceCards(), cut).find("5 頭分しかなく"), std::string::npos);
    // A race card under a horse file's name.
    EXPECT_NE(load(raceCards(), raceCards() + raceCards() + raceCards()).find("行の終わり"), std::string::npos);
    // More horse lines than entries: the first ones pair, the others wait.
    EXPECT_EQ(load(raceCards(), horses(9)), "");
    EXPECT_EQ(card->HorseCount, 9);
}

TEST_F(DamagedRaceDay, DamagedTimeCorrectionLinesAreLeftOutAndTold)
{
    const std::string good = "2004050308" + std::string(120, '0') + "\r\n";
    std::string bad = good;
    bad[20] = 'x';
    files::makeDirectories(kData);
    files::writeAll(kData / "STIME.DAT", good + bad + good + bad + "\x82\xa0");
    desktop.messages.clear();
    ASSERT_EQ(load(raceCards(), horses()), "");
    EXPECT_EQ(card->STimeCount, 2);
    ASSERT_EQ(desktop.messages.size(), 2u);
    EXPECT_NE(desktop.messages[0].find("STIME.dat」の 2 件目ほか 1 件"), std::string::npos) << desktop.messages[0];
    EXPECT_NE(desktop.messages[1].find("末尾の 2 バイト"), std::string::npos) << desktop.messages[1];

    // More lines than the table holds.
    std::string many;
    for (int t = 0; t < 1500; ++t)
        many += good;
    files::writeAll(kData / "STIME.DAT", many);
    ASSERT_EQ(load(raceCards(), horses()), "");
    EXPECT_EQ(card->STimeCount, TRaceCard::kSTime);
}

TEST_F(DamagedRaceDay, OddsFilesOfAnyShapeStayWithinTheTable)
{
    files::makeDirectories(WinPath("d:\\zorbeLab\\odds"));
    TOddsDayRec odds;
    std::string many;
    for (int i = 0; i < 50; ++i)
        many += odds.bytes();
    files::writeAll(WinPath("d:\\zorbeLab\\odds\\20040627.odz"), many + "\xff\xfe");
    ASSERT_EQ(load(raceCards(), horses()), "");
    EXPECT_EQ(card->OddsCount, TRaceCard::kOdds);
    files::writeAll(WinPath("d:\\zorbeLab\\odds\\20040627.odz"), "");
    ASSERT_EQ(load(raceCards(), horses()), "");
    EXPECT_EQ(card->OddsCount, 0);
}

TEST(DamagedResults, AFileOfAnotherKindIsRefusedAndTheTablesStay)
{
    test::TempHome home;
    files::makeDirectories(WinPath("d:\\zorbeLab\\sei"));
    auto results = makeResults();
    results->ResultFileName = "d:\\zorbeLab\\sei\\day.SDT";
    auto loaded = [&](const std::string &bytes) -> std::string {
        files::writeAll(WinPath(results->ResultFileName), bytes);
        try {
            LoadResults(*results);
        } catch (const files::DamagedFileError &e) {
            return e.what();
        }
        return {};
    };
    const std::string line = TResultRec::blank().bytes();
    EXPECT_EQ(loaded(line + line + line.substr(0, 100)), "");
    EXPECT_EQ(results->ResultCount, 2);
    const std::string m = loaded(raceCards(5));
    EXPECT_NE(m.find("成績ファイル「d:\\zorbeLab\\sei\\day.SDT」の 1 件目"), std::string::npos) << m;
    EXPECT_EQ(results->ResultCount, 2);
    EXPECT_EQ(loaded(""), "");
    EXPECT_EQ(results->ResultCount, 0);
    std::string many;
    for (int q = 0; q < 15; ++q)
        many += line;
    EXPECT_EQ(loaded(many), "");
    EXPECT_EQ(results->ResultCount, TResults::kRaces);
}

} // namespace
