#include "core/search/LineMatcher.h"

#include "core/search/BlockBuffer.h"
#include "core/search/ReferenceLineMatcher.h"
#include "core/text/CaseFold.h"
#include "core/text/TextDecode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace trawlit {
namespace {

using test::ReferenceMatches;
using test::ReportedMatch;

constexpr std::size_t kBlock = 128 * 1024;

// Hands out a string in reads of the sizes a generator picks (all it is asked for when none).
class StringSource : public ByteSource {
public:
    explicit StringSource(std::string text, std::mt19937* random = nullptr)
        : text_(std::move(text))
        , random_(random)
        , rereadable_(random == nullptr || (*random)() % 2 == 0)
    {
    }

    // Half the random sources cannot read again, so both ways of counting lines are tried.
    bool CanReadAt() const override { return rereadable_; }
    std::ptrdiff_t ReadAt(std::int64_t offset, char* buffer, std::size_t size) override
    {
        const auto from = std::min(static_cast<std::size_t>(offset), text_.size());
        const std::size_t count = std::min(size, text_.size() - from);
        std::memcpy(buffer, text_.data() + from, count);
        return static_cast<std::ptrdiff_t>(count);
    }

    std::ptrdiff_t Read(char* buffer, std::size_t size) override
    {
        std::size_t count = std::min(size, text_.size() - position_);
        if (random_ != nullptr && count > 1) {
            const std::size_t limit = (*random_)() % 4 == 0 ? 4096 : 7;
            count = std::min(count, 1 + (*random_)() % limit);
        }
        std::memcpy(buffer, text_.data() + position_, count);
        position_ += count;
        return static_cast<std::ptrdiff_t>(count);
    }

private:
    std::string text_;
    std::size_t position_ = 0;
    std::mt19937* random_;
    bool rereadable_;
};

// Reads the given parts in turn, a null part as a failed read, then ends.
class ScriptedSource : public ByteSource {
public:
    explicit ScriptedSource(std::vector<const char*> parts)
        : parts_(std::move(parts))
    {
    }
    std::ptrdiff_t Read(char* buffer, std::size_t size) override
    {
        if (next_ == parts_.size())
            return 0;
        const char* part = parts_[next_++];
        if (part == nullptr)
            return -1;
        const std::size_t count = std::min(size, std::strlen(part));
        std::memcpy(buffer, part, count);
        return static_cast<std::ptrdiff_t>(count);
    }

private:
    std::vector<const char*> parts_;
    std::size_t next_ = 0;
};

class RecordingSink : public MatchSink {
public:
    void BeginMatch(std::int64_t lineNumber, bool isContinuation) override
    {
        matches.push_back({ lineNumber, {}, isContinuation });
    }
    void AppendToMatch(std::string_view part) override { matches.back().piece += part; }
    void EndMatch() override { }

