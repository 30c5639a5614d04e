#include "core/search/ByteScan.h"

#include <bit>
#include <cstring>

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
TRAWLIT_AVX2 std::uint32_t LineEndMask(Wide v)
{
    return MaskOf(_mm256_or_si256(
        _mm256_cmpeq_epi8(v, _mm256_set1_epi8(kCR)), _mm256_cmpeq_epi8(v, _mm256_set1_epi8(kLF))));
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
    TRAWLIT_AVX2 std::uint32_t Hits(const char* p) const
    {
        const Wide a = _mm256_or_si256(LoadWide(p + probe.firstOffset), firstFold);
        const Wide b = LoadWide(p + probe.secondOffset);
        return MaskOf(_mm256_and_si256(_mm256_cmpeq_epi8(a, first), second.Hits(b)));
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
    TRAWLIT_AVX2 std::uint32_t Hits(const char* p) const
    {
        Wide hits = first.In(LoadWide(p));
        if (probe.second.count != 0)
            hits = _mm256_and_si256(hits, second.In(LoadWide(p + probe.secondOffset)));
        return MaskOf(hits);
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
    for (; candidatesEnd - p >= 2 * kWide; p += 2 * kWide) {
        const std::uint64_t mask = Join(test.Hits(p), test.Hits(p + kWide));
        if (mask != 0)
            return p + std::countr_zero(mask);
    }
    while (p != candidatesEnd) {
        if (candidatesEnd - p < kWide)
            p = candidatesEnd - kWide;
        const std::uint32_t mask = test.Hits(p);
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
    if (size >= 8) {
        std::uint64_t first = 0;
        std::uint64_t last = 0;
        std::memcpy(&first, begin, 8);
        std::memcpy(&last, end - 8, 8);
        return ((first | last) & 0x8080808080808080u) == 0;
    }
    unsigned char any = 0;
    for (const char* p = begin; p != end; ++p)
        any |= static_cast<unsigned char>(*p);
    return any < 0x80;
}

struct LineEndTest {
    TRAWLIT_AVX2 std::uint32_t Hits(const char* p) const { return LineEndMask(LoadWide(p)); }
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

// CR and LF places of 64 bytes, one bit a byte.
struct LineEndBits {
    std::uint64_t cr;
    std::uint64_t lf;
};

TRAWLIT_AVX2 LineEndBits BitsAt(const char* p)
{
    const Wide low = LoadWide(p);
    const Wide high = LoadWide(p + kWide);
    return { Join(ByteMask(low, kCR), ByteMask(high, kCR)),
        Join(ByteMask(low, kLF), ByteMask(high, kLF)) };
}

// Every CR, and every LF whose byte before (the carry for the first) is no CR.
TRAWLIT_AVX2 std::int64_t CountBits(LineEndBits bits, std::uint64_t carry)
{
    const std::uint64_t afterCR = bits.cr << 1 | carry;
    return std::popcount(bits.cr) + std::popcount(bits.lf & ~afterCR);
}

TRAWLIT_AVX2 std::int64_t CountLineEndsAvx2(const char* begin, const char* end, bool previousWasCR)
{
    constexpr std::ptrdiff_t kStep = 2 * kWide;
    std::int64_t count = 0;
    std::uint64_t carry = previousWasCR ? 1 : 0;
    const char* p = begin;
    for (; end - p >= kStep; p += kStep) {
        const LineEndBits bits = BitsAt(p);
        count += CountBits(bits, carry);
        carry = bits.cr >> 63;
    }
    if (p == end)
        return count;
    if (end - begin >= kStep) {
        // The bytes before p in an overlapping last load are dropped; the byte just before p
        // is among them, so it gives the carry itself.
        const char* last = end - kStep;
        const std::uint64_t fresh = ~std::uint64_t { 0 } << (p - last);
        const LineEndBits bits = BitsAt(last);
        return count + CountBits({ bits.cr & fresh, bits.lf & fresh & ~(bits.cr << 1) }, 0);
    }
    // A short range is copied beside zeros, which are no line ends.
    alignas(kWide) char copy[kStep] = {};
    std::memcpy(copy, p, static_cast<std::size_t>(end - p));
    return count + CountBits(BitsAt(copy), carry);
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
