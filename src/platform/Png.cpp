#include "platform/Png.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <thread>
#include <vector>

namespace zorbe::png {
namespace {

void putBigEndian(std::string &out, std::uint32_t value)
{
    const char bytes[4] = {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
                           static_cast<char>(value >> 8), static_cast<char>(value)};
    out.append(bytes, 4);
}

// A chunk: length, type, data, and the CRC of type and data.
void putChunk(std::string &out, const char (&type)[5], const std::uint8_t *data, std::size_t size)
{
    putBigEndian(out, static_cast<std::uint32_t>(size));
    const std::size_t typeAt = out.size();
    out.append(type, 4);
    if (size)
        out.append(reinterpret_cast<const char *>(data), size);
    const auto *crcStart = reinterpret_cast<const Bytef *>(out.data() + typeAt);
    putBigEndian(out, static_cast<std::uint32_t>(crc32(0, crcStart, static_cast<uInt>(size + 4))));
}

void putChunk(std::string &out, const char (&type)[5], const std::string &data)
{
    putChunk(out, type, reinterpret_cast<const std::uint8_t *>(data.data()), data.size());
}

std::string bigEndian(std::initializer_list<std::uint32_t> values)
{
    std::string s;
    for (const std::uint32_t v : values)
        putBigEndian(s, v);
    return s;
}

// One band of rows, filtered and deflated on its own. The first band
// starts the zlib stream (its header); every band but the last ends on a
// byte boundary without ending the stream, so that the bands' outputs
// joined are one deflate stream. The check sum is computed per band and
// combined by the caller.
struct Band
{
    int from = 0;
    int to = 0;
    std::string deflated;
    uLong adler = adler32(0, nullptr, 0);
    std::size_t length = 0; // bytes of filtered rows
    bool failed = false;
};

void deflateBand(const Rgb32Picture &picture, Band &band, bool first, bool last)
{
    z_stream stream{};
    // A zlib stream (header) for the first band, raw deflate for the others.
    if (deflateInit2(&stream, Z_BEST_SPEED, Z_DEFLATED, first ? 15 : -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
        band.failed = true;
        return;
    }
    const std::size_t rowBytes = static_cast<std::size_t>(picture.width) * 3;
    std::vector<std::uint8_t> previous(rowBytes, 0), current(rowBytes), line(rowBytes + 1);
    line[0] = 2; // "up": each byte less the one above it
    auto toRgb = [&](int y, std::uint8_t *rgb) {
        const std::uint8_t *row = picture.firstRow + y * picture.strideBytes;
        for (int x = 0; x < picture.width; ++x) {
            std::uint32_t pixel;
            std::memcpy(&pixel, row + 4 * x, 4);
            rgb[0] = static_cast<std::uint8_t>(pixel >> 16);
            rgb[1] = static_cast<std::uint8_t>(pixel >> 8);
            rgb[2] = static_cast<std::uint8_t>(pixel);
            rgb += 3;
        }
    };
    if (band.from > 0)
        toRgb(band.from - 1, previous.data());
    std::vector<std::uint8_t> out(256 * 1024);
    for (int y = band.from; y < band.to && !band.failed; ++y) {
        toRgb(y, current.data());
        for (std::size_t i = 0; i < rowBytes; ++i)
            line[i + 1] = static_cast<std::uint8_t>(current[i] - previous[i]);
        band.adler = adler32(band.adler, line.data(), static_cast<uInt>(line.size()));
        band.length += line.size();
        const bool end = y == band.to - 1;
        const int flush = !end ? Z_NO_FLUSH : last ? Z_FINISH : Z_SYNC_FLUSH;
        stream.next_in = line.data();
        stream.avail_in = static_cast<uInt>(line.size());
        do {
            stream.next_out = out.data();
            stream.avail_out = static_cast<uInt>(out.size());
            if (deflate(&stream, flush) == Z_STREAM_ERROR)
                band.failed = true;
            band.deflated.append(reinterpret_cast<const char *>(out.data()), out.size() - stream.avail_out);
        } while (!band.failed && stream.avail_out == 0);
        previous.swap(current);
    }
    deflateEnd(&stream);
}

} // namespace

std::string encode(const Rgb32Picture &picture)
{
    const int w = picture.width, h = picture.height;
    // Each row is one filter byte and three per pixel, and its length has
    // to fit zlib's 32-bit counts.
    if (w <= 0 || h <= 0 || !picture.firstRow)
        throw std::invalid_argument("PNG: 画像が空です");
    if (w > (std::numeric_limits<int>::max() - 1) / 3)
        throw std::invalid_argument("PNG: 画像の幅が大きすぎます");

    std::string file("\x89PNG\r\n\x1a\n", 8);
    const std::string header = bigEndian({static_cast<std::uint32_t>(w), static_cast<std::uint32_t>(h)})
        + std::string("\x08\x02\x00\x00\x00", 5); // 8 bits, RGB, deflate, standard filters, no interlace
    putChunk(file, "IHDR", header);
    if (picture.dotsPerMetre > 0) {
        const auto d = static_cast<std::uint32_t>(picture.dotsPerMetre);
        putChunk(file, "pHYs", bigEndian({d, d}) + std::string("\x01", 1)); // per metre
    }

    // Two bands deflated side by side: on a page of a few million pixels
    // the compression is most of the time. The split depends only on the
    // height, so a picture always gives the same file.
    Band bands[2];
    const int split = h >= 64 ? h / 2 : h;
    bands[0].from = 0;
    bands[0].to = split;
    bands[1].from = split;
    bands[1].to = h;
    const bool twoBands = split < h;
    std::thread second;
    if (twoBands)
        second = std::thread([&] { deflateBand(picture, bands[1], false, true); });
    deflateBand(picture, bands[0], true, !twoBands);
    if (second.joinable())
        second.join();
    if (bands[0].failed || bands[1].failed)
        throw std::runtime_error("PNG: 圧縮に失敗しました");

    std::string stream = std::move(bands[0].deflated);
    if (twoBands) {
        // The first band ended without the stream's check sum: the rest of
        // the stream, then the sum of all the filtered rows.
        stream += bands[1].deflated;
        const uLong adler = adler32_combine(bands[0].adler, bands[1].adler, static_cast<z_off_t>(bands[1].length));
        putBigEndian(stream, static_cast<std::uint32_t>(adler));
    }
    constexpr std::size_t kChunk = 1 << 20;
    for (std::size_t at = 0; at < stream.size(); at += kChunk)
        putChunk(file, "IDAT", reinterpret_cast<const std::uint8_t *>(stream.data()) + at,
                 std::min(kChunk, stream.size() - at));
    putChunk(file, "IEND", nullptr, 0);
    return file;
}

} // namespace zorbe::png
