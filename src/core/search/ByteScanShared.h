#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

// What the scanners of every instruction set have in common. Nothing here names an
// instruction, so the wider scanners inline it into code built for their own set.
namespace trawlit::bytescan::detail {

// Whether every byte in [begin, end) is below 128, a byte at a time.
inline bool IsAsciiBytes(const char* begin, const char* end)
{
    unsigned char any = 0;
    for (const char* p = begin; p != end; ++p)
        any |= static_cast<unsigned char>(*p);
    return any < 0x80;
}

// The same for a range shorter than a vector: from 8 bytes on, two words that may overlap.
inline bool IsAsciiShort(const char* begin, const char* end)
{
    if (end - begin < 8)
        return IsAsciiBytes(begin, end);
    std::uint64_t first = 0;
    std::uint64_t last = 0;
    std::memcpy(&first, begin, 8);
    std::memcpy(&last, end - 8, 8);
    return ((first | last) & 0x8080808080808080u) == 0;
}

// Line ends in whole vectors from p, where p[-1] is readable. Counters holds a byte counter for
// each byte of a vector: Add(q) counts in the line ends of the vector at q, Sum() adds the
// counters up. A counter steps by at most one a vector, so they are summed every 255 vectors.
// Always inlined: only inside a scanner built for the wider instructions do Add and Sum inline
// in turn, rather than cost a call a vector.
template <typename Counters>
[[gnu::always_inline]] inline std::int64_t CountLineEndVectors(
    const char* p, std::ptrdiff_t vectors)
{
    constexpr std::ptrdiff_t kRoundsPerSum = 255;
    constexpr std::ptrdiff_t kBytes = Counters::kBytes;
    std::int64_t count = 0;
    while (vectors > 0) {
        const std::ptrdiff_t rounds = std::min(vectors, kRoundsPerSum);
        Counters counters;
        for (const char* pairsEnd = p + rounds / 2 * 2 * kBytes; p != pairsEnd; p += 2 * kBytes) {
            counters.Add(p);
            counters.Add(p + kBytes);
        }
        if (rounds % 2 != 0) {
            counters.Add(p);
            p += kBytes;
        }
        count += counters.Sum();
        vectors -= rounds;
    }
    return count;
}

} // namespace trawlit::bytescan::detail