    std::vector<ReportedMatch> matches;
};

MatchSettings Settings(
    std::string findText, bool caseSensitive, bool collapse, bool lineNumbers = true)
{
    return { std::move(findText), caseSensitive, collapse, lineNumbers };
}

std::vector<ReportedMatch> Scan(
    const std::string& file, const MatchSettings& settings, std::mt19937* random = nullptr)
{
    LineMatcher matcher(settings);
    StringSource source(file, random);
    RecordingSink sink;
    const std::int64_t count = matcher.ScanFile(source, sink);
    EXPECT_EQ(count, static_cast<std::int64_t>(sink.matches.size()));
    return sink.matches;
}

struct Example {
    const char* name;
    std::string file;
    MatchSettings settings;
    std::vector<ReportedMatch> expected;
};

// An empty text matches every piece, which shows how a file is cut into pieces.
const Example kExamples[] = {
    { "EmptyFile", "", Settings("", true, false), {} },
    { "LoneCR", "a\r", Settings("", true, false), { { 1, "a", false } } },
    { "FinalLFAddsEmptyPiece", "a\n", Settings("", true, false),
        { { 1, "a", false }, { 2, "", false } } },
    { "FinalCRLF", "a\r\n", Settings("", true, false), { { 1, "a", false } } },
    { "LFThenCRLF", "a\n\r\n", Settings("", true, false), { { 1, "a", false }, { 2, "", false } } },
    { "OnlyLF", "\n", Settings("", true, false), { { 1, "", false }, { 2, "", false } } },
    { "CRCR", "a\r\rb", Settings("", true, false),
        { { 1, "a", false }, { 2, "", false }, { 3, "b", false } } },
    { "MixedEnds", "x\ny\r\nz\rw", Settings("w", true, false), { { 4, "w", false } } },
    { "LFCR", "a\n\rb", Settings("b", true, false), { { 3, "b", false } } },
    { "NoLineNumbers", "a\nb a", Settings("a", true, false, false),
        { { 0, "a", false }, { 0, "b a", false } } },
    { "TwiceCountsOnce", "ab ab\nx", Settings("ab", true, false), { { 1, "ab ab", false } } },
    { "ContinuationChain", "foo_\nbar_  \nbaz\nqux\nfoo x", Settings("foo", true, false),
        { { 1, "foo_", false }, { 2, "bar_  ", true }, { 3, "baz", true },
            { 5, "foo x", false } } },
    { "ContinuationIsNotTested", "foo _\n\r\nfoo", Settings("foo", true, false),
        { { 1, "foo _", false }, { 2, "", true }, { 3, "foo", false } } },
    { "TrailingTabEndsChainAsRead", "foo_\t\nbar", Settings("foo", true, false),
        { { 1, "foo_\t", false } } },
    { "TrailingTabContinuesWhenCollapsed", "foo_\t\nbar_\t\nbaz", Settings("foo", true, true),
        { { 1, "foo_\t", false }, { 2, "bar_\t", true } } },
    { "FinalLFAfterContinuation", "x_\n", Settings("x", true, false),
        { { 1, "x_", false }, { 2, "", true } } },
    { "FinalCRLFAfterContinuation", "x_\r\n", Settings("x", true, false), { { 1, "x_", false } } },
    { "CollapseMatchesTab", "a\tb\nab", Settings("a b", true, true), { { 1, "a\tb", false } } },
    { "CollapseEdgeRuns", "\t x", Settings(" x", true, true), { { 1, "\t x", false } } },
    { "CollapseOffNeedsTheBlank", "a\tb", Settings("a b", true, false), {} },
    { "TwoBlanksNeverMatchCollapsed", "a  b", Settings("a  b", true, true), {} },
    { "TwoBlanksMatchAsRead", "a  b", Settings("a  b", true, false), { { 1, "a  b", false } } },
    { "TabInTextNeverMatchesCollapsed", "a\tb", Settings("a\tb", true, true), {} },
    { "BlankOnlyCollapsed", std::string("ab\na\0b\n", 7), Settings(" ", true, true),
        { { 2, std::string("a\0b", 3), false } } },
    { "IgnoreCase", "Hello WORLD\nworld", Settings("wOrLd", false, false),
        { { 1, "Hello WORLD", false }, { 2, "world", false } } },
    { "CaseSensitive", "Hello WORLD\nworld", Settings("world", true, false),
        { { 2, "world", false } } },
    { "IgnoreCaseOnlyFoldsLetters", "[x]\n{x}", Settings("{X}", false, false),
        { { 2, "{x}", false } } },
    { "IgnoreCaseCollapsed", "INT\t\tMain", Settings("int main", false, true),
        { { 1, "INT\t\tMain", false } } },
    { "LineEndInTextNeverMatches", "a\nb", Settings("a\nb", true, false), {} },
    // Every letter folds; nothing folds into ASCII; one character stays one character.
    { "FoldsLatin", "\u00C9cole\n\u00E9cole\nECOLE", Settings("\u00E9COLE", false, false),
        { { 1, "\u00C9cole", false }, { 2, "\u00E9cole", false } } },
    { "FoldsCyrillic", "\u0414\u041E\u041C\nx", Settings("\u0434\u043E\u043C", false, false),
        { { 1, "\u0414\u041E\u041C", false } } },
    { "FoldsFinalSigma", "\u039F\u03A3\n\u03BF\u03C2", Settings("\u03BF\u03C3", false, false),
        { { 1, "\u039F\u03A3", false }, { 2, "\u03BF\u03C2", false } } },
    { "NonAsciiCaseSensitive", "\u00C9cole\n\u00E9cole", Settings("\u00E9cole", true, false),
        { { 2, "\u00E9cole", false } } },
    { "KelvinSignIsNoK", "\u212A\nk", Settings("K", false, false), { { 2, "k", false } } },
    { "SharpSStaysOne", "STRASSE\nStra\u00DFe", Settings("STRA\u00DFE", false, false),
        { { 2, "Stra\u00DFe", false } } },
    { "FoldedCollapsed", "\u00C0\t \u00C9", Settings("\u00E0 \u00E9", false, true),
        { { 1, "\u00C0\t \u00C9", false } } },
    // A line that is no valid UTF-8 is Windows-1252, and is handed on as UTF-8.
    { "Windows1252Line", "caf\xE9\nCAF\xC9\ncafe", Settings("caf\u00E9", false, false),
        { { 1, "caf\u00E9", false }, { 2, "CAF\u00C9", false } } },
    { "Windows1252CaseSensitive", "CAF\xC9\ncaf\xE9", Settings("caf\u00E9", true, false),
        { { 2, "caf\u00E9", false } } },
    { "Windows1252WrittenAsUtf8", "x \x93q\x94\n\x81", Settings("x", true, false),
        { { 1, "x \u201Cq\u201D", false } } },
    { "TextTypedAsWindows1252", "caf\u00E9", Settings("caf\xE9", true, false),
        { { 1, "caf\u00E9", false } } },
    { "ValidUtf8IsNotWindows1252", "\u00C3\u00A9", Settings("\u00E9", false, false), {} },
    // A letter outside Windows-1252 is found there as its case partner's byte.
    { "Windows1252CasePartners", "\xB5\xB5\nx\x83\x83\n\xDF\xDF\n\xE5\xE5",
        Settings("\u039C\u03BC", false, false), { { 1, "\u00B5\u00B5", false } } },
    { "Windows1252HookedF", "x\x83\x83", Settings("\u0191\u0191", false, false),
        { { 1, "x\u0192\u0192", false } } },
    { "Windows1252CapitalSharpS", "\xDF\xDF", Settings("\u1E9E\u1E9E", false, false),
        { { 1, "\u00DF\u00DF", false } } },
    { "Windows1252AngstromSign", "\xC5\xE5", Settings("\u212B\u212B", false, false),
        { { 1, "\u00C5\u00E5", false } } },
    { "Windows1252PartnerNeedsCaseIgnored", "\xB5\xB5", Settings("\u03BC\u03BC", true, false), {} },
    // UTF-16 with a mark: decoded, lines as in any file.
    { "Utf16LittleEndian",
        std::string("\xFF\xFE"
                    "a\0\r\0\n\0\xC9\0x\0\n\0",
            14),
        Settings("\u00E9", false, false), { { 2, "\u00C9x", false } } },
    { "Utf16BigEndianPair", std::string("\xFE\xFF\0a\0\r\xD8\x3D\xDE\x00\0y", 12),
        Settings("y", true, false), { { 2, "\U0001F600y", false } } },
    { "Utf16LoneSurrogateAndOddByte", std::string("\xFF\xFE\x00\xDCz\0q", 7),
        Settings("z", true, false), { { 1, "\uFFFDz\uFFFD", false } } },
};

class LineMatcherExamples : public testing::TestWithParam<Example> { };

TEST_P(LineMatcherExamples, ReportsExpectedPieces)
{
    const Example& example = GetParam();
    EXPECT_EQ(Scan(example.file, example.settings), example.expected);
    EXPECT_EQ(ReferenceMatches(example.file, example.settings), example.expected) << "reference";
}

INSTANTIATE_TEST_SUITE_P(Cases, LineMatcherExamples, testing::ValuesIn(kExamples),
    [](const testing::TestParamInfo<Example>& param) { return std::string(param.param.name); });

TEST(LineMatcherBlocks, HitStraddlingBlockBoundary)
{
    for (std::size_t offset = kBlock - 8; offset <= kBlock + 1; ++offset) {
        std::string file(offset, 'x');
        file += "needle_\r\n";
        file += "next\n";
        const auto matches = Scan(file, Settings("needle", true, false));
        ASSERT_EQ(matches.size(), 2u) << offset;
        EXPECT_EQ(matches[0].piece.size(), offset + 7);
        EXPECT_EQ(matches[1], (ReportedMatch { 2, "next", true }));
    }
}

TEST(LineMatcherBlocks, CRLFSplitByBlockBoundary)
{
    std::string file(kBlock - 1, 'y');
    file += "\r\nfind\n";
    EXPECT_EQ(Scan(file, Settings("FIND", false, false)),
        (std::vector<ReportedMatch> { { 2, "find", false } }));
}

// Line ends left uncounted until the hit are counted from a second reading, whose chunks
// split a CR LF too.
TEST(LineMatcherBlocks, LateHitCountsEveryEarlierLineEndOnce)
{
    std::string file;
    for (int line = 0; line < 100000; ++line)
        file += "a\r\n"; // a CR at 131071, its LF at 131072
    file += "needle\r\n";
    EXPECT_EQ(Scan(file, Settings("needle", true, false)),
        (std::vector<ReportedMatch> { { 100001, "needle", false } }));
}

TEST(LineMatcherBlocks, LongLineSpanningBlocks)
{
    std::string file = "a\nb\r\n";
    std::string longLine = "head " + std::string(3 * kBlock + 17, 'z') + " tail_";
    file += longLine + "\n" + std::string(kBlock, 'q') + "\ntail\n";
    for (const bool collapse : { false, true }) {
        const auto matches = Scan(file, Settings("tail", true, collapse));
        ASSERT_EQ(matches.size(), 3u);
        EXPECT_EQ(matches[0], (ReportedMatch { 3, longLine, false }));
        EXPECT_EQ(matches[1].lineNumber, 4);
        EXPECT_TRUE(matches[1].isContinuation);
        EXPECT_EQ(matches[2], (ReportedMatch { 5, "tail", false }));
    }
}

class OneWaySource : public StringSource {
public:
    using StringSource::StringSource;
    bool CanReadAt() const override { return false; }
};

std::vector<ReportedMatch> ScanWith(LineMatcher& matcher, ByteSource& source)
{
    RecordingSink sink;
    matcher.ScanFile(source, sink);
    return sink.matches;
}

// Lines around and far beyond the buffer's bound, hit early, late, across a long run of white
// space or not at all: the buffer stays within its bound and the pieces are exact.
TEST(LineMatcherLongLines, BufferStaysBoundedAndPiecesExact)
{
    constexpr std::size_t kBound = BlockBuffer::kMaxCapacity;
    struct Case {
        const char* text;
        char filler;
    };
    const Case cases[] = { { "tail", 'z' }, { "HEAD", 'z' }, { "absent", 'z' }, { "ad tail", ' ' },
        { "ad\t", '\t' } };
    for (const std::size_t length : { kBound - 2 * kBlock, kBound - kBlock, kBound, 3 * kBound }) {
        for (const Case& c : cases) {
            const std::string file
                = "a\nb\r\nhead" + std::string(length, c.filler) + "tail_ \nnext\r\nlast tail";
            for (int flags = 0; flags < 4; ++flags) {
                const MatchSettings settings = Settings(c.text, false, (flags & 1) != 0, flags < 2);
                const auto expected = ReferenceMatches(file, settings);
                LineMatcher matcher(settings);
                StringSource source(file);
                EXPECT_EQ(ScanWith(matcher, source), expected)
                    << c.text << ", length " << length << ", flags " << flags;
                EXPECT_LE(matcher.BufferCapacity(), kBound);
                OneWaySource oneWay(file); // holds a line it cannot read again
                EXPECT_EQ(ScanWith(matcher, oneWay), expected) << "one way";
            }
        }
    }
}

// A source that counts what it is asked to read again.
class CountingSource : public StringSource {
public:
    using StringSource::StringSource;
    std::ptrdiff_t ReadAt(std::int64_t offset, char* buffer, std::size_t size) override
    {
        const std::ptrdiff_t got = StringSource::ReadAt(offset, buffer, size);
        readAgain += got;
        return got;
    }
    std::int64_t readAgain = 0;
};

TEST(LineMatcherLongLines, VeryLateFirstHitReadsABoundedPrefixAgain)
{
    const std::size_t lines = 24 * 1024 * 1024;
    std::string file;
    file.reserve(2 * lines + 8);
    for (std::size_t line = 0; line < lines; ++line)
        file += "x\n";
    file += "needle";
    LineMatcher matcher(Settings("needle", true, false));
    CountingSource source(file);
    RecordingSink sink;
    matcher.ScanFile(source, sink);
    EXPECT_EQ(sink.matches,
        (std::vector<ReportedMatch> { { static_cast<std::int64_t>(lines) + 1, "needle", false } }));
    EXPECT_LE(source.readAgain, 33 * 1024 * 1024);
}

// A failed read ends the file: nothing after it is searched, even where reads go on working
// (a byte that may begin a byte-order mark reads on).
TEST(LineMatcherBlocks, AFailedReadEndsTheFile)
{
    const std::pair<std::vector<const char*>, std::int64_t> cases[] = {
        { { nullptr, "needle" }, 0 },
        { { "\xFF", nullptr, "needle" }, 0 },
        { { "needle\n", nullptr, "needle" }, 1 },
    };
    for (const auto& [parts, matches] : cases) {
        LineMatcher matcher(Settings("needle", true, false));
        ScriptedSource source(parts);
        RecordingSink sink;
        EXPECT_EQ(matcher.ScanFile(source, sink), matches) << parts.size();
    }
}

TEST(LineMatcherBlocks, MatcherIsReusableAcrossFiles)
{
    LineMatcher matcher(Settings("x", true, false));
    for (const char* file : { "x_\n", "a\nx" }) {
        StringSource source(file);
        RecordingSink sink;
        matcher.ScanFile(source, sink);
        EXPECT_EQ(sink.matches, ReferenceMatches(file, Settings("x", true, false))) << file;
    }
}

// Random files built from the bytes that matter: line ends, white space, underscores, parts
// of the text, letters of both cases, NUL and bytes of 128 and above.
std::string RandomPiece(std::mt19937& random, const std::string& needle)
{
    static const char* const kParts[] = { "\r", "\n", "\r\n", " ", "  ", "\t", "_", "_ ", "a", "B",
        "b", "A", "x", "\x01", "\xe9", "\xc9", "\xff", "\u00E9", "\u00C9", "\u03C3", "\u03A3",
        "\u03C2", "\u0434", "\u0414" };
    const auto pick = random() % 30;
    if (pick < std::size(kParts))
        return kParts[pick];
    if (pick == std::size(kParts))
        return std::string(1, '\0');
    if (needle.empty())
        return "q";
    const std::size_t start = random() % needle.size();
    std::string part = needle.substr(start, 1 + random() % (needle.size() - start));
    if (random() % 2 == 0) {
        for (char& c : part)
            c = static_cast<char>(c ^ (c >= 'A' && c <= 'z' && random() % 2 == 0 ? 0x20 : 0));
    }
    return part;
}

std::string RandomNeedle(std::mt19937& random)
{
    static const char* const kCharacters[] = { "a", "A", "b", "B", "_", " ", "x", "\t", "\xe9",
        "\xc9", "\u00E9", "\u00C9", "\u03C3", "\u03C2", "\u0414" };
    std::string needle;
    const std::size_t length = random() % 12 == 0 ? 0 : 1 + random() % 5;
    for (std::size_t i = 0; i < length; ++i)
        needle += kCharacters[random() % std::size(kCharacters)];
    if (random() % 16 == 0)
        needle.insert(random() % (needle.size() + 1), 1, "\r\n\0"[random() % 3]);
    return needle;
}

std::string RandomFile(std::mt19937& random, const std::string& needle, std::size_t parts)
{
    std::string file;
    for (std::size_t i = 0; i < parts; ++i)
        file += RandomPiece(random, needle);
    return file;
}

void ExpectSameAsReference(const std::string& file, const std::string& needle, std::mt19937& random)
{
    for (int flags = 0; flags < 8; ++flags) {
        const MatchSettings settings
            = Settings(needle, (flags & 1) != 0, (flags & 2) != 0, (flags & 4) == 0);
        ASSERT_EQ(Scan(file, settings, &random), ReferenceMatches(file, settings))
            << "flags " << flags << ", text \"" << needle << "\", file size " << file.size();
    }
}

TEST(LineMatcherDifferential, AgreesWithReferenceOnSmallFiles)
{
    std::mt19937 random(20261208);
    for (int round = 0; round < 4000; ++round) {
        const std::string needle = RandomNeedle(random);
        ExpectSameAsReference(RandomFile(random, needle, random() % 60), needle, random);
        if (HasFatalFailure())
            return;
    }
}

std::string Utf16LittleEndian(const std::string& utf8)
{
    std::string utf16 = "\xFF\xFE";
    std::size_t at = 0;
    while (at < utf8.size()) {
        char32_t character = 0;
        std::size_t length = 1;
        if (!DecodeUtf8At(utf8, at, character, length))
            character = 0xFFFD;
        at += length;
        utf16 += static_cast<char>(character & 0xFF);
        utf16 += static_cast<char>(character >> 8);
    }
    return utf16;
}

TEST(LineMatcherDifferential, Utf16AgreesWithItsUtf8)
{
    std::mt19937 random(16);
    for (int round = 0; round < 300; ++round) {
        const std::string needle = RandomNeedle(random);
        const std::string file = RandomFile(random, needle, random() % 60);
        const MatchSettings settings = Settings(needle, random() % 2 == 0, random() % 2 == 0);
        ASSERT_EQ(Scan(Utf16LittleEndian(file), settings, &random),
            ReferenceMatches(Utf16LittleEndian(file), settings))
            << "text \"" << needle << "\"";
    }
}

// With case ignored, a letter outside Windows-1252 is found in a Windows-1252 line as its
// partner's byte, beside any other letter.
TEST(LineMatcherDifferential, CasePartnersInWindows1252Lines)
{
    int tried = 0;
    for (unsigned byte = 0x80; byte <= 0xFF; ++byte) {
        const char32_t inFile = Windows1252ToCodePoint(static_cast<unsigned char>(byte));
        for (const char32_t variant : CaseVariants(inFile)) {
            if (CodePointToWindows1252(variant))
                continue;
            std::string letter;
            AppendUtf8(variant, letter);
            const std::string line(2, static_cast<char>(byte));
            for (const std::string& needle : { letter + letter, letter + "\u00E9" }) {
                const std::string file = needle == letter + letter ? line : line + "\xE9";
                const MatchSettings settings = Settings(needle, false, false);
                EXPECT_EQ(Scan(file, settings).size(), 1U) << "byte " << byte;
                EXPECT_EQ(Scan(file, settings), ReferenceMatches(file, settings));
                ++tried;
            }
        }
    }
    EXPECT_GE(tried, 10);
}

TEST(LineMatcherDifferential, AgreesWithReferenceAcrossBlocks)
{
    // One text for each way of probing: whole text, a part beside a blank, a longer part,
    // nothing to probe; beyond ASCII, the bytes of one character, of two in a row.
    const std::string needles[] = { "ab", "a b", " x", "b_ ", "aB x", " ", "", "\u00E9a", "\u03C3",
        "a \u00C9", "\u0414\u03C3" };
    std::mt19937 random(7);
    std::size_t round = 0;
    for (const std::string& needle : needles) {
        std::string file = RandomFile(random, needle, 20);
        file += std::string(
            kBlock - file.size() % kBlock - 2 + round % 4, round % 2 == 0 ? 'z' : ' ');
        file += RandomFile(random, needle, 12000);
        ExpectSameAsReference(file, needle, random);
        if (HasFatalFailure())
            return;
        ++round;
    }
}

} // namespace
} // namespace trawlit
