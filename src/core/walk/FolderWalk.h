#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ports/FileSystem.h"

namespace trawlit {

// A file the walk admits, as the run's per-file step sees it.
struct WalkFile {
    const std::string& displayPath; // folder + "/" + name as listed: used to open the file
    const std::string& checkPath; // what results files and messages show: the listed path too
    std::string_view name;
    FileIdentity identity;
    // The listing the name came from; a step that opens the file later keeps it alive.
    const std::shared_ptr<FolderListing>& folder;
};

struct WalkSettings {
    std::string rootFolder; // as typed, trimmed, not otherwise tidied
    std::string fileTemplate = "*.*";
    bool traverseSubfolders = true;
    // A file whose name holds one of these (case ignored) is never visited.
    std::vector<std::string> skippedNameParts { ".gif", ".jpg", ".bmp", ".obj" };
    // True: a file must exist as a regular file (the search). False: every entry that is not
    // a folder is handed on (the batch tools), except FIFOs, sockets and devices.
    bool fileMustExist = true;
    // The run's own results file: never handed on, even when it lies inside the tree.
    std::optional<FileIdentity> passOver;
};

// The run-specific steps of one walk. The walk calls them in this order for every folder:
// OnFolder, then for each listed file BeforeName, VisitFile (admitted files only) and
// AfterName (every name that passed the name filters), then it stacks the sub-folders.
class WalkSteps {
public:
    virtual ~WalkSteps() = default;
    // Polled before each folder, between listed names and before each file; once it answers
    // true the walk ends at once.
    virtual bool StopRequested() = 0;
    virtual void OnFolder(const std::string& folderPath, bool isRoot)
    {
        (void)folderPath;
        (void)isRoot;
    }
    // A folder that could not be listed (no permission, a path too long to name): the walk
    // goes on without it.
    virtual void OnFolderNotRead(const std::string& folderPath, const PlatformError& error)
    {
        (void)folderPath;
        (void)error;
    }
    virtual void BeforeName() { }
    virtual void VisitFile(const WalkFile& file) = 0;
    virtual void AfterName() { }
    // After a whole walk (not one stopped), the wildcards of the template ("*.c;*.h") that
    // admitted no file anywhere in the tree, in the template's order; not called when each
    // admitted one, nor when the tree held no file to admit at all.
    virtual void OnTemplatesUnused(const std::vector<std::string>& wildcards) { (void)wildcards; }
};

// Depth first from the root: each folder's files in ascending name order (case ignored), then
// its sub-folders in ascending order, each sub-tree whole. Folders and files whose names
// begin with "." are never visited; links to folders are never descended into, and no folder
// is visited twice.
void FolderWalk(FileSystem& platform, const WalkSettings& settings, WalkSteps& steps);

// folder + "/" + name, every "//" then halved: the walk's DisplayPath.
std::string JoinDisplayPath(const std::string& folder, std::string_view name);
// How many leading characters of the walk's paths stand for the root folder as typed: its
// tidied text, with the separator after it when the root ended in one ("/src/" -> "/src/").
std::size_t RootLengthInPaths(const std::string& rootFolder);

} // namespace trawlit
