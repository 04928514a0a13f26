#include "ConvertTestSupport.h"

#include "data/convert/Conversions.h"
#include "data/formats/MasterFormats.h"
#include "data/formats/RaceDayFormats.h"
#include "data/formats/RecordIo.h"
#include "data/formats/ResultFormats.h"
#include "link/LocalFeedLink.h"
#include "platform/Cp932.h"
#include "platform/ProfileFile.h"

#include <gtest/gtest.h>

#include <memory>

using namespace zorbe;
using namespace zorbe::test;
using namespace zorbe::formats;
namespace RA = zorbe::jv::RA;
namespace SE = zorbe::jv::SE;

namespace {

struct Day
{
    std::string date, venue, nichi;
    std::string key(int race) const { return date + venue + "03" + nichi + zeroPad(race, 2); }
};

// One week as a subscriber receives it, built by hand: masters on Thursday,
// race cards and weekly files on Friday, results and payouts on Monday;
// three venue-days of two races of three runners each.
class PipelineTest : public ::testing::Test
{
protected:
    const std::vector<Day> days = {{"20040626", "05", "07"}, {"20040626", "09", "07"}, {"20040627", "05", "08"}};

    std::string horseId(std::size_t day, int race, int runner) const
    {
        return "2001" + zeroPad(static_cast<std::int64_t>(day), 2) + zeroPad(race, 2) + zeroPad(runner, 2);
    }

    std::string races(char kind) const
    {
        std::string out;
        for (const Day &d : days)
            for (int r = 1; r <= 2; ++r) {
                jv::RecordBuilder b = raceRecord(d.key(r), kind);
                b.set(RA::Entries, "03").set(RA::Starters, "03").set(RA::Finishers, "03").set(RA::Track, "17");
                b.set(RA::Distance, "1600").set(RA::TurfGoing, "1");
                for (std::size_t k = 0; k < 8; ++k)
                    b.set(RA::LapTime.at(k), "120");
                out += b.str();
            }
        return out;
    }

    std::string runners(char kind) const
    {
        std::string out;
        for (std::size_t i = 0; i < days.size(); ++i)
            for (int r = 1; r <= 2; ++r)
                for (int n = 1; n <= 3; ++n)
                    out += runnerRecord(days[i].key(r), horseId(i, r, n), n, kind)
                               .set(SE::Placing, zeroPad(n, 2)).set(SE::Time, zeroPad(1340 + n, 4)).str();
        return out;
    }

    void SetUp() override
    {
        auto deliver = [&](const std::string &name, const std::string &content) {
            home.writeFile("feed/" + name + ".txt", content);
        };
        jv::RecordBuilder ks(jv::ksRecord()), ch(jv::chRecord());
        const std::string jockey1 = ks.set(jv::KS::JockeyCode, "00001").str();
        deliver("KSMT2004062420040624180000", jockey1 + ks.set(jv::KS::JockeyCode, "00002").str());
        deliver("CHMT2004062420040624180001", ch.set(jv::CH::TrainerCode, "01001").str());
        deliver("RANM2004062420040624180002", races('1'));

        deliver("RACE2004062620040625120000", races('2'));
        deliver("SEVM2004062620040625120001", runners('2'));
        std::string um;
        for (std::size_t i = 0; i < days.size(); ++i)
            for (int r = 1; r <= 2; ++r)
                for (int n = 1; n <= 3; ++n)
                    um += horseRecord(horseId(i, r, n), i == 0 && r == 1 && n == 1 ? 1 : 0).str();
        deliver("UMPW2004062420040625120002", um);
        deliver("RAQW2004062420040625120003", raceRecord("2004061305030401", '7').str());
        deliver("SEQW2004062420040625120004", runnerRecord("2004061305030401", horseId(0, 1, 1), 1, '7').str());
        deliver("RCPW2004062420040625120005", jv::RecordBuilder(jv::rcRecord()).str());

        deliver("RACE2004062620040628120000", races('7'));
        deliver("SEVM2004062620040628120001", runners('7'));
        for (const char *date : {"20040626", "20040627"}) {
            std::string hr;
            for (const Day &d : days)
                if (d.date == date)
                    for (int r = 1; r <= 2; ++r)
                        hr += jv::RecordBuilder(jv::hrRecord()).raw(jv::HR::RaceKey, d.key(r)).str();
            deliver("HRSW" + std::string(date) + "20040628120002", hr);
        }
    }

