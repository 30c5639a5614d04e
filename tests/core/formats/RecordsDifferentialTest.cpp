// The jsonl and grep formats against the results file: on a generated tree, with each set of
// options, all three must list the same hits in the same order.
#include <cctype>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/files/FileRoutines.h"
#include "core/formats/GrepRecords.h"
#include "core/formats/JsonLinesRecords.h"
#include "core/searchrun/SearchRun.h"
#include "fakes/FakeRunView.h"
#include "fakes/RecordingDialogs.h"
#include "fakes/TempFolder.h"
#include "platform/PosixPlatform.h"

namespace trawlit {
namespace {

using fakes::TempFolder;

// One line a format lists: a match (with its number), a continuation, or a file's count.
struct Hit {
    std::string path; // below the root
    std::int64_t number = 0; // line number of a match, count of a counts line, 0 otherwise
    std::string text;
    bool continuation = false;
    bool operator==(const Hit&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Hit& hit)
{
    return out << hit.path << (hit.continuation ? "-" : ":") << hit.number << ":" << hit.text;
}

std::vector<std::string> SplitLines(const std::string& text, const std::string& end)
{
    std::vector<std::string> lines;
    for (std::size_t at = 0, next = 0; at < text.size(); at = next + end.size()) {
        next = text.find(end, at);
        next = next == std::string::npos ? text.size() : next;
        lines.push_back(text.substr(at, next - at));
    }
    return lines;
}

// The results file's body: blocks of matches, or counts lines (with the name upper-cased).
std::vector<Hit> HitsOfResultsFile(const std::string& text, const std::string& root)
{
    std::vector<Hit> hits;
    std::string path;
    const std::vector<std::string> lines = SplitLines(text, "\r\n");
    for (std::size_t i = 14; i < lines.size() && lines[i] != "----------------"; ++i) {
        const std::string& line = lines[i];
        if (line.empty()) {
            continue;
        }
        if (line.size() > 10 && line.compare(10, root.size() + 1, root + "/") == 0) {
            hits.push_back(
                { line.substr(10 + root.size() + 1), std::stoll(line.substr(0, 8)), {} });
        } else if (line[0] != '\t') {
            path = line.substr(1);
        } else {
            const std::size_t tab = line.find('\t', 1);
            const bool continuation = line[1] == ' ';
            hits.push_back({ path, continuation ? 0 : std::stoll(line.substr(1)),
                line.substr(tab + 1), continuation });
        }
    }
    return hits;
}

// The value of `"name":` in one of our records: a number, or a string with its escapes undone.
std::string Field(const std::string& record, const std::string& name)
{
    std::size_t at = record.find("\"" + name + "\":");
    EXPECT_NE(at, std::string::npos) << name << " in " << record;
    at += name.size() + 3;
    if (record[at] != '"') {
        return record.substr(at, record.find_first_of(",}", at) - at);
    }
    std::string value;
    for (++at; record[at] != '"'; ++at) {
        if (record[at] != '\\') {
            value += record[at];
            continue;
        }
        const char escaped = record[++at];
        if (escaped == 'u') {
            value += static_cast<char>(std::stoi(record.substr(at + 1, 4), nullptr, 16));
            at += 4;
        } else {
            value += escaped == 't' ? '\t' : escaped; // the only others made here: \" and \\ .
        }
    }
    return value;
}

std::vector<Hit> HitsOfJsonLines(const std::string& text, RunCounters& summary)
{
    std::vector<Hit> hits;
    for (const std::string& record : SplitLines(text, "\n")) {
        const std::string type = Field(record, "type");
        if (type == "summary") {
            summary = { std::stoll(Field(record, "files_searched")),
                std::stoll(Field(record, "matching_files")), std::stoll(Field(record, "matches")) };
        } else if (type == "count") {
            hits.push_back({ Field(record, "path"), std::stoll(Field(record, "count")), {} });
        } else if (type != "file") {
            const bool continuation = type == "continuation";
            hits.push_back(
                { Field(record, "path"), continuation ? 0 : std::stoll(Field(record, "line")),
                    Field(record, "text"), continuation });
        }
    }
    return hits;
}

std::vector<Hit> HitsOfGrepLines(const std::string& text, const std::string& root, bool counts)
{
    std::vector<Hit> hits;
    for (const std::string& line : SplitLines(text, "\n")) {
        const std::string rest = line.substr(root.size() + 1);
        if (counts) {
            const std::size_t colon = rest.rfind(':');
            hits.push_back({ rest.substr(0, colon), std::stoll(rest.substr(colon + 1)), {} });
            continue;
        }
        // Paths here hold no ':' or '-', so the first of either ends the path.
        const std::size_t first = rest.find_first_of(":-");
        const std::size_t second = rest.find(rest[first], first + 1);
        const bool continuation = rest[first] == '-';
        hits.push_back(
            { rest.substr(0, first), continuation ? 0 : std::stoll(rest.substr(first + 1)),
                rest.substr(second + 1), continuation });
    }
    return hits;
}

// A tree of files whose lines mix the text in several cases and spacings, lines continued
// with "_", and CR LF, LF and CR line ends.
void GenerateTree(const TempFolder& tree)
{
    const char* pieces[] = { "needle", "NeedLe", "need  le", "nee\tdle", "hay", "x \"q\" \\ y",
        "caf\xC3\xA9", "_", "  _  ", "" };
    const char* ends[] = { "\r\n", "\n", "\r" };
    const char* names[] = { "a.txt", "b.c", "sub/c.txt", "sub/deeper/d.txt", "sub/E.TXT", "z.txt" };
    std::uint32_t seed = 12345;
    auto next = [&seed](std::uint32_t below) {
        seed = seed * 1103515245U + 12345U;
        return (seed >> 16U) % below;
    };
    for (const char* name : names) {
        std::string contents;
        for (std::uint32_t line = 0, lines = 5 + next(40); line < lines; ++line) {
            for (std::uint32_t piece = 0, count = next(4); piece < count; ++piece) {
                contents += pieces[next(std::size(pieces))];
                contents += ' ';
            }
            contents += next(6) == 0 ? "_" : "";
            contents += ends[next(std::size(ends))];
        }
        tree.Write(name, contents);
    }
}

class RecordsDifferentialTest : public ::testing::Test {
protected:
    std::string Run(SearchPrinter* records)
    {
        fakes::RecordingDialogs dialogs;
        FileRoutines files { platform, dialogs };
        RunStringSearch(
            options, RunPorts { window, { platform, platform, events }, dialogs, files }, records);
        return TempFolder::ReadWholeFile(output);
    }

