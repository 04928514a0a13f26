#pragma once

#include <cstdint>
#include <vector>

// The generator's own random source: xoshiro256** seeded through
// splitmix64. Everything the feed holds is derived from it with integer
// steps and plain arithmetic, so the same seed gives the same bytes on every
// platform (the standard library's distributions are not portable).
namespace zorbe::feedgen {

class FeedRandom
{
public:
    explicit FeedRandom(std::uint64_t seed)
    {
        std::uint64_t x = seed;
        for (auto &s : m_s)
            s = splitmix(x);
    }

    std::uint64_t next()
    {
        const std::uint64_t result = rotl(m_s[1] * 5, 7) * 9;
        const std::uint64_t t = m_s[1] << 17;
        m_s[2] ^= m_s[0];
        m_s[3] ^= m_s[1];
        m_s[1] ^= m_s[2];
        m_s[0] ^= m_s[3];
        m_s[2] ^= t;
        m_s[3] = rotl(m_s[3], 45);
        return result;
    }

    // 0 .. n - 1 (0 when n is 0).
    std::uint64_t below(std::uint64_t n) { return n ? next() % n : 0; }
    // lo .. hi inclusive.
    int range(int lo, int hi) { return lo + static_cast<int>(below(static_cast<std::uint64_t>(hi - lo + 1))); }
    // [0, 1) from the top 53 bits.
    double unit() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }
    bool chance(double p) { return unit() < p; }
    // Roughly normal with mean 0 and deviation 1 (sum of four uniforms).
    double normal() { return (unit() + unit() + unit() + unit() - 2.0) * 1.7320508075688772; }

    template <typename T>
    const T &pick(const std::vector<T> &items)
    {
        return items[below(items.size())];
    }
    // Index by integer weights.
    std::size_t weighted(const std::vector<int> &weights)
    {
        int total = 0;
        for (int w : weights)
            total += w;
        int r = static_cast<int>(below(static_cast<std::uint64_t>(total)));
        for (std::size_t i = 0; i < weights.size(); ++i) {
            if (r < weights[i])
                return i;
            r -= weights[i];
        }
        return weights.size() - 1;
    }
    template <typename T>
    void shuffle(std::vector<T> &items)
    {
        for (std::size_t i = items.size(); i > 1; --i)
            std::swap(items[i - 1], items[below(i)]);
    }

    // An independent stream for one part of the feed, so that adding
    // draws in one part does not change the others.
    FeedRandom fork(std::uint64_t salt) { return FeedRandom(next() ^ (salt * 0x9E3779B97F4A7C15ULL)); }

private:
    static std::uint64_t rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
    static std::uint64_t splitmix(std::uint64_t &x)
    {
        std::uint64_t z = (x += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

    std::uint64_t m_s[4];
};

} // namespace zorbe::feedgen
