// trawlit-cli: the runs of the main window without a window, for scripts and terminals.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <functional>
#include <new>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include <CLI/CLI.hpp>

#include "app/cli/CommandLine.h"
#include "app/cli/ConsoleDialogs.h"
#include "app/cli/ConsoleMessages.h"
#include "app/cli/ConsoleWindow.h"
#include "app/cli/OutputFormat.h"
#include "app/cli/ShellCompletions.h"
#include "app/cli/StandardOutputPlatform.h"
#include "app/signals/ProgramSignals.h"
#include "core/files/FileRoutines.h"
#include "core/run/RunFrame.h"
#include "core/searchrun/SearchRun.h"
#include "core/text/TextTrim.h"
#include "core/tools/CHeaderExtraction.h"
#include "core/tools/ChangeMarkCount.h"
#include "core/tools/FolderListingTool.h"
#include "core/tools/WebCleanup.h"
#include "platform/HomeFolder.h"
#include "platform/PosixCleanedCopies.h"
#include "platform/PosixPlatform.h"

namespace {

using namespace trawlit;

// A run aborted by a signal ends by that signal after its results are written; 3 is left for
// an abort without one.
enum ExitStatus : int { kFoundOrDone = 0, kNoMatch = 1, kRefusedOrFailed = 2, kAborted = 3 };

RunResult RunWebCleanupForUser(const RunInputs& inputs, RunPorts ports)
{
    PosixCleanedCopies copies(PosixCleanedCopies::RecordPathForUser());
    return RunWebCleanup(inputs, ports, copies);
}

// The batch tools of the main window, by subcommand.
const std::vector<BatchCommand> kBatchCommands = {
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
    // Like grep: whatever was not read in full makes the results incomplete.
    if (result.copiesNotWritten > 0 || result.filesNotRead > 0 || result.foldersNotRead > 0) {
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
int RunCommand(
    const SearchOptions& inputs, const std::function<RunResult(const RunInputs&, RunPorts)>& run)
{
    const std::string outputPath = TrimBlanks(inputs.OutputPathname);
    const bool resultsOnStdout = outputPath == kStandardOutputName || IsStandardOutput(outputPath);
    const bool showCounters
        = isatty(STDERR_FILENO) != 0 && !(resultsOnStdout && isatty(STDOUT_FILENO) != 0);
    ConsoleWindow window(showCounters ? stderr : nullptr);
    ConsoleDialogs dialogs(window, stderr, resultsOnStdout ? stderr : stdout, !resultsOnStdout);
    StandardOutputPlatform platform;
    NoEventPump noEvents;
    FileRoutines files(platform, dialogs);
    RunPorts ports { window, { platform, platform, noEvents }, dialogs, files };
    return ExitStatusOf(run(inputs, ports));
}

// One thread per CPU by default; 1 reads every file on the run's own thread.
int DefaultThreads()
{
    return static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
}

// Help and the version go to standard output; a usage error is one message.
int ParseFailure(CLI::App& app, const CLI::ParseError& error)
{
    if (error.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success)) {
        return app.exit(error);
    }
    PrintMessage(stderr, error.what());
    return kRefusedOrFailed;
}

int Run(const CommandLine& line)
{
    if (RunFunction tool = line.Tool()) {
        return RunCommand(line.Inputs(), tool);
    }
    std::unique_ptr<SearchPrinter> records = RecordsFor(line.Format());
    // The run's thread reads files too: with N threads, N - 1 workers.
    const SearchThreads searchThreads { line.Threads() - 1, RunReads::Anything };
    return RunCommand(
        line.Inputs(), [&records, searchThreads](const RunInputs& given, RunPorts ports) {
            return RunStringSearch(given, ports, records.get(), searchThreads);
        });
}

// `trawlit-cli --completions bash|zsh|fish`, left out of the help: how the build writes the
// completion scripts from the options themselves.
int PrintCompletions(CommandLine& line, const std::string& shell)
{
    const std::string script = ShellCompletions(line.App(), shell);
    if (script.empty()) {
        PrintMessage(stderr, "--completions: no completions for " + shell + " (bash, zsh, fish)");
        return kRefusedOrFailed;
    }
    std::fputs(script.c_str(), stdout);
    return kFoundOrDone;
}

} // namespace

int main(int argc, char** argv)
{
    // First, so that a stop signal at any moment aborts the run instead of killing the program.
    InstallConsoleSignals();
    ShareHeapsUnderAMemoryLimit();
    CommandLine line(kBatchCommands, HomeFolder(), DefaultThreads());
    if (argc == 3 && std::string(argv[1]) == "--completions") {
        return PrintCompletions(line, argv[2]);
    }
    try {
        line.App().parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return ParseFailure(line.App(), error);
    }
    if (std::optional<std::string> problem = line.Settle()) {
        PrintMessage(stderr, *problem);
        return kRefusedOrFailed;
    }
    int status = kRefusedOrFailed;
    try {
        status = Run(line);
    } catch (const std::bad_alloc&) {
        PrintMessage(stderr, kOutOfMemory);
    } catch (const std::exception& failure) {
        PrintMessage(stderr, failure.what());
    }
    // Aborted by a signal, or done as it came: either way the shell must learn of it.
    if (const int signal = StopSignalReceived(); signal != 0) {
        EndBySignal(signal);
    }
    return status;
}
