#include "core/search/ByteScan.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "core/search/ByteScanShared.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define TRAWLIT_AVX2_SCANNERS 1
#include <immintrin.h>
#endif

namespace trawlit::bytescan::detail {

#if defined(TRAWLIT_AVX2_SCANNERS)

// Only these functions use the wider instructions, so the program still starts on any x86-64.
#define TRAWLIT_AVX2 __attribute__((target("avx2,popcnt")))

namespace {

constexpr char kCR = '\r';
constexpr char kLF = '\n';

using Wide = __m256i;
using Narrow = __m128i;
constexpr std::ptrdiff_t kWide = 32;
constexpr std::ptrdiff_t kNarrow = 16;

TRAWLIT_AVX2 Wide LoadWide(const char* p)
{
    return _mm256_loadu_si256(reinterpret_cast<const Wide*>(p));
}
TRAWLIT_AVX2 Narrow LoadNarrow(const char* p)
{
    return _mm_loadu_si128(reinterpret_cast<const Narrow*>(p));
}
TRAWLIT_AVX2 Wide Splat(unsigned char c)
{
    return _mm256_set1_epi8(static_cast<char>(c));
}
TRAWLIT_AVX2 std::uint32_t MaskOf(Wide v)
{
    return static_cast<std::uint32_t>(_mm256_movemask_epi8(v));
}
TRAWLIT_AVX2 std::uint32_t MaskOf(Narrow v)
{
    return static_cast<std::uint32_t>(_mm_movemask_epi8(v));
}
TRAWLIT_AVX2 std::uint32_t ByteMask(Wide v, char c)
{
    return MaskOf(_mm256_cmpeq_epi8(v, _mm256_set1_epi8(c)));
}
TRAWLIT_AVX2 Wide LineEnds(Wide v)
{
    return _mm256_or_si256(
        _mm256_cmpeq_epi8(v, _mm256_set1_epi8(kCR)), _mm256_cmpeq_epi8(v, _mm256_set1_epi8(kLF)));
}
TRAWLIT_AVX2 std::uint32_t LineEndMask(Wide v)
{
    return MaskOf(LineEnds(v));
}
TRAWLIT_AVX2 std::uint32_t LineEndMask(Narrow v)
{
    return MaskOf(
        _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8(kCR)), _mm_cmpeq_epi8(v, _mm_set1_epi8(kLF))));
}
TRAWLIT_AVX2 std::uint64_t Join(std::uint32_t low, std::uint32_t high)
{
    return low | std::uint64_t { high } << 32;
}

bool IsLineEnd(char c)
{
    return c == kCR || c == kLF;
}

// The second byte of a pair: equal after folding, or white space (unsigned, up to 32).
template <bool White> struct SecondTest {
    TRAWLIT_AVX2 explicit SecondTest(const PairProbe& probe)
        : byte(Splat(White ? ' ' : probe.secondByte))
        , fold(Splat(probe.secondFold))
    {
    }
    TRAWLIT_AVX2 Wide Hits(Wide v) const
    {
        if constexpr (White)
            return _mm256_cmpeq_epi8(_mm256_min_epu8(v, byte), v);
        else
            return _mm256_cmpeq_epi8(_mm256_or_si256(v, fold), byte);
    }
    Wide byte;
    Wide fold;
};

template <bool White> struct PairTest {
    TRAWLIT_AVX2 explicit PairTest(const PairProbe& pairProbe)
        : probe(pairProbe)
        , first(Splat(pairProbe.firstByte))
        , firstFold(Splat(pairProbe.firstFold))
        , second(pairProbe)
    {
    }
    TRAWLIT_AVX2 Wide Hits(const char* p) const
    {
        const Wide a = _mm256_or_si256(LoadWide(p + probe.firstOffset), firstFold);
        const Wide b = LoadWide(p + probe.secondOffset);
        return _mm256_and_si256(_mm256_cmpeq_epi8(a, first), second.Hits(b));
    }
    const PairProbe& probe;
    Wide first;
    Wide firstFold;
    SecondTest<White> second;
};

template <std::size_t Compares> struct SetTest {
    TRAWLIT_AVX2 explicit SetTest(const ByteSet& set)
    {
        for (std::size_t i = 0; i < Compares; ++i)
            wanted[i] = Splat(set.bytes[i < set.count ? i : 0]);
    }
    TRAWLIT_AVX2 Wide In(Wide v) const
    {
        Wide hits = _mm256_cmpeq_epi8(v, wanted[0]);
        for (std::size_t i = 1; i < Compares; ++i)
            hits = _mm256_or_si256(hits, _mm256_cmpeq_epi8(v, wanted[i]));
        return hits;
    }
    Wide wanted[Compares];
};

