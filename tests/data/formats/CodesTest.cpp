#include "data/formats/Codes.h"

#include "platform/Cp932.h"

#include <gtest/gtest.h>

namespace zorbe::formats::codes {
namespace {

TEST(Codes, RacecoursesInCodeOrder)
{
    const auto &t = racecourses();
    ASSERT_EQ(t.size(), 10u);
    std::string all;
    for (auto c : t.codes())
        all += u8(t.name(c));
    EXPECT_EQ(all, "札幌函館福島新潟東京中山中京京都阪神小倉");
    EXPECT_EQ(t.name("05"), sj("東京"));
    EXPECT_TRUE(t.name("11").empty()); // a race run elsewhere
    EXPECT_TRUE(t.name("5").empty());
}

TEST(Codes, NamesAreCp932)
{
    EXPECT_EQ(apprentices().name("9"), sj("◇"));
    EXPECT_EQ(apprentices().name("4"), sj("★"));
    EXPECT_TRUE(apprentices().name("0").empty());
    EXPECT_EQ(sexes().utf8Name("3"), "せん");
    EXPECT_EQ(coatColours().name("11"), sj("白"));
    EXPECT_EQ(breeds().name("3"), sj("サラ系"));
}

TEST(Codes, MarginCodesKeepTheirBlanks)
{
    EXPECT_EQ(margins().utf8Name("112"), "1 1/2");
    EXPECT_EQ(margins().utf8Name(" 12"), "1/2");
    EXPECT_EQ(margins().utf8Name("D  "), "同着");
    EXPECT_TRUE(margins().name("D").empty());
    EXPECT_TRUE(margins().name("12 ").empty());
}

TEST(Codes, Conditions)
{
    EXPECT_EQ(u8(conditionName("701")), "新馬");
    EXPECT_EQ(u8(conditionName("999")), "オープン");
    EXPECT_EQ(u8(conditionName("005")), "500万下");
    EXPECT_EQ(u8(conditionName("016")), "1600万下");
    EXPECT_EQ(conditionName("   "), "");
    EXPECT_EQ(conditionName("000"), "");
    EXPECT_EQ(conditionName("0A5"), "");
}

TEST(Codes, TrackGroups)
{
    EXPECT_EQ(trackSurface("10"), Surface::Turf);
    EXPECT_EQ(trackSurface("22"), Surface::Turf);
    EXPECT_EQ(trackSurface("23"), Surface::Dirt);
    EXPECT_EQ(trackSurface("24"), Surface::Dirt);
    EXPECT_EQ(trackSurface("25"), Surface::Unknown);
    EXPECT_EQ(trackSurface("51"), Surface::Jump);
    EXPECT_EQ(trackSurface("59"), Surface::Jump);
    EXPECT_EQ(trackSurface("  "), Surface::Unknown);
    EXPECT_TRUE(isTurfTrack("22"));
    EXPECT_FALSE(isTurfTrack("23"));
    EXPECT_TRUE(isFlatTrack("24"));
    EXPECT_FALSE(isFlatTrack("51"));
    EXPECT_FALSE(isFlatTrack("09"));
}

TEST(Codes, AbnormalityAndOddsVenues)
{
    EXPECT_FALSE(isAbnormal("0"));
    EXPECT_FALSE(isAbnormal(" "));
    EXPECT_TRUE(isAbnormal("4"));
    const char *expected[] = {"08", "09", "06", "07", "04", "05", "02", "00", "01", "03"};
    for (int c = 1; c <= 10; ++c) {
        const std::string code = (c < 10 ? "0" : "") + std::to_string(c);
        EXPECT_EQ(oddsVenueNumber(code), expected[c - 1]) << code;
    }
    EXPECT_TRUE(oddsVenueNumber("00").empty());
    EXPECT_TRUE(oddsVenueNumber("11").empty());
}

} // namespace
} // namespace zorbe::formats::codes
