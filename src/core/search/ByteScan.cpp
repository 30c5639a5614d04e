#include "core/search/ByteScan.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>

#include "core/search/ByteScanShared.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace trawlit::bytescan {

namespace {

constexpr char kCR = '\r';
constexpr char kLF = '\n';

bool ProbeMatchesAt(const char* p, const PairProbe& probe)
{
    const auto first = static_cast<unsigned char>(p[probe.firstOffset]);
    const auto second = static_cast<unsigned char>(p[probe.secondOffset]);
    const bool secondMatches
        = probe.secondIsWhite ? second <= ' ' : (second | probe.secondFold) == probe.secondByte;
    return (first | probe.firstFold) == probe.firstByte && secondMatches;
}

bool InSet(char c, const ByteSet& set)
{
    const auto byte = static_cast<unsigned char>(c);
    for (std::size_t i = 0; i < set.count; ++i) {
        if (set.bytes[i] == byte)
            return true;
    }
    return false;
}

const char* FindProbePlain(const char* begin, const char* candidatesEnd, const PairProbe& probe)
{
    for (const char* p = begin; p < candidatesEnd; ++p) {
        if (ProbeMatchesAt(p, probe))
            return p;
    }
    return nullptr;
}

const char* FindSetProbePlain(const char* begin, const char* candidatesEnd, const SetProbe& probe)
{
    for (const char* p = begin; p < candidatesEnd; ++p) {
        if (InSet(*p, probe.first)
            && (probe.second.count == 0 || InSet(p[probe.secondOffset], probe.second)))
            return p;
    }
    return nullptr;
}

const char* FindLineEndPlain(const char* begin, const char* end)
{
    const char* p = begin;
    while (p != end && *p != kCR && *p != kLF)
        ++p;
    return p;
}

const char* FindLastLineEndPlain(const char* begin, const char* end)
{
    for (const char* p = end; p != begin;) {
        --p;
        if (*p == kCR || *p == kLF)
            return p;
    }
    return nullptr;
}

std::int64_t CountLineEndsPlain(const char* begin, const char* end, bool previousWasCR)
{
    std::int64_t count = 0;
    for (const char* p = begin; p != end; ++p) {
        if (*p == kCR || (*p == kLF && !previousWasCR))
            ++count;
        previousWasCR = *p == kCR;
    }
    return count;
}

#if defined(__SSE2__)

using Vec = __m128i;
constexpr std::ptrdiff_t kVec = 16;

Vec Load(const char* p)
{
    return _mm_loadu_si128(reinterpret_cast<const Vec*>(p));
}
Vec Splat(char c)
{
    return _mm_set1_epi8(c);
}
Vec Splat(unsigned char c)
{
    return _mm_set1_epi8(static_cast<char>(c));
}
unsigned Mask(Vec v)
{
    return static_cast<unsigned>(_mm_movemask_epi8(v));
}

Vec LineEndMask(Vec v)
{
    return _mm_or_si128(_mm_cmpeq_epi8(v, Splat(kCR)), _mm_cmpeq_epi8(v, Splat(kLF)));
}

// Adds the two 64-bit halves of byte sums; the byte accumulator must not have overflowed.
std::int64_t SumBytes(Vec accumulator)
{
    const Vec sums = _mm_sad_epu8(accumulator, _mm_setzero_si128());
    return _mm_cvtsi128_si32(sums) + _mm_cvtsi128_si32(_mm_srli_si128(sums, 8));
}

// 0xFF for each byte of v that ends a line, where `afterCR` marks the bytes after a CR: a CR,
// or an LF after no CR.
Vec CountedEnds(Vec v, Vec afterCR)
{
    return _mm_or_si128(
        _mm_cmpeq_epi8(v, Splat(kCR)), _mm_andnot_si128(afterCR, _mm_cmpeq_epi8(v, Splat(kLF))));
}

// The same for the bytes at p, whose byte before is read from p[-1].
Vec CountedEndsAt(const char* p)
{
    return CountedEnds(Load(p), _mm_cmpeq_epi8(Load(p - 1), Splat(kCR)));
}

class LineEndCounters {
public:
    static constexpr std::ptrdiff_t kBytes = kVec;
    void Add(const char* p) { counters_ = _mm_sub_epi8(counters_, CountedEndsAt(p)); }
    std::int64_t Sum() const { return SumBytes(counters_); }

private:
    Vec counters_ = _mm_setzero_si128();
};

// One pass for both kinds of line end. The first vector takes the CR state before it from the
// caller, the others from the byte before them; the last load overlaps bytes already counted,
// which a mask drops.
std::int64_t CountLineEndsSse2(const char* begin, const char* end, bool previousWasCR)
{
    if (end - begin < kVec)
        return CountLineEndsPlain(begin, end, previousWasCR);
    const Vec first = Load(begin);
    const Vec crBefore = _mm_cvtsi32_si128(previousWasCR ? 0xFF : 0);
    const Vec afterCR
        = _mm_or_si128(_mm_slli_si128(_mm_cmpeq_epi8(first, Splat(kCR)), 1), crBefore);
    std::int64_t count = SumBytes(_mm_sub_epi8(_mm_setzero_si128(), CountedEnds(first, afterCR)));
    const std::ptrdiff_t vectors = (end - begin) / kVec - 1;
    count += detail::CountLineEndVectors<LineEndCounters>(begin + kVec, vectors);
    const char* p = begin + (vectors + 1) * kVec;
    if (p == end)
        return count;
    static constexpr std::array<char, 2 * kVec> kLastBytes { 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        0, 0, 0, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1 };
    const Vec fresh = Load(kLastBytes.data() + (end - p));
    const Vec ends = _mm_and_si128(CountedEndsAt(end - kVec), fresh);
    return count + SumBytes(_mm_sub_epi8(_mm_setzero_si128(), ends));
}

template <typename SecondTest>
const char* FindPair(
    const char* begin, const char* candidatesEnd, const PairProbe& probe, SecondTest secondTest)
{
    const Vec first = Splat(probe.firstByte);
    const Vec firstFold = Splat(probe.firstFold);
    const char* p = begin;
    while (candidatesEnd - p >= 2 * kVec) {
        const char* a = p + probe.firstOffset;
        const char* b = p + probe.secondOffset;
        const Vec low = _mm_and_si128(
            _mm_cmpeq_epi8(_mm_or_si128(Load(a), firstFold), first), secondTest(Load(b)));
        const Vec high
            = _mm_and_si128(_mm_cmpeq_epi8(_mm_or_si128(Load(a + kVec), firstFold), first),
                secondTest(Load(b + kVec)));
        const unsigned mask = Mask(low) | (Mask(high) << 16);
        if (mask != 0)
            return p + std::countr_zero(mask);
        p += 2 * kVec;
    }
    return FindProbePlain(p, candidatesEnd, probe);
}

const char* FindProbeSse2(const char* begin, const char* candidatesEnd, const PairProbe& probe)
{
    const Vec secondByte = Splat(probe.secondByte);
    const Vec secondFold = Splat(probe.secondFold);
    if (!probe.secondIsWhite) {
        return FindPair(begin, candidatesEnd, probe,
            [&](Vec v) { return _mm_cmpeq_epi8(_mm_or_si128(v, secondFold), secondByte); });
    }
    // Unsigned "up to 32" as a signed compare of the bytes with their top bit flipped.
    const Vec topBit = Splat(static_cast<unsigned char>(0x80));
    const Vec aboveWhite = Splat(static_cast<unsigned char>(0x80 + ' ' + 1));
    return FindPair(begin, candidatesEnd, probe,
        [&](Vec v) { return _mm_cmplt_epi8(_mm_xor_si128(v, topBit), aboveWhite); });
}

// Loads that overlap at the end cover the last bytes without a byte loop: most lines are short.
bool IsAsciiSse2(const char* begin, const char* end)
{
    const std::ptrdiff_t size = end - begin;
    if (size >= kVec) {
        Vec any = Load(end - kVec);
        for (const char* p = begin; end - p > kVec; p += kVec)
            any = _mm_or_si128(any, Load(p));
        return Mask(any) == 0;
    }
    return detail::IsAsciiShort(begin, end);
}

template <std::size_t Compares> struct SetVec {
    explicit SetVec(const ByteSet& set)
    {
        for (std::size_t i = 0; i < Compares; ++i)
            wanted[i] = Splat(set.bytes[i < set.count ? i : 0]);
    }
    Vec In(Vec v) const
    {
        Vec hits = _mm_cmpeq_epi8(v, wanted[0]);
        for (std::size_t i = 1; i < Compares; ++i)
            hits = _mm_or_si128(hits, _mm_cmpeq_epi8(v, wanted[i]));
        return hits;
    }
    Vec wanted[Compares];
};

template <std::size_t Compares>
const char* FindSetProbeVec(const char* begin, const char* candidatesEnd, const SetProbe& probe)
{
    const SetVec<Compares> first(probe.first);
    const SetVec<Compares> second(probe.second);
    const bool paired = probe.second.count != 0;
    const char* p = begin;
    while (candidatesEnd - p >= kVec) {
        Vec hits = first.In(Load(p));
        if (paired)
            hits = _mm_and_si128(hits, second.In(Load(p + probe.secondOffset)));
        const unsigned mask = Mask(hits);
        if (mask != 0)
            return p + std::countr_zero(mask);
        p += kVec;
    }
    return FindSetProbePlain(p, candidatesEnd, probe);
}

const char* FindSetProbeSse2(const char* begin, const char* candidatesEnd, const SetProbe& probe)
{
    // Four compares a set cover most texts; larger sets take all eight.
    if (std::max(probe.first.count, probe.second.count) <= 4)
        return FindSetProbeVec<4>(begin, candidatesEnd, probe);
    return FindSetProbeVec<ByteSet::kMaxCount>(begin, candidatesEnd, probe);
}

const char* FindLineEndSse2(const char* begin, const char* end)
{
    const char* p = begin;
    while (end - p >= 2 * kVec) {
        const unsigned mask
            = Mask(LineEndMask(Load(p))) | (Mask(LineEndMask(Load(p + kVec))) << 16);
        if (mask != 0)
            return p + std::countr_zero(mask);
        p += 2 * kVec;
    }
    return FindLineEndPlain(p, end);
}

const char* FindLastLineEndSse2(const char* begin, const char* end)
{
    const char* p = end;
    while (p - begin >= kVec) {
        p -= kVec;
        const unsigned mask = Mask(LineEndMask(Load(p)));
        if (mask != 0)
            return p + (31 - std::countl_zero(mask));
    }
    return FindLastLineEndPlain(begin, p);
}

#endif

} // namespace

