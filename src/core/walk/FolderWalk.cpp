#include "core/walk/FolderWalk.h"

#include "core/text/AsciiCase.h"

#include <algorithm>
#include <unordered_set>

#include "core/text/TextHelpers.h"
#include "core/text/Wildcard.h"
#include "core/walk/QSSORT.h"

namespace trawlit {

namespace {

void TidySeparators(std::string& path)
{
    ReplaceString(path, "//", "/", 0);
}

// The folder and its separator, tidied: what every path of the folder starts with.
std::string FolderPrefix(const std::string& folder)
{
    std::string prefix = folder;
    prefix.push_back('/');
    TidySeparators(prefix);
    return prefix;
}

// prefix is an already tidied folder + "/": appending a name without "/" cannot form a
// new "//", so the whole path needs no second tidy.
void JoinOnto(std::string& out, const std::string& prefix, std::string_view name)
{
    out.assign(prefix);
    out.append(name);
    if (name.find('/') != std::string_view::npos) {
        TidySeparators(out);
    }
}

// A template names files of the folder being walked, never of another: one holding a
// separator ("../*") matches nothing.
bool TemplateNamesFilesHere(const std::string& fileTemplate)
{
    return fileTemplate.find_first_of("/\\") == std::string::npos;
}

bool TakesEveryName(std::string_view wildcard)
{
    return wildcard == "*.*" || wildcard.find_first_not_of('*') == std::string_view::npos;
}

bool IsKnown(const FileIdentity& identity)
{
    return identity.device != 0 || identity.inode != 0;
}

struct IdentityHash {
    std::size_t operator()(const FileIdentity& id) const
    {
        return std::hash<std::uint64_t> {}(id.inode * 31U + id.device);
    }
};

struct EntryFacts {
    EntryKind kind = EntryKind::Missing;
    FileIdentity identity;
};

// The names of one listing, numbered from 1 as the sort expects. Buffers are kept between
// listings so that a walk over many folders does not allocate per name.
struct NameList {
    std::vector<std::string> names = std::vector<std::string>(1);
    std::vector<EntryFacts> facts = std::vector<EntryFacts>(1);
    std::size_t count = 0;

    void Clear() { count = 0; }
    void Append(ListedEntry& entry)
    {
        ++count;
        if (names.size() <= count) {
            names.emplace_back();
            facts.emplace_back();
        }
        names[count].swap(entry.name);
        facts[count] = EntryFacts { entry.kind, entry.identity };
    }
};

struct PendingFolder {
    std::string path;
    FileIdentity identity; // unknown for the root until its listing shows "."
};

class Walker {
public:
    Walker(FileSystem& platform, const WalkSettings& settings, WalkSteps& steps)
        : platform_(platform)
        , settings_(settings)
        , steps_(steps)
        , templateNamesFilesHere_(TemplateNamesFilesHere(settings.fileTemplate))
        , unusedWildcards_(TemplateParts(settings.fileTemplate))
    {
        for (const std::string& part : settings.skippedNameParts) {
            if (!part.empty()) {
                std::string lower;
                for (char c : part) {
                    lower.push_back(AsciiLower(c));
                }
                skippedParts_.push_back(std::move(lower));
            }
        }
    }

    void Run()
    {
        stack_.push_back(PendingFolder { settings_.rootFolder, {} });
        bool isRoot = true;
        while (!stack_.empty()) {
            if (steps_.StopRequested()) {
                return;
            }
            PendingFolder folder = std::move(stack_.back());
            stack_.pop_back();
            if (!FirstVisit(folder.identity)) {
                continue;
            }
            Outcome outcome = VisitFolder(folder, isRoot);
            if (outcome == Outcome::Stopped) {
                return;
            }
            if (outcome == Outcome::Visited) {
                isRoot = false;
            }
        }
        // When even a wildcard that takes every name admitted nothing, the tree has no file
        // to admit, and no template is to blame.
        if (!unusedWildcards_.empty()
            && std::none_of(unusedWildcards_.begin(), unusedWildcards_.end(), TakesEveryName)) {
            steps_.OnTemplatesUnused({ unusedWildcards_.begin(), unusedWildcards_.end() });
        }
    }

private:
    enum class Outcome : std::uint8_t { Visited, SeenBefore, Stopped };

    // Records an identity; false when it was recorded before. Unknown identities never
    // count as seen.
    bool FirstVisit(const FileIdentity& identity)
    {
        return !IsKnown(identity) || visited_.insert(identity).second;
    }

    Outcome VisitFolder(const PendingFolder& pending, bool isRoot)
    {
        const std::string& folder = pending.path;
        prefix_ = FolderPrefix(folder);

        // One listing serves both the files and the sub-folders; its "." tells the folder's
        // true identity, which a second name of a visited folder (a bind mount) only shows
        // there.
        files_.Clear();
        folders_.Clear();
        selfIdentity_ = FileIdentity {};
        bool listed
            = settings_.traverseSubfolders ? ListFilesAndFolders(folder) : ListFiles(folder);
        if (!listed) {
            return Outcome::Stopped;
        }
        if (settings_.traverseSubfolders && selfIdentity_ != pending.identity
            && !FirstVisit(selfIdentity_)) {
            return Outcome::SeenBefore;
        }
        steps_.OnFolder(folder, isRoot);
        Sort(files_, false);
        if (!VisitFiles()) {
            return Outcome::Stopped;
        }
        Sort(folders_, true);
        PushSubFolders();
        return Outcome::Visited;
    }

    // Lists the files that match the template. Returns false when a stop was requested.
    bool ListFiles(const std::string& folder)
    {
        if (!TemplateNamesFilesHere(settings_.fileTemplate)) {
            return true;
        }
        pattern_.assign(folder).append("/").append(settings_.fileTemplate);
        return List(folder, ListMask::FilesOnly, [this] { files_.Append(entry_); });
    }

