#pragma once

#include <string>

#include <CLI/CLI.hpp>

namespace trawlit {

// The completion script of `shell` (bash, zsh or fish) for the program whose options `app`
// holds: its subcommands, each one's options with their short forms, folders for DIR and
// ROOT, files for FILE, the listed choices where there are some. Empty for another shell.
std::string ShellCompletions(CLI::App& app, const std::string& shell);

} // namespace trawlit
