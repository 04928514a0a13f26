#pragma once

#include "model/Results.h"
#include "paper/PageCanvas.h"
#include "shell/LabelTables.h"

#include <array>
#include <cstdint>
#include <string>

// The pages of the results window: the summary of a meeting day (one line
// per race with its winner, how the favourites fared, what the payouts
// averaged) and the result page of one race (every runner in finishing
// order, time statistics, laps, payouts). Both draw from the results tables
// on any canvas; the window, the printer and the subcommand call the same
// routines.
namespace zorbe {

// The settings the pages read, as stored: Font "0" Mincho, else Gothic;
// Color "1" coloured figures.
struct TResultsPageSettings
{
    std::string font = "1";
    std::string color = "1";
};

// The window's page box, in screen pixels, and where each page puts its
// origin on it.
inline constexpr int kResultsPageWidth = 762;
inline constexpr int kResultsPageHeight = 440;
inline constexpr int kSummaryOriginX = 38;
inline constexpr int kSummaryOriginY = 150;
inline constexpr int kRaceResultOriginX = 38;
inline constexpr int kRaceResultOriginY = 145;

// What the summary counts over the races 1 … ResultCount.
struct TResultsSummary
{
    int races = 0;
    // [favourite 1..3][place 1..3]: races in which the p-th favourite
    // finished first, second, third.
    std::array<std::array<int, 4>, 4> favourite{};
    // [place 1..3][popularity 1..6]: how popular the horse finishing first,
    // second, third was; column 6 is the sixth favourite and below.
    std::array<std::array<int, 7>, 4> popularity{};
    std::int64_t winSum = 0;       // every race's win payouts together
    std::int64_t bracketSum = 0;   // bracket quinella
    std::int64_t quinellaSum = 0;  // quinella
    int quinellaRaces = 0;         // races with a quinella payout
};

// Throws ConversionError for a count or payout that is not a number.
TResultsSummary SummarizeResults(const TResults &results);

// The runner slots 1 … n of race q that hold a runner: up to the race's
// number of entries (at most 18), ending at the first blank horse number.
int resultRunnerSlots(const TResults &results, int race);

// The caption of race q's button: its race number as an integer and "R".
std::string resultRaceButtonCaption(const TResults &results, int race);

// The summary page; with no races only its titles and headings.
void DrawResultsSummary(const TPageContext &ctx, const TResults &results, const LabelTables &labels,
                        const TResultsPageSettings &settings);
// The result page of race q (1 … ResultCount).
void DrawRaceResult(const TPageContext &ctx, const TResults &results, int race, const LabelTables &labels,
                    const TResultsPageSettings &settings);

// What the results window paints at screenPpi: race 0 is the summary at
// its origin, race q its result page at the race page's origin. Returns the
// context it drew with.
TPageContext DrawResultsScreen(PageCanvas &canvas, const TResults &results, int race, const LabelTables &labels,
                               const TResultsPageSettings &settings, int screenPpi);

// The print job title of the results window.
inline constexpr const char *kResultsPrintTitle = "seisekidata Print";

} // namespace zorbe
