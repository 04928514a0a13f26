#pragma once

#include <cstddef>
#include <string_view>

namespace zorbe {

// The JV-Data record kinds the program consumes and their lengths in bytes,
// CR LF included. The data link checks every delivered line against these,
// so one damaged record never shifts the fixed-length files built from them.
struct JVRecordKind
{
    std::string_view id;
    std::size_t length;
};

inline constexpr JVRecordKind kJVRecordKinds[] = {
    {"RA", 1272}, {"SE", 555}, {"UM", 1577}, {"RC", 501}, {"HR", 719}, {"KS", 4173}, {"CH", 3862},
};

// The length of a record of kind id, or 0 for a kind the program does not use.
constexpr std::size_t jvRecordLength(std::string_view id)
{
    for (const auto &k : kJVRecordKinds)
        if (k.id == id)
            return k.length;
    return 0;
}

} // namespace zorbe
