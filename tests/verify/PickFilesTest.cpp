#include "verify/PickFiles.h"
#include "verify/VerifyTestDay.h"

#include "platform/Cp932.h"
#include "platform/Files.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace zorbe;

namespace {

std::vector<std::string> linesOf(const std::string &bytes)
{
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < bytes.size()) {
        const std::size_t end = bytes.find("\r\n", at);
        lines.push_back(bytes.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}

class PickFiles : public ::testing::Test
{
protected:
    std::vector<TPickFile> build(const char *sinba = "1", const char *kako = "1")
    {
        TRunnerFigures figures;
        return BuildPickFiles({*day.card, day.masters, {"C:\\ZORBE\\txt", sinba, kako}}, figures);
    }
    // The race lines of pick type p (1..3).
    std::vector<std::string> races(const std::vector<TPickFile> &files, int p = 1)
    {
        std::vector<std::string> lines = linesOf(files[static_cast<std::size_t>(p - 1)].bytes);
        return {lines.begin() + 3, lines.end()};
    }
    test::PickDay day;
};

TEST_F(PickFiles, NamesAndTitleBlockFollowTheStoredMeeting)
{
    day.addRace({1, 2, 3, 4});
    const auto files = build("1", "1");
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(u8(files[0].name.text()), "C:\\ZORBE\\txt\\東京20040627本紙.TXT");
    EXPECT_EQ(u8(files[1].name.text()), "C:\\ZORBE\\txt\\東京20040627虎の穴.TXT");
    EXPECT_EQ(u8(files[2].name.text()), "C:\\ZORBE\\txt\\東京20040627タイム.TXT");
    const auto lines = linesOf(files[1].bytes);
    EXPECT_EQ(lines[0], std::string(75, '-'));
    EXPECT_EQ(lines[2], std::string(75, '-'));
    EXPECT_EQ(u8(lines[1]), "東京 2004年  3回  8日目  6月 27日(日) [0115] ゾルベ Lab.版 Ver2.11虎1");
    EXPECT_TRUE(u8(pickTitleLine(*day.card, 0, PickType::Honshi, "5")).ends_with("Ver2.11本5"));

    // The depth is the stored text cut to four characters; a day of month
    // below 10 is a blank and its digit; an unknown weekday three blanks.
    day.card->MeetDay = "05", day.card->MeetMonth = "11", day.card->MeetWeekday = "9";
    day.card->MeetKai = "09", day.card->MeetNichi = "12";
    EXPECT_EQ(u8(pickTitleLine(*day.card, 0, PickType::Time, "12345")),
              "東京 2004年  回  12日目 11月  5日 　  [0115] ゾルベ Lab.版 Ver2.11ﾀｲ1234");
    day.card->MeetKai = "0x";
    EXPECT_THROW(build(), ConversionError);
}

TEST_F(PickFiles, RaceLinesKeepTheirBytePositions)
{
    for (int r = 0; r < 8; ++r)
        day.addRace({1, 2, 3, 4});
    // Race 9: twelve runners, runner 12 best, then 11, 10, ...
    const int r9 = day.addRace({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
    day.addRace({1, 2, 3, 4});
    // Race 11: seven runners, runner 3 best.
    const int r11 = day.addRace({5, 4, 9, 3, 2, 1, 0});
    day.card->RaceTrack[r11] = "14";
    day.card->RaceDistance[r11] = "2000";
    day.card->RaceStartTime[r11] = "0950";
    const auto lines = races(build());
    ASSERT_EQ(lines.size(), 11u);
    const std::string &l9 = lines[static_cast<std::size_t>(r9)];
    EXPECT_EQ(l9, " 9R  12 11-12 10-12  9-12 10-11  9-11  8-12  |  D   OP\x81\x40 1600m  [15:25]");
    EXPECT_EQ(l9.size(), 71u);
    const std::string &l11 = lines[static_cast<std::size_t>(r11)];
    EXPECT_EQ(l11.substr(0, 8), "11R   3 ");
    // Three points for seven runners: bytes 26-45 blank, "|" at 46.
    EXPECT_EQ(l11.substr(25, 20), std::string(20, ' '));
    EXPECT_EQ(l11[45], '|');
    EXPECT_EQ(l11.substr(8, 17), "   13    23    34");
    EXPECT_EQ(l11.substr(46, 25), "  TU  OP\x81\x40 2000m  [09:50]");
}

TEST_F(PickFiles, PointFormsFollowSinbaAndTheFieldSize)
{
    day.addRace({8, 1, 2, 3, 7, 4, 5, 6});  // 8 runners: 1, 5, 8, 7, ...
    day.addRace({9, 1, 2, 3, 8, 4, 5, 6, 7}); // 9 runners: the long form
    auto lines = races(build("1"));
    EXPECT_EQ(lines[0].substr(8, 5), "   15");
    EXPECT_EQ(lines[1].substr(8, 5), " 1- 5");
    lines = races(build("0"));
    EXPECT_EQ(lines[0].substr(8, 5), " 1- 5");
    // Six points with eight runners: ranks 1-2, 1-3, 1-4, 2-3, 2-4, 1-5.
    EXPECT_EQ(lines[0].substr(8, 38), " 1- 5  1- 8  1- 7  5- 8  5- 7  1- 6  |");
}

TEST_F(PickFiles, RacesWithoutPicksAreLeftOutOnlyWhenSinbaIsZero)
{
    const int debut = day.addRace({1, 2, 3, 4});
    day.card->RaceClass[debut][2] = "701";
    const int jump = day.addRace({1, 2, 3, 4});
    day.card->RaceTrack[jump] = "54";
    const int unknown = day.addRace({1, 2, 3, 4});
    // Three runners without history leave a race out too.
    const int fresh = day.addRace({1, 2, 3, 4, 5});
    for (int k = 0; k < 3; ++k)
        day.pastRace(day.card->FirstHorse(fresh) + k, false);
    const int plain = day.addRace({1, 2, 3, 4});
    day.card->RaceTrack[unknown] = "27";
    day.card->RaceClass[unknown] = {"", "000", "000", "000", "000", "999"}; // the fifth code never counts

    auto lines = races(build("0"));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].substr(0, 2), " 3");
    EXPECT_EQ(lines[1].substr(0, 2), " 5");
    // Outside the tables: three blanks for the course, four for the class;
    // the distance stays in bytes 58-61.
    EXPECT_EQ(lines[0].substr(48, 3), "   ");
    EXPECT_EQ(lines[0].substr(52, 4), "    ");
    EXPECT_EQ(lines[0].substr(57, 4), "1600");

    lines = races(build("1"));
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(u8(lines[static_cast<std::size_t>(jump)].substr(52, 4)), "障害");
    EXPECT_EQ(lines[static_cast<std::size_t>(plain)].substr(0, 2), " 5");
}

TEST_F(PickFiles, ClassTextIsTheFirstTableEntryAnyCodeMatches)
{
    const int r = day.addRace({1, 2, 3, 4});
    auto &c = *day.card;
    c.RaceClass[r] = {"", "999", "016", "703", "005", "701"};
    EXPECT_EQ(u8(pickClassText(c, r)), "未勝"); // 703 comes before 016 and 999 in the table
    c.RaceClass[r] = {"", "010", "009", "000", "000", "000"};
    EXPECT_EQ(u8(pickClassText(c, r)), "9M　");
    EXPECT_EQ(pickCourseText("11"), "T  ");
    EXPECT_EQ(pickCourseText("22"), "TS ");
    EXPECT_EQ(pickCourseText("52"), "   ");
}

TEST_F(PickFiles, TiesAndSmallFieldsGiveRepeatedOrBlankPoints)
{
    day.addRace({5, 9, 9, 1}); // runners 2 and 3 share the top figure
    day.addRace({3, 1, 2});    // three runners: no fourth rank
    const auto lines = races(build("0"));
    // The higher-numbered of the two is rank 1 and rank 2.
    EXPECT_EQ(lines[0].substr(5, 20), " 3  3- 3  1- 3  3- 4");
    EXPECT_EQ(lines[1].substr(5, 20), " 1  1- 3  1- 2      ");
}

TEST(PickRestInterval, CountsMonthsWithUpToThreeYears)
{
    EXPECT_EQ(pickRestInterval("2004", "06", "2003", "1122"), 7);
    EXPECT_EQ(pickRestInterval("2004", "06", "2000", "1122"), -5);
    EXPECT_EQ(pickRestInterval("2004", "06", "2004", "0425"), 2);
    EXPECT_EQ(pickRestInterval("2004", "06", "0000", "0000"), 1);
    EXPECT_EQ(pickRestInterval("2004", "06", "    ", "    "), 1);
    EXPECT_THROW(pickRestInterval("2004", "06", "20x4", "0425"), ConversionError);
}

TEST_F(PickFiles, WritingReplacesEachFileAndAMissingFolderIsAFileError)
{
    test::TempHome home;
    day.addRace({1, 2, 3, 4});
    TRunnerFigures figures;
    const TPickFileInputs in{*day.card, day.masters, {"C:\\ZORBE\\txt", "1", "1"}};
    EXPECT_THROW(WritePickFiles(in, figures), files::FileError);
    files::makeDirectories(WinPath("C:\\ZORBE\\txt"));
    files::writeAll(WinPath(sj("C:\\ZORBE\\txt\\東京20040627本紙.TXT")), std::string(10000, 'x'));
    const auto written = WritePickFiles(in, figures);
    for (const TPickFile &f : written)
        EXPECT_EQ(files::readAll(f.name), f.bytes);
    EXPECT_EQ(day.card->CurrentRace, 0); // left at the last race
}

} // namespace
