#pragma once

#include "paper/Newspaper.h"

#include <array>
#include <string>
#include <vector>

namespace zorbe {

// The three pick rows: "本紙" (HonshiFigure), "虎の穴" (ToraFigure),
// "タイム" (TimeFigure); larger figures are better.
struct TPickTable
{
    // runner[p][rank]: runner number (1-based) at rank 1..n of row p (0..2);
    // element 0 of each row unused.
    std::array<std::array<int, TRaceCard::kSlots + 1>, 3> runner{};
    int runners = 0;
};

// Whether the picks panel of race r is drawn: setting Yosou "1", and with
// Sinba "0" not for a debut or jump race, nor when three or more runners
// have no history.
bool picksWanted(const TNewspaper &paper, int race);

// Ranks the n runners of each row by their figures. Ties: every rank that
// holds a tied value gets the last tied runner in number order, so the
// other tied runners get no mark.
TPickTable RankPicks(const TRunnerFigures &figures, int n);

// The mark of a rank ("◎" … "※", cp932), or "" for a rank that gets none
// in a field of n runners (six marks with more than 7 runners, else four).
std::string pickMark(int rank, int n);

// The pair list of row p (0..2): (1,2), (1,3), (1,4) and with more than 7
// runners (2,3), (2,4), (1,5), each written lower number first; "-"-joined
// two-place numbers with more than 8 runners, else three blanks and the two
// digits. Pairs that need a rank beyond the field are left out.
std::vector<std::string> pickPairs(const TPickTable &table, int row, const LabelTables &labels);

} // namespace zorbe
