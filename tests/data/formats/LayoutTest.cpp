#include "data/formats/Layout.h"

#include "Bytes.h"
#include "platform/Cp932.h"

#include <gtest/gtest.h>

namespace zorbe::formats {
namespace {

using test::spaces;
using test::wide;

// A small layout exercising every kind of field.
struct SampleFields
{
    static constexpr Field Id = digits("番号", 0, 3);
    static constexpr Field Flag = code("区分", 3, 1);
    static constexpr Field Name = wideText("名前", 4, 8);
    static constexpr Field Kana = text("カナ", 12, 5);
    static constexpr Field Zeros = fixed("固定値", 17, "00");
    static constexpr Field Pair = digits("対", 19, 2, 3, Blank::Zero);
    static constexpr Field End = lineEnd(25);

    static constexpr const Field *kFields[] = {&Id, &Flag, &Name, &Kana, &Zeros, &Pair, &End};
    static constexpr Layout kLayout{"TSample", 27, kFields};
};
static_assert(tiles(SampleFields::kLayout) && endsWithLineEnd(SampleFields::kLayout));

class TSample : public BasicRecord<TSample, SampleFields>
{
};

// Layouts that must be refused: the check is what keeps a record from
// coming out a byte short or long.
constexpr Field gA = code("a", 0, 2);
constexpr Field gB = code("b", 3, 2); // a gap at 2
constexpr Field gC = code("c", 1, 2); // overlaps a
constexpr Field gD = fixed("d", 2, "000");
constexpr Field gE = Field{"e", 2, 2, Kind::Fixed, 1, Blank::Literal, "000"}; // literal wider than the field
constexpr const Field *kGap[] = {&gA, &gB};
constexpr const Field *kOverlap[] = {&gA, &gC};
constexpr const Field *kGood[] = {&gA, &gD};
constexpr const Field *kBadLiteral[] = {&gA, &gE};
static_assert(!tiles(Layout{"gap", 5, kGap}));
static_assert(!tiles(Layout{"overlap", 3, kOverlap}));
static_assert(tiles(Layout{"good", 5, kGood}));
static_assert(!tiles(Layout{"short", 6, kGood}));
static_assert(!tiles(Layout{"long", 4, kGood}));
static_assert(!tiles(Layout{"literal", 4, kBadLiteral}));
constexpr Layout kGoodLayout{"good", 5, kGood};
constexpr Field gBlock = block("blk", 0, kGoodLayout, 2);
constexpr Field gBadBlock = Field{"blk", 0, 4, Kind::Block, 1, Blank::Default, {}, &kGoodLayout};
constexpr const Field *kBlocks[] = {&gBlock};
constexpr const Field *kBadBlocks[] = {&gBadBlock};
static_assert(tiles(Layout{"blocks", 10, kBlocks}));
static_assert(!tiles(Layout{"blocks", 4, kBadBlocks}));

TEST(FixedRecord, BlankFillsEachFieldByItsRule)
{
    const TSample r;
    EXPECT_EQ(r.bytes(), spaces(4) + wide(4) + spaces(5) + "00" + "000000" + "\r\n");
    EXPECT_EQ(r.size(), TSample::kLength);
}

TEST(FixedRecord, SetLeavesNeighboursAlone)
{
    TSample r;
    r.set(TSample::Id, "123");
    r.set(TSample::Flag, "A");
    r.set(TSample::Pair, 2, "45");
    r.set(TSample::Name, sj("東京"));
    r.set(TSample::Kana, sj("ﾄｳｷｮｳ"));
    EXPECT_EQ(r.bytes(), "123A" + sj("東京") + wide(2) + sj("ﾄｳｷｮｳ") + "00" + "004500" + "\r\n");
    EXPECT_EQ(r.get(TSample::Pair, 1), "00");
    EXPECT_EQ(r.get(TSample::Pair, 2), "45");
    EXPECT_EQ(r.get(TSample::Pair, 3), "00");
    EXPECT_EQ(u8(r.get(TSample::Kana)), "ﾄｳｷｮｳ");
}

TEST(FixedRecord, TextIsCutAtACharacterBoundary)
{
    TSample r;
    // 8 bytes of room: "A" + three full-width characters is 7 bytes; the
    // fourth would split, so it is dropped and an ASCII space pads the field.
    r.set(TSample::Name, sj("Aあいうえ"));
    EXPECT_EQ(r.get(TSample::Name), sj("Aあいう") + " ");
    EXPECT_NO_THROW(cp932::toUtf8Strict(r.get(TSample::Name)));
    // Half-width katakana are one byte each and fill the field exactly.
    r.set(TSample::Kana, sj("ｱｲｳｴｵｶｷ"));
    EXPECT_EQ(r.get(TSample::Kana), sj("ｱｲｳｴｵ"));
    // A full-width character across the end of a plain text field.
    r.set(TSample::Kana, sj("ｱｲｳｴ漢"));
    EXPECT_EQ(r.get(TSample::Kana), sj("ｱｲｳｴ") + " ");
    EXPECT_EQ(r.size(), TSample::kLength);
}

TEST(FixedRecord, WideTextPadsWithFullWidthSpacesAndAnOddByte)
{
    TSample r;
    r.set(TSample::Name, sj("ｶ"));
    EXPECT_EQ(r.get(TSample::Name), sj("ｶ") + wide(3) + " ");
    r.set(TSample::Name, "");
    EXPECT_EQ(r.get(TSample::Name), wide(4));
}

TEST(FixedRecord, ATextMayBeSetFromTheRecordsOwnBytes)
{
    TSample r;
    r.set(TSample::Kana, "ABCDE");
    r.set(TSample::Name, r.get(TSample::Kana)); // wider field, overlapping neither
    EXPECT_EQ(r.get(TSample::Name), "ABCDE" + wide(1) + " ");
    r.set(TSample::Kana, std::string_view(r.bytes()).substr(13, 4)); // its own bytes, shifted
    EXPECT_EQ(r.get(TSample::Kana), "BCDE ");
}

TEST(FixedRecord, ProgrammingErrorsAreRefused)
{
    TSample r;
    const std::string before = r.bytes();
    EXPECT_THROW(r.set(TSample::Id, "12"), LayoutError);      // digits of the wrong width
    EXPECT_THROW(r.set(TSample::Id, "1234"), LayoutError);
    EXPECT_THROW(r.set(TSample::Flag, ""), LayoutError);
    EXPECT_THROW(r.set(TSample::Zeros, "11"), LayoutError);  // a filler
    EXPECT_THROW(r.set(TSample::Pair, 4, "11"), LayoutError); // past the count
    EXPECT_THROW(r.set(TSample::Pair, 0, "11"), LayoutError);
    EXPECT_THROW(r.setNumber(TSample::Id, 1000), LayoutError);
    EXPECT_THROW(r.setNumber(TSample::Id, -1), LayoutError);
    EXPECT_THROW(r.setNumber(TSample::Flag, 1), LayoutError);
    static constexpr Field foreign = digits("番号", 0, 3);
    EXPECT_THROW(r.get(foreign), LayoutError); // same shape, another layout
    static constexpr Field inside = code("途中", 5, 2), past = code("後", 27, 1);
    EXPECT_THROW(r.get(inside), LayoutError); // starts inside a field of the layout
    EXPECT_THROW(r.get(past), LayoutError);
    EXPECT_EQ(r.bytes(), before);
    EXPECT_THROW(TSample::fromBytes(before.substr(1)), LayoutError);
    EXPECT_THROW(TSample::fromBytes(before + " "), LayoutError);
}

TEST(FixedRecord, NumbersAreStrict)
{
    TSample r;
    r.setNumber(TSample::Id, 7);
    EXPECT_EQ(r.get(TSample::Id), "007");
    EXPECT_EQ(r.number(TSample::Id), 7);
    r.setNumber(TSample::Pair, 3, 99);
    EXPECT_EQ(r.number(TSample::Pair, 3), 99);
    r.set(TSample::Id, "   ");
    EXPECT_THROW(r.number(TSample::Id), ConversionError);
    EXPECT_EQ(r.numberOrBlank(TSample::Id, 1, -1), -1);
    r.set(TSample::Id, "1 2");
    EXPECT_THROW(r.numberOrBlank(TSample::Id, 1, -1), ConversionError);
}

TEST(FixedRecord, ClearRestoresTheBlankOfOneElement)
{
    TSample r;
    r.set(TSample::Pair, 1, "11");
    r.set(TSample::Pair, 2, "22");
    r.set(TSample::Name, sj("名前"));
    r.clear(TSample::Pair, 1);
    r.clear(TSample::Name);
    EXPECT_EQ(r.get(TSample::Pair, 1), "00");
    EXPECT_EQ(r.get(TSample::Pair, 2), "22");
    EXPECT_EQ(r.get(TSample::Name), wide(4));
}

} // namespace
} // namespace zorbe::formats
