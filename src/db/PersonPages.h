#pragma once

#include "data/formats/MasterFormats.h"
#include "paper/PageCanvas.h"
#include "shell/MasterTables.h"

#include <string_view>
#include <vector>

// The pages of the jockey and trainer databases: a person's profile,
// career, this year's and last year's placings (overall, by racecourse and,
// for a jockey, by distance and surface) and the latest graded-race win.
namespace zorbe {

// The windows' page box at 96 pixels per inch: as far as each page draws
// (the grid's right and bottom rules included), and the page's origin on it.
struct TPageBox
{
    int width = 0;
    int height = 0;
};
inline constexpr TPageBox kJockeyPageBox{572, 472};
inline constexpr TPageBox kTrainerPageBox{572, 332};
inline constexpr int kPersonPageOriginX = 74;
inline constexpr int kPersonPageOriginY = 150;

inline constexpr const char *kJockeyPrintTitle = "kisyudata Print";
inline constexpr const char *kTrainerPrintTitle = "chokdata Print";

// fontSetting: the setting Font ("0" Mincho, else Gothic). trainers: the
// trainer master table, for the trainer the jockey is attached to.
void DrawJockeyPage(const TPageContext &ctx, const formats::TJockeyDetailRec &jockey,
                    const std::vector<TMasterEntry> &trainers, std::string_view fontSetting);
void DrawTrainerPage(const TPageContext &ctx, const formats::TTrainerDetailRec &trainer,
                     std::string_view fontSetting);

// The page as the database windows paint it at screenPpi.
TPageContext screenPersonContext(PageCanvas &canvas, int screenPpi);

// What the jockey page prints after "所属": the trainer the jockey is
// attached to, his invitation region, or "フ リ ー".
std::string attachedTrainerText(const formats::TJockeyDetailRec &jockey, const std::vector<TMasterEntry> &trainers);

} // namespace zorbe