namespace detail {

const Scanners& PlainScanners()
{
    static constexpr Scanners kPlain { "plain", FindProbePlain, FindSetProbePlain,
        detail::IsAsciiBytes, FindLineEndPlain, FindLastLineEndPlain, CountLineEndsPlain };
    return kPlain;
}

const Scanners* Sse2Scanners()
{
#if defined(__SSE2__)
    static constexpr Scanners kSse2 { "SSE2", FindProbeSse2, FindSetProbeSse2, IsAsciiSse2,
        FindLineEndSse2, FindLastLineEndSse2, CountLineEndsSse2 };
    return &kSse2;
#else
    return nullptr;
#endif
}

std::vector<const Scanners*> RunnableScanners()
{
    std::vector<const Scanners*> runnable { &PlainScanners() };
    for (const Scanners* scanners : { Sse2Scanners(), Avx2Scanners() }) {
        if (scanners != nullptr)
            runnable.push_back(scanners);
    }
    return runnable;
}

} // namespace detail

namespace {

// The scanners start out as a set that picks the fastest, stores it and hands the call on.
// Threads racing to the first call store the same set; later calls cost one load.
const detail::Scanners& ChooseFastest();

constexpr detail::Scanners kChooser {
    "first use",
    [](const char* begin, const char* candidatesEnd, const PairProbe& probe) {
        return ChooseFastest().findProbe(begin, candidatesEnd, probe);
    },
    [](const char* begin, const char* candidatesEnd, const SetProbe& probe) {
        return ChooseFastest().findSetProbe(begin, candidatesEnd, probe);
    },
    [](const char* begin, const char* end) { return ChooseFastest().isAscii(begin, end); },
    [](const char* begin, const char* end) { return ChooseFastest().findLineEnd(begin, end); },
    [](const char* begin, const char* end) { return ChooseFastest().findLastLineEnd(begin, end); },
    [](const char* begin, const char* end, bool previousWasCR) {
        return ChooseFastest().countLineEnds(begin, end, previousWasCR);
    },
};

constinit std::atomic<const detail::Scanners*> active { &kChooser };

const detail::Scanners& ChooseFastest()
{
    const detail::Scanners* fastest = detail::RunnableScanners().back();
    active.store(fastest, std::memory_order_release);
    return *fastest;
}

const detail::Scanners& Fastest()
{
    return *active.load(std::memory_order_acquire);
}

} // namespace

const char* FindProbe(const char* begin, const char* candidatesEnd, const PairProbe& probe)
{
    return Fastest().findProbe(begin, candidatesEnd, probe);
}

const char* FindSetProbe(const char* begin, const char* candidatesEnd, const SetProbe& probe)
{
    return Fastest().findSetProbe(begin, candidatesEnd, probe);
}

bool IsAscii(const char* begin, const char* end)
{
    return Fastest().isAscii(begin, end);
}

const char* FindLineEnd(const char* begin, const char* end)
{
    return Fastest().findLineEnd(begin, end);
}

const char* FindLastLineEnd(const char* begin, const char* end)
{
    return Fastest().findLastLineEnd(begin, end);
}

std::int64_t CountLineEnds(const char* begin, const char* end, bool previousWasCR)
{
    return Fastest().countLineEnds(begin, end, previousWasCR);
}

} // namespace trawlit::bytescan
