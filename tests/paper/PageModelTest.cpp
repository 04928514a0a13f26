#include "paper/PageModel.h"
#include "paper/RecordingCanvas.h"
#include "platform/Cp932.h"
#include "platform/Fields.h"
#include "shell/LabelTables.h"

#include <gtest/gtest.h>

#include <vector>

namespace zorbe {
namespace {

TEST(PageUnits, MulDivRoundsHalvesAwayFromZero)
{
    EXPECT_EQ(MulDiv(96, 110, 72), 147);   // 146.67
    EXPECT_EQ(MulDiv(96, 75, 72), 100);
    EXPECT_EQ(MulDiv(3, 1, 2), 2);         // 1.5
    EXPECT_EQ(MulDiv(5, 1, 2), 3);         // 2.5: not to even
    EXPECT_EQ(MulDiv(-3, 1, 2), -2);
    EXPECT_EQ(MulDiv(3, -1, 2), -2);
    EXPECT_EQ(MulDiv(3, 1, -2), -2);
    EXPECT_EQ(MulDiv(-16, 72, 147), -8);   // -7.84
    // The product may exceed 32 bits; a zero divisor or an overflowing
    // result gives -1.
    EXPECT_EQ(MulDiv(100000, 100000, 100000), 100000);
    EXPECT_EQ(MulDiv(1, 1, 0), -1);
    EXPECT_EQ(MulDiv(2147483647, 2, 1), -1);
}

TEST(PageUnits, MillimetresBecomeDeviceUnitsFromTheOrigin)
{
    // 7 mm at 96 dpi: 672 / 25.4 = 26.46 -> 26, minus the origin.
    EXPECT_EQ(mmToDevice(7, 96, 1.0, 0), 26);
    EXPECT_EQ(mmToDevice(7, 96, 1.0, 86), 26 - 86);
    // Exact halves round to even.
    EXPECT_EQ(mmToDevice(1, 127, 0.5, 0), 2);    // 2.5
    EXPECT_EQ(mmToDevice(3, 127, 0.5, 0), 8);    // 7.5
    EXPECT_EQ(mmToDevice(5, 127, 0.5, 0), 12);   // 12.5
    EXPECT_EQ(mmToDevice(-5, 127, 0.5, 0), -12);
    // A large page coordinate at printer resolution.
    EXPECT_EQ(mmToDevice(240, 1200, 0.85, 0), 9638);   // 9637.795...

    RecordingCanvas canvas;
    TPageContext ctx{canvas, 86, 22, 147};
    pageParams().hFactor = 1.0;
    pageParams().vFactor = 0.985;
    EXPECT_EQ(MmToX(ctx, 23), 133 - 86);   // 133.11
    EXPECT_EQ(MmToY(ctx, 7), 40 - 22);     // 40.512 × 0.985 = 39.90
}

TEST(PageFonts, SelectPageFontSetsHeightFaceAndEscapement)
{
    RecordingCanvas canvas(96);
    TPageContext ctx{canvas, 0, 0, 147};
    SelectPageFont(ctx, 8, true, "1");
    EXPECT_EQ(canvas.font().height, -16);   // -MulDiv(8, 147, 72)
    EXPECT_EQ(canvas.font().face, sj("@ＭＳ Ｐゴシック"));
    EXPECT_TRUE(canvas.font().vertical);
    EXPECT_FALSE(canvas.font().bold);
    EXPECT_EQ(canvas.font().sizePt(), 8);

    SelectPageFont(ctx, 13, false, "0");
    EXPECT_EQ(canvas.font().height, -MulDiv(13, 147, 72));
    EXPECT_EQ(canvas.font().face, sj("ＭＳ Ｐ明朝"));
    EXPECT_FALSE(canvas.font().vertical);
}

TEST(PageFonts, DirectChangesGiveHorizontalTextAndKeepTheFace)
{
    RecordingCanvas canvas(96);
    TPageContext ctx{canvas, 0, 0, 600};
    for (int change = 0; change < 4; ++change) {
        SelectPageFont(ctx, 6, true, "0");
        switch (change) {
        case 0: canvas.setFontSize(7); break;
        case 1: canvas.setFontBold(true); break;
        case 2: canvas.setFontColour({255, 0, 0}); break;
        case 3: canvas.setFontName(sj("ＭＳ Ｐゴシック")); break;
        }
        EXPECT_FALSE(canvas.font().vertical) << change;
        if (change != 3) {
            EXPECT_EQ(canvas.font().face, sj("@ＭＳ Ｐ明朝")) << change;
        }
    }
    // The size follows the resolution SelectPageFont set.
    SelectPageFont(ctx, 6, true, "0");
    canvas.setFontSize(9);
    EXPECT_EQ(canvas.font().height, -75);   // -MulDiv(9, 600, 72)
    SelectHorizontalFont(ctx, 8, true, "1");
    EXPECT_EQ(canvas.font().face, sj("ＭＳ Ｐゴシック"));
    EXPECT_TRUE(canvas.font().bold);
    EXPECT_EQ(canvas.font().sizePt(), 8);
}

TEST(Brackets, GroupingByFieldSize)
{
    auto sizes = [](int n) {
        std::vector<int> s;
        for (int b = 1; b <= 8; ++b)
            s.push_back(bracketRunners(n, b).count());
        return s;
    };
    EXPECT_EQ(sizes(8), (std::vector<int>{1, 1, 1, 1, 1, 1, 1, 1}));
    EXPECT_EQ(sizes(5), (std::vector<int>{1, 1, 1, 1, 1, 0, 0, 0}));
    EXPECT_EQ(sizes(9), (std::vector<int>{1, 1, 1, 1, 1, 1, 1, 2}));
    EXPECT_EQ(sizes(13), (std::vector<int>{1, 1, 1, 2, 2, 2, 2, 2}));
    EXPECT_EQ(sizes(15), (std::vector<int>{1, 2, 2, 2, 2, 2, 2, 2}));
    EXPECT_EQ(sizes(16), (std::vector<int>{2, 2, 2, 2, 2, 2, 2, 2}));
    EXPECT_EQ(sizes(17), (std::vector<int>{2, 2, 2, 2, 2, 2, 2, 3}));
    EXPECT_EQ(sizes(18), (std::vector<int>{2, 2, 2, 2, 2, 2, 3, 3}));

    // Runners fill the brackets in number order.
    EXPECT_EQ(bracketRunners(13, 4).first, 4);
    EXPECT_EQ(bracketRunners(13, 4).last, 5);
    EXPECT_EQ(bracketRunners(18, 8).first, 16);
    EXPECT_EQ(bracketRunners(18, 8).last, 18);
    EXPECT_EQ(bracketOf(9, 9), 8);
    EXPECT_EQ(bracketOf(15, 1), 1);
    EXPECT_EQ(bracketOf(15, 2), 2);
    EXPECT_EQ(bracketOf(15, 15), 8);
    EXPECT_EQ(bracketOf(17, 15), 8);
    EXPECT_EQ(bracketOf(17, 14), 7);
    EXPECT_EQ(bracketOf(18, 13), 7);
    // Every runner of every field size is in exactly one bracket.
    for (int n = 1; n <= 18; ++n)
        for (int i = 1; i <= n; ++i) {
            const int b = bracketOf(n, i);
            ASSERT_GE(b, 1);
            EXPECT_GE(i, bracketRunners(n, b).first);
        }
    // Outside the field there is no bracket.
    EXPECT_EQ(bracketOf(8, 9), 0);
    EXPECT_EQ(bracketOf(0, 1), 0);
    EXPECT_EQ(bracketOf(19, 19), 0);
}

TEST(Brackets, ColoursWordsAndLabels)
{
    const auto colour = BracketColours("1", Rgb{0, 0, 255});
    EXPECT_EQ(colour[1], (Rgb{128, 128, 128}));   // 白 is grey, not white
    EXPECT_EQ(colour[2], kBlack);
    EXPECT_EQ(colour[3], (Rgb{255, 0, 0}));
    EXPECT_EQ(colour[4], (Rgb{0, 0, 255}));
    EXPECT_EQ(colour[5], (Rgb{255, 221, 0}));
    EXPECT_EQ(colour[6], (Rgb{0, 128, 0}));
    EXPECT_EQ(colour[7], (Rgb{255, 128, 0}));
    EXPECT_EQ(colour[8], (Rgb{255, 0, 255}));
    // The batch print's bracket 4.
    const TPrintEdits edits{"100", "106", "7", "10"};
    const TLayoutParams batch = batchPrintParams(PageStyle::Vertical, {}, edits);
    EXPECT_EQ(BracketColours("1", batch.blueBracket)[4], (Rgb{0, 255, 255}));
    // Black and white printing.
    for (const char *setting : {"0", "", "2"})
        for (Rgb c : BracketColours(setting, batch.blueBracket))
            EXPECT_EQ(c, kBlack) << setting;

    EXPECT_EQ(BracketWords()[1], sj("白"));
    EXPECT_EQ(BracketWords()[8], sj("桃"));
    LabelTables labels;
    rebuildLabelTables(labels);
    EXPECT_EQ(bracketLabel(labels, 1), sj("① 白"));
    EXPECT_EQ(bracketLabel(labels, 4), sj("④ 青"));
}

TEST(RaceSpans, RunnersOfARaceAndOfTheNext)
{
    const std::array<int, 12> counts{16, 12, 8, 18, 10, 14, 16, 9, 11, 13, 15, 7};
    const TRaceSpan first = makeRaceSpan(0, counts);
    EXPECT_EQ(first.start, 0);
    EXPECT_EQ(first.end, 16);
    EXPECT_EQ(first.start2, 16);
    EXPECT_EQ(first.end2, 28);
    const TRaceSpan third = makeRaceSpan(2, counts);
    EXPECT_EQ(third.start, 28);
    EXPECT_EQ(third.end, 36);
    // After the 12th race there is no next race.
    const TRaceSpan last = makeRaceSpan(11, counts);
    EXPECT_EQ(last.end - last.start, 7);
    EXPECT_EQ(last.end2, last.start2);
}

TEST(DrawingPaths, ScreenParameters)
{
    TPageSettings settings;
    settings.insatu = "0";
    const TScreenSetup vertical = screenPageSetup(PageStyle::Vertical, settings, 110, 96);
    EXPECT_EQ(vertical.dpi, 147);
    EXPECT_EQ(vertical.originX, 86);
    EXPECT_EQ(vertical.originY, 22);
    EXPECT_EQ(vertical.params.hFactor, 1.0);
    EXPECT_EQ(vertical.params.vFactor, 0.985);
    EXPECT_EQ(vertical.params.topMm, 7);
    EXPECT_EQ(vertical.params.leftMm, 23);
    EXPECT_EQ(vertical.params.thickPen, 2);
    EXPECT_EQ(vertical.params.thinPen, 1);
    EXPECT_EQ(vertical.params.rulePen, 2);
    EXPECT_EQ(vertical.params.fontReduce, 1);
    EXPECT_EQ(vertical.params.pastLast, 3);
    EXPECT_EQ(vertical.params.pastBase, 209);
    EXPECT_EQ(vertical.params.pastShift, 28);
    EXPECT_EQ(vertical.params.pageBottom, 212);
    EXPECT_EQ(vertical.params.blueBracket, (Rgb{0, 0, 255}));

    // Zoom 75 takes the smaller origin, 80 the larger.
    EXPECT_EQ(screenPageSetup(PageStyle::Vertical, settings, 75, 96).originX, 80);
    EXPECT_EQ(screenPageSetup(PageStyle::Vertical, settings, 75, 96).originY, 18);
    EXPECT_EQ(screenPageSetup(PageStyle::Horizontal, settings, 75, 96).originY, 77);
    const TScreenSetup horizontal = screenPageSetup(PageStyle::Horizontal, settings, 80, 96);
    EXPECT_EQ(horizontal.originX, 15);
    EXPECT_EQ(horizontal.originY, 87);
    EXPECT_EQ(horizontal.params.topMm, 22);
    EXPECT_EQ(horizontal.params.leftMm, 7);
    EXPECT_EQ(horizontal.params.fontReduce, 0);
    EXPECT_EQ(horizontal.params.pastFont, 7);

    settings.font = "1";
    EXPECT_EQ(screenPageSetup(PageStyle::Programme, settings, 110, 96).params.fontReduce, 1);
    settings.font = "0";
    EXPECT_EQ(screenPageSetup(PageStyle::Programme, settings, 110, 96).params.fontReduce, 0);
}

TEST(DrawingPaths, GeometryByPastRaceCount)
{
    TPageSettings settings;
    const struct { const char *insatu; int last, base, shift, bottom; } rows[] = {
        {"1", 4, 237, 0, 240}, {"0", 3, 209, 28, 212}, {"2", 2, 181, 56, 184}};
    for (const auto &row : rows) {
        settings.insatu = row.insatu;
        for (const TLayoutParams &p :
             {screenPageSetup(PageStyle::Horizontal, settings, 110, 96).params,
              displayPrintParams(PageStyle::Vertical, settings, {"100", "106", "7", "10"}),
              batchPrintParams(PageStyle::Programme, settings, {"100", "106", "7", "10"})}) {
            EXPECT_EQ(p.pastLast, row.last) << row.insatu;
            EXPECT_EQ(p.pastBase, row.base) << row.insatu;
            EXPECT_EQ(p.pastShift, row.shift) << row.insatu;
            EXPECT_EQ(p.pageBottom, row.bottom) << row.insatu;
            // The topmost past-race cell is always at 87-115.
            EXPECT_EQ(p.pastBase - 28 * p.pastLast, 125);
        }
    }
}

TEST(DrawingPaths, PrintParameters)
{
    const TPrintEdits edits{"100", "106", "7", "10"};
    TPageSettings gothicFive;   // Insatu "1", Font "1"
    TLayoutParams p = displayPrintParams(PageStyle::Vertical, gothicFive, edits);
    EXPECT_DOUBLE_EQ(p.hFactor, 1.06);
    EXPECT_DOUBLE_EQ(p.vFactor, 0.85);
    EXPECT_EQ(p.topMm, 7);
    EXPECT_EQ(p.leftMm, 10);
    EXPECT_EQ(p.thickPen, 6);
    EXPECT_EQ(p.thinPen, 2);
    EXPECT_EQ(p.rulePen, 6);
    EXPECT_EQ(p.fontReduce, 2);
    EXPECT_EQ(p.blueBracket, (Rgb{0, 0, 255}));

    TPageSettings minchoThree{"2", "0", "1"};
    p = displayPrintParams(PageStyle::Vertical, minchoThree, edits);
    EXPECT_DOUBLE_EQ(p.vFactor, 1.1);
    EXPECT_EQ(p.fontReduce, 1);
    TPageSettings gothicFour{"0", "1", "1"};
    p = displayPrintParams(PageStyle::Vertical, gothicFour, {"110", "100", "4", "5"});
    EXPECT_DOUBLE_EQ(p.vFactor, 1.10 * 0.965);
    EXPECT_EQ(p.fontReduce, 0);

    p = displayPrintParams(PageStyle::Horizontal, gothicFive, {"106", "100", "10", "7"});
    EXPECT_DOUBLE_EQ(p.hFactor, 0.8);
    EXPECT_DOUBLE_EQ(p.vFactor, 1.06 * 0.9);
    EXPECT_EQ(p.fontReduce, 1);
    EXPECT_EQ(p.pastFont, 6);
    p = displayPrintParams(PageStyle::Programme, minchoThree, {"106", "100", "10", "7"});
    EXPECT_DOUBLE_EQ(p.hFactor, 0.98);
    EXPECT_EQ(p.fontReduce, 0);

    // The batch print: the same scales with its own pens and cyan.
    p = batchPrintParams(PageStyle::Vertical, gothicFive, edits);
    EXPECT_DOUBLE_EQ(p.vFactor, 0.85);
    EXPECT_EQ(p.fontReduce, 2);
    EXPECT_EQ(p.thickPen, 5);
    EXPECT_EQ(p.thinPen, 2);
    EXPECT_EQ(p.rulePen, 6);
    EXPECT_EQ(p.blueBracket, (Rgb{0, 255, 255}));
    EXPECT_EQ(batchPrintParams(PageStyle::Horizontal, gothicFive, edits).pastFont, 6);
}

TEST(DrawingPaths, PopupPrintKnowsTwoGeometriesAndPrintsOtherStylesHorizontally)
{
    const TPrintEdits edits{"100", "100", "7", "10"};
    TPopupPrint popup = popupPrintParams(PageStyle::Vertical, TPageSettings{"2", "1", "1"}, edits);
    EXPECT_EQ(popup.printedStyle, PageStyle::Vertical);
    EXPECT_EQ(popup.params.pastLast, 3);   // three past races print as four
    EXPECT_DOUBLE_EQ(popup.params.vFactor, 0.965);
    EXPECT_EQ(popup.params.fontReduce, 2);
    popup = popupPrintParams(PageStyle::Vertical, TPageSettings{"1", "1", "1"}, edits);
    EXPECT_EQ(popup.params.fontReduce, 3);
    popup = popupPrintParams(PageStyle::Vertical, TPageSettings{"1", "0", "1"}, edits);
    EXPECT_EQ(popup.params.fontReduce, 2);
    popup = popupPrintParams(PageStyle::Vertical, TPageSettings{"0", "0", "1"}, edits);
    EXPECT_EQ(popup.params.fontReduce, 1);

    popup = popupPrintParams(PageStyle::Programme, TPageSettings{}, edits);
    EXPECT_EQ(popup.printedStyle, PageStyle::Horizontal);
    EXPECT_DOUBLE_EQ(popup.params.hFactor, 0.8);
    EXPECT_EQ(popupPrintParams(std::nullopt, TPageSettings{}, edits).printedStyle, PageStyle::Horizontal);
}

TEST(DrawingPaths, AnEditThatIsNotANumberIsAConversionError)
{
    EXPECT_THROW(displayPrintParams(PageStyle::Vertical, {}, {"1O0", "100", "7", "10"}), ConversionError);
    EXPECT_THROW(batchPrintParams(PageStyle::Horizontal, {}, {"100", "100", "", "10"}), ConversionError);
    EXPECT_EQ(pageStyleOf("0"), PageStyle::Vertical);
    EXPECT_EQ(pageStyleOf("2"), PageStyle::Programme);
    EXPECT_FALSE(pageStyleOf("3").has_value());
}

TEST(RecordingCanvas, WritesOneTabSeparatedLinePerCall)
{
    RecordingCanvas canvas;
    TPageContext ctx{canvas, 0, 0, 147};
    canvas.fillRect({0, 0, 1600, 1315});
    SelectPageFont(ctx, 8, true, "1");
    canvas.textOut(120, 40, sj("東京"));
    SelectHorizontalFont(ctx, 9, true, "0");
    canvas.setFontColour({0, 255, 255});
    canvas.textOut(10, 20, sj("④ 青\tｾﾝ"));
    canvas.textOut(10, 20, "");   // nothing to draw, nothing recorded
    canvas.setPenWidth(5);
    canvas.moveTo(1, 2);
    canvas.lineTo(3, 400);
    canvas.lineTo(50, 400);

    EXPECT_EQ(canvas.toText(),
              "rect\t0\t0\t1600\t1315\t\t\t\t#ffffff\t\t\n"
              "vtext\t120\t40\t\t\t@ＭＳ Ｐゴシック\t8\t0\t#000000\t\t東京\n"
              "text\t10\t20\t\t\tＭＳ Ｐ明朝\t9\t1\t#00ffff\t\t④ 青 ｾﾝ\n"
              "line\t1\t2\t3\t400\t\t\t\t#000000\t5\t\n"
              "line\t3\t400\t50\t400\t\t\t\t#000000\t5\t\n");
    ASSERT_NE(canvas.findText(sj("東京")), nullptr);
    EXPECT_EQ(canvas.findText(sj("東京"))->kind, RecordedCall::Kind::VText);
    EXPECT_EQ(canvas.texts().size(), 2u);
    // Widths: half a character height per byte.
    SelectHorizontalFont(ctx, 8, false, "1");
    EXPECT_EQ(canvas.textWidth(sj("東京12")), 3 * 16);
}

} // namespace
} // namespace zorbe