    TempFolder tree;
    TempFolder outside;
    std::string output = outside / "out";
    SearchOptions options;
    fakes::FakeRunView window;
    PosixPlatform platform;
    NoEventPump events;
};

TEST_F(RecordsDifferentialTest, JsonLinesAndGrepListWhatTheResultsFileLists)
{
    GenerateTree(tree);
    struct Options {
        const char* find;
        bool caseSensitive, collapse, countsOnly, subfolders;
        const char* fileTemplate;
    };
    const Options cases[] = {
        { "needle", false, false, false, true, "*.*" },
        { "NeedLe", true, false, false, true, "*.*" },
        { "need le", false, true, false, true, "*.txt" },
        { "needle", false, false, true, true, "*.*" },
        { "needle", false, true, false, false, "*.*" },
    };
    for (const Options& c : cases) {
        options.RootFolder = tree.Path();
        options.OutputPathname = output;
        options.SearchStr = c.find;
        options.FileTemplate = c.fileTemplate;
        options.CaseSensitive = c.caseSensitive;
        options.CollapseWhiteSpace = c.collapse;
        options.CountsOnly = c.countsOnly;
        options.TraverseSubfolders = c.subfolders;
        SCOPED_TRACE(std::string(c.find) + " " + c.fileTemplate);

        const std::vector<Hit> expected = HitsOfResultsFile(Run(nullptr), tree.Path());
        const auto counters = window.counters;
        JsonLinesRecords json("/");
        GrepRecords grep;
        RunCounters summary;
        EXPECT_EQ(HitsOfJsonLines(Run(&json), summary), expected);
        EXPECT_EQ(HitsOfGrepLines(Run(&grep), tree.Path(), c.countsOnly), expected);
        EXPECT_EQ(summary.TotalFileCount, counters[0]);
        EXPECT_EQ(summary.FileFoundCount, counters[1]);
        EXPECT_EQ(summary.MatchCount, counters[2]);
        EXPECT_GT(expected.size(), 2u);
    }
}

} // namespace
} // namespace trawlit
