#pragma once

#include <array>
#include <string>

namespace zorbe {

// Short cp932 labels the newspaper, results and CSV outputs print.
struct LabelTables
{
    std::array<std::string, 19> CircledNumberText; // 0: two blanks, 1..18: ①..⑱
    std::array<std::string, 19> HorseNumberText;   // 1..18: " 1".." 9", "10".."18" (0 unused)
    std::array<std::string, 13> RaceNumberText;    // 1..12: "　１Ｒ".."１２Ｒ" (0 unused)
};

// Fills the three tables (done on every activation of the main window).
void rebuildLabelTables(LabelTables &tables);

} // namespace zorbe
