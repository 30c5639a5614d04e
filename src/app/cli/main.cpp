// trawlit-cli: the runs of the main window without a window, for scripts and terminals.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <CLI/CLI.hpp>

#include "Version.h"
#include "app/cli/ConsoleDialogs.h"
#include "app/cli/ConsoleWindow.h"
#include "app/cli/OutputFormat.h"
#include "app/cli/StandardOutputPlatform.h"
#include "app/cli/StopSignals.h"
#include "core/files/FileRoutines.h"
#include "core/search/SearchRun.h"
#include "core/text/TextTrim.h"
#include "core/tools/CHeaderExtraction.h"
#include "core/tools/ChangeMarkCount.h"
#include "core/tools/FolderListingTool.h"
#include "core/tools/WebCleanup.h"
#include "platform/HomeFolder.h"
#include "platform/PosixCleanedCopies.h"

namespace {

using namespace trawlit;

enum ExitStatus : int { kFoundOrDone = 0, kNoMatch = 1, kRefusedOrFailed = 2, kAborted = 3 };

using RunFunction = RunResult (*)(RunPorts);

RunResult RunWebCleanupForUser(RunPorts ports)
{
    PosixCleanedCopies copies(PosixCleanedCopies::RecordPathForUser());
    return RunWebCleanup(ports, copies);
}

// The batch tools of the main window, by subcommand.
struct BatchCommand {
    const char* name;
    const char* description;
    RunFunction run;
};

const BatchCommand kBatchCommands[] = {
    { "listing", "Write an indented listing of the folders and of the files the template admits.",
        RunFolderListing },
    { "c-headers",
        "Write the opening comment of every file the template admits, up to the line that "
        "begins with */ or #i.",
        RunCHeaderExtraction },
    { "change-marks",
        "Count the lines deleted (/D ranges) and inserted (lines that are no /C, /D or /I "
        "mark) in every file the template admits.",
        RunChangeMarkCount },
    { "web-cleanup",
        "Write beside every file whose characters a web page cannot hold a cleaned copy, named "
        "with 2 appended; list the characters dropped.",
        RunWebCleanupForUser },
};

int ExitStatusOf(const RunResult& result)
{
    switch (result.status) {
    case RunStatus::Refused:
    case RunStatus::Failed:
        return kRefusedOrFailed;
    case RunStatus::NoMatch:
    case RunStatus::Found:
    case RunStatus::Done:
        break;
    }
    if (result.aborted) {
        return kAborted;
    }
    if (result.copiesNotWritten > 0) {
        return kRefusedOrFailed;
    }
    return result.status == RunStatus::NoMatch ? kNoMatch : kFoundOrDone;
}

// True when `path` is the file standard output already writes to (--output /dev/stdout):
// the closing message must not land in the results file then.
bool IsStandardOutput(const std::string& path)
{
    struct stat named { };
    struct stat output { };
    return stat(path.c_str(), &named) == 0 && fstat(STDOUT_FILENO, &output) == 0
        && named.st_dev == output.st_dev && named.st_ino == output.st_ino;
}

// With the results on standard output, the closing message goes to standard error, and so do
// the counters only when they cannot land amid the results on the same terminal.
int RunCommand(const SearchOptions& inputs, const std::function<RunResult(RunPorts)>& run)
{
    const std::string outputPath = TrimBlanks(inputs.OutputPathname);
    const bool resultsOnStdout = outputPath == kStandardOutputName || IsStandardOutput(outputPath);
    const bool showCounters
        = isatty(STDERR_FILENO) != 0 && !(resultsOnStdout && isatty(STDOUT_FILENO) != 0);
    ConsoleWindow window(inputs, showCounters ? stderr : nullptr);
    ConsoleDialogs dialogs(window, stderr, resultsOnStdout ? stderr : stdout, !resultsOnStdout);
    StandardOutputPlatform platform;
    NoEventPump noEvents;
    FileRoutines files(platform, dialogs);
    RunPorts ports { window, { platform, platform, noEvents }, dialogs, files };
    return ExitStatusOf(run(ports));
}

// One thread per CPU by default; 1 reads every file on the run's own thread.
int DefaultThreads()
{
    return static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
}

void AddSearchCommand(
    CLI::App& app, SearchOptions& inputs, bool& rootFolderOnly, OutputFormat& format, int& threads)
{
    CLI::App* search = app.add_subcommand("search",
        "Search the files of a folder tree for a text and write the results file.\n"
        "Exit status: 0 found, 1 no match, 2 refused or failed, 3 aborted (Ctrl-C).");
    search->add_option("--root", inputs.RootFolder, "Root folder of the search")->required();
    search->add_option("--find", inputs.SearchStr, "Text to find, used as given")->required();
    search->add_option("--template", inputs.FileTemplate, "File template")->default_str("*.*");
    search->add_option("--output", inputs.OutputPathname, "Results file; - for standard output")
        ->default_str("~/Trawlit.out");
    AddFormatOption(*search, format);
    search->add_flag("--no-subfolders", rootFolderOnly, "Search the root folder only");
    search->add_flag("--case-sensitive", inputs.CaseSensitive, "Match letter case exactly");
    search->add_flag("--collapse-white-space", inputs.CollapseWhiteSpace,
        "Read every run of white space in a line as one blank");
    search->add_flag(
        "--counts-only", inputs.CountsOnly, "One count line per file instead of lines");
    search
        ->add_option("--threads", threads,
            "Threads reading files (default: one per CPU; 1 reads them one by one); the "
            "results are the same")
        ->check(CLI::Range(1, 256));
}

CLI::App* AddBatchCommand(
    CLI::App& app, const BatchCommand& command, SearchOptions& inputs, bool& rootFolderOnly)
{
    CLI::App* tool = app.add_subcommand(command.name,
        std::string(command.description)
            + "\nExit status: 0 done, 2 refused or failed, 3 aborted (Ctrl-C).");
    tool->add_option("--root", inputs.RootFolder, "Root folder of the run")->required();
    tool->add_option("--template", inputs.FileTemplate, "File template")->default_str("*.*");
    tool->add_option("--output", inputs.OutputPathname, "Results file; - for standard output")
        ->default_str("~/Trawlit.out");
    tool->add_flag("--no-subfolders", rootFolderOnly, "Run over the root folder only");
    return tool;
}

} // namespace

