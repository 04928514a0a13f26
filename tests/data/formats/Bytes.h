#pragma once

#include <cstddef>
#include <string>

// Literal pieces for expected record bytes, written independently of the
// layouts under test.
namespace zorbe::test {

inline std::string spaces(std::size_t n) { return std::string(n, ' '); }
inline std::string zeros(std::size_t n) { return std::string(n, '0'); }
// n full-width spaces (2n bytes).
inline std::string wide(std::size_t n)
{
    std::string out;
    for (std::size_t i = 0; i < n; ++i)
        out += "\x81\x40";
    return out;
}

} // namespace zorbe::test
