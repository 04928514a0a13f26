#include "paper/qt/TForm5.h"

#include "PaperTestSupport.h"

#include "model/RaceCard.h"
#include "paper/Newspaper.h"
#include "paper/PagePaths.h"
#include "paper/PrintTarget.h"
#include "paper/RecordingCanvas.h"
#include "paper/qt/QtPrinter.h"
#include "platform/Cp932.h"
#include "platform/Fields.h"
#include "platform/Files.h"
#include "platform/ProfileFile.h"
#include "shell/LabelTables.h"
#include "shell/MasterTables.h"
#include "support/ScriptedDesktop.h"
#include "support/TempHome.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QLineEdit>
#include <QMenu>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScrollArea>
#include <QScrollBar>
#include <QKeyEvent>
#include <QToolButton>

#include <gtest/gtest.h>

#include <filesystem>

namespace zorbe {
namespace {

namespace fs = std::filesystem;
using test::ScriptedDesktop;

// The screen setup of the page without the layouts: what the window hands
// the page routines, and nothing drawn.
TPageContext setupOnly(PageCanvas &canvas, TNewspaper &paper, int zoom, int ppi)
{
    const TScreenSetup setup = ScreenSetupFor(paper, zoom, ppi);
    return {canvas, setup.originX, setup.originY, setup.dpi};
}

// A key pressed and let go, as the keyboard sends it.
void keyClick(QWidget *target, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(target, &release);
}

// A printer that cannot start a job.
class RefusingPrinter : public TPrinter
{
public:
    std::unique_ptr<TPrintJob> beginJob(const std::string &) override { return nullptr; }
    std::string errorText() const override { return "用紙がありません。"; }
};

class DisplayWindow : public ::testing::Test
{
protected:
    DisplayWindow()
    {
        rebuildLabelTables(labels);
        card->RaceCount = 10;
        for (int r = 0; r < 10; ++r)
            paper.RunnerCounts[static_cast<std::size_t>(r)] = 8 + r;
        card->Form3Label1 = sj("東京　2004年　6月　27日（日）");
        hooks.showRaceSelection = [this] { calls.push_back("selection"); };
        hooks.showMain = [this] { calls.push_back("main"); };
        hooks.loadRaceDay = [this] {
            calls.push_back("loader");
            oddsAtLoader = card->OddsWin[0][1];
        };
        hooks.printEdits = [this] { return edits; };
    }

    TForm5 &form(TPrinter *target = nullptr)
    {
        if (!window) {
            window = std::make_unique<TForm5>(settings, paper, target ? target : &printer, desktop, hooks);
            window->setPageDrawer(setupOnly);
        }
        return *window;
    }
    TForm5 &shown(TPrinter *target = nullptr)
    {
        TForm5 &w = form(target);
        w.show();
        paint();
        return w;
    }
    void paint() { window->paintBox1()->grab(); }
    QToolButton *button(const char *name) { return window->findChild<QToolButton *>(QString::fromLatin1(name)); }
    QAction *item(const char *name) { return window->findChild<QAction *>(QString::fromLatin1(name)); }
    QString edit1() { return window->findChild<QLineEdit *>(QStringLiteral("Edit1"))->text(); }
    void upDown(bool up) { button(up ? "UpDown1Up" : "UpDown1Down")->click(); }
    std::string storedZoom() { return settings.readString("Zoom", "Scale", "none"); }

