#include "core/search/ByteScan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace trawlit::bytescan {
namespace {

std::int64_t CountSlowly(const std::string& text, std::size_t begin, std::size_t end, bool afterCR)
{
    std::int64_t count = 0;
    for (std::size_t i = begin; i < end; ++i) {
        const bool previousCR = i == begin ? afterCR : text[i - 1] == '\r';
        count += text[i] == '\r' || (text[i] == '\n' && !previousCR) ? 1 : 0;
    }
    return count;
}

bool IsLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

// Buffers long enough for the vector loops and the 255-round sums, with sparse and dense
// line ends, compared with byte-by-byte answers on random ranges, for every instruction set.
TEST(ByteScan, AgreesWithPlainLoops)
{
    std::mt19937 random(99);
    for (int round = 0; round < 300; ++round) {
        const std::size_t initialSize = random() % 9000;
        const auto density = 2 + random() % 400;
        std::string text(initialSize, 'a');
        for (char& c : text) {
            const auto pick = random() % density;
            c = pick == 0 ? '\r' : pick == 1 ? '\n' : static_cast<char>(random() % 256);
        }
        // Nothing but line ends fills every byte counter up to its limit and beyond.
        const bool filled = round % 50 == 0;
        if (filled)
            text.assign(20000, round % 100 == 0 ? '\r' : '\n');
        const std::size_t size = text.size();
        const std::size_t begin = size == 0 ? 0 : random() % (filled ? 64 : size);
        const std::size_t end
            = filled ? size : begin + (size == begin ? 0 : random() % (size - begin + 1));
        const char* data = text.data();
        const bool afterCR = random() % 2 == 0;
        std::size_t first = begin;
        while (first < end && !IsLineEnd(text[first]))
            ++first;
        std::size_t last = end;
        while (last > begin && !IsLineEnd(text[last - 1]))
            --last;
        for (const detail::Scanners* s : detail::RunnableScanners()) {
            SCOPED_TRACE(s->name);
            ASSERT_EQ(s->countLineEnds(data + begin, data + end, afterCR),
                CountSlowly(text, begin, end, afterCR));
            ASSERT_EQ(s->findLineEnd(data + begin, data + end), data + first);
            ASSERT_EQ(s->findLastLineEnd(data + begin, data + end),
                last == begin ? nullptr : data + last - 1);
        }
    }
}

// One byte of 128 or more, or none, anywhere in ranges of every short length and some long.
TEST(ByteScan, AsciiAndByteSetsAgreeWithPlainLoops)
{
    std::mt19937 random(15);
    const ByteSet set { { 0xA9, 0xC9, 0x89, 0xE9, 0, 0, 0, 0 }, 4 };
    const SetProbe single { set, {}, 0 };
    const SetProbe paired { set, { { 'b', 0, 0, 0, 0, 0, 0, 0 }, 1 }, 2 };
    for (int round = 0; round < 2000; ++round) {
        const std::size_t size = round % 4 == 0 ? random() % 300 : random() % 40;
        std::string text(size, 'a');
        const std::size_t high = random() % (size + 1);
        if (high < size)
            text[high] = "\xA9\xC9\x89\xE9\x80\xFF"[random() % 6];
        const char* data = text.data();
        const char* found = data;
        while (found != data + size
            && std::ranges::find(set.bytes, static_cast<unsigned char>(*found)) == set.bytes.end())
            ++found;
        ASSERT_EQ(IsAscii(data, data + size), high == size) << size;
        ASSERT_EQ(FindSetProbe(data, data + size, single), found == data + size ? nullptr : found);
        if (found + 2 < data + size)
            text[static_cast<std::size_t>(found - data) + 2] = 'b';
        ASSERT_EQ(FindSetProbe(data, data + size - std::min<std::size_t>(size, 2), paired),
            found + 2 < data + size ? found : nullptr);
    }
}

// Bytes that hit probes, fold, end lines or are no ASCII, so short random texts hold hits.
constexpr std::string_view kAlphabet = "xXqQ \t!\r\na.\x80\xC8\xE8\xFF";

unsigned char Pick(std::mt19937& random)
{
    return static_cast<unsigned char>(kAlphabet[random() % kAlphabet.size()]);
}

ByteSet RandomSet(std::mt19937& random, std::size_t count)
{
    ByteSet set;
    set.count = count;
    for (std::size_t i = 0; i < ByteSet::kMaxCount; ++i)
        set.bytes[i] = i < count ? Pick(random) : set.bytes[0];
    return set;
}

struct ShortCase {
    std::vector<char> buffer; // exactly as long as the range, so ASan sees a read past it
    std::size_t start = 0;
    PairProbe pair;
    SetProbe sets;
    std::size_t lastOffset = 0;
};

// A range of 0 to 200 bytes at any alignment; half of them are dots with the probe's pair
// planted once, often at the last start a probe may take.
ShortCase RandomShortCase(std::mt19937& random)
{
    ShortCase c;
    c.start = random() % 32;
    const std::size_t size = random() % 201;
    const bool planted = random() % 2 == 0;
    c.buffer.resize(c.start + size);
    for (auto& byte : c.buffer)
        byte = static_cast<char>(planted ? '.' : Pick(random));
    const unsigned char firstFold = random() % 2 == 0 ? 0x20 : 0;
    const unsigned char secondFold = random() % 2 == 0 ? 0x20 : 0;
    c.pair = { static_cast<unsigned char>(Pick(random) | firstFold), firstFold, random() % 4,
        static_cast<unsigned char>(Pick(random) | secondFold), secondFold, random() % 6,
        random() % 3 == 0 };
    c.sets = { RandomSet(random, 1 + random() % 8), RandomSet(random, random() % 9), random() % 6 };
    c.lastOffset = std::max({ c.pair.firstOffset, c.pair.secondOffset, c.sets.secondOffset });
    if (planted && size > c.lastOffset) {
        const std::size_t candidates = size - c.lastOffset;
        const std::size_t at
            = c.start + (random() % 2 == 0 ? candidates - 1 : random() % candidates);
        c.buffer[at + c.pair.secondOffset] = static_cast<char>(
            c.pair.secondIsWhite ? " \t\x01!"[random() % 4] : c.pair.secondByte);
        c.buffer[at + c.pair.firstOffset]
            = static_cast<char>(c.pair.firstByte & ~(random() % 2 * firstFold));
        c.buffer[at] = static_cast<char>(c.sets.first.bytes[random() % c.sets.first.count]);
    }
    return c;
}

// Every instruction set answers as the plain loops do, on short ranges where the vector
// loops hand over to their last, overlapping or copied, load.
TEST(ByteScan, EveryInstructionSetAgreesWithPlainLoopsOnShortRanges)
{
    const detail::Scanners& plain = detail::PlainScanners();
    const auto all = detail::RunnableScanners();
    std::mt19937 random(2026);
    for (int round = 0; round < 20000; ++round) {
        const ShortCase c = RandomShortCase(random);
        const char* begin = c.buffer.data() + c.start;
        const char* end = c.buffer.data() + c.buffer.size();
        const std::size_t size = c.buffer.size() - c.start;
        const char* candidatesEnd = begin + (size - std::min(size, c.lastOffset));
        const bool afterCR = random() % 2 == 0;
        for (const detail::Scanners* s : all) {
            SCOPED_TRACE(std::string(s->name) + " round " + std::to_string(round));
            ASSERT_EQ(
                s->countLineEnds(begin, end, afterCR), plain.countLineEnds(begin, end, afterCR));
            ASSERT_EQ(s->findLineEnd(begin, end), plain.findLineEnd(begin, end));
            ASSERT_EQ(s->findLastLineEnd(begin, end), plain.findLastLineEnd(begin, end));
            ASSERT_EQ(s->isAscii(begin, end), plain.isAscii(begin, end));
            ASSERT_EQ(s->findProbe(begin, candidatesEnd, c.pair),
                plain.findProbe(begin, candidatesEnd, c.pair));
            ASSERT_EQ(s->findSetProbe(begin, candidatesEnd, c.sets),
                plain.findSetProbe(begin, candidatesEnd, c.sets));
        }
    }
}

TEST(ByteScan, ProbeFoldsOnlyWhereAsked)
{
    const std::string text = std::string(40, '.') + "xQ" + std::string(40, '.') + "Xq..";
    const PairProbe exact { 'x', 0, 0, 'Q', 0, 1 };
    const PairProbe folded { 'x', 0x20, 0, 'q', 0x20, 1 };
    const char* end = text.data() + text.size() - 1;
    EXPECT_EQ(FindProbe(text.data(), end, exact), text.data() + 40);
    EXPECT_EQ(FindProbe(text.data() + 41, end, exact), nullptr);
    EXPECT_EQ(FindProbe(text.data() + 41, end, folded), text.data() + 82);
}

} // namespace
} // namespace trawlit::bytescan
