#include <string>

#include <gtest/gtest.h>

#include "core/formats/GrepRecords.h"
#include "core/formats/JsonLinesRecords.h"
#include "core/formats/JsonText.h"
#include "core/formats/ResultsFilePrinter.h"

namespace trawlit {
namespace {

struct StringOut : TextOut {
    void Write(std::string_view text) override { written += text; }
    std::string written;
};

// A line as the matcher hands it over: in parts when long.
void PrintLine(SearchPrinter& printer, TextOut& out, const PrintedFile& file,
    std::int64_t lineNumber, std::string_view text, bool isContinuation = false,
    std::size_t partSize = std::string_view::npos)
{
    printer.BeginLine(out, file, lineNumber, isContinuation);
    for (std::size_t at = 0; at < text.size(); at += partSize)
        printer.LineText(out, text.substr(at, partSize));
    printer.EndLine(out);
}

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

// Escaped in parts, cut anywhere (inside a sequence too), a text comes out as escaped whole.
TEST(JsonTextTest, PartsAreEscapedAsTheWhole)
{
    const std::string texts[] = { "caf\xC3\xA9 \xE2\x82\xAC\xF0\x9F\x98\x80\"x\"",
        "\xE2\x82"
        "A\xE2\xE2\x82\xAC\xC3",
        "\xF0\x9F\x98\xF0\x9F\x98\x80\xE9t\xE9" };
    for (const std::string& text : texts) {
        std::string whole;
        const bool exact = AppendJsonString(whole, text);
        for (std::size_t partSize = 1; partSize <= 4; ++partSize) {
            std::string out = "\"";
            std::string pending;
            bool partsExact = true;
            for (std::size_t at = 0; at < text.size(); at += partSize)
                partsExact = AppendJsonStringPart(out, text.substr(at, partSize), pending, false)
                    && partsExact;
            partsExact = AppendJsonStringPart(out, {}, pending, true) && partsExact;
            EXPECT_EQ(out + "\"", whole) << partSize;
            EXPECT_EQ(partsExact, exact) << partSize;
        }
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
    PrintLine(records, out, file, 3, "x = \"needle\"; _");
    PrintLine(records, out, file, 4, "\tcaf\xE9", true);
    records.Summary(out, RunCounters { 5, 1, 2 }, true, 0);
    const std::string where = R"("path":"sub/a.c","absolute":"/home/u/src/sub/a.c")";
    EXPECT_EQ(out.written,
        R"({"type":"file",)" + where + "}\n" + R"({"type":"match",)" + where
            + R"(,"line":3,"text":"x = \"needle\"; _"})" + "\n" + R"({"type":"continuation",)"
            + where + R"(,"line":4,"text":"\tcaf)" + "\xEF\xBF\xBD"
            + R"(","text_base64":"CWNhZuk="})" + "\n"
            + R"({"type":"summary","files_searched":5,"matching_files":1,"matches":2,)"
              R"("files_not_read_in_full":0,"aborted":true})"
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
    // A long line comes in parts: they are written as they come.
    records.BeginLine(out, file, 12, false);
    records.LineText(out, "call(");
    records.LineText(out, "x, _");
    records.EndLine(out);
    PrintLine(records, out, file, 13, "  y:z)", true);
    records.FileCount(out, file, 7);
    records.Summary(out, RunCounters { 1, 1, 2 }, false, 0);
    EXPECT_EQ(out.written, "src/a.c:12:call(x, _\nsrc/a.c-13-  y:z)\nsrc/a.c:7\n");
}

// A line longer than jsonl holds is written as it comes, the same record but for the exact
// bytes, which only a held line can add.
TEST(SearchPrintersTest, ALongLineIsWrittenAsItComes)
{
    const PrintedFile file { "/r/a.txt", "/a.txt", "a.txt", "/r/A.TXT" };
    const std::string line = std::string(3 * JsonLinesRecords::kHeldLineBytes, 'x') + "caf\xC3\xA9";
    for (const bool bad : { false, true }) {
        const std::string text = line + (bad ? "\xE9" : "");
        JsonLinesRecords json("/w");
        GrepRecords grep;
        std::string record
            = R"({"type":"match","path":"a.txt","absolute":"/r/a.txt","line":7,"text":)";
        AppendJsonString(record, text);
        record += bad ? ",\"text_exact\":false}\n" : "}\n";
        const std::pair<SearchPrinter*, std::string> cases[]
            = { { &json, record }, { &grep, "/r/a.txt:7:" + text + "\n" } };
        for (const auto& [printer, expected] : cases) {
            StringOut out;
            printer->BeginLine(out, file, 7, false);
            for (std::size_t at = 0; at < text.size(); at += 4096)
                printer->LineText(out, std::string_view(text).substr(at, 4096));
            // No more than jsonl's held part is kept back.
            EXPECT_GE(out.written.size() + JsonLinesRecords::kHeldLineBytes, text.size()) << bad;
            printer->EndLine(out);
            EXPECT_EQ(out.written, expected) << bad;
        }
    }
}

// A file read only part way is marked after what was found in it, in every format.
TEST(SearchPrintersTest, ACutFileIsMarkedInEveryFormat)
{
    const PrintedFile file { "r/a.txt", "/a.txt", "a.txt", "r/A.TXT" };
    std::string notes;
    ResultsFilePrinter results;
    ResultsFilePrinter counts;
    JsonLinesRecords json("/w");
    GrepRecords grep([&notes](const std::string& note) { notes += note + "\n"; });
    struct Case {
        SearchPrinter& printer;
        bool countsOnly;
        std::string written;
    };
    Case cases[] = {
        { results, false, "\t3:\tneedle\r\n\t(not read in full: Device I/O error)\r\n" },
        { counts, true, "       1  r/A.TXT\r\n          (not read in full: Device I/O error)\r\n" },
        { json, false,
            R"({"type":"match","path":"a.txt","absolute":"/w/r/a.txt","line":3,"text":"needle"})"
            "\n"
            R"({"type":"cut","path":"a.txt","absolute":"/w/r/a.txt","reason":"not read in full: Device I/O error"})"
            "\n" },
        { grep, false, "r/a.txt:3:needle\n" },
    };
    for (Case& c : cases) {
        StringOut out;
        if (c.countsOnly)
            c.printer.FileCount(out, file, 1);
        else
            PrintLine(c.printer, out, file, 3, "needle");
        c.printer.FileCut(out, file, "Device I/O error");
        EXPECT_EQ(out.written, c.written);
    }
    EXPECT_EQ(notes, "r/a.txt: (not read in full: Device I/O error)\n");
}

} // namespace
} // namespace trawlit
