#include "app/cli/OutputFormat.h"

#include <cerrno>
#include <string>
#include <vector>

#include <unistd.h>

#include "app/cli/ConsoleMessages.h"
#include "core/formats/GrepRecords.h"
#include "core/formats/JsonLinesRecords.h"

namespace trawlit {

namespace {

// Empty when the working folder cannot be had (removed meanwhile): paths then stay as walked.
std::string WorkingFolder()
{
    std::vector<char> buffer(4096);
    for (;;) {
        if (getcwd(buffer.data(), buffer.size()) != nullptr) {
            return buffer.data();
        }
        if (errno != ERANGE || buffer.size() > (1U << 20U)) {
            return {};
        }
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace

void AddFormatOption(CLI::App& search, OutputFormat& format)
{
    search
        .add_option_function<std::string>(
            "-f,--format",
            [&format](const std::string& name) {
                format = name == "jsonl" ? OutputFormat::JsonLines
                    : name == "grep"     ? OutputFormat::Grep
                                         : OutputFormat::Results;
            },
            "What the output holds: results (the results file), jsonl (one JSON record per "
            "matching file, match and count, then a summary) or grep (PATH:LINE:TEXT, for "
            "editors)")
        ->type_name("FORMAT")
        ->check(CLI::IsMember({ "results", "jsonl", "grep" }))
        ->default_str("results");
}

std::unique_ptr<SearchPrinter> RecordsFor(OutputFormat format)
{
    switch (format) {
    case OutputFormat::JsonLines:
        return std::make_unique<JsonLinesRecords>(WorkingFolder());
    case OutputFormat::Grep:
        // Beside the lines, as grep tells its errors.
        return std::make_unique<GrepRecords>(
            [](const std::string& note) { PrintMessage(stderr, note); });
    case OutputFormat::Results:
        break;
    }
    return nullptr;
}

} // namespace trawlit
