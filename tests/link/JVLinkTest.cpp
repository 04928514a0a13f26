#include "link/JVLink.h"

#include <gtest/gtest.h>

using namespace zorbe;

TEST(JVLinkVersion, DigitsAreJoinedByDotsAfterDroppingLeadingZeros)
{
    EXPECT_EQ(JVLinkVersionText("4402"), " JV-Link Ver.4.4.0.2");
    EXPECT_EQ(JVLinkVersionText("0402"), " JV-Link Ver.4.0.2");
    EXPECT_EQ(JVLinkVersionText("0121"), " JV-Link Ver.1.2.1");
    EXPECT_EQ(JVLinkVersionText("25"), " JV-Link Ver.2.5");
    EXPECT_EQ(JVLinkVersionDigits("0402"), "402");
}

TEST(JVLinkVersion, OtherLengthsAndNonDigitsShowNothing)
{
    for (const char *v : {"", "7", "0007", "12345", "4.4", "44a2", "00000000000000000001"})
        EXPECT_EQ(JVLinkVersionText(v), "") << v;
}

TEST(JVLinkVersion, SoftwareIdentifierHasTheExpectedShape)
{
    EXPECT_EQ(kSoftwareId.size(), 33u);
    int slashes = 0;
    for (char c : kSoftwareId)
        slashes += c == '/';
    EXPECT_EQ(slashes, 3);
}