int main(int argc, char** argv)
{
    // First, so that a stop signal at any moment aborts the run instead of killing the program.
    InstallStopHandlers();
    CLI::App app { "Trawlit: search a folder tree for a text, or run a batch tool over it, "
                   "without a window." };
    app.require_subcommand(1);
    app.set_version_flag("--version", std::string("trawlit-cli ") + kVersionText);
    SearchOptions inputs;
    inputs.FileTemplate = "*.*";
    inputs.OutputPathname = HomeFolder() + "/Trawlit.out"; // "/Trawlit.out" without a home
    bool rootFolderOnly = false;
    OutputFormat format = OutputFormat::Results;
    int threads = DefaultThreads();
    AddSearchCommand(app, inputs, rootFolderOnly, format, threads);
    std::vector<std::pair<CLI::App*, RunFunction>> batchCommands;
    for (const BatchCommand& command : kBatchCommands) {
        batchCommands.emplace_back(
            AddBatchCommand(app, command, inputs, rootFolderOnly), command.run);
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        int code = app.exit(error);
        return code == 0 ? 0 : kRefusedOrFailed;
    }
    inputs.TraverseSubfolders = !rootFolderOnly;
    for (const auto& [command, run] : batchCommands) {
        if (command->parsed()) {
            return RunCommand(inputs, run);
        }
    }
    std::unique_ptr<SearchRecords> records = RecordsFor(format);
    // The run's thread reads files too: with N threads, N - 1 workers.
    const SearchThreads searchThreads { threads - 1, true };
    return RunCommand(inputs, [&records, searchThreads](RunPorts ports) {
        return RunStringSearch(ports, records.get(), searchThreads);
    });
}
