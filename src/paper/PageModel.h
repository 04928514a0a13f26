#pragma once

#include "paper/PageCanvas.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace zorbe {

struct LabelTables;

// a × b / c rounded to the nearest integer, halves away from zero, with a
// 64-bit intermediate product; -1 when c is 0 or the result does not fit.
int MulDiv(int a, int b, int c);

// The page parameter set every layout reads. One process-wide set
// (pageParams()), written by the drawing path just before it draws.
struct TLayoutParams
{
    double hFactor = 1.0;      // horizontal scale in MmToX
    double vFactor = 1.0;      // vertical scale in MmToY
    int topMm = 0;             // added to every layout y
    int leftMm = 0;            // added to every layout x
    int thickPen = 2;          // bracket separators, heavy rules
    int thinPen = 1;           // ordinary rules
    int rulePen = 2;           // the short rule inside a past-race cell
    int pastLast = 4;          // last past race of the vertical page (2, 3, 4)
    int pastBase = 237;        // y base of the vertical past-race bands
    int pastShift = 0;         // y shift of the vertical past-race labels
    int pageBottom = 240;      // vertical page bottom (the frame ends 13 mm above)
    int fontReduce = 0;        // points taken off the large fonts
    int pastFont = 7;          // past-race text size of the horizontal page
    Rgb blueBracket{0, 0, 255};// colour of bracket 4

    friend bool operator==(const TLayoutParams &, const TLayoutParams &) = default;
};

// Which race a layout draws: race index r (0 = 1R) and its runners start …
// end - 1 in the day's flat runner list; start2 … end2 - 1 are the runners
// of race r + 1 (the race-programme page draws both).
struct TRaceSpan
{
    int race = 0;
    int start = 0;
    int end = 0;
    int start2 = 0;
    int end2 = 0;
};

// The span of race r from the twelve runner counts (races past the 12th
// count as empty).
TRaceSpan makeRaceSpan(int race, const std::array<int, 12> &runnerCounts);

// The process-wide page parameters and race span.
TLayoutParams &pageParams();
TRaceSpan &pageSpan();

// Millimetres to device units: Round(mm × dpi / 25.4 × factor) − origin,
// the product mm × dpi taken as an integer first, halves rounded to even.
int mmToDevice(int mm, int dpi, double factor, int origin);
int MmToX(const TPageContext &ctx, int mm);   // with pageParams().hFactor
int MmToY(const TPageContext &ctx, int mm);   // with pageParams().vFactor

// The page faces: "ＭＳ Ｐ明朝" when the setting Font is "0", else
// "ＭＳ Ｐゴシック" (cp932).
std::string pageFaceName(std::string_view fontSetting);
bool isGothic(std::string_view fontSetting);

// A new page font of sizePt points at the page's dpi: height
// -MulDiv(sizePt, dpi, 72), weight 400; a vertical font has escapement 2700
// and the face with "@" in front.
void SelectPageFont(const TPageContext &ctx, int sizePt, bool vertical, std::string_view fontSetting);
// A horizontal font of the page face: face, size and style set directly.
void SelectHorizontalFont(const TPageContext &ctx, int sizePt, bool bold, std::string_view fontSetting);

// Text colours of brackets 1-8 (index 0 unused). With the setting Color not
// "1" every bracket is black.
std::array<Rgb, 9> BracketColours(std::string_view colorSetting, Rgb blueBracket);
// The colour words of brackets 1-8 (index 0 empty), cp932.
const std::array<std::string, 9> &BracketWords();
// "① 白": the bracket's circled digit, a space and its colour word.
std::string bracketLabel(const LabelTables &labels, int bracket);

// Brackets of a field of 1-18 runners. Runners fill the brackets in number
// order; with up to 8 runners each has its own bracket, with 9-16 the first
// 16 - n brackets hold one runner and the rest two, with 17 bracket 8 holds
// three, with 18 brackets 7 and 8 hold three.
struct TBracketRunners
{
    int first = 0;   // runner numbers (1-based), first > last when empty
    int last = -1;

    int count() const { return last >= first ? last - first + 1 : 0; }
};
TBracketRunners bracketRunners(int runners, int bracket);
// The bracket (1-8) of runner number; 0 outside 1 … min(runners, 18).
int bracketOf(int runners, int number);

// The three page styles of the setting Sinbun ("0", "1", "2").
enum class PageStyle { Vertical, Horizontal, Programme };
std::optional<PageStyle> pageStyleOf(std::string_view sinbun);

// The settings a drawing path reads, as stored.
struct TPageSettings
{
    std::string insatu = "1";   // past races on the vertical page
    std::string font = "1";     // "0" Mincho, else Gothic
    std::string color = "1";    // "1" colour printing
};

// The race selection window's four edits (scale %, margins mm), as typed.
struct TPrintEdits
{
    std::string vScale;   // Edit1 "縦 拡大/縮小（％）"
    std::string hScale;   // Edit2 "横 拡大/縮小（％）"
    std::string topMm;    // Edit3
    std::string leftMm;   // Edit4
};

// How a screen page is set up: the parameters, the device resolution and
// the origin.
struct TScreenSetup
{
    TLayoutParams params;
    int dpi = 96;
    int originX = 0;
    int originY = 0;
};

// Parameters of each drawing path. The print paths take dpi and origin
// from the printer. An edit that is not a number raises ConversionError.
TScreenSetup screenPageSetup(PageStyle style, const TPageSettings &settings, int zoom, int screenPpi);
TLayoutParams displayPrintParams(PageStyle style, const TPageSettings &settings, const TPrintEdits &edits);
TLayoutParams batchPrintParams(PageStyle style, const TPageSettings &settings, const TPrintEdits &edits);
// The display window's popup print: two geometries only, its own font
// reduction, and every style but the vertical printed as the horizontal
// page (printedStyle tells which layout to draw).
struct TPopupPrint
{
    TLayoutParams params;
    PageStyle printedStyle = PageStyle::Vertical;
};
TPopupPrint popupPrintParams(std::optional<PageStyle> style, const TPageSettings &settings, const TPrintEdits &edits);

} // namespace zorbe