    test::TempHome home;
    ScriptedDesktop desktop;
    ProfileFile settings{ProfileFile::defaultPath()};
    std::unique_ptr<TRaceCard> card = makeRaceCard();
    MasterTables masters;
    LabelTables labels;
    TNewspaper paper{*card, masters, labels};
    RecordingPrinter printer{600, 40, 30};
    TPrintEdits edits{"100", "100", "5", "5"};
    TForm5::Hooks hooks;
    std::vector<std::string> calls;
    std::string oddsAtLoader = "unset";
    std::unique_ptr<TForm5> window;
};

TEST_F(DisplayWindow, HasTheControlsAndMenuOfTheWindowDefinition)
{
    TForm5 &w = form();
    EXPECT_EQ(button("SpeedButton1")->toolTip(), QStringLiteral("印刷"));
    EXPECT_EQ(button("SpeedButton2")->toolTip(), QStringLiteral("プリンター設定"));
    EXPECT_EQ(button("SpeedButton3")->text(), QStringLiteral("1R"));
    EXPECT_EQ(button("SpeedButton14")->text(), QStringLiteral("12R"));
    EXPECT_EQ(button("SpeedButton14")->toolTip(), QStringLiteral("12R表示"));
    EXPECT_EQ(button("SpeedButton15")->text(), QStringLiteral("選択"));
    EXPECT_EQ(button("SpeedButton15")->toolTip(), QStringLiteral("一括印刷画面へ"));
    EXPECT_EQ(button("SpeedButton17")->text(), QStringLiteral("ﾀｲﾄﾙ"));
    EXPECT_EQ(button("BitBtn2")->text(), QStringLiteral("ﾚｰｽ選択"));
    EXPECT_EQ(edit1(), QStringLiteral("110"));
    EXPECT_TRUE(w.findChild<QLineEdit *>(QStringLiteral("Edit1"))->isReadOnly());
    EXPECT_EQ(w.panel1()->height(), 26);
    EXPECT_EQ(w.scrollBox1()->horizontalScrollBar()->singleStep(), 60);
    EXPECT_EQ(w.scrollBox1()->verticalScrollBar()->singleStep(), 90);
    for (int r = 0; r < 12; ++r) {
        EXPECT_FALSE(w.raceButton(r)->isEnabled());
        EXPECT_EQ(w.raceItem(r)->isVisible(), r == 0);
    }

    QStringList menu;
    for (QAction *action : w.popupMenu1()->actions())
        menu << action->objectName() + QLatin1Char('=') + action->text();
    EXPECT_EQ(menu, (QStringList{
                        QStringLiteral("N18=　印　　　　刷"), QStringLiteral("N19=　プリンター設定"),
                        QStringLiteral("N13= 拡大"), QStringLiteral("N14= 縮小"),
                        QStringLiteral("N1=　１レース表示"), QStringLiteral("N2=　２レース表示"),
                        QStringLiteral("N3=　３レース表示"), QStringLiteral("N4=　４レース表示"),
                        QStringLiteral("N5=　５レース表示"), QStringLiteral("N6=　６レース表示"),
                        QStringLiteral("N7=　７レース表示"), QStringLiteral("N8=　８レース表示"),
                        QStringLiteral("N9=　９レース表示"), QStringLiteral("N10=１０レース表示"),
                        QStringLiteral("N11=１１レース表示"), QStringLiteral("N12=１２レース表示"),
                        QStringLiteral("N15= 選択画面へ"), QStringLiteral("N16= タイトルへ"),
                        QStringLiteral("N17= レース選択")}));
}

TEST_F(DisplayWindow, ShowsTheRacesOfTheDayWithTheFirstPressed)
{
    TForm5 &w = shown();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("東京　2004年　6月　27日（日）"));
    EXPECT_EQ(w.pressedRace(), 0);
    for (int r = 0; r < 12; ++r) {
        SCOPED_TRACE(r);
        EXPECT_EQ(w.raceButton(r)->isEnabled(), r < 10);
        EXPECT_EQ(w.raceButton(r)->isVisible(), r < 10);
        EXPECT_EQ(w.raceItem(r)->isVisible(), r < 10);
    }
    EXPECT_TRUE(button("SpeedButton1")->isEnabled());
    EXPECT_EQ(item("N13")->text(), QStringLiteral(" 拡大 x　110%"));
    EXPECT_EQ(item("N14")->text(), QStringLiteral(" 縮小 x　110%"));
    EXPECT_EQ(pageSpan().race, 0);
    EXPECT_EQ(pageSpan().end, 8);

