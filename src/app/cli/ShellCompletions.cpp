#include "app/cli/ShellCompletions.h"

#include <vector>

namespace trawlit {

namespace {

enum class ValueKind { None, Any, Folder, File, Choice };

struct OptionFacts {
    std::vector<std::string> shortNames; // without the "-"
    std::vector<std::string> longNames; // without the "--"
    std::string description;
    ValueKind value = ValueKind::None;
    std::vector<std::string> choices;
};

struct CommandFacts {
    std::string name;
    std::string description;
    std::vector<OptionFacts> options;
};

std::string FirstLine(const std::string& text)
{
    return text.substr(0, text.find('\n'));
}

// The choices CLI11 shows in the type name, as in "TEXT:{results,jsonl,grep}".
std::vector<std::string> ChoicesIn(const std::string& typeName)
{
    std::vector<std::string> choices;
    const std::size_t open = typeName.find('{');
    const std::size_t close = typeName.find('}', open);
    if (open == std::string::npos || close == std::string::npos) {
        return choices;
    }
    std::string list = typeName.substr(open + 1, close - open - 1);
    for (std::size_t start = 0; start <= list.size();) {
        std::size_t comma = std::min(list.find(',', start), list.size());
        choices.push_back(list.substr(start, comma - start));
        start = comma + 1;
    }
    return choices;
}

OptionFacts FactsOf(const CLI::Option& option)
{
    OptionFacts facts { option.get_snames(), option.get_lnames(),
        FirstLine(option.get_description()), ValueKind::None, {} };
    if (option.get_items_expected_max() == 0) {
        return facts;
    }
    const std::string type = option.get_type_name();
    facts.choices = ChoicesIn(type);
    facts.value = !facts.choices.empty() ? ValueKind::Choice
        : type.rfind("DIR", 0) == 0      ? ValueKind::Folder
        : type.rfind("FILE", 0) == 0     ? ValueKind::File
                                         : ValueKind::Any;
    return facts;
}

// The named options a user sees in --help (hidden ones have no group), with --help itself.
std::vector<OptionFacts> OptionsOf(CLI::App& command)
{
    std::vector<OptionFacts> options;
    for (const CLI::Option* option : command.get_options()) {
        if (option->nonpositional() && !option->get_group().empty()) {
            options.push_back(FactsOf(*option));
        }
    }
    return options;
}

std::vector<CommandFacts> CommandsOf(CLI::App& app)
{
    std::vector<CommandFacts> commands;
    for (CLI::App* command : app.get_subcommands([](CLI::App*) { return true; })) {
        commands.push_back(
            { command->get_name(), FirstLine(command->get_description()), OptionsOf(*command) });
    }
    return commands;
}

// Text inside single quotes of a shell.
std::string Quoted(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

std::vector<std::string> DashedNames(const OptionFacts& option)
{
    std::vector<std::string> names;
    for (const std::string& name : option.shortNames) {
        names.push_back("-" + name);
    }
    for (const std::string& name : option.longNames) {
        names.push_back("--" + name);
    }
    return names;
}

std::string Joined(const std::vector<std::string>& words, const std::string& between = " ")
{
    std::string text;
    for (const std::string& word : words) {
        text += (text.empty() ? "" : between) + word;
    }
    return text;
}

// The word before the one completed, as "command:-o", for each option whose value is of `kind`.
std::vector<std::string> ValuePatterns(const std::vector<CommandFacts>& commands, ValueKind kind,
    const std::vector<std::string>& choices = {})
{
    std::vector<std::string> patterns;
    for (const CommandFacts& command : commands) {
        for (const OptionFacts& option : command.options) {
            if (option.value == kind && (kind != ValueKind::Choice || option.choices == choices)) {
                for (const std::string& name : DashedNames(option)) {
                    patterns.push_back(command.name + ":" + name);
                }
            }
        }
    }
    return patterns;
}

// One branch of a case on "command:previous word"; nothing when no option has such a value.
std::string BashCase(const std::vector<std::string>& patterns, const std::string& action)
{
    return patterns.empty() ? std::string()
                            : "    " + Joined(patterns, " | ") + ") " + action + "\n";
}

std::vector<std::string> DashedNames(const std::vector<OptionFacts>& options)
{
    std::vector<std::string> names;
    for (const OptionFacts& option : options) {
        for (const std::string& name : DashedNames(option)) {
            names.push_back(name);
        }
    }
    return names;
}

// The command line's words so far settle which command's options are offered.
std::string BashOptionsByCommand(CLI::App& app, const std::vector<CommandFacts>& commands)
{
    std::vector<std::string> topLevel;
    for (const CommandFacts& command : commands) {
        topLevel.push_back(command.name);
    }
    const std::vector<std::string> programOptions = DashedNames(OptionsOf(app));
    topLevel.insert(topLevel.end(), programOptions.begin(), programOptions.end());
    std::string cases = "    case $command in\n"
                        "    '') COMPREPLY=($(compgen -W "
        + Quoted(Joined(topLevel)) + " -- \"$cur\")); return ;;\n";
    for (const CommandFacts& command : commands) {
        cases += "    " + command.name + ") options=" + Quoted(Joined(DashedNames(command.options)))
            + " ;;\n";
    }
    return cases + "    esac\n";
}

// The word before the one completed settles what value is offered.
std::string BashValueCases(const std::vector<CommandFacts>& commands)
{
    std::string cases = "    case $command:$prev in\n";
    for (const CommandFacts& command : commands) {
        for (const OptionFacts& option : command.options) {
            if (option.value == ValueKind::Choice) {
                cases += BashCase(ValuePatterns({ command }, ValueKind::Choice, option.choices),
                    "COMPREPLY=($(compgen -W " + Quoted(Joined(option.choices))
                        + " -- \"$cur\")); return ;;");
            }
        }
    }
    return cases
        + BashCase(ValuePatterns(commands, ValueKind::Folder),
            "COMPREPLY=($(compgen -d -- \"$cur\")); return ;;")
        + BashCase(ValuePatterns(commands, ValueKind::File),
            "COMPREPLY=($(compgen -f -- \"$cur\")); return ;;")
        + BashCase(ValuePatterns(commands, ValueKind::Any), "return ;;") + "    esac\n";
}

// Plain bash, without the bash-completion package's helpers.
std::string BashScript(CLI::App& app)
{
    const std::vector<CommandFacts> commands = CommandsOf(app);
    std::vector<std::string> names;
    for (const CommandFacts& command : commands) {
        names.push_back(command.name);
    }
    return "# bash completion for trawlit-cli, written by trawlit-cli --completions bash\n"
           "_trawlit_cli()\n"
           "{\n"
           "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n"
           "    local command= options= i\n"
           "    for ((i = 1; i < COMP_CWORD; i++)); do\n"
           "        case ${COMP_WORDS[i]} in\n"
           "        "
        + Joined(names, " | ")
        + ") command=${COMP_WORDS[i]}; break ;;\n"
          "        esac\n"
          "    done\n"
        + BashOptionsByCommand(app, commands) + BashValueCases(commands)
        + "    if [[ $cur == -* ]]; then\n"
          "        COMPREPLY=($(compgen -W \"$options\" -- \"$cur\"))\n"
          "    else\n"
          "        COMPREPLY=($(compgen -d -- \"$cur\"))\n"
          "    fi\n"
          "}\n"
          "complete -F _trawlit_cli trawlit-cli\n";
}

// An option's description inside zsh's brackets.
std::string ZshExplanation(const std::string& description)
{
    std::string text;
    for (char c : description) {
        if (c == '[' || c == ']' || c == ':' || c == '\\') {
            text += '\\';
        }
        text += c;
    }
    return "[" + text + "]";
}

std::string ZshAction(const OptionFacts& option)
{
    switch (option.value) {
    case ValueKind::Folder:
        return ":folder:_files -/";
    case ValueKind::File:
        return ":file:_files";
    case ValueKind::Choice:
        return ":value:(" + Joined(option.choices) + ")";
    case ValueKind::Any:
        return ":value: ";
    case ValueKind::None:
        break;
    }
    return {};
}

std::string ZshScript(CLI::App& app)
{
    std::string script
        = "#compdef trawlit-cli\n"
          "# zsh completion for trawlit-cli, written by trawlit-cli --completions zsh\n"
          "_trawlit-cli() {\n"
          "    local -a commands\n"
          "    commands=(\n";
    const std::vector<CommandFacts> commands = CommandsOf(app);
    for (const CommandFacts& command : commands) {
        script += "        " + Quoted(command.name + ":" + command.description) + "\n";
    }
    script += "    )\n"
              "    if (( CURRENT == 2 )); then\n"
              "        _describe -t commands 'trawlit-cli command' commands\n"
              "        return\n"
              "    fi\n"
              "    local command=$words[2]\n"
              "    shift words\n"
              "    (( CURRENT-- ))\n"
              "    case $command in\n";
    for (const CommandFacts& command : commands) {
        script += "    " + command.name + ")\n        _arguments -s";
        for (const OptionFacts& option : command.options) {
            const bool value = option.value != ValueKind::None;
            for (const std::string& name : option.shortNames) {
                script += " \\\n            "
                    + Quoted("-" + name + (value ? "+" : "") + ZshExplanation(option.description)
                        + ZshAction(option));
            }
            for (const std::string& name : option.longNames) {
                script += " \\\n            "
                    + Quoted("--" + name + (value ? "=" : "") + ZshExplanation(option.description)
                        + ZshAction(option));
            }
        }
        script += " \\\n            '*:folder:_files -/'\n        ;;\n";
    }
    return script + "    esac\n}\n_trawlit-cli \"$@\"\n";
}

std::string FishOption(const std::string& condition, const OptionFacts& option)
{
    std::string line = "complete -c trawlit-cli -n " + Quoted(condition);
    for (const std::string& name : option.shortNames) {
        line += " -s " + name;
    }
    for (const std::string& name : option.longNames) {
        line += " -l " + name;
    }
    switch (option.value) {
    case ValueKind::Folder:
        line += " -x -a '(__fish_complete_directories)'";
        break;
    case ValueKind::File:
        line += " -r -F";
        break;
    case ValueKind::Choice:
        line += " -x -a " + Quoted(Joined(option.choices));
        break;
    case ValueKind::Any:
        line += " -x";
        break;
    case ValueKind::None:
        break;
    }
    return line + " -d " + Quoted(option.description) + "\n";
}

std::string FishScript(CLI::App& app)
{
    std::string script
        = "# fish completion for trawlit-cli, written by trawlit-cli --completions fish\n"
          "complete -c trawlit-cli -f\n";
    const std::vector<CommandFacts> commands = CommandsOf(app);
    for (const CommandFacts& command : commands) {
        script += "complete -c trawlit-cli -n __fish_use_subcommand -a " + command.name + " -d "
            + Quoted(command.description) + "\n";
    }
    for (const OptionFacts& option : OptionsOf(app)) {
        script += FishOption("__fish_use_subcommand", option);
    }
    for (const CommandFacts& command : commands) {
        const std::string condition = "__fish_seen_subcommand_from " + command.name;
        for (const OptionFacts& option : command.options) {
            script += FishOption(condition, option);
        }
        script += "complete -c trawlit-cli -n " + Quoted(condition)
            + " -a '(__fish_complete_directories)'\n";
    }
    return script;
}

} // namespace

std::string ShellCompletions(CLI::App& app, const std::string& shell)
{
    if (shell == "bash") {
        return BashScript(app);
    }
    if (shell == "zsh") {
        return ZshScript(app);
    }
    return shell == "fish" ? FishScript(app) : std::string();
}

} // namespace trawlit
