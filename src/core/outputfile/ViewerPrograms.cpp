#include "core/outputfile/ViewerPrograms.h"

#include "core/text/AsciiCase.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string_view>
#include <system_error>
#include <vector>

namespace trawlit {

namespace fs = std::filesystem;

namespace {

bool IsExecutableFile(const fs::path& path)
{
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (error || !fs::is_regular_file(status))
        return false;
    constexpr fs::perms kAnyExecute
        = fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
    return (status.permissions() & kAnyExecute) != fs::perms::none;
}

// The entry of `folder` named `name` in some letter case; the exact name wins, and of several
// others the lowest in byte order, so the choice does not depend on listing order.
std::optional<std::string> EntryIgnoringCase(const fs::path& folder, const std::string& name)
{
    std::error_code error;
    if (fs::exists(folder / name, error))
        return name;
    std::optional<std::string> best;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::string entry = it->path().filename().string();
        if (EqualIgnoringAsciiCase(entry, name) && (!best || entry < *best))
            best = std::move(entry);
    }
    return best;
}

// `path` with each of its parts matched in any letter case; nullopt when a part is missing.
std::optional<fs::path> PathIgnoringCase(const fs::path& path)
{
    fs::path resolved = path.has_root_directory() ? path.root_path() : fs::path(".");
    for (const fs::path& part : path.relative_path()) {
        const std::string text = part.string();
        if (text.empty() || text == "." || text == "..") {
            resolved /= part;
            continue;
        }
        const std::optional<std::string> entry = EntryIgnoringCase(resolved, text);
        if (!entry)
            return std::nullopt;
        resolved /= *entry;
    }
    return resolved;
}

std::string FindExecutable(const fs::path& candidate, bool ignoreCase)
{
    if (IsExecutableFile(candidate))
        return candidate.string();
    if (!ignoreCase)
        return {};
    const std::optional<fs::path> matched = PathIgnoringCase(candidate);
    return matched && IsExecutableFile(*matched) ? matched->string() : std::string();
}

std::vector<std::string> SearchFolders(const std::string& searchPath)
{
    std::vector<std::string> folders;
    std::size_t start = 0;
    while (start <= searchPath.size()) {
        std::size_t end = searchPath.find(':', start);
        if (end == std::string::npos)
            end = searchPath.size();
        if (end > start)
            folders.push_back(searchPath.substr(start, end - start));
        start = end + 1;
    }
    return folders;
}

} // namespace

bool IsDefaultViewerName(const std::string& program)
{
    for (std::string_view name : { "NOTEPAD.EXE", "NOTEPAD", "WRITE.EXE", "WRITE" })
        if (EqualIgnoringAsciiCase(program, name))
            return true;
    return false;
}

std::string FindProgram(const std::string& name, const std::string& searchPath, bool ignoreCase)
{
    if (name.empty())
        return {};
    if (name.find('/') != std::string::npos)
        return FindExecutable(name, ignoreCase);
    for (const std::string& folder : SearchFolders(searchPath)) {
        std::string found = FindExecutable(fs::path(folder) / name, ignoreCase);
        if (!found.empty())
            return found;
    }
    return {};
}

std::string ResolveViewerProgram(const std::string& program, const std::string& searchPath)
{
    if (std::string exact = FindProgram(program, searchPath, false); !exact.empty())
        return exact;
    if (IsDefaultViewerName(program)) {
        for (const char* editor : kTextEditorStandIns)
            if (std::string found = FindProgram(editor, searchPath, false); !found.empty())
                return found;
        std::string opener = FindProgram(kDesktopOpener, searchPath, false);
        return opener.empty() ? program : opener;
    }
    std::string folded = FindProgram(program, searchPath, true);
    return folded.empty() ? program : folded;
}

std::vector<std::string> OpenWithChoices(const std::string& searchPath)
{
    std::vector<std::string> choices;
    auto addFound = [&](const auto& names) {
        for (const char* name : names)
            if (!FindProgram(name, searchPath, false).empty())
                choices.emplace_back(name);
    };
    addFound(kDocumentProgramChoices);
    addFound(kTextEditorStandIns);
    return choices;
}

} // namespace trawlit