    // The buttons are one radio group; the menu item presses its button.
    w.raceButton(2)->click();
    paint();
    EXPECT_EQ(w.pressedRace(), 2);
    EXPECT_EQ(pageSpan().start, 8 + 9);
    EXPECT_EQ(pageSpan().end, 8 + 9 + 10);
    item("N5")->trigger();
    paint();
    EXPECT_EQ(w.pressedRace(), 4);
    EXPECT_FALSE(w.raceButton(2)->isChecked());
    EXPECT_EQ(pageSpan().race, 4);
}

TEST_F(DisplayWindow, ProgrammeStyleLeavesOnlyTheOddRacesToChoose)
{
    paper.settings.sinbun = "2";
    card->RaceCount = 12;
    TForm5 &w = shown();
    for (int r = 0; r < 12; ++r)
        EXPECT_EQ(w.raceButton(r)->isEnabled(), r % 2 == 0) << r;
    EXPECT_EQ(pageSpan().end2 - pageSpan().start2, paper.RunnerCounts[1]);
}

TEST(DisplayWindowStyles, AProgrammePageIsAnOddRaceAndTheNext)
{
    test::TempHome home;
    ScriptedDesktop desktop;
    ProfileFile settings{ProfileFile::defaultPath()};
    test::PaperDay d;
    d.paper.settings.sinbun = "0";
    for (int r = 0; r < 4; ++r)
        d.addRace(5 + r);
    d.select();
    RecordingPrinter printer(600, 0, 0);
    TForm5::Hooks hooks;
    hooks.printEdits = [] { return TPrintEdits{"106", "100", "10", "7"}; };
    TForm5 w(settings, d.paper, &printer, desktop, hooks);
    w.show();
    EXPECT_GT(w.paintBox1()->width(), w.paintBox1()->height());
    // The style changed while the window was away.
    w.hide();
    d.paper.settings.sinbun = "2";
    w.show();
    RecordingCanvas canvas(96);
    w.drawPage(canvas);
    // 1R is pressed; its page holds 2R, which has no button or menu item of
    // its own.
    EXPECT_NE(test::findUtf8(canvas, "１"), nullptr);
    EXPECT_NE(test::findUtf8(canvas, "２"), nullptr);
    EXPECT_FALSE(w.raceButton(1)->isEnabled());
    EXPECT_FALSE(w.raceItem(1)->isEnabled());
    EXPECT_TRUE(w.raceItem(2)->isEnabled());
    w.raceButton(2)->click();
    canvas.clear();
    w.drawPage(canvas);
    EXPECT_EQ(test::findUtf8(canvas, "１"), nullptr);
    EXPECT_NE(test::findUtf8(canvas, "３"), nullptr);
    EXPECT_NE(test::findUtf8(canvas, "４"), nullptr);

    // The print button prints that page upright; the popup print prints the
    // horizontal page of 3R, upright too.
    w.SpeedButton1Click();
    w.N18Click();
    ASSERT_EQ(printer.jobs().size(), 2u) << (desktop.errors.empty() ? "" : desktop.errors[0]);
    EXPECT_TRUE(desktop.errors.empty()) << desktop.errors.front();
    for (const auto &job : printer.jobs()) {
        EXPECT_EQ(job.title, "Zorbe Print");
        EXPECT_EQ(job.sheet, SheetOrientation::Portrait);
    }
    EXPECT_NE(test::findUtf8(*printer.jobs()[0].canvas, "４"), nullptr);
    EXPECT_EQ(test::findUtf8(*printer.jobs()[0].canvas, "五　走　前"), nullptr);
    EXPECT_NE(test::findUtf8(*printer.jobs()[1].canvas, "五　走　前"), nullptr);
    EXPECT_EQ(test::findUtf8(*printer.jobs()[1].canvas, "４"), nullptr);
    // The page box takes the sheet upright.
    EXPECT_GT(w.paintBox1()->height(), w.paintBox1()->width());
}

TEST_F(DisplayWindow, ZoomStaysWithinItsRangeAndMovesInSteps)
{
    TForm5 &w = shown();
    const QSize full = w.paintBox1()->size();
    upDown(true);
    EXPECT_EQ(w.zoom(), 110);
    EXPECT_EQ(w.paintBox1()->size(), full);
    item("N14")->trigger();
    EXPECT_EQ(edit1(), QStringLiteral("105"));
    EXPECT_LT(w.paintBox1()->width(), full.width());
    for (int i = 0; i < 7; ++i)
        upDown(false);
    EXPECT_EQ(w.zoom(), 70);
    upDown(false);
    EXPECT_EQ(w.zoom(), 65);
    upDown(false);
    item("N14")->trigger();
    EXPECT_EQ(w.zoom(), 65);
    EXPECT_EQ(edit1(), QStringLiteral("65"));
    paint();
    EXPECT_EQ(item("N14")->text(), QStringLiteral(" 縮小 x　65%"));
    item("N13")->trigger();
    EXPECT_EQ(w.zoom(), 70);
    EXPECT_FALSE(w.setZoom(70));
    EXPECT_FALSE(w.setZoom(111));
}

TEST_F(DisplayWindow, ScreenOriginIsTheSmallerOneUpToZoom75)
{
    TForm5 &w = shown();
    RecordingCanvas canvas(96);
    w.setZoom(75);
    const TPageContext at75 = w.drawPage(canvas);
    w.setZoom(80);
    const TPageContext at80 = w.drawPage(canvas);
    EXPECT_EQ(at75.originX, 80);
    EXPECT_EQ(at75.originY, 18);
    EXPECT_EQ(at80.originX, 86);
    EXPECT_EQ(at80.originY, 22);
    EXPECT_EQ(at80.dpi, MulDiv(w.screenPpi(), 80, 72));
}

TEST_F(DisplayWindow, ActivationTakesTheStoredZoomAndTheButtonBarSetting)
{
    settings.writeString("Zoom", "Scale", "90");
    TForm5 &w = shown();
    EXPECT_EQ(w.zoom(), 90);
    EXPECT_EQ(edit1(), QStringLiteral("90"));
    EXPECT_TRUE(w.panel1()->isVisible());
    EXPECT_FALSE(w.popupOnRightClick());
    EXPECT_EQ(w.paintBox1()->contextMenuPolicy(), Qt::PreventContextMenu);

    // Not a number, or out of range: the zoom the window has stays.
    button("SpeedButton15")->click();
    settings.writeString("Zoom", "Scale", "abc");
    settings.writeString("botan", "botan", "1");
    w.show();
    EXPECT_EQ(w.zoom(), 90);
    EXPECT_FALSE(w.panel1()->isVisible());
    EXPECT_TRUE(w.popupOnRightClick());
    EXPECT_EQ(w.paintBox1()->contextMenuPolicy(), Qt::CustomContextMenu);
    w.hide();
    settings.writeString("Zoom", "Scale", "50");
    w.show();
    EXPECT_EQ(w.zoom(), 90);
}

TEST_F(DisplayWindow, OneArrowPressScrollsTwoLines)
{
    TForm5 &w = shown();
    w.resize(500, 400);
    QApplication::processEvents();
    QScrollBar *down = w.scrollBox1()->verticalScrollBar();
    QScrollBar *across = w.scrollBox1()->horizontalScrollBar();
    ASSERT_GT(down->maximum(), 400);
    keyClick(&w, Qt::Key_Down);
    EXPECT_EQ(down->value(), 180);
    keyClick(&w, Qt::Key_Right);
    EXPECT_EQ(across->value(), 120);
    keyClick(&w, Qt::Key_Up);
    keyClick(&w, Qt::Key_Left);
    EXPECT_EQ(down->value(), 0);
    EXPECT_EQ(across->value(), 0);
    // The focus in the tool bar does not keep the keys from the page.
    keyClick(w.findChild<QLineEdit *>(QStringLiteral("Edit1")), Qt::Key_Down);
    EXPECT_EQ(down->value(), 180);
}

TEST_F(DisplayWindow, PaintBoxHoldsTheWholeVerticalPage)
{
    TForm5 &w = shown();
    const int ppi = w.screenPpi();
    // The printer sheet (A4 landscape) alone would be narrower than the page.
    const int sheetWidth = qRound(297 / 25.4 * ppi * 1.1);
    const TScreenSetup setup = ScreenSetupFor(paper, 110, ppi);
    RecordingCanvas canvas(ppi);
    pageParams() = setup.params;
    const TPageContext ctx{canvas, setup.originX, setup.originY, setup.dpi};
    const int right = MmToX(ctx, setup.params.leftMm + 13 * 18 + 26);
    const int bottom = MmToY(ctx, setup.params.topMm + setup.params.pageBottom - 13);
    ASSERT_GT(right, sheetWidth);
    EXPECT_GE(w.paintBox1()->width(), right);
    EXPECT_GE(w.paintBox1()->height(), bottom);
    EXPECT_GE(w.pageBoxSize(65).width(), qRound(297 / 25.4 * ppi * 0.65));
}

TEST_F(DisplayWindow, PrintButtonPrintsOneJobOfTheShownRace)
{
    TForm5 &w = shown();
    w.raceButton(1)->click();
    button("SpeedButton1")->click();
    ASSERT_EQ(printer.jobs().size(), 1u);
    EXPECT_EQ(printer.jobs()[0].title, "Zorbe Print");
    EXPECT_TRUE(printer.jobs()[0].ended);
    EXPECT_EQ(pageSpan().race, 1);
    EXPECT_EQ(pageParams().thickPen, 6);
    EXPECT_TRUE(desktop.errors.empty());
    EXPECT_EQ(desktop.busyDepth, 0);

    item("N18")->trigger();
    ASSERT_EQ(printer.jobs().size(), 2u);
    EXPECT_EQ(printer.jobs()[1].title, "Zorbe Print");
    EXPECT_TRUE(printer.jobs()[1].ended);
}

TEST_F(DisplayWindow, PrintFailuresEndTheCommandWithOneMessage)
{
    shown();
    edits.vScale = "abc";
    button("SpeedButton1")->click();
    ASSERT_EQ(printer.jobs().size(), 1u);
    EXPECT_TRUE(printer.jobs()[0].aborted);
    EXPECT_FALSE(printer.jobs()[0].ended);
    ASSERT_EQ(desktop.errors.size(), 1u);
    EXPECT_NE(desktop.errors[0].find("1Rの新聞を印刷できませんでした"), std::string::npos);
    EXPECT_NE(desktop.errors[0].find("abc"), std::string::npos);
    EXPECT_EQ(desktop.busyDepth, 0);
}

TEST(DisplayWindowPrinter, APrinterThatCannotStartSaysWhy)
{
    test::TempHome home;
    ScriptedDesktop desktop;
    ProfileFile settings(ProfileFile::defaultPath());
    auto card = makeRaceCard();
    MasterTables masters;
    LabelTables labels;
    TNewspaper paper(*card, masters, labels);
    RefusingPrinter refusing;
    TForm5 w(settings, paper, &refusing, desktop, {});
    w.SpeedButton1Click();
    ASSERT_EQ(desktop.errors.size(), 1u);
    EXPECT_NE(desktop.errors[0].find("用紙がありません。"), std::string::npos);
    TForm5 none(settings, paper, nullptr, desktop, {});
    none.SpeedButton1Click();
    none.SpeedButton2Click();
    EXPECT_EQ(desktop.errors.size(), 2u);
}

TEST_F(DisplayWindow, EveryWayOutWritesTheZoomAndReleasesTheRaces)
{
    struct Way
    {
        const char *control;
        const char *hook;
        bool oddsCleared;
    };
    const Way ways[] = {
        {"SpeedButton15", "selection", false}, {"N15", "selection", false}, {"SpeedButton17", "main", true},
        {"N16", "main", false},                {"close", "main", false},    {"BitBtn2", "loader", true},
        {"N17", "loader", true},
    };
    TForm5 &w = form();
    for (const Way &way : ways) {
        SCOPED_TRACE(way.control);
        card->OddsWin[0][1] = "12.3";
        calls.clear();
        w.show();
        paint();
        item("N14")->trigger();
        const std::string zoom = std::to_string(w.zoom());
        const std::string control = way.control;
        if (control == "close")
            w.close();
        else if (control[0] == 'N')
            item(way.control)->trigger();
        else
            button(way.control)->click();

        EXPECT_FALSE(w.isVisible());
        EXPECT_EQ(calls, std::vector<std::string>{way.hook});
        EXPECT_EQ(storedZoom(), zoom);
        EXPECT_EQ(card->OddsWin[0][1].empty(), way.oddsCleared);
        for (int r = 0; r < 12; ++r) {
            EXPECT_FALSE(w.raceButton(r)->isEnabled());
            EXPECT_FALSE(w.raceItem(r)->isVisible());
        }
    }
    // The loader reads the new day after the odds of this one were dropped.
    EXPECT_EQ(oddsAtLoader, "");

    w.show();
    EXPECT_EQ(w.pressedRace(), 0);
    w.releaseRaceButtons();
    EXPECT_EQ(w.pressedRace(), -1);
}

TEST_F(DisplayWindow, APageThatFailsToPaintIsReportedOnce)
{
    int drawn = 0;
    TForm5 &w = form();
    w.setPageDrawer([&](PageCanvas &canvas, TNewspaper &p, int zoom, int ppi) -> TPageContext {
        ++drawn;
        if (p.settings.sinbun == "0")
            throw ConversionError("距離", "ab");
        return setupOnly(canvas, p, zoom, ppi);
    });
    shown();
    paint();
    paint();
    QApplication::processEvents();
    EXPECT_GE(drawn, 3);
    ASSERT_EQ(desktop.errors.size(), 1u);
    EXPECT_NE(desktop.errors[0].find("1Rの新聞を表示できませんでした"), std::string::npos);
    EXPECT_NE(desktop.errors[0].find("距離"), std::string::npos);
    // The other races stay there to choose from.
    EXPECT_TRUE(w.raceButton(9)->isEnabled());

    w.raceButton(1)->click();
    paint();
    paint();
    QApplication::processEvents();
    EXPECT_EQ(desktop.errors.size(), 2u);
    w.setZoom(100);
    paint();
    QApplication::processEvents();
    EXPECT_EQ(desktop.errors.size(), 3u);
}

// ---------------------------------------------------------------- printer

TEST(QtPrinterPdf, EachJobIsAPdfFileNamedAfterItsTitle)
{
    test::TempHome home;
    const fs::path folder = home.path() / "out";
    QtPrinter printer(folder);
    EXPECT_TRUE(printer.printsToPdf());
    EXPECT_NEAR(printer.pageSizeInches().width(), 297 / 25.4, 0.01);
    EXPECT_NEAR(printer.pageSizeInches().height(), 210 / 25.4, 0.01);
    std::vector<std::string> notices;
    printer.setPdfNotice([&](const std::string &text) { notices.push_back(text); });

    const std::string title = sj("東京04/06/27:11R");
    for (int i = 0; i < 2; ++i) {
        auto job = printer.beginJob(title);
        ASSERT_NE(job, nullptr) << printer.errorText();
        TPageContext ctx = job->context();
        EXPECT_GE(ctx.dpi, 300);
        ctx.canvas.moveTo(100, 100);
        ctx.canvas.lineTo(1000, 1000);
        ASSERT_TRUE(job->end());
    }
    const fs::path file = folder / "東京04_06_27_11R.pdf";
    EXPECT_EQ(printer.lastPdfFile(), file);
    EXPECT_EQ(test::readNative(file).substr(0, 4), "%PDF");
    // The same title replaces the file in a folder the caller chose; no
    // temporary file stays.
    EXPECT_EQ(files::list(WinPath::fromNative(folder)).size(), 1u);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].find(folder.string()), std::string::npos);
}

