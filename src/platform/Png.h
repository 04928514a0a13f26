#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace zorbe::png {

// An opaque picture in memory: rows of 32-bit pixels 0xffRRGGBB (the
// layout of a Qt RGB32 image), `strideBytes` apart.
struct Rgb32Picture
{
    const std::uint8_t *firstRow = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t strideBytes = 0;
    int dotsPerMetre = 0; // written as the file's resolution when > 0
};

// The picture as a PNG file: 8-bit RGB, no interlacing, every row with the
// "up" filter, deflated at zlib's fastest level. A page is mostly paper and
// rules that repeat from row to row, which that filter turns into runs of
// zeros, so the file comes out smaller than a general-purpose writer's at
// a fraction of its time. The top and bottom halves are compressed on two
// threads into one stream. Throws std::invalid_argument for an empty
// picture or one too large for the format.
std::string encode(const Rgb32Picture &picture);

} // namespace zorbe::png
