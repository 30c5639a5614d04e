#include "core/search/ByteScan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

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

// Buffers long enough for the vector loops and the 255-round folding, with sparse and dense
// line ends, compared with byte-by-byte answers on random ranges.
TEST(ByteScan, AgreesWithPlainLoops)
{
    std::mt19937 random(99);
    for (int round = 0; round < 300; ++round) {
        const std::size_t size = random() % 9000;
        const auto density = 2 + random() % 400;
        std::string text(size, 'a');
        for (char& c : text) {
            const auto pick = random() % density;
            c = pick == 0 ? '\r' : pick == 1 ? '\n' : static_cast<char>(random() % 256);
        }
        const std::size_t begin = size == 0 ? 0 : random() % size;
        const std::size_t end = begin + (size == begin ? 0 : random() % (size - begin + 1));
        const char* data = text.data();
        const bool afterCR = random() % 2 == 0;
        ASSERT_EQ(CountLineEnds(data + begin, data + end, afterCR),
            CountSlowly(text, begin, end, afterCR));

        std::size_t first = begin;
        while (first < end && !IsLineEnd(text[first]))
            ++first;
        ASSERT_EQ(FindLineEnd(data + begin, data + end), data + first);

        std::size_t last = end;
        while (last > begin && !IsLineEnd(text[last - 1]))
            --last;
        ASSERT_EQ(
            FindLastLineEnd(data + begin, data + end), last == begin ? nullptr : data + last - 1);
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