    // The download run at a publication time, handed to the conversions.
    void downloadAt(const std::string &now)
    {
        auto feed = std::make_unique<LocalFeedLink>();
        feed->setNow(now);
        TJVLink link(std::move(feed));
        ASSERT_EQ(link.JVInit(std::string(kSoftwareId)), 0);
        SilentDownloadView downloadView;
        ProfileFile settings(ProfileFile::defaultPath());
        TConversions conversions(settings, view, desktop);
        TDownloadRun run(link, downloadView, &conversions);
        run.formShow("");
        run.start();
        for (int guard = 0; downloadView.timerActive() && guard < 100000; ++guard)
            run.timerTick();
        ASSERT_TRUE(run.readToTheEnd());
        ASSERT_EQ(run.outcome(), TDownloadRun::Outcome::Completed) << run.errorText();
    }

    TempHome home;
    ConversionFolders folders = defaultFolders();
    SilentConversionView view;
    MessageDesktop desktop;
};

TEST_F(PipelineTest, ThursdayFridayMondayGiveEveryFileOfTheWeek)
{
    // Thursday: no race card, so only the masters.
    downloadAt("20040624235959");
    EXPECT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(fileBytes(folders.racedat / "KISYU.DAT").size(), 2 * TSummaryMasterRec::kLength);
    EXPECT_EQ(fileBytes(folders.racedat / "JracKisi.dat").size(), 2 * TJockeyDetailRec::kLength);
    EXPECT_EQ(fileBytes(folders.racedat / "CHOKYOSI.DAT").size(), TSummaryMasterRec::kLength);
    EXPECT_EQ(fileBytes(folders.racedat / "JracChok.dat").size(), TTrainerDetailRec::kLength);

    // Friday: a race card and a horse file per venue-day, paired by horse id.
    downloadAt("20040625235959");
    for (const char *base : {"東京20040626", "阪神20040626", "東京20040627"}) {
        const RecordFile rdt = RecordFile::read(folders.lzhdat / sj(std::string(base) + ".RDT"), TRaceCardRec::kLength);
        const RecordFile hdt = RecordFile::read(folders.lzhdat / sj(std::string(base) + ".HDT"), THorseRec::kLength);
        ASSERT_EQ(rdt.count(), 2u) << base;
        EXPECT_EQ(rdt.bytes().size(), 2 * 1463u);
        ASSERT_EQ(hdt.count(), 6u) << base;
        std::size_t h = 0;
        for (std::size_t r = 0; r < rdt.count(); ++r) {
            const auto card = recordAt<TRaceCardRec>(rdt, r);
            for (std::size_t j = 1; j <= 3; ++j)
                EXPECT_EQ(recordAt<THorseRec>(hdt, h++).get(HorseFields::Id), card.entry(j).get(RaceEntryFields::HorseId));
        }
    }
    EXPECT_FALSE(recordAt<THorseRec>(RecordFile::read(folders.lzhdat / sj("東京20040626.HDT"), THorseRec::kLength), 0)
                     .past(1).isMissing());

    // Monday: a results file and a time-correction line per day; every
    // consumed download is gone, the weekly files in use stay.
    downloadAt("20040628235959");
    for (const char *base : {"東京20040626", "阪神20040626", "東京20040627"})
        EXPECT_EQ(RecordFile::read(folders.seiseki / sj(std::string(base) + ".SDT"), TResultRec::kLength).count(), 2u)
            << base;
    EXPECT_EQ(fileBytes(folders.racedat / "STIME.DAT").size(), 3 * TSTimeRec::kLength);
    EXPECT_EQ(fileBytes(folders.racedat / "cSTIME.DAT").size(), 3 * TCSTimeRec::kLength);
    for (const std::string &name : files::list(folders.down)) {
        const std::string utf8 = u8(name);
        EXPECT_TRUE(utf8.rfind("RAQW", 0) == 0 || utf8.rfind("SEQW", 0) == 0 || utf8.rfind("UMPW", 0) == 0
                    || utf8.rfind("RCPW", 0) == 0 || utf8.rfind("RANM", 0) == 0)
            << utf8;
    }
    EXPECT_TRUE(view.reports().empty());
}

} // namespace

#include "link/feedgen/FeedCalendar.h"
#include "link/feedgen/FeedGenerator.h"

#include <set>

