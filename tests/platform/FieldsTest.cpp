#include "platform/Cp932.h"
#include "platform/Fields.h"
#include "platform/Files.h"

#include "support/TempHome.h"

#include <gtest/gtest.h>

using namespace zorbe;

TEST(StrictNumbers, AcceptOnlyDigits)
{
    EXPECT_EQ(toInt("0042", "f"), 42);
    EXPECT_EQ(toInt("-12", "f"), -12);
    EXPECT_EQ(toInt("+7", "f"), 7);
    for (const char *bad : {"", " 12", "12 ", "1 2", "abc", "-", "1.5", "１２", "9999999999999999999"})
        EXPECT_THROW(toInt(bad, "f"), ConversionError) << bad;
}

TEST(StrictNumbers, ErrorNamesTheFieldAndQuotesTheText)
{
    try {
        toInt(sj("ア1"), "出走頭数");
        FAIL();
    } catch (const ConversionError &e) {
        EXPECT_EQ(e.field(), "出走頭数");
        EXPECT_EQ(e.text(), sj("ア1"));
        const std::string what = e.what();
        EXPECT_NE(what.find("出走頭数"), std::string::npos);
        EXPECT_NE(what.find("ア1"), std::string::npos); // shown as Unicode
    }
}

TEST(StrictNumbers, BlanksOnlyWhereTheCallerAllowsThem)
{
    EXPECT_EQ(toIntOrBlank("   ", "f", -1), -1);
    EXPECT_EQ(toIntOrBlank("", "f", -1), -1);
    EXPECT_EQ(toIntOrBlank("012", "f", -1), 12);
    EXPECT_THROW(toIntOrBlank(" 12", "f", -1), ConversionError);
}

TEST(FieldAccess, ByOffsetAndByPositionAndNeverPastTheRecord)
{
    const std::string rec = "RA7200406272004062705030811";
    EXPECT_EQ(field(rec, 0, 2), "RA");
    EXPECT_EQ(fieldAt(rec, 3, 1), "7");
    constexpr FieldSpec raceNo = jvField("race number", 26, 2);
    EXPECT_EQ(raceNo.offset, 25u);
    EXPECT_EQ(field(rec, raceNo), "11");
    EXPECT_EQ(field(rec, 26, 10), "1");   // cut at the end
    EXPECT_EQ(field(rec, 100, 10), "");   // entirely past the end
}

TEST(FieldWriting, PadsAndCutsToTheWidth)
{
    EXPECT_EQ(zeroPad(7, 3), "007");
    EXPECT_EQ(zeroPad(1234, 3), "234");
    EXPECT_EQ(zeroPad(-5, 4), "-005");
    EXPECT_EQ(padRight("ab", 4), "ab  ");
    // A cut never leaves half a character: the blank fills the last byte.
    EXPECT_EQ(padRight(sj("東京都"), 5), sj("東京") + " ");
}

TEST(RecordFiles, TrailingPartialRecordIsIgnoredButReported)
{
    test::TempHome home;
    const WinPath file("c:\\data\\recs.dat");
    files::makeDirectories(file.parent());
    files::writeAll(file, "AAAA\r\nBBBB\r\nCC");
    const auto rf = RecordFile::read(file, 6);
    EXPECT_EQ(rf.count(), 2u);
    EXPECT_EQ(rf.record(1), "BBBB\r\n");
    EXPECT_EQ(rf.record(2), "");
    EXPECT_EQ(rf.trailingBytes(), 2u);

    EXPECT_EQ(RecordFile::readIfExists(WinPath("c:\\data\\none.dat"), 6).count(), 0u);
    EXPECT_THROW(RecordFile::read(WinPath("c:\\data\\none.dat"), 6), files::FileError);
}
