#include "export/CsvExports.h"
#include "export/CsvText.h"
#include "export/TimeCsv.h"

#include "data/formats/MasterFormats.h"
#include "platform/Cp932.h"
#include "platform/Files.h"

#include "CsvTestSupport.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

using namespace zorbe;
using namespace zorbe::formats;
using namespace zorbe::test;

namespace {

// A meeting day of the time data: key, and for each race number 1..12 the
// standard time, last and early three furlongs, distance and track code.
struct Race
{
    const char *time, *last3F, *early3F, *distance, *track;
};

TCSTimeRec day(const std::string &key, const std::vector<Race> &races)
{
    TCSTimeRec rec;
    rec.set(CSTimeFields::Key, key);
    for (std::size_t k = 1; k <= 12; ++k) {
        const Race r = k <= races.size() ? races[k - 1] : Race{"0000", "000", "000", "0000", "00"};
        rec.set(CSTimeFields::StdTime, k, r.time);
        rec.set(CSTimeFields::Std3F, k, r.last3F);
        rec.set(CSTimeFields::Early3F, k, r.early3F);
        rec.set(CSTimeFields::Distance, k, r.distance);
        rec.set(CSTimeFields::Track, k, r.track);
    }
    return rec;
}

class TimeCsv : public ::testing::Test
{
protected:
    void write(const std::string &bytes) { putFile(csvexport::timeDataPath(folder), bytes); }
    std::vector<std::string> lines()
    {
        const auto written = csvexport::writeTimeCsv(folder);
        EXPECT_TRUE(written);
        return written ? utf8Lines(files::readAll(*written)) : std::vector<std::string>();
    }

    TempHome home;
    const WinPath folder = WinPath("d:\\zorbelab\\dat");
};

} // namespace

TEST_F(TimeCsv, EveryRecordGivesTwelveLinesEvenWithZeroTimes)
{
    write(day("2004050308", {{"0945", "345", "352", "1600", "11"},
                             {"0553", "339", "341", "1000", "12"},
                             {"2453", "388", "370", "3600", "15"},
                             {"3600", "400", "380", "4000", "54"},
                             {"1200", "360", "350", "1800", "23"},
                             {"1200", "360", "350", "1800", "19"}})
              .bytes()
          + day("2004100105", {{"0600", "350", "340", "1200", "17"}}).bytes());

    const auto out = lines();
    ASSERT_EQ(out.size(), 24u);
    EXPECT_EQ(out[0], "東京2004年3回8日目  1Ｒ,1600,0945,1.34.5,34.5,35.2,T");
    EXPECT_EQ(out[1], "東京2004年3回8日目  2Ｒ,1000,0553,0.55.3,33.9,34.1,TS");
    EXPECT_EQ(out[2], "東京2004年3回8日目  3Ｒ,3600,2453,4.05.3,38.8,37.0,T");
    EXPECT_EQ(out[3], "東京2004年3回8日目  4Ｒ,4000,3600,6.00.0,40.0,38.0,SG");
    EXPECT_EQ(out[4].substr(out[4].size() - 2), ",D");
    EXPECT_EQ(out[5].substr(out[5].size() - 3), ",TS");
    // A race number the day did not have: zeros, and the outer-turf type.
    EXPECT_EQ(out[6], "東京2004年3回8日目  7Ｒ,0000,0000,0.00.0,00.0,00.0,TS");
    EXPECT_EQ(out[11].substr(0, out[11].find(',')), "東京2004年3回8日目 12Ｒ");
    EXPECT_EQ(out[12], "小倉2004年1回5日目  1Ｒ,1200,0600,1.00.0,35.0,34.0,T");
    for (const auto &line : out)
        EXPECT_EQ(csvFields(line).size(), 7u) << line;
}

TEST_F(TimeCsv, MinutesBeyondNineAndVenuesBeyondTheTenCourses)
{
    EXPECT_EQ(csvexport::minutesText(5999), "9.59.9");
    EXPECT_EQ(csvexport::minutesText(6000), "10.00.0");
    write(day("2004300101", {{"9999", "000", "000", "1000", "23"}}).bytes());
    EXPECT_EQ(lines()[0], "2004年1回1日目  1Ｒ,1000,9999,16.39.9,00.0,00.0,D");
}

TEST_F(TimeCsv, EmptyMissingAndDamagedTimeData)
{
    // No "cSTIME.DAT": nothing is written.
    EXPECT_FALSE(csvexport::writeTimeCsv(folder));
    EXPECT_FALSE(files::exists(csvexport::timeCsvPath(folder)));

    write("");
    EXPECT_TRUE(lines().empty());
    EXPECT_EQ(files::readAll(csvexport::timeCsvPath(folder)), "");

    // A damaged time in the second record: the first record's lines stay.
    TCSTimeRec damaged = day("2004050309", {{"0945", "345", "352", "1600", "11"}});
    damaged.set(CSTimeFields::StdTime, 3, "09 5");
    write(day("2004050308", {}).bytes() + damaged.bytes() + std::string(100, '0'));
    const std::string what = exportError([&] { csvexport::writeTimeCsv(folder); });
    EXPECT_NE(what.find("cSTIME.DAT の 2 件目のレコード"), std::string::npos) << what;
    EXPECT_NE(what.find("基準タイム"), std::string::npos) << what;
    EXPECT_EQ(csvLines(files::readAll(csvexport::timeCsvPath(folder))).size(), 12u);

    // The trailing partial record is not a record.
    EXPECT_EQ(csvexport::loadTimeData(std::string(204 + 203, '0')).count(), 1u);
}
