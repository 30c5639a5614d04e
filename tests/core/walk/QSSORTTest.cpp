#include "core/walk/QSSORT.h"

#include <algorithm>
#include <random>

#include <gtest/gtest.h>

namespace trawlit {
namespace {

std::vector<std::string> Numbered(const std::vector<std::string>& names)
{
    std::vector<std::string> numbered { "" };
    numbered.insert(numbered.end(), names.begin(), names.end());
    return numbered;
}

std::vector<std::string> FollowLinks(
    const std::vector<std::string>& numbered, const SortLinks& links)
{
    std::vector<std::string> order;
    for (std::size_t p = links[0]; p != 0 && order.size() < numbered.size(); p = links[p]) {
        order.push_back(numbered[p]);
    }
    return order;
}

// Sorts with QSSORT, checks the two link arrays agree, then reorders with QSSORT2.
std::vector<std::string> Sorted(
    const std::vector<std::string>& names, bool caseSensitive, bool descending = false)
{
    std::vector<std::string> numbered = Numbered(names);
    SortLinks next;
    SortLinks previous;
    QSSORT(numbered, names.size(), next, previous, caseSensitive);
    for (std::size_t p = 0; p <= names.size(); ++p) {
        EXPECT_EQ(previous[next[p]], p);
    }
    std::vector<std::string> linked = FollowLinks(numbered, descending ? previous : next);
    if (descending) {
        QSSORT2(numbered, names.size(), previous, next);
    } else {
        QSSORT2(numbered, names.size(), next, previous);
    }
    std::vector<std::string> placed(numbered.begin() + 1, numbered.end());
    EXPECT_EQ(placed, linked);
    return placed;
}

std::string Lowered(std::string text)
{
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

struct SortTieCase {
    const char* title;
    std::vector<std::string> names;
    std::vector<std::string> expected;
};

class QSSORTTieOrder : public ::testing::TestWithParam<SortTieCase> { };

TEST_P(QSSORTTieOrder, PivotFirstThenOthersInReverseOfMeeting)
{
    EXPECT_EQ(Sorted(GetParam().names, false), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, QSSORTTieOrder,
    ::testing::Values(
        SortTieCase { "README listed first", { "README", "readme" }, { "README", "readme" } },
        SortTieCase { "readme listed first", { "readme", "README" }, { "readme", "README" } },
        SortTieCase { "four spellings", { "Ab", "AB", "ab", "aB" }, { "Ab", "aB", "ab", "AB" } },
        SortTieCase {
            "tie among the smaller names", { "c", "B", "b", "a" }, { "a", "B", "b", "c" } },
        SortTieCase { "tie with the pivot amid others", { "m", "z", "M", "a", "m" },
            { "a", "m", "m", "M", "z" } }),
    [](const auto& param) {
        std::string name = param.param.title;
        std::replace(name.begin(), name.end(), ' ', '_');
        return name;
    });

// 44 names: half is 22, so the name 22 steps after the first becomes the pivot.
TEST(QSSORTTest, LongRunTakesItsPivotFromTheMiddle)
{
    std::vector<std::string> names;
    for (int i = 0; i < 44; ++i) {
        names.push_back("n" + std::to_string(100 + i));
    }
    names[1] = "tie";
    names[22] = "TIE"; // position 23
    names[39] = "Tie";
    std::vector<std::string> sorted = Sorted(names, false);
    auto tie = std::find(sorted.begin(), sorted.end(), "TIE");
    ASSERT_NE(tie, sorted.end());
    EXPECT_EQ(
        std::vector<std::string>(tie, tie + 3), (std::vector<std::string> { "TIE", "Tie", "tie" }));
    EXPECT_TRUE(std::is_sorted(sorted.begin(), sorted.end(),
        [](const auto& a, const auto& b) { return Lowered(a) < Lowered(b); }));
}

// 41 names: half is 20, so the first name stays the pivot.
TEST(QSSORTTest, ShorterRunKeepsItsFirstNameAsPivot)
{
    std::vector<std::string> names(41, "x");
    for (std::size_t i = 0; i < names.size(); ++i) {
        names[i] = "n" + std::to_string(100 + i);
    }
    names[0] = "tie";
    names[20] = "TIE";
    names[30] = "Tie";
    std::vector<std::string> sorted = Sorted(names, false);
    auto tie = std::find(sorted.begin(), sorted.end(), "tie");
    ASSERT_NE(tie, sorted.end());
    EXPECT_EQ(
        std::vector<std::string>(tie, tie + 3), (std::vector<std::string> { "tie", "Tie", "TIE" }));
}

TEST(QSSORTTest, SmallCountsGiveTrivialLinks)
{
    std::vector<std::string> none { "" };
    SortLinks next;
    SortLinks previous;
    QSSORT(none, 0, next, previous, false);
    EXPECT_EQ(next, SortLinks { 0 });
    EXPECT_EQ(previous, SortLinks { 0 });
    QSSORT2(none, 0, next, previous);

    std::vector<std::string> one { "", "only" };
    QSSORT(one, 1, next, previous, false);
    EXPECT_EQ(next, (SortLinks { 1, 0 }));
    EXPECT_EQ(previous, (SortLinks { 1, 0 }));

    EXPECT_EQ(Sorted({ "b", "A" }, false), (std::vector<std::string> { "A", "b" }));
    EXPECT_EQ(Sorted({ "b", "A" }, true), (std::vector<std::string> { "A", "b" }));
    EXPECT_EQ(Sorted({ "a", "B" }, true), (std::vector<std::string> { "B", "a" }));
}

TEST(QSSORTTest, ComparisonsFollowBytes)
{
    EXPECT_EQ(Sorted({ "b", "_x", "A" }, false), (std::vector<std::string> { "_x", "A", "b" }));
    EXPECT_EQ(
        Sorted({ "b", "_x", "A", "a" }, true), (std::vector<std::string> { "A", "_x", "a", "b" }));
    EXPECT_EQ(Sorted({ "\xE9t\xE9", "z", "ab", "a" }, false),
        (std::vector<std::string> { "a", "ab", "z", "\xE9t\xE9" }));
}

TEST(QSSORTTest, ExchangedLinksGiveDescendingOrder)
{
    EXPECT_EQ(Sorted({ "b", "README", "c", "readme", "a" }, false, true),
        (std::vector<std::string> { "readme", "README", "c", "b", "a" }));
}

TEST(QSSORTTest, AgreesWithAStableSortOnRandomNames)
{
    std::mt19937 random(20240611);
    const std::string alphabet = "aAbB_.1";
    for (int round = 0; round < 300; ++round) {
        std::size_t n = random() % 120;
        std::vector<std::string> names(n);
        for (std::string& name : names) {
            std::size_t length = random() % 4;
            for (std::size_t i = 0; i < length; ++i) {
                name.push_back(alphabet[random() % alphabet.size()]);
            }
        }
        bool caseSensitive = round % 2 == 1;
        auto key = [caseSensitive](const std::string& s) { return caseSensitive ? s : Lowered(s); };
        std::vector<std::string> expected = names;
        std::stable_sort(expected.begin(), expected.end(),
            [&key](const auto& a, const auto& b) { return key(a) < key(b); });
        std::vector<std::string> sorted = Sorted(names, caseSensitive, round % 3 == 0);
        if (round % 3 == 0) {
            std::reverse(sorted.begin(), sorted.end());
        }
        std::vector<std::string> sortedKeys;
        std::vector<std::string> expectedKeys;
        for (std::size_t i = 0; i < n; ++i) {
            sortedKeys.push_back(key(sorted[i]));
            expectedKeys.push_back(key(expected[i]));
        }
        ASSERT_EQ(sortedKeys, expectedKeys) << "round " << round;
        std::sort(sorted.begin(), sorted.end());
        std::sort(expected.begin(), expected.end());
        ASSERT_EQ(sorted, expected) << "round " << round;
    }
}

// Beyond the 16-bit counts: ordered, reversed and all-equal inputs of 40,000 names.
TEST(QSSORTTest, SortsFortyThousandNames)
{
    std::mt19937 random(7);
    std::vector<std::string> names;
    for (int i = 0; i < 40000; ++i) {
        names.push_back("f" + std::to_string(random() % 100000));
    }
    std::vector<std::string> expected = names;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Sorted(names, false), expected);
    EXPECT_EQ(Sorted(expected, false), expected);
    std::vector<std::string> reversed(expected.rbegin(), expected.rend());
    EXPECT_EQ(Sorted(reversed, false), expected);
    std::vector<std::string> equal(40000, "same");
    EXPECT_EQ(Sorted(equal, true), equal);
}

} // namespace
} // namespace trawlit
