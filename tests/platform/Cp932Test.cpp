#include "platform/Cp932.h"

#include <gtest/gtest.h>

using namespace zorbe;

namespace {

// The characters users of JV-Data meet that other Shift-JIS tables get wrong.
struct Sample
{
    const char *utf8;
    const char *sjis;
};
const Sample kSamples[] = {
    {"①", "\x87\x40"},          // NEC special character
    {"～", "\x81\x60"},          // U+FF5E, not the wave dash
    {"－", "\x81\x7c"},          // full-width hyphen-minus
    {"ｾﾝ", "\xbe\xdd"},          // half-width katakana
    {"髙", "\xfb\xfc"},          // IBM extension (the "ladder" taka)
    {"\\", "\\"},                // 0x5C stays a backslash
    {"東京", "\x93\x8c\x8b\x9e"},
    {"表", "\x95\x5c"},          // trail byte 0x5C
};

} // namespace

TEST(Cp932, KnownCharactersConvertBothWays)
{
    for (const auto &s : kSamples) {
        EXPECT_EQ(cp932::fromUtf8Strict(s.utf8), s.sjis) << s.utf8;
        EXPECT_EQ(cp932::toUtf8Strict(s.sjis), s.utf8) << s.utf8;
    }
}

TEST(Cp932, EveryDoubleByteCharacterRoundTrips)
{
    // Every two-byte code that decodes encodes back to itself, or (for the
    // few characters cp932 holds twice: NEC and IBM duplicates) to the other
    // code of the same character.
    int exact = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!cp932::isLeadByte(static_cast<unsigned char>(lead)))
            continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            const std::string bytes{static_cast<char>(lead), static_cast<char>(trail)};
            std::string utf8;
            try {
                utf8 = cp932::toUtf8Strict(bytes);
            } catch (const cp932::EncodingError &) {
                continue; // unassigned code
            }
            const std::string back = cp932::fromUtf8Strict(utf8);
            if (back == bytes)
                ++exact;
            else
                EXPECT_EQ(cp932::toUtf8Strict(back), utf8) << std::hex << lead << ' ' << trail;
        }
    }
    EXPECT_GT(exact, 7000);
}

TEST(Cp932, VariantsTypedOnOtherSystemsStillEncode)
{
    // Input methods on other systems produce the wave dash and the minus
    // sign; they must land on the characters the files use.
    EXPECT_EQ(cp932::fromUtf8("\xE3\x80\x9C"), "\x81\x60"); // U+301C WAVE DASH
    EXPECT_EQ(cp932::fromUtf8("\xE2\x88\x92"), "\x81\x7c"); // U+2212 MINUS SIGN
}

TEST(Cp932, InvalidInputIsReplacedOrReported)
{
    // A lone lead byte at the end, an invalid trail byte, and a stray 0x80.
    EXPECT_EQ(cp932::toUtf8("A\x81"), "A\xEF\xBF\xBD");
    EXPECT_EQ(cp932::toUtf8("\x81\x20Z"), "\xEF\xBF\xBD Z");
    EXPECT_EQ(cp932::toUtf8("\x80"), "\xEF\xBF\xBD");
    EXPECT_THROW(cp932::toUtf8Strict("\x93\x8c\x8b"), cp932::EncodingError);

    // Characters with no cp932 code, and broken UTF-8.
    EXPECT_EQ(cp932::fromUtf8("a😀b"), "a\x81\x48" "b");
    EXPECT_EQ(cp932::fromUtf8("a\xC3"), "a\x81\x48");
    EXPECT_THROW(cp932::fromUtf8Strict("😀"), cp932::EncodingError);
    EXPECT_EQ(cp932::toUtf8(""), "");
}

TEST(Cp932, CaseFoldingLeavesTwoByteCharactersAlone)
{
    EXPECT_TRUE(cp932::equalsIgnoreCase("OZZ", "ozz"));
    EXPECT_TRUE(cp932::equalsIgnoreCase(sj("拡大縮小"), sj("拡大縮小")));
    // "ア" is 83 41 and "ヂ" is 83 61: their trail bytes are 'A' and 'a'.
    EXPECT_FALSE(cp932::equalsIgnoreCase(sj("ア"), sj("ヂ")));
    EXPECT_FALSE(cp932::equalsIgnoreCase("abc", "abcd"));
}

TEST(Cp932, CutsNeverSplitACharacter)
{
    const std::string name = sj("ゾルベ") + "AB";
    EXPECT_EQ(cp932::cutBytes(name, 5), sj("ゾル"));
    EXPECT_EQ(cp932::cutBytes(name, 6), sj("ゾルベ"));
    EXPECT_EQ(cp932::cutBytes(name, 7), sj("ゾルベ") + "A");
    EXPECT_EQ(cp932::cutBytes(name, 100), name);
}