    // Lists everything once: folders go to the sub-folder list, other entries that match
    // the template to the file list.
    bool ListFilesAndFolders(const std::string& folder)
    {
        pattern_.assign(folder).append("/*.*");
        return List(folder, ListMask::FilesAndFolders, [this] {
            if (entry_.kind == EntryKind::Folder) {
                if (entry_.name == ".") {
                    selfIdentity_ = entry_.identity;
                }
                folders_.Append(entry_);
            } else if (entry_.kind != EntryKind::FolderLink && templateNamesFilesHere_
                && WildcardMatches(settings_.fileTemplate, entry_.name)) {
                files_.Append(entry_);
            }
        });
    }

    template <typename TakeEntry>
    bool List(const std::string& folder, ListMask mask, TakeEntry takeEntry)
    {
        PlatformError error;
        listing_.reset(); // the walk holds one folder open; files handed on may hold theirs
        listing_ = platform_.StartListing(pattern_, mask, error);
        if (error || !listing_) {
            listing_.reset();
            if (error) {
                steps_.OnFolderNotRead(folder, error);
            }
            return true; // a folder that cannot be listed holds nothing to visit
        }
        while (listing_->Next(entry_)) {
            if (steps_.StopRequested()) {
                return false;
            }
            takeEntry();
        }
        return true;
    }

    void Sort(NameList& list, bool descending)
    {
        if (list.count < 2) {
            return;
        }
        QSSORT(list.names, list.count, next_, previous_, false);
        auto exchange = [&list](std::size_t k, std::size_t j) {
            list.names[k].swap(list.names[j]);
            std::swap(list.facts[k], list.facts[j]);
        };
        if (descending) {
            ReorderByLinks(list.count, previous_, next_, exchange);
        } else {
            ReorderByLinks(list.count, next_, previous_, exchange);
        }
    }

    bool VisitFiles()
    {
        for (std::size_t k = 1; k <= files_.count; ++k) {
            if (steps_.StopRequested()) {
                return false;
            }
            steps_.BeforeName();
            const std::string& name = files_.names[k];
            const EntryFacts& facts = files_.facts[k];
            if (name.empty() || name.front() == '.' || IsPassedOver(facts.identity)
                || HasSkippedPart(name)) {
                continue;
            }
            if (Admits(facts.kind)) {
                NoteWildcardsUsed(name);
                JoinOnto(displayPath_, prefix_, name);
                // On a case-sensitive file system only the listed name names the file: it is
                // what is opened and what is shown.
                steps_.VisitFile(
                    WalkFile { displayPath_, displayPath_, name, facts.identity, listing_ });
            }
            steps_.AfterName();
        }
        return true;
    }

    // The names stand in descending order: pushing them so leaves the smallest on top.
    void PushSubFolders()
    {
        for (std::size_t k = 1; k <= folders_.count; ++k) {
            const std::string& name = folders_.names[k];
            if (name.empty() || name.front() == '.') {
                continue;
            }
            PendingFolder folder;
            JoinOnto(folder.path, prefix_, name);
            folder.identity = folders_.facts[k].identity;
            stack_.push_back(std::move(folder));
        }
    }

    // Cheap once every wildcard has admitted a file, as soon happens in most walks.
    void NoteWildcardsUsed(std::string_view name)
    {
        std::erase_if(unusedWildcards_,
            [name](std::string_view wildcard) { return WildcardPartMatches(wildcard, name); });
    }

    bool IsPassedOver(const FileIdentity& identity) const
    {
        return settings_.passOver && IsKnown(identity) && identity == *settings_.passOver;
    }

    bool HasSkippedPart(const std::string& name)
    {
        if (skippedParts_.empty()) {
            return false;
        }
        lowerName_.clear();
        for (char c : name) {
            lowerName_.push_back(AsciiLower(c));
        }
        for (const std::string& part : skippedParts_) {
            if (lowerName_.find(part) != std::string::npos) {
                return true;
            }
        }
        return false;
    }

    // FIFOs, sockets and devices are never handed on: reading one could block the walk.
    bool Admits(EntryKind kind) const
    {
        if (settings_.fileMustExist) {
            return kind == EntryKind::File;
        }
        return kind != EntryKind::Folder && kind != EntryKind::FolderLink
            && kind != EntryKind::Other;
    }

    FileSystem& platform_;
    const WalkSettings& settings_;
    WalkSteps& steps_;
    bool templateNamesFilesHere_;
    std::vector<std::string_view> unusedWildcards_; // within settings_.fileTemplate
    std::vector<std::string> skippedParts_;
    std::vector<PendingFolder> stack_;
    std::unordered_set<FileIdentity, IdentityHash> visited_;
    // The current folder's listing, kept while its files are visited so that they can be
    // opened relative to it.
    std::shared_ptr<FolderListing> listing_;
    NameList files_;
    NameList folders_;
    FileIdentity selfIdentity_;
    SortLinks next_;
    SortLinks previous_;
    ListedEntry entry_;
    std::string prefix_;
    std::string pattern_;
    std::string displayPath_;
    std::string lowerName_;
};

} // namespace

void FolderWalk(FileSystem& platform, const WalkSettings& settings, WalkSteps& steps)
{
    Walker walker(platform, settings, steps);
    walker.Run();
}

std::string JoinDisplayPath(const std::string& folder, std::string_view name)
{
    std::string path;
    JoinOnto(path, FolderPrefix(folder), name);
    return path;
}

std::size_t RootLengthInPaths(const std::string& rootFolder)
{
    const std::size_t prefix = FolderPrefix(rootFolder).size();
    return rootFolder.ends_with('/') ? prefix : prefix - 1;
}

} // namespace trawlit
