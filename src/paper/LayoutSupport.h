#pragma once

#include "paper/Newspaper.h"
#include "paper/PageCanvas.h"
#include "platform/Fields.h"

#include <array>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

// What the three page layouts share: cp932 text cuts, number formats, the
// runner's records and odds, the time index of a past race, and a writer
// that places texts and rules in page millimetres.
namespace zorbe::layout {

// The full-width space (cp932).
inline constexpr std::string_view kFullSpace = "\x81\x40";

// Bytes from1 … from1 + count - 1 (1-based) of text, as far as it has them.
std::string bytesOf(std::string_view text, std::size_t from1, std::size_t count);
// True for a non-empty text of full-width spaces only.
bool allFullSpaces(std::string_view text);
// The first `count` characters of cp932 text (a character is one or two bytes).
std::string firstChars(std::string_view text, int count);
// The two bytes at from1 lie between "Ａ" and "Ｚ".
bool fullWidthCapitalAt(std::string_view text, std::size_t from1);
// The first character is a full-width capital letter "Ａ"-"Ｚ".
bool startsWithFullWidthCapital(std::string_view text);

// A number field that may be blank: blank gives 0. Raises ConversionError
// naming the field for anything else that is not a number.
int number(std::string_view text, std::string_view name);
// Decimal text of value the shortest way ("1234.5", "120").
std::string shortestDecimal(double value);
// Fixed with `decimals` decimals, halves away from zero.
std::string fixedDecimal(double value, int decimals);

// A placing record: firsts, seconds, thirds, unplaced.
using Record = std::array<int, 4>;
// The counts of the runner's record groups (1..24) added place by place.
Record recordOf(const TRaceCard &card, int horse, std::initializer_list<int> groups);
// a, then b, c and d each in three places ("12  3 10  9").
std::string recordText(const Record &counts);

enum class RaceSurface { Turf, Dirt, Jump, Other };
bool isJumpTrackCode(int track);
// Track codes 10-22 turf, 23-24 dirt, 51-59 jump.
RaceSurface surfaceOf(int track);

// The first entry of table with this code, or nullptr.
const TMasterEntry *findMaster(const std::vector<TMasterEntry> &table, std::string_view code);
// "関東馬" for a 美浦 trainer at a western venue (07-10), "関西馬" for a 栗東
// trainer at an eastern one (01-06); "" otherwise.
std::string travellingMark(const TMasterEntry *trainer, int venue);
// 逃, 先, 差, 追 from the fourth-corner positions over the field sizes of
// the five past races; "" without a race that has a fourth corner.
std::string runningStyle(const TRaceCard &card, int horse);

// The win odds of runner slot (1-based) of race r by the setting ozz: the
// PAT program's file ("0"), the loaded day odds ("1"), else the race's own
// stored entry cut to its number ("2"). "" when there is none.
// Throws files::FileError when the PAT file cannot be read.
std::string oddsText(const TNewspaper &paper, int race, int slot);

// A past race's time M SS T in tenths of a second.
int timeTenths(std::string_view time);
// The standard time of past race k of the horse from the time-correction
// table; 0 when the table has none.
int standardTime(const TRaceCard &card, int horse, int k);
// The time index S - t + 100 of past race k; 0 without a standard time.
int timeIndex(const TRaceCard &card, int horse, int k);
// The last three furlongs in tenths (three times the stored value for a
// jump race), or 0 outside 3-997.
int last3FTenths(const TRaceCard &card, int horse, int k);
// Characters 2 and 3 of the stored margin joined by ".".
std::string timeDiffText(std::string_view stored);
// A past race has a date (its year is not blank or zero).
bool hasPastDate(const TRaceCard &card, int horse, int k);

// The race name of the horizontal and programme headers: the age condition
// of the race caption for a name of blanks, a repaired name, "第" edition
// "回" and 26 bytes for a race with an edition, else 36 bytes.
std::string bandRaceName(const TNewspaper &paper, int race);
// "2024年 6月 15日  第 3 回  5 日目".
std::string meetingLine(const TRaceCard &card);
// "コースＲ  1 . 32 . 1　" + the record holder.
std::string courseRecordLine(const TRaceCard &card, int race);
// The x step of a prize amount: 0 from 10000, 1 from 1000, 2 from 100, else 3.
int prizeStep(double amount);
// A prize of place 1-5 of race r as printed: the stored amount / 10.
double prizeAmount(const TRaceCard &card, int race, int place);

// Texts and rules of one page in page millimetres: x = leftMm + value,
// y = topMm + value, converted with the page parameters.
class PageWriter
{
public:
    PageWriter(const TPageContext &ctx, const TNewspaper &paper);

