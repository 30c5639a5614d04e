#include "core/tools/LineReader.h"

#include <gtest/gtest.h>

#include "core/files/FileRoutines.h"
#include "fakes/FakePlatform.h"
#include "fakes/RecordingDialogs.h"

namespace trawlit {
namespace {

std::vector<std::string> LinesOf(
    const std::string& contents, bool* failed = nullptr, LineReading reading = {})
{
    fakes::FakePlatform platform;
    fakes::RecordingDialogs dialogs;
    FileRoutines files(platform, dialogs);
    platform.AddFile("/f.txt", contents);
    std::int16_t fileNumber = 0;
    EXPECT_FALSE(files.TryOpenFile("/f.txt", fileNumber, OpenType::SequentialInput, -1));
    LineReader reader(files, fileNumber, nullptr, reading);
    std::vector<std::string> lines;
    std::string line;
    while (reader.Next(line)) {
        lines.push_back(line);
    }
    if (failed != nullptr) {
        *failed = reader.Failed();
    }
    return lines;
}

using Lines = std::vector<std::string>;

TEST(LineReaderTest, EndsLinesAtCrLfOrCrLfAndNeverAddsOneAfterTheLastEnd)
{
    struct Case {
        std::string contents;
        Lines lines;
    };
    const Case cases[] = {
        { "", {} },
        { "x", { "x" } },
        { "x\n", { "x" } },
        { "x\r\n", { "x" } },
        { "x\r", { "x" } },
        { "\n", { "" } },
        { "a\r\nb\nc\rd", { "a", "b", "c", "d" } },
        { "a\n\r\nb\r\r", { "a", "", "b", "" } },
        { "a\n\nb\n\n", { "a", "", "b", "" } },
        { "tab\there  \r\n", { "tab\there  " } },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LinesOf(c.contents), c.lines) << ::testing::PrintToString(c.contents);
    }
}

TEST(LineReaderTest, LinesAndCrLfPairsSpanningReadBlocksStayWhole)
{
    const std::string longLine(200 * 1024, 'x');
    // The CR falls on the last byte of the first 64 KiB block, its LF on the next block.
    const std::string first(64 * 1024 - 1, 'a');
    EXPECT_EQ(LinesOf(first + "\r\nb\r\n"), (Lines { first, "b" }));
    EXPECT_EQ(LinesOf(longLine + "\nend"), (Lines { longLine, "end" }));
}

TEST(LineReaderTest, ReadsEveryFormOfAFileAsUtf8Text)
{
    using namespace std::string_literals;
    struct Case {
        std::string contents;
        Lines lines;
        LineReading reading = {};
    };
    const std::string cut(LineReader::kMaxPart - 1, 'x');
    const Case cases[] = {
        { "\xFF\xFE"
          "a\0\r\0\n\0\xE9\0"s,
            { "a", "\xC3\xA9" } }, // UTF-16 LE
        { "\xFE\xFF\0a\0\n\x04\x43"s, { "a", "\xD1\x83" } }, // UTF-16 BE
        { "\xEF\xBB\xBF/D 1\n", { "/D 1" } }, // the mark is passed over
        { "caf\xC3\xA9\ncaf\xE9\n", { "caf\xC3\xA9", "caf\xC3\xA9" } }, // each line alone
        { "caf\xE9\n", { "caf\xE9" }, { .utf8Lines = false } },
        { "a\r\nb\rc", { "a\r", "\n", "b\r", "c" }, { .keepLineEnds = true } },
        // A character is never cut between two parts of a long line.
        { cut + "\xC3\xA9", { cut, "\xC3\xA9" } },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LinesOf(c.contents, nullptr, c.reading), c.lines)
            << ::testing::PrintToString(c.contents.substr(0, 40));
    }
}

} // namespace
} // namespace trawlit