template <std::size_t Compares> struct SetPairTest {
    TRAWLIT_AVX2 explicit SetPairTest(const SetProbe& setProbe)
        : probe(setProbe)
        , first(setProbe.first)
        , second(setProbe.second)
    {
    }
    TRAWLIT_AVX2 Wide Hits(const char* p) const
    {
        Wide hits = first.In(LoadWide(p));
        if (probe.second.count != 0)
            hits = _mm256_and_si256(hits, second.In(LoadWide(p + probe.secondOffset)));
        return hits;
    }
    const SetProbe& probe;
    SetTest<Compares> first;
    SetTest<Compares> second;
};

// The last vector may overlap starts already passed: none of them was a hit, so the first
// hit it shows is a new one.
template <typename Test>
TRAWLIT_AVX2 const char* FindFirstHit(const char* p, const char* candidatesEnd, const Test& test)
{
    // Four vectors a round with one test for any hit: where speed counts, hits are rare.
    for (auto rounds = (candidatesEnd - p) / (4 * kWide); rounds > 0; --rounds, p += 4 * kWide) {
        const Wide a = test.Hits(p);
        const Wide b = test.Hits(p + kWide);
        const Wide c = test.Hits(p + 2 * kWide);
        const Wide d = test.Hits(p + 3 * kWide);
        const Wide any = _mm256_or_si256(_mm256_or_si256(a, b), _mm256_or_si256(c, d));
        if (!_mm256_testz_si256(any, any)) {
            const std::uint64_t low = Join(MaskOf(a), MaskOf(b));
            if (low != 0)
                return p + std::countr_zero(low);
            return p + 2 * kWide + std::countr_zero(Join(MaskOf(c), MaskOf(d)));
        }
    }
    while (p != candidatesEnd) {
        if (candidatesEnd - p < kWide)
            p = candidatesEnd - kWide;
        const std::uint32_t mask = MaskOf(test.Hits(p));
        if (mask != 0)
            return p + std::countr_zero(mask);
        p += kWide;
    }
    return nullptr;
}

TRAWLIT_AVX2 const char* FindProbeAvx2(
    const char* begin, const char* candidatesEnd, const PairProbe& probe)
{
    if (candidatesEnd - begin < kWide)
        return PlainScanners().findProbe(begin, candidatesEnd, probe);
    if (probe.secondIsWhite)
        return FindFirstHit(begin, candidatesEnd, PairTest<true>(probe));
    return FindFirstHit(begin, candidatesEnd, PairTest<false>(probe));
}

TRAWLIT_AVX2 const char* FindSetProbeAvx2(
    const char* begin, const char* candidatesEnd, const SetProbe& probe)
{
    if (candidatesEnd - begin < kWide)
        return PlainScanners().findSetProbe(begin, candidatesEnd, probe);
    // Four compares a set cover most texts; larger sets take all eight.
    if (std::max(probe.first.count, probe.second.count) <= 4)
        return FindFirstHit(begin, candidatesEnd, SetPairTest<4>(probe));
    return FindFirstHit(begin, candidatesEnd, SetPairTest<ByteSet::kMaxCount>(probe));
}

// Overlapping loads at both ends cover short ranges, which are most lines, without a byte loop.
TRAWLIT_AVX2 bool IsAsciiAvx2(const char* begin, const char* end)
{
    const std::ptrdiff_t size = end - begin;
    if (size >= kWide) {
        Wide any = LoadWide(end - kWide);
        for (const char* p = begin; end - p > kWide; p += kWide)
            any = _mm256_or_si256(any, LoadWide(p));
        return MaskOf(any) == 0;
    }
    if (size >= kNarrow)
        return MaskOf(_mm_or_si128(LoadNarrow(begin), LoadNarrow(end - kNarrow))) == 0;
    return IsAsciiShort(begin, end);
}

struct LineEndTest {
    TRAWLIT_AVX2 Wide Hits(const char* p) const { return LineEnds(LoadWide(p)); }
};

TRAWLIT_AVX2 const char* FindLineEndAvx2(const char* begin, const char* end)
{
    const std::ptrdiff_t size = end - begin;
    if (size >= kWide) {
        const char* found = FindFirstHit(begin, end, LineEndTest {});
        return found != nullptr ? found : end;
    }
    if (size >= kNarrow) {
        for (const char* p : { begin, end - kNarrow }) {
            const std::uint32_t mask = LineEndMask(LoadNarrow(p));
            if (mask != 0)
                return p + std::countr_zero(mask);
        }
        return end;
    }
    const char* p = begin;
    while (p != end && !IsLineEnd(*p))
        ++p;
    return p;
}

TRAWLIT_AVX2 const char* LastBit(const char* p, std::uint64_t mask)
{
    return p + (63 - std::countl_zero(mask));
}

