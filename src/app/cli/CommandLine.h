#pragma once

#include <optional>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "app/cli/OutputFormat.h"
#include "core/run/RunPorts.h"
#include "core/run/RunResult.h"
#include "ports/MainWindowPort.h"

namespace trawlit {

using RunFunction = RunResult (*)(const RunInputs&, RunPorts);

// A batch tool of the main window, as a subcommand.
struct BatchCommand {
    const char* name;
    const char* description;
    RunFunction run;
};

// The program's options, defined once: the parser is built from them, and so are the shell
// completions and the help.
//   trawlit-cli search [OPTIONS] TEXT [ROOT]      (or --find TEXT, --root ROOT)
//   trawlit-cli TOOL [OPTIONS] ROOT               (or --root ROOT)
class CommandLine {
public:
    CommandLine(const std::vector<BatchCommand>& tools, std::string homeFolder, int threads);
    CommandLine(const CommandLine&) = delete;
    CommandLine& operator=(const CommandLine&) = delete;

    CLI::App& App() { return app_; }
    // After a parse: settles the text and the root from the options and the plain words. The
    // reason when they do not add up, nothing when they do.
    std::optional<std::string> Settle();

    const SearchOptions& Inputs() const { return inputs_; }
    // The tool chosen; null for the search.
    RunFunction Tool() const;
    OutputFormat Format() const { return format_; }
    int Threads() const { return threads_; }

private:
    void AddSearch();
    void AddTool(const BatchCommand& tool);
    void AddShared(CLI::App& command);
    std::optional<std::string> SettleSearch();
    std::optional<std::string> SettleTool();

    CLI::App app_;
    CLI::App* search_ = nullptr;
    std::vector<std::pair<CLI::App*, RunFunction>> tools_;
    SearchOptions inputs_;
    bool rootFolderOnly_ = false;
    OutputFormat format_ = OutputFormat::Results;
    int threads_ = 1;
    // What was given for the text and the root, by option and as plain words.
    std::string findOption_;
    std::string rootOption_;
    std::string firstWord_;
    std::string secondWord_;
};

} // namespace trawlit
