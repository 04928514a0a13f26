#include "PaperTestSupport.h"

#include "paper/PageModel.h"
#include "paper/PagePaths.h"
#include "platform/Cp932.h"

#include <gtest/gtest.h>

using namespace zorbe;
using namespace zorbe::test;

namespace {

// Index of the first text call with this UTF-8 text, and of the last line.
std::ptrdiff_t firstText(const RecordingCanvas &canvas, const std::string &utf8)
{
    const auto &calls = canvas.calls();
    for (std::size_t i = 0; i < calls.size(); ++i)
        if (calls[i].kind == RecordedCall::Kind::Text && calls[i].text == sj(utf8))
            return static_cast<std::ptrdiff_t>(i);
    return -1;
}

std::ptrdiff_t lastLine(const RecordingCanvas &canvas)
{
    const auto &calls = canvas.calls();
    for (std::size_t i = calls.size(); i-- > 0;)
        if (calls[i].kind == RecordedCall::Kind::Line)
            return static_cast<std::ptrdiff_t>(i);
    return -1;
}

class StylePaths : public ::testing::Test
{
protected:
    StylePaths()
    {
        d.paper.settings.sinba = "1";
        d.addRace(9);
        d.addRace(7);
        d.select();
    }
    PaperDay d;
};

TEST_F(StylePaths, PicksComeAfterTheFrameOnTheScreenAndBeforeItOnPaper)
{
    d.paper.settings.sinbun = "1";
    d.drawScreen(0);
    ASSERT_GE(firstText(d.canvas, "本紙"), 0) << textsOf(d.canvas);
    EXPECT_GT(firstText(d.canvas, "本紙"), lastLine(d.canvas));
    d.drawPrinted(0);
    ASSERT_GE(firstText(d.canvas, "本紙"), 0);
    EXPECT_LT(firstText(d.canvas, "本紙"), lastLine(d.canvas));
    EXPECT_EQ(pageParams().pastFont, 6);

    // The programme page has no picks panel, whatever Yosou says.
    d.paper.settings.sinbun = "2";
    for (const bool printed : {false, true}) {
        printed ? d.drawPrinted(0) : d.drawScreen(0);
        EXPECT_EQ(firstText(d.canvas, "本紙"), -1);
        EXPECT_EQ(findUtf8(d.canvas, "◎"), nullptr);
        EXPECT_NE(findUtf8(d.canvas, "２"), nullptr);   // and 2R on the same page
    }
}

TEST_F(StylePaths, PopupPrintOfTheProgrammeIsTheHorizontalPageUpright)
{
    d.paper.settings.sinbun = "2";
    EXPECT_EQ(printedStyle(d.paper, PrintPath::Popup), PageStyle::Horizontal);
    EXPECT_EQ(printedSheet(d.paper, PrintPath::Popup), SheetOrientation::Portrait);
    EXPECT_EQ(printedSheet(d.paper, PrintPath::DisplayButton), SheetOrientation::Portrait);
    RecordingCanvas canvas(600);
    pageSpan() = makeRaceSpan(0, d.paper.RunnerCounts);
    DrawPrintedPage({canvas, 0, 0, 600}, d.paper, PrintPath::Popup, {"100", "100", "10", "7"});
    EXPECT_NE(findUtf8(canvas, "五　走　前"), nullptr);
    EXPECT_DOUBLE_EQ(pageParams().hFactor, 0.8);

    d.paper.settings.sinbun = "0";
    EXPECT_EQ(printedSheet(d.paper, PrintPath::Popup), SheetOrientation::Landscape);
    EXPECT_EQ(printedSheet(d.paper, PrintPath::Batch), SheetOrientation::Landscape);
    d.paper.settings.sinbun = "1";
    EXPECT_EQ(printedSheet(d.paper, PrintPath::Batch), SheetOrientation::Portrait);
}

TEST_F(StylePaths, ScreenPageBoxTurnsTheSheetAndHoldsEighteenRunners)
{
    const double longSide = 297 / 25.4, shortSide = 210 / 25.4;
    for (const char *sinbun : {"1", "2"}) {
        SCOPED_TRACE(sinbun);
        d.paper.settings.sinbun = sinbun;
        const TScreenSetup setup = ScreenSetupFor(d.paper, 65, 96);
        const PageBoxSize box = screenPageBoxSize(d.paper, 65, 96, longSide, shortSide);
        EXPECT_GE(box.height, static_cast<int>(longSide * 96 * 0.65));   // an upright sheet
        const TLayoutParams &p = setup.params;
        EXPECT_GE(box.height, mmToDevice(p.topMm + 297, setup.dpi, p.vFactor, setup.originY));
        EXPECT_GT(box.height, box.width);
    }
    d.paper.settings.sinbun = "0";
    const PageBoxSize box = screenPageBoxSize(d.paper, 65, 96, shortSide, longSide);
    EXPECT_GT(box.width, box.height);
}

} // namespace
