#include <string>

#include <gtest/gtest.h>

#include "core/formats/GrepRecords.h"
#include "core/formats/JsonLinesRecords.h"
#include "core/formats/JsonText.h"

namespace trawlit {
namespace {

struct StringOut : TextOut {
    void Write(std::string_view text) override { written += text; }
    std::string written;
};

TEST(JsonTextTest, StringsAreEscapedAndBadUtf8Replaced)
{
    const std::string replacement = "\xEF\xBF\xBD";
    struct Case {
        std::string bytes;
        std::string json;
        bool exact;
    };
    const Case cases[] = {
        { "plain text", "\"plain text\"", true },
        { "say \"hi\" \\ there", R"("say \"hi\" \\ there")", true },
        { "\t\n\r", R"("\t\n\r")", true },
        { std::string("a\0b\x01\x1f\x7f", 6),
            R"("a\u0000b\u0001\u001f)"
            "\x7f\"",
            true },
        { "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80",
            "\"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80\"", true },
        { "caf\xE9", "\"caf" + replacement + "\"", false }, // Windows-1252 e acute
        { "\xC0\xAF", "\"" + replacement + replacement + "\"", false }, // overlong "/"
        { "\xED\xA0\x80", "\"" + replacement + replacement + replacement + "\"",
            false }, // surrogate
        { "\xF4\x90\x80\x80x", "\"" + replacement + replacement + replacement + replacement + "x\"",
            false }, // past U+10FFFF
        { "end\xE2\x82", "\"end" + replacement + replacement + "\"", false }, // cut short
    };
    for (const Case& test : cases) {
        std::string out;
        EXPECT_EQ(AppendJsonString(out, test.bytes), test.exact) << test.json;
        EXPECT_EQ(out, test.json);
    }
}

TEST(JsonTextTest, Base64FollowsTheStandardVectors)
{
    const std::pair<std::string, std::string> cases[] = { { "", "" }, { "f", "Zg==" },
        { "fo", "Zm8=" }, { "foo", "Zm9v" }, { "foob", "Zm9vYg==" }, { "\xFF\xFE", "//4=" } };
    for (const auto& [bytes, encoded] : cases) {
        std::string out;
        AppendBase64(out, bytes);
        EXPECT_EQ(out, encoded) << bytes;
    }
}

TEST(JsonLinesRecordsTest, RecordsOfARun)
{
    JsonLinesRecords records("/home/u");
    StringOut out;
    const PrintedFile file { "src/sub/a.c", "/sub/a.c", "sub/a.c", "src/sub/A.C" };
    records.MatchingFile(out, file);
    records.MatchLine(out, file, 3, "x = \"needle\"; _", false);
    records.MatchLine(out, file, 4, "\tcaf\xE9", true);
    records.Summary(out, RunCounters { 5, 1, 2 }, true);
    const std::string where = R"("path":"sub/a.c","absolute":"/home/u/src/sub/a.c")";
    EXPECT_EQ(out.written,
        R"({"type":"file",)" + where + "}\n" + R"({"type":"match",)" + where
            + R"(,"line":3,"text":"x = \"needle\"; _"})" + "\n" + R"({"type":"continuation",)"
            + where + R"(,"line":4,"text":"\tcaf)" + "\xEF\xBF\xBD"
            + R"(","text_base64":"CWNhZuk="})" + "\n"
            + R"({"type":"summary","files_searched":5,"matching_files":1,"matches":2,"aborted":true})"
            + "\n");
}

TEST(JsonLinesRecordsTest, CountsOnlyGivesOneCountRecordPerFile)
{
    JsonLinesRecords records("/w");
    StringOut out;
    records.FileCount(out, PrintedFile { "/r/x.txt", "/x.txt", "x.txt", "/r/X.TXT" }, 0);
    EXPECT_EQ(out.written,
        R"({"type":"count","path":"x.txt","absolute":"/r/x.txt","count":0})"
        "\n");
}

TEST(JsonLinesRecordsTest, AbsolutePathsJoinTheWorkingFolder)
{
    const std::tuple<std::string, std::string, std::string> cases[] = {
        { "/r/a.txt", "/w", "/r/a.txt" }, { "src/a.txt", "/w", "/w/src/a.txt" },
        { "./././a.txt", "/w/", "/w/a.txt" },
        { "src/a.txt", "", "src/a.txt" }, // working folder unknown: as walked
    };
    for (const auto& [display, working, absolute] : cases) {
        EXPECT_EQ(AbsoluteDisplayPath(display, working), absolute);
    }
}

TEST(GrepRecordsTest, MatchesContinuationsAndCounts)
{
    GrepRecords records;
    StringOut out;
    const PrintedFile file { "src/a.c", "/a.c", "a.c", "src/A.C" };
    records.MatchingFile(out, file);
    // A long line comes in parts: the record takes it whole.
    records.BeginLine(out, file, 12, false);
    records.LineText(out, "call(");
    records.LineText(out, "x, _");
    records.EndLine(out);
    records.MatchLine(out, file, 13, "  y:z)", true);
    records.FileCount(out, file, 7);
    records.Summary(out, RunCounters { 1, 1, 2 }, false);
    EXPECT_EQ(out.written, "src/a.c:12:call(x, _\nsrc/a.c-13-  y:z)\nsrc/a.c:7\n");
}

} // namespace
} // namespace trawlit