TRAWLIT_AVX2 const char* FindLastLineEndAvx2(const char* begin, const char* end)
{
    const char* p = end;
    if (end - begin >= kWide) {
        while (p - begin >= 2 * kWide) {
            p -= 2 * kWide;
            const std::uint64_t mask
                = Join(LineEndMask(LoadWide(p)), LineEndMask(LoadWide(p + kWide)));
            if (mask != 0)
                return LastBit(p, mask);
        }
        // As going forward, an overlapping first vector finds no line end twice.
        while (p != begin) {
            p = p - begin >= kWide ? p - kWide : begin;
            const std::uint32_t mask = LineEndMask(LoadWide(p));
            if (mask != 0)
                return LastBit(p, mask);
        }
        return nullptr;
    }
    if (end - begin >= kNarrow) {
        for (const char* q : { end - kNarrow, begin }) {
            const std::uint32_t mask = LineEndMask(LoadNarrow(q));
            if (mask != 0)
                return LastBit(q, mask);
        }
        return nullptr;
    }
    while (p != begin) {
        --p;
        if (IsLineEnd(*p))
            return p;
    }
    return nullptr;
}

TRAWLIT_AVX2 std::int64_t SumBytes(Wide counters)
{
    const Wide sums = _mm256_sad_epu8(counters, _mm256_setzero_si256());
    const Narrow halves
        = _mm_add_epi64(_mm256_castsi256_si128(sums), _mm256_extracti128_si256(sums, 1));
    return _mm_cvtsi128_si64(halves) + _mm_extract_epi64(halves, 1);
}

// 0xFF for each byte of p that ends a line: a CR, or an LF after no CR. Reads p[-1].
TRAWLIT_AVX2 Wide CountedEnds(const char* p)
{
    const Wide v = LoadWide(p);
    const Wide afterCR = _mm256_cmpeq_epi8(LoadWide(p - 1), _mm256_set1_epi8(kCR));
    return _mm256_or_si256(_mm256_cmpeq_epi8(v, _mm256_set1_epi8(kCR)),
        _mm256_andnot_si256(afterCR, _mm256_cmpeq_epi8(v, _mm256_set1_epi8(kLF))));
}

struct LineEndCounters {
    static constexpr std::ptrdiff_t kBytes = kWide;
    TRAWLIT_AVX2 LineEndCounters()
        : counters(_mm256_setzero_si256())
    {
    }
    TRAWLIT_AVX2 void Add(const char* p) { counters = _mm256_sub_epi8(counters, CountedEnds(p)); }
    TRAWLIT_AVX2 std::int64_t Sum() const { return SumBytes(counters); }
    Wide counters;
};

// The same count from bit masks of up to 32 bytes; `carry` is the CR state of the byte before.
TRAWLIT_AVX2 std::int64_t CountBits(std::uint32_t cr, std::uint32_t lf, std::uint32_t carry)
{
    return std::popcount(cr) + std::popcount(lf & ~(cr << 1 | carry));
}

TRAWLIT_AVX2 std::int64_t CountLineEndsAvx2(const char* begin, const char* end, bool previousWasCR)
{
    const std::uint32_t carry = previousWasCR ? 1 : 0;
    if (begin == end)
        return 0; // an empty range may come as two null pointers, which memcpy must not see
    if (end - begin < kWide) {
        // A short range is copied beside zeros, which are no line ends.
        alignas(kWide) char copy[kWide] = {};
        std::memcpy(copy, begin, static_cast<std::size_t>(end - begin));
        const Wide v = LoadWide(copy);
        return CountBits(ByteMask(v, kCR), ByteMask(v, kLF), carry);
    }
    // The first vector takes the CR state before it from the caller; the others from p[-1].
    const Wide first = LoadWide(begin);
    std::int64_t count = CountBits(ByteMask(first, kCR), ByteMask(first, kLF), carry);
    const std::ptrdiff_t vectors = (end - begin) / kWide - 1;
    count += CountLineEndVectors<LineEndCounters>(begin + kWide, vectors);
    const char* p = begin + (vectors + 1) * kWide;
    if (p == end)
        return count;
    // The last load overlaps bytes already counted: only those from p on count.
    const char* last = end - kWide;
    const std::uint32_t fresh = ~std::uint32_t { 0 } << (p - last);
    return count + std::popcount(MaskOf(CountedEnds(last)) & fresh);
}

} // namespace

const Scanners* Avx2Scanners()
{
    static constexpr Scanners kAvx2 { "AVX2", FindProbeAvx2, FindSetProbeAvx2, IsAsciiAvx2,
        FindLineEndAvx2, FindLastLineEndAvx2, CountLineEndsAvx2 };
    if (!__builtin_cpu_supports("avx2") || !__builtin_cpu_supports("popcnt"))
        return nullptr;
    return &kAvx2;
}

#else

const Scanners* Avx2Scanners()
{
    return nullptr;
}

#endif

} // namespace trawlit::bytescan::detail
