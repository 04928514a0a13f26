#include "model/Results.h"

#include "data/formats/ResultFormats.h"
#include "platform/Cp932.h"
#include "platform/Files.h"

#include "support/TempHome.h"

#include <gtest/gtest.h>

using namespace zorbe;
using namespace zorbe::formats;

namespace {

std::string resultLine(int raceNo, const std::string &name)
{
    TResultRec r;
    TRaceKey k = r.blockAs<TRaceKey>(ResultFields::Key);
    k.set(RaceKeyFields::Year, "2004");
    k.set(RaceKeyFields::RaceNo, zeroPad(raceNo, 2));
    r.setBlock(ResultFields::Key, k);
    r.set(ResultFields::RaceName, sj(name));
    TPayoutEntry place = r.payout(ResultFields::Place, 1);
    place.setCombination("07");
    place.setPayout("0000150");
    place.setPopularity("03");
    r.setPayout(ResultFields::Place, 1, place);
    TResultRunnerRec runner = r.blockAs<TResultRunnerRec>(ResultFields::Runner, 1);
    runner.set(ResultRunnerFields::Time, "1234");
    runner.set(ResultRunnerFields::Finish, "01");
    r.setBlock(ResultFields::Runner, 1, runner);
    return r.bytes();
}

} // namespace

TEST(Results, ALongerFileThenAShorterOneLeavesTheHigherRaces)
{
    test::TempHome home;
    files::makeDirectories(WinPath("d:\\zorbeLab\\sei"));
    std::string twelve, eleven;
    for (int q = 1; q <= 12; ++q)
        twelve += resultLine(q, "first");
    for (int q = 1; q <= 11; ++q)
        eleven += resultLine(q, "second");
    files::writeAll(WinPath("d:\\zorbeLab\\sei\\a.SDT"), twelve);
    files::writeAll(WinPath("d:\\zorbeLab\\sei\\b.SDT"), eleven);

    auto res = makeResults();
    res->ResultFileName = "d:\\zorbeLab\\sei\\a.SDT";
    LoadResults(*res);
    EXPECT_EQ(res->ResultCount, 12);
    res->ResultFileName = "d:\\zorbeLab\\sei\\b.SDT";
    LoadResults(*res);
    EXPECT_EQ(res->ResultCount, 11);
    EXPECT_EQ(res->ResRaceName[11].substr(0, 6), "second");
    EXPECT_EQ(res->ResRaceName[12].substr(0, 5), "first");
    EXPECT_EQ(res->ResRaceNo[12], "12");
    EXPECT_EQ(res->ResultYear, "2004");
    // A place payout keeps horse number and payout only.
    EXPECT_EQ(res->ResPlace[1][1], "070000150");
    EXPECT_EQ(res->ResTime[1][1], "1234");
    EXPECT_EQ(res->ResFinish[1][1], "01");

    res->ResultFileName = "d:\\zorbeLab\\sei\\none.SDT";
    LoadResults(*res); // nothing happens
    EXPECT_EQ(res->ResultCount, 11);
}
