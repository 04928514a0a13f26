#include "data/jvdata/JVData_Structure.h"

#include "platform/Cp932.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace zorbe;
using namespace zorbe::jv;

namespace {

// Every occurrence of every field of a kind, by offset.
std::vector<FieldSpec> expand(const RecordDef &def)
{
    std::vector<FieldSpec> out;
    for (const Field &f : def.fields)
        for (std::size_t g = 0; g < f.groups; ++g)
            for (std::size_t i = 0; i < f.count; ++i)
                out.push_back(f.at(g, i).spec);
    std::sort(out.begin(), out.end(), [](const FieldSpec &a, const FieldSpec &b) { return a.offset < b.offset; });
    return out;
}

} // namespace

TEST(JVDataStructure, LayoutsCoverEachRecordWithoutGapOrOverlap)
{
    ASSERT_EQ(allRecords().size(), std::size(kJVRecordKinds));
    for (const RecordDef *def : allRecords()) {
        SCOPED_TRACE(std::string(def->id));
        EXPECT_EQ(def->length, jvRecordLength(def->id));
        std::size_t next = 0;
        for (const FieldSpec &f : expand(*def)) {
            EXPECT_EQ(f.offset, next) << f.name;
            next = f.end();
        }
        EXPECT_EQ(next, def->length - 2);
    }
}

TEST(JVDataStructure, PositionsTheConversionsRelyOn)
{
    EXPECT_EQ(RA::RaceName.position(), 33u);
    EXPECT_EQ(RA::ShortName.position(), 605u);
    EXPECT_EQ(RA::Condition.at(4).position(), 635u);
    EXPECT_EQ(RA::MainPrize.at(4).position(), 746u);
    EXPECT_EQ(RA::PostTime.position(), 874u);
    EXPECT_EQ(RA::LapTime.at(24).position(), 963u);
    EXPECT_EQ(SE::CarriedWeight.position(), 289u);
    EXPECT_EQ(SE::OpponentName.at(0).position(), 404u);
    EXPECT_EQ(SE::TimeDifference.position(), 532u);
    EXPECT_EQ(UM::PedigreeName.at(13).position(), 205u + 13 * 44 + 8);
    EXPECT_EQ(UM::TrainerCode.position(), 822u);
    EXPECT_EQ(UM::RaceCount.position(), 1573u);
    EXPECT_EQ(RC::Venue.position(), 21u);
    EXPECT_EQ(RC::HolderJockeyName.at(0).position(), 206u);
    EXPECT_EQ(HR::PlaceHorse.at(0).position(), 142u);
    EXPECT_EQ(HR::WideCombination.at(0).position(), 294u);
    EXPECT_EQ(KS::GradedWinRaceKey.at(0).position(), 527u);
    EXPECT_EQ(KS::FlatPlacings.at(0, 0).position(), 1060u);
    EXPECT_EQ(KS::Affiliation.position(), 231u);
    EXPECT_EQ(CH::GradedWinRaceKey.at(0).position(), 216u);
    EXPECT_EQ(CH::FlatPlacings.at(0, 0).position(), 749u);
    EXPECT_EQ(CH::Affiliation.position(), 195u);
    EXPECT_THROW((void)RA::LapTime.at(25), std::out_of_range);
    EXPECT_THROW((void)KS::CoursePlacings.at(3), std::logic_error);
}

TEST(JVDataStructure, BlankRecordHoldsAbsentValues)
{
    for (const RecordDef *def : allRecords()) {
        const std::string rec = RecordBuilder(*def).str();
        SCOPED_TRACE(std::string(def->id));
        EXPECT_TRUE(isRecordOf(*def, rec));
        for (const Field &f : def->fields) {
            if (f.spec.offset < 2)
                continue;
            EXPECT_EQ(field(rec, f.at(f.groups - 1, f.count - 1)), blankValue(f)) << f.spec.name;
        }
    }
    const std::string ra = RecordBuilder(raRecord()).str();
    EXPECT_EQ(field(ra, RA::Distance), "0000");
    std::string wideBlanks;
    for (int i = 0; i < 30; ++i)
        wideBlanks += sj("　");
    EXPECT_EQ(field(ra, RA::RaceName), wideBlanks);
    EXPECT_EQ(field(ra, RA::Grade), " ");
}

