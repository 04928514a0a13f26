#pragma once

#include "verify/LhaLibrary.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// LHA archives for the tests, built by hand: every member stored
// uncompressed ("-lh0-"), with a header of level 0, 1 or 2 as the LHA
// format documents them. liblhasa only reads archives, so the tests make
// their own.
namespace zorbe::test {

struct LhaMember
{
    std::string path; // stored path, "\" or "/" between folders (level 2 stores folders apart)
    std::string data;
    int level = 0;
    bool corruptCrc = false;
};

namespace lhadetail {

inline void put16(std::string &s, std::uint32_t v)
{
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
}
inline void put32(std::string &s, std::uint32_t v)
{
    put16(s, v & 0xFFFF);
    put16(s, v >> 16);
}
inline std::uint8_t checksum(std::string_view bytes)
{
    unsigned sum = 0;
    for (char c : bytes)
        sum += static_cast<unsigned char>(c);
    return static_cast<std::uint8_t>(sum & 0xFF);
}

// Level 0 and 1: size byte, checksum byte, then the header from the method
// on; the path is stored whole, "\" between folders.
inline std::string level01(const LhaMember &m, std::uint16_t crc)
{
    std::string h = "-lh0-";
    const bool level1 = m.level == 1;
    // A level-1 "compressed size" counts the extended headers too (none here).
    put32(h, static_cast<std::uint32_t>(m.data.size()));
    put32(h, static_cast<std::uint32_t>(m.data.size()));
    put32(h, 0x58210000); // an MS-DOS date and time (2024-01-01 00:00)
    h += static_cast<char>(0x20);
    h += static_cast<char>(level1 ? 1 : 0);
    h += static_cast<char>(m.path.size());
    h += m.path;
    put16(h, crc);
    if (level1) {
        h += 'M';
        put16(h, 0); // no extended header
    }
    std::string out;
    out += static_cast<char>(h.size());
    out += static_cast<char>(checksum(h));
    return out + h;
}

// Level 2: a 16-bit total header size, the file name and the folder in
// extended headers (folders separated by 0xFF).
inline std::string level2(const LhaMember &m, std::uint16_t crc)
{
    std::string folder, name = m.path;
    const std::size_t cut = m.path.find_last_of("\\/");
    if (cut != std::string::npos) {
        folder = m.path.substr(0, cut + 1);
        name = m.path.substr(cut + 1);
        for (char &c : folder)
            if (c == '\\' || c == '/')
                c = static_cast<char>(0xFF);
    }
    // Each extended header: type, body, then the size of the next one.
    std::vector<std::string> parts{std::string(1, '\x01') + name};
    if (!folder.empty())
        parts.push_back(std::string(1, '\x02') + folder);

    std::string h = "-lh0-";
    put32(h, static_cast<std::uint32_t>(m.data.size()));
    put32(h, static_cast<std::uint32_t>(m.data.size()));
    put32(h, 1704067200); // 2024-01-01 00:00 UTC
    h += static_cast<char>(0x20);
    h += static_cast<char>(2);
    put16(h, crc);
    h += 'U';
    put16(h, static_cast<std::uint32_t>(parts[0].size() + 2)); // size of the first extended header
    std::string withNext;
    for (std::size_t p = 0; p < parts.size(); ++p) {
        withNext += parts[p];
        put16(withNext, p + 1 < parts.size() ? static_cast<std::uint32_t>(parts[p + 1].size() + 2) : 0);
    }
    std::string out;
    put16(out, static_cast<std::uint32_t>(2 + h.size() + withNext.size()));
    return out + h + withNext;
}

} // namespace lhadetail

// The archive of the members, ended by the zero byte of the LHA format.
inline std::string makeLhaArchive(const std::vector<LhaMember> &members)
{
    std::string out;
    for (const LhaMember &m : members) {
        std::uint16_t crc = lha::lhaCrc16(m.data);
        if (m.corruptCrc)
            crc ^= 0x5A5A;
        out += m.level == 2 ? lhadetail::level2(m, crc) : lhadetail::level01(m, crc);
        out += m.data;
    }
    out += '\0';
    return out;
}

} // namespace zorbe::test