TEST(QtPrinterPdf, EarlierFilesAreKeptAndAbortedJobsLeaveNothing)
{
    test::TempHome home;
    const fs::path folder = home.path() / "print";
    QtPrinter printer(folder, true);
    for (int i = 0; i < 3; ++i) {
        auto job = printer.beginJob("Zorbe Print");
        ASSERT_NE(job, nullptr);
        ASSERT_TRUE(job->end());
    }
    EXPECT_TRUE(fs::exists(folder / "Zorbe Print.pdf"));
    EXPECT_TRUE(fs::exists(folder / "Zorbe Print (2).pdf"));
    EXPECT_EQ(printer.lastPdfFile(), folder / "Zorbe Print (3).pdf");

    auto job = printer.beginJob("aborted");
    ASSERT_NE(job, nullptr);
    job->abort();
    job.reset();
    printer.beginJob("dropped").reset();
    EXPECT_EQ(files::list(WinPath::fromNative(folder)).size(), 3u);
}

TEST(QtPrinterPdf, WithoutAPrinterJobsGoToThePrintFolderOfTheHome)
{
    if (!QPrinterInfo::availablePrinters().isEmpty())
        GTEST_SKIP() << "this machine has a printer";
    test::TempHome home;
    QtPrinter printer;
    EXPECT_TRUE(printer.printsToPdf());
    EXPECT_EQ(printer.pdfFolder(), home.path() / "print");
    bool asked = false;
    printer.setSetupDialog([&](QPrinter &, bool toPdf) {
        asked = toPdf;
        return true;
    });
    EXPECT_TRUE(printer.setup());
    EXPECT_TRUE(asked);
    auto job = printer.beginJob("Zorbe Print");
    ASSERT_NE(job, nullptr);
    ASSERT_TRUE(job->end());
    EXPECT_TRUE(fs::exists(home.path() / "print" / "Zorbe Print.pdf"));
}

TEST(QtPrinterPdf, FileNamesAreMadeSafe)
{
    EXPECT_EQ(pdfFileName(sj("中山 05/01*?")), "中山 05_01__.pdf");
    EXPECT_EQ(pdfFileName("..\\..\\x"), "_.._x.pdf");
    EXPECT_EQ(pdfFileName(std::string("a\tb\x01") + "c"), "a_b_c.pdf");
    EXPECT_EQ(pdfFileName(" . "), "print.pdf");
    EXPECT_EQ(pdfFileName(""), "print.pdf");
    EXPECT_EQ(pdfFileName(std::string(300, 'x')).size(), 104u);
}

} // namespace
} // namespace zorbe