TEST(JVDataStructure, BuilderPadsAndRefusesWhatDoesNotFit)
{
    RecordBuilder b(seRecord());
    b.set(SE::HorseName, sj("アスタースター")).set(SE::HorseNumber, 7).set(SE::Margin, "K").set(SE::HorseId, "2020101234");
    const std::string rec = b.str();
    EXPECT_EQ(field(rec, SE::HorseNumber), "07");
    EXPECT_EQ(field(rec, SE::Margin), "K  ");
    EXPECT_EQ(u8(std::string(field(rec, SE::HorseName))), "アスタースター　　　　　　　　　　　");
    EXPECT_THROW(b.set(SE::HorseNumber, 100), FieldWidthError);
    EXPECT_THROW(b.set(SE::HorseNumber, -1), FieldWidthError);
    EXPECT_THROW(b.set(SE::Margin, "ABCD"), FieldWidthError);
    EXPECT_THROW(b.raw(SE::Margin, "AB"), FieldWidthError);
    EXPECT_EQ(b.str(), rec); // refused values change nothing
}

// Records written by hand at the published positions read back through the
// definitions, and the builder makes the same bytes from the values read.
TEST(JVDataStructure, HandWrittenRecordsRoundTrip)
{
    std::string ra = RecordBuilder(raRecord()).str();
    ra.replace(2, 1, "7");
    ra.replace(11, 16, "2004062705030812");
    ra.replace(32, 8, sj("宝塚記念"));
    ra.replace(697, 4, "2200");
    ra.replace(705, 2, "17");
    ra.replace(890, 9, "123110118");
    std::string hr = RecordBuilder(hrRecord()).str();
    hr.replace(11, 16, "2004062705030812");
    hr.replace(102, 13, "0500000034001");
    hr.replace(245, 16, "0507000001230005");

    EXPECT_EQ(field(ra, RA::DataKind), "7");
    EXPECT_EQ(field(ra, RA::RaceKey), "2004062705030812");
    EXPECT_EQ(field(ra, RA::Venue), "05");
    EXPECT_EQ(field(ra, RA::RaceNumber), "12");
    EXPECT_EQ(u8(std::string(cp932::cutBytes(field(ra, RA::RaceName), 8))), "宝塚記念");
    EXPECT_EQ(toInt(field(ra, RA::Distance), "distance"), 2200);
    EXPECT_EQ(field(ra, RA::LapTime.at(1)), "110");
    EXPECT_EQ(field(hr, HR::WinHorse.at(0)), "05");
    EXPECT_EQ(toInt(field(hr, HR::WinPayout.at(0)), "win"), 340);
    EXPECT_EQ(field(hr, HR::QuinellaCombination.at(0)), "0507");
    EXPECT_EQ(field(hr, HR::QuinellaPopularity.at(0)), "005");

    RecordBuilder rb(raRecord());
    rb.set(RA::DataKind, field(ra, RA::DataKind)).set(RA::Year, 2004).set(RA::MonthDay, 627).set(RA::Venue, 5);
    rb.set(RA::Meeting, 3).set(RA::MeetingDay, 8).set(RA::RaceNumber, 12).set(RA::RaceName, sj("宝塚記念"));
    rb.set(RA::Distance, 2200).set(RA::Track, "17");
    for (int i = 0; i < 3; ++i)
        rb.set(RA::LapTime.at(i), field(ra, RA::LapTime.at(i)));
    EXPECT_EQ(rb.str(), ra);
    RecordBuilder hb(hrRecord());
    hb.raw(HR::RaceKey, "2004062705030812").set(HR::WinHorse.at(0), "05").set(HR::WinPayout.at(0), 340);
    hb.set(HR::WinPopularity.at(0), 1).set(HR::QuinellaCombination.at(0), "0507");
    hb.set(HR::QuinellaPayout.at(0), 1230).set(HR::QuinellaPopularity.at(0), 5);
    EXPECT_EQ(hb.str(), hr);
}
