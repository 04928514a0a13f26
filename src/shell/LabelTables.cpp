#include "shell/LabelTables.h"

#include "platform/Cp932.h"

namespace zorbe {

void rebuildLabelTables(LabelTables &t)
{
    static const char *const circled[] = {"①", "②", "③", "④", "⑤", "⑥", "⑦", "⑧", "⑨",
                                          "⑩", "⑪", "⑫", "⑬", "⑭", "⑮", "⑯", "⑰", "⑱"};
    static const char *const wideDigits[] = {"０", "１", "２", "３", "４", "５", "６", "７", "８", "９"};
    t.CircledNumberText[0] = "  ";
    for (int i = 1; i <= 18; ++i) {
        t.CircledNumberText[i] = sj(circled[i - 1]);
        t.HorseNumberText[i] = (i < 10 ? " " : "") + std::to_string(i);
    }
    t.HorseNumberText[0].clear();
    t.RaceNumberText[0].clear();
    for (int r = 1; r <= 12; ++r) {
        const std::string tens = r < 10 ? "　" : wideDigits[r / 10];
        t.RaceNumberText[r] = sj(tens + wideDigits[r % 10] + "Ｒ");
    }
}

} // namespace zorbe
