#include "platform/Png.h"

#include <zlib.h>

#include <cstring>
#include <limits>
#include <stdexcept>
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

class Deflater
{
public:
    Deflater()
    {
        if (deflateInit(&m_stream, Z_BEST_SPEED) != Z_OK)
            throw std::runtime_error("PNG: zlib を初期化できません");
    }
    ~Deflater() { deflateEnd(&m_stream); }
    Deflater(const Deflater &) = delete;
    Deflater &operator=(const Deflater &) = delete;

    // Compresses `size` bytes; full output blocks go out as IDAT chunks.
    void feed(const std::uint8_t *data, std::size_t size, bool last, std::string &file)
    {
        m_stream.next_in = const_cast<Bytef *>(data);
        m_stream.avail_in = static_cast<uInt>(size);
        const int flush = last ? Z_FINISH : Z_NO_FLUSH;
        for (;;) {
            m_stream.next_out = m_buffer.data() + m_used;
            m_stream.avail_out = static_cast<uInt>(m_buffer.size() - m_used);
            const int rc = deflate(&m_stream, flush);
            if (rc == Z_STREAM_ERROR)
                throw std::runtime_error("PNG: 圧縮に失敗しました");
            m_used = m_buffer.size() - m_stream.avail_out;
            if (m_used == m_buffer.size() || (last && rc == Z_STREAM_END)) {
                putChunk(file, "IDAT", m_buffer.data(), m_used);
                m_used = 0;
            }
            if (last ? rc == Z_STREAM_END : m_stream.avail_in == 0 && m_stream.avail_out != 0)
                return;
        }
    }

private:
    z_stream m_stream{};
    std::vector<std::uint8_t> m_buffer = std::vector<std::uint8_t>(256 * 1024);
    std::size_t m_used = 0;
};

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

    const std::size_t rowBytes = static_cast<std::size_t>(w) * 3;
    std::vector<std::uint8_t> previous(rowBytes, 0), current(rowBytes), line(rowBytes + 1);
    line[0] = 2; // "up": each byte less the one above it
    Deflater deflater;
    for (int y = 0; y < h; ++y) {
        const std::uint8_t *row = picture.firstRow + y * picture.strideBytes;
        std::uint8_t *rgb = current.data();
        for (int x = 0; x < w; ++x) {
            std::uint32_t pixel;
            std::memcpy(&pixel, row + 4 * x, 4);
            rgb[0] = static_cast<std::uint8_t>(pixel >> 16);
            rgb[1] = static_cast<std::uint8_t>(pixel >> 8);
            rgb[2] = static_cast<std::uint8_t>(pixel);
            rgb += 3;
        }
        for (std::size_t i = 0; i < rowBytes; ++i)
            line[i + 1] = static_cast<std::uint8_t>(current[i] - previous[i]);
        deflater.feed(line.data(), line.size(), y == h - 1, file);
        previous.swap(current);
    }
    putChunk(file, "IEND", nullptr, 0);
    return file;
}

} // namespace zorbe::png
