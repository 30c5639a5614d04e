#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// Block scanners of the line matcher: AVX2 or SSE2 on x86-64, as the processor allows, plain
// loops elsewhere.
namespace trawlit::bytescan {

// Two bytes of a needle at fixed offsets from its start. A text byte is OR-ed with the fold
// mask before it is compared, so a letter probed as lower case with mask 0x20 matches
// either case; a mask of 0 compares exactly. With `secondIsWhite`, the second byte is any
// byte up to 32 instead.
struct PairProbe {
    unsigned char firstByte = 0;
    unsigned char firstFold = 0;
    std::size_t firstOffset = 0;
    unsigned char secondByte = 0;
    unsigned char secondFold = 0;
    std::size_t secondOffset = 0;
    bool secondIsWhite = false;
};

// First start p in [begin, candidatesEnd) whose bytes at the probe's offsets match, or
// nullptr. The caller guarantees that p + offset is readable for every such p.
const char* FindProbe(const char* begin, const char* candidatesEnd, const PairProbe& probe);

// Byte values any of which marks a candidate; unused places repeat the first value.
struct ByteSet {
    static constexpr std::size_t kMaxCount = 8;
    std::array<unsigned char, kMaxCount> bytes {};
    std::size_t count = 0;
};

// A byte in `first` and, unless `second` is empty, a byte in `second` `secondOffset` later.
struct SetProbe {
    ByteSet first;
    ByteSet second;
    std::size_t secondOffset = 0;
};

// First start p in [begin, candidatesEnd) that the probe accepts, or nullptr. The caller
// guarantees that p + secondOffset is readable for every such p.
const char* FindSetProbe(const char* begin, const char* candidatesEnd, const SetProbe& probe);

// Whether every byte in [begin, end) is below 128.
bool IsAscii(const char* begin, const char* end);

// First CR or LF in [begin, end), or end.
const char* FindLineEnd(const char* begin, const char* end);

// Last CR or LF in [begin, end), or nullptr.
const char* FindLastLineEnd(const char* begin, const char* end);

// Line ends in [begin, end): every CR, and every LF that does not follow a CR.
// `previousWasCR` tells whether the byte just before `begin` was a CR.
std::int64_t CountLineEnds(const char* begin, const char* end, bool previousWasCR);

namespace detail {

// The scanners of one instruction set. The functions above run the fastest set the processor
// has, chosen once on first use; tests hold every set to the same answers.
struct Scanners {
    const char* name;
    const char* (*findProbe)(const char*, const char*, const PairProbe&);
    const char* (*findSetProbe)(const char*, const char*, const SetProbe&);
    bool (*isAscii)(const char*, const char*);
    const char* (*findLineEnd)(const char*, const char*);
    const char* (*findLastLineEnd)(const char*, const char*);
    std::int64_t (*countLineEnds)(const char*, const char*, bool);
};

const Scanners& PlainScanners();
// nullptr where this build or this processor lacks the instructions.
const Scanners* Sse2Scanners();
const Scanners* Avx2Scanners();

// Plain loops first, the fastest last.
std::vector<const Scanners*> RunnableScanners();

} // namespace detail

} // namespace trawlit::bytescan
