#include "app/cli/CommandLine.h"

#include "Version.h"

namespace trawlit {

namespace {

constexpr const char* kDefaultOutput = "~/Trawlit.out";

bool Given(const CLI::App& command, const std::string& name)
{
    return command.count(name) > 0;
}

} // namespace

CommandLine::CommandLine(
    const std::vector<BatchCommand>& tools, std::string homeFolder, int threads)
    : app_("Trawlit: search a folder tree for a text, or run a batch tool over it, without a "
           "window.",
        "trawlit-cli")
    , threads_(threads)
{
    app_.require_subcommand(1);
    app_.set_version_flag("--version", std::string("trawlit-cli ") + kVersionText);
    inputs_.FileTemplate = "*.*";
    inputs_.OutputPathname = std::move(homeFolder) + "/Trawlit.out";
    AddSearch();
    for (const BatchCommand& tool : tools) {
        AddTool(tool);
    }
}

void CommandLine::AddSearch()
{
    search_ = app_.add_subcommand("search",
        "Search the files of a folder tree for a text and write the results file.\n"
        "Exit status: 0 found, 1 no match, 2 refused or failed; killed by SIGINT, SIGTERM or "
        "SIGHUP after the aborted run's results are written.");
    CLI::App& search = *search_;
    search
        .add_option(
            "TEXT", firstWord_, "Text to find, used as given (-- before one that begins with -)")
        ->type_name("");
    search.add_option("ROOT", secondWord_, "Root folder (default: the current folder)")
        ->type_name("DIR");
    search.add_option("--find", findOption_, "Text to find, in place of TEXT")->type_name("TEXT");
    search.add_option("--root", rootOption_, "Root folder, in place of ROOT")->type_name("DIR");
    AddShared(search);
    search.add_flag("-s,--case-sensitive", inputs_.CaseSensitive, "Match letter case exactly");
    search.add_flag("-w,--collapse-white-space", inputs_.CollapseWhiteSpace,
        "Read every run of white space in a line as one blank");
    search.add_flag(
        "-c,--counts-only", inputs_.CountsOnly, "One count line per file instead of lines");
    AddFormatOption(search, format_);
    search
        .add_option("-j,--threads", threads_,
            "Threads reading files (default: one per CPU; 1 reads them one by one); the "
            "results are the same")
        ->type_name("N")
        ->check(CLI::Range(1, 256));
}

void CommandLine::AddTool(const BatchCommand& tool)
{
    CLI::App* command = app_.add_subcommand(tool.name,
        std::string(tool.description)
            + "\nExit status: 0 done, 2 refused or failed; killed by SIGINT, SIGTERM or SIGHUP "
              "after the aborted run's results are written.");
    command->add_option("ROOT", secondWord_, "Root folder of the run")->type_name("DIR");
    command->add_option("--root", rootOption_, "Root folder, in place of ROOT")->type_name("DIR");
    AddShared(*command);
    tools_.emplace_back(command, tool.run);
}

void CommandLine::AddShared(CLI::App& command)
{
    command
        .add_option("-t,--template", inputs_.FileTemplate,
            "File template; several with ; between (*.c;*.h)")
        ->type_name("T")
        ->default_str("*.*");
    command
        .add_option("-o,--output", inputs_.OutputPathname, "Results file; - for standard output")
        ->type_name("FILE")
        ->default_str(kDefaultOutput);
    command.add_flag("-n,--no-subfolders", rootFolderOnly_, "Leave the sub-folders out");
}

std::optional<std::string> CommandLine::Settle()
{
    inputs_.TraverseSubfolders = !rootFolderOnly_;
    return search_->parsed() ? SettleSearch() : SettleTool();
}

// The text, then the root: --find comes before the plain words, --root after them, so that
// with --find the one plain word is the root.
std::optional<std::string> CommandLine::SettleSearch()
{
    std::vector<std::string> words;
    for (const char* name : { "TEXT", "ROOT" }) {
        if (Given(*search_, name)) {
            words.push_back(name == std::string("TEXT") ? firstWord_ : secondWord_);
        }
    }
    if (Given(*search_, "--find")) {
        words.insert(words.begin(), findOption_);
    }
    if (Given(*search_, "--root")) {
        words.push_back(rootOption_);
    }
    if (!Given(*search_, "--find") && !Given(*search_, "TEXT")) {
        return "search: no text to find (TEXT or --find TEXT)";
    }
    if (words.size() > 2) {
        return "search: the text or the root folder is given twice";
    }
    inputs_.SearchStr = words[0];
    inputs_.RootFolder = words.size() == 2 ? words[1] : ".";
    return std::nullopt;
}

std::optional<std::string> CommandLine::SettleTool()
{
    for (const auto& [command, run] : tools_) {
        if (!command->parsed()) {
            continue;
        }
        const bool rootWord = Given(*command, "ROOT");
        const bool rootOption = Given(*command, "--root");
        if (rootWord == rootOption) {
            return command->get_name()
                + (rootWord ? ": the root folder is given twice (--root and ROOT)"
                            : ": no root folder (ROOT or --root ROOT)");
        }
        inputs_.RootFolder = rootWord ? secondWord_ : rootOption_;
    }
    return std::nullopt;
}

RunFunction CommandLine::Tool() const
{
    for (const auto& [command, run] : tools_) {
        if (command->parsed()) {
            return run;
        }
    }
    return nullptr;
}

} // namespace trawlit