    int X(int mm) const;
    int Y(int mm) const;
    // A vertical font of size points (SelectPageFont) / a horizontal one of
    // the page face.
    void V(int size) const;
    void H(int size, bool bold = false) const;
    void text(int xMm, int yMm, std::string_view s) const;
    void colour(Rgb c) const;
    void pen(int width) const;
    void across(int yMm, int x1Mm, int x2Mm) const;
    void down(int xMm, int y1Mm, int y2Mm) const;
    // Whitens the page: the fixed device rectangle of the style, widened to
    // the device position of (rightMm, bottomMm) when the page reaches further.
    void whiten(const PageRect &fixed, int rightMm, int bottomMm) const;

    const TPageContext &ctx;
    const TNewspaper &paper;
    const TRaceCard &card;
    const TLayoutParams &p;
    const TRaceSpan &span;
    std::string font;
};

// The prizes of places 1-5 of race r: places 1-3 down from (leftX, topY),
// 3 mm a line, places 4 and 5 from (rightX, topY); each the circled place
// and, 3-6 mm further right by its size, the amount / 10 + "万円".
void drawPrizes(const PageWriter &w, int race, int leftX, int rightX, int topY);

// Runs draw; a conversion error it raises names race r (0-based) as well
// as the field, so the user can find it.
template <class Draw> void namingRace(int race, Draw draw)
{
    try {
        draw();
    } catch (const ConversionError &e) {
        throw ConversionError(std::to_string(race + 1) + "R " + e.field(), e.text());
    }
}

// What a page with past-race cells draws of each runner.
struct RunnerDrawing
{
    std::function<void(int k)> profile;                          // runner k (0-based) of the span
    std::function<void(int k, int cell, int restMonths)> cell;    // its past race cell + 1
    std::function<void(int k)> afterCells;                       // rules between the cells
};
// The runners of pageSpan() in number order, n of them, each with `cells`
// past-race cells: the runner's rest before the race and, once its cells
// are drawn, its figures go to paper.figures for the picks panel. A past
// time of four blanks becomes "0" in the race card before its cell.
void drawRunnersWithFigures(TNewspaper &paper, int n, int cells, const RunnerDrawing &draw);

// The runners of race r as the span gives them: 0..18.
int spanRunners(int start, int end);

// Where a bracket column puts the labels of a band page (the horizontal and
// programme frames). Band k of the race starts at y top + 15·k.
struct BandBracketPlaces
{
    int labelX = -2;        // circled digits and colour words
    int numberX = -2;       // horse numbers
    int singleNumberY = 29; // offsets from the band's top (27 + 15·k)
    int singleDigitY = 33;
    int singleWordY = 37;
    int firstWordYWith15 = 37; // the word of the single bracket 1 of 15 runners
    int right = 243;        // right end of the heavy rules
    int xShift = 0;         // added to every x (the second race of a page)
};
// Bracket labels, horse numbers and heavy rules between brackets for a race
// of n runners whose bands start at y 27.
void drawBandBrackets(const PageWriter &w, int n, const BandBracketPlaces &at);

} // namespace zorbe::layout