namespace {

// Three generated weeks, downloaded at every publication time in turn.
class GeneratedFeedPipelineTest : public PipelineTest
{
protected:
    void SetUp() override {} // the generated feed instead of the hand-built one
};

std::set<std::string> baseNames(const WinPath &folder, const std::string &extension)
{
    std::set<std::string> out;
    for (const std::string &name : files::list(folder))
        if (name.size() > extension.size() && name.compare(name.size() - extension.size(), extension.size(), extension) == 0)
            out.insert(name.substr(0, name.size() - extension.size()));
    return out;
}

TEST_F(GeneratedFeedPipelineTest, ThreeWeeksKeepTheInvariantsOfTheConvertedFiles)
{
    feedgen::FeedOptions options;
    options.weeks = 3;
    ASSERT_GT(feedgen::generateFeed(options, WinPath::fromNative(home.path() / "feed"), WinPath()), 0);
    const int thursday0 = feedgen::dayNumber(options.start);
    for (int week = 0; week < options.weeks; ++week)
        for (int offset : {0, 1, 4}) // Thursday, Friday, Monday
            downloadAt(feedgen::dateText(feedgen::dateOf(thursday0 + 7 * week + offset)) + "235959");

    const std::set<std::string> cards = baseNames(folders.lzhdat, ".RDT");
    ASSERT_FALSE(cards.empty());
    EXPECT_EQ(baseNames(folders.lzhdat, ".HDT"), cards);
    EXPECT_EQ(baseNames(folders.seiseki, ".SDT"), cards); // one results file per results day
    for (const std::string &base : cards) {
        const std::string rdt = fileBytes(folders.lzhdat / (base + ".RDT"));
        const RecordFile hdt = RecordFile::read(folders.lzhdat / (base + ".HDT"), THorseRec::kLength);
        ASSERT_EQ(rdt.size() % TRaceCardRec::kLength, 0u) << u8(base);
        EXPECT_EQ(hdt.trailingBytes(), 0u);
        std::size_t h = 0;
        for (std::size_t r = 0; r < rdt.size() / TRaceCardRec::kLength; ++r) {
            const auto card = TRaceCardRec::fromBytes(std::string_view(rdt).substr(r * TRaceCardRec::kLength, TRaceCardRec::kLength));
            for (std::int64_t j = 1; j <= card.number(RaceCardFields::Entries); ++j, ++h) {
                ASSERT_LT(h, hdt.count());
                EXPECT_EQ(recordAt<THorseRec>(hdt, h).get(HorseFields::Id),
                          card.entry(static_cast<std::size_t>(j)).get(RaceEntryFields::HorseId));
            }
        }
        EXPECT_EQ(h, hdt.count()) << u8(base);
        EXPECT_EQ(fileBytes(folders.seiseki / (base + ".SDT")).size() % TResultRec::kLength, 0u);
    }
    EXPECT_EQ(fileBytes(folders.racedat / "STIME.DAT").size(), cards.size() * TSTimeRec::kLength);
    EXPECT_EQ(fileBytes(folders.racedat / "cSTIME.DAT").size(), cards.size() * TCSTimeRec::kLength);

    // What was consumed is gone: only the weekly files of the last week stay.
    EXPECT_EQ(files::list(folders.down).size(), 4u);
    for (const std::string &name : files::list(folders.down))
        EXPECT_NE(name.find(feedgen::dateText(feedgen::dateOf(thursday0 + 14))), std::string::npos) << u8(name);

    // The masters hold one line per jockey and trainer of the last masters.
    std::size_t lastJockeys = 0;
    for (const std::string &name : files::list(WinPath::fromNative(home.path() / "feed")))
        if (name.rfind("KSMW", 0) == 0)
            lastJockeys = fileBytes(WinPath::fromNative(home.path() / "feed" / name)).size() / jv::KS::Length;
    EXPECT_GT(lastJockeys, 0u);
    EXPECT_EQ(fileBytes(folders.racedat / "KISYU.DAT").size(), lastJockeys * TSummaryMasterRec::kLength);
    EXPECT_EQ(fileBytes(folders.racedat / "KISYU.DAT").size() / TSummaryMasterRec::kLength,
              fileBytes(folders.racedat / "JracKisi.dat").size() / TJockeyDetailRec::kLength);
    EXPECT_EQ(fileBytes(folders.racedat / "CHOKYOSI.DAT").size() / TSummaryMasterRec::kLength,
              fileBytes(folders.racedat / "JracChok.dat").size() / TTrainerDetailRec::kLength);
    EXPECT_TRUE(view.reports().empty());
}

} // namespace
