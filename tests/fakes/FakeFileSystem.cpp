#include "fakes/FakeFileSystem.h"

#include "core/text/Wildcard.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace trawlit::fakes {

struct FakeFileSystem::Node {
    EntryKind kind = EntryKind::Folder;
    FileIdentity identity;
    std::optional<FileIdentity> identityAsListed;
    std::string contents;
    bool readOnly = false;
    std::weak_ptr<Node> parent;
    std::vector<std::pair<std::string, std::shared_ptr<Node>>> children; // in listing order
    std::map<std::string, std::shared_ptr<Node>> byName;

    std::shared_ptr<Node> Child(const std::string& name) const
    {
        auto found = byName.find(name);
        return found == byName.end() ? nullptr : found->second;
    }
    void Adopt(const std::string& name, const std::shared_ptr<Node>& child)
    {
        children.emplace_back(name, child);
        byName[name] = child;
    }
};

struct FakeFileSystem::OpenFileState {
    std::shared_ptr<Node> node;
    std::string path;
    std::size_t position = 0;
    bool canRead = false;
    std::size_t delivered = 0;
    bool canWrite = false;
};

namespace {

std::vector<std::string> SplitPath(const std::string& path)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t slash = path.find('/', start);
        if (slash == std::string::npos) {
            slash = path.size();
        }
        std::string part = path.substr(start, slash - start);
        if (part == "..") {
            if (!parts.empty()) {
                parts.pop_back();
            }
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = slash + 1;
    }
    return parts;
}

std::string Normalized(const std::string& path)
{
    std::string result;
    for (const std::string& part : SplitPath(path)) {
        result += "/" + part;
    }
    return result.empty() ? "/" : result;
}

PlatformError Failure(int number, const char* description)
{
    return { number, description };
}

class VectorListing : public FolderListing {
public:
    explicit VectorListing(std::vector<ListedEntry> entries)
        : entries_(std::move(entries))
    {
    }
    bool Next(ListedEntry& entry) override
    {
        if (index_ >= entries_.size()) {
            return false;
        }
        entry = entries_[index_++];
        return true;
    }

private:
    std::vector<ListedEntry> entries_;
    std::size_t index_ = 0;
};

} // namespace

FakeFileSystem::FakeFileSystem()
    : root_(std::make_shared<Node>())
{
    root_->identity = { 1, 1 };
}

FakeFileSystem::~FakeFileSystem() = default;

std::shared_ptr<FakeFileSystem::Node> FakeFileSystem::Find(const std::string& path) const
{
    std::shared_ptr<Node> node = root_;
    for (const std::string& part : SplitPath(path)) {
        if (node->kind != EntryKind::Folder) {
            return nullptr;
        }
        node = node->Child(part);
        if (!node) {
            return nullptr;
        }
    }
    return node;
}

std::shared_ptr<FakeFileSystem::Node> FakeFileSystem::MakeParents(
    const std::string& path, std::string& leaf)
{
    std::vector<std::string> parts = SplitPath(path);
    leaf = parts.empty() ? std::string() : parts.back();
    std::shared_ptr<Node> node = root_;
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
        std::shared_ptr<Node> child = node->Child(parts[i]);
        if (!child) {
            child = std::make_shared<Node>();
            child->identity = { 1, nextInode_++ };
            child->parent = node;
            node->Adopt(parts[i], child);
        }
        node = child;
    }
    return node;
}

std::shared_ptr<FakeFileSystem::Node> FakeFileSystem::AddNode(
    const std::string& path, EntryKind kind)
{
    std::string leaf;
    std::shared_ptr<Node> parent = MakeParents(path, leaf);
    if (leaf.empty()) {
        return root_;
    }
    std::shared_ptr<Node> node = parent->Child(leaf);
    if (!node) {
        node = std::make_shared<Node>();
        node->identity = { 1, nextInode_++ };
        node->parent = parent;
        parent->Adopt(leaf, node);
    }
    node->kind = kind;
    return node;
}

void FakeFileSystem::AddFolder(const std::string& path)
{
    AddNode(path, EntryKind::Folder);
}

void FakeFileSystem::AddFile(const std::string& path, const std::string& contents)
{
    AddNode(path, EntryKind::File)->contents = contents;
}

void FakeFileSystem::AddSpecial(const std::string& path, EntryKind kind)
{
    AddNode(path, kind);
}

void FakeFileSystem::SetIdentity(const std::string& path, FileIdentity identity)
{
    if (auto node = Find(path)) {
        node->identity = identity;
    }
}

void FakeFileSystem::SetIdentityAsListed(const std::string& path, FileIdentity identity)
{
    if (auto node = Find(path)) {
        node->identityAsListed = identity;
    }
}

FileIdentity FakeFileSystem::IdentityOfPath(const std::string& path) const
{
    auto node = Find(path);
    return node ? node->identity : FileIdentity {};
}

bool FakeFileSystem::Exists(const std::string& path) const
{
    return Find(path) != nullptr;
}

std::string FakeFileSystem::Contents(const std::string& path) const
{
    auto node = Find(path);
    return node ? node->contents : std::string();
}

void FakeFileSystem::FailOpen(const std::string& path, int number, const std::string& description)
{
    openFailures_[Normalized(path)] = { number, description };
}

void FakeFileSystem::FailWrite(const std::string& path, int number, const std::string& description)
{
    writeFailures_[Normalized(path)] = { number, description };
}

void FakeFileSystem::FailRenameTo(
    const std::string& path, int number, const std::string& description)
{
    renameFailures_[Normalized(path)] = { number, description };
}

void FakeFileSystem::FailRead(const std::string& path, std::size_t afterBytes)
{
    readFailures_[Normalized(path)] = afterBytes;
}

void FakeFileSystem::FailListing(
    const std::string& folder, int number, const std::string& description)
{
    listingFailures_[Normalized(folder)] = { number, description };
}

std::unique_ptr<FolderListing> FakeFileSystem::StartListing(
    const std::string& pattern, ListMask mask, PlatformError& error)
{
    listedPatterns.push_back(pattern);
    error = {};
    if (pattern.find('\0') != std::string::npos) {
        error = Failure(52, "Bad file name or number");
        return nullptr;
    }
    std::size_t slash = pattern.rfind('/');
    std::string folder = slash == std::string::npos ? "/" : pattern.substr(0, slash);
    std::string wildcard = slash == std::string::npos ? pattern : pattern.substr(slash + 1);
    if (auto failure = listingFailures_.find(Normalized(folder));
        failure != listingFailures_.end()) {
        error = failure->second;
        return nullptr;
    }
    std::vector<ListedEntry> entries;
    std::shared_ptr<Node> node = Find(folder);
    if (!node || node->kind != EntryKind::Folder) {
        return std::make_unique<VectorListing>(std::move(entries));
    }
    bool withFolders = mask == ListMask::FilesAndFolders;
    if (withFolders) {
        std::shared_ptr<Node> parent = node->parent.lock();
        if (WildcardMatches(wildcard, ".")) {
            entries.push_back({ ".", EntryKind::Folder, node->identity });
        }
        if (WildcardMatches(wildcard, "..")) {
            entries.push_back({ "..", EntryKind::Folder, (parent ? parent : node)->identity });
        }
    }
    for (const auto& [name, child] : node->children) {
        bool isFolder = child->kind == EntryKind::Folder || child->kind == EntryKind::FolderLink;
        if ((name.front() == '.' && !listHiddenNames) || (isFolder && !withFolders)
            || !WildcardMatches(wildcard, name)) {
            continue;
        }
        entries.push_back({ name, child->kind, child->identityAsListed.value_or(child->identity) });
    }
    return std::make_unique<VectorListing>(std::move(entries));
}

EntryKind FakeFileSystem::Examine(const std::string& path)
{
    ++examineCalls;
    auto node = Find(path);
    return node ? node->kind : EntryKind::Missing;
}

FileHandle FakeFileSystem::Open(const std::string& path, OpenAccess access, PlatformError& error)
{
    error = {};
    if (path.find('\0') != std::string::npos) {
        error = Failure(52, "Bad file name or number");
        return kNoFileHandle;
    }
    std::string key = Normalized(path);
    if (auto failure = openFailures_.find(key); failure != openFailures_.end()) {
        error = failure->second;
        return kNoFileHandle;
    }
    std::shared_ptr<Node> node = Find(path);
    if (node && node->kind != EntryKind::File) {
        error = Failure(75, "Path/File access error");
        return kNoFileHandle;
    }
    bool writing = access != OpenAccess::Read;
    if (!node) {
        std::string leaf;
        std::vector<std::string> parts = SplitPath(path);
        std::string parentPath;
        for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
            parentPath += "/" + parts[i];
        }
        std::shared_ptr<Node> parent = Find(parentPath);
        if (!parent || parent->kind != EntryKind::Folder || parts.empty()) {
            error = Failure(76, "Path not found");
            return kNoFileHandle;
        }
        if (!writing) {
            error = Failure(53, "File not found");
            return kNoFileHandle;
        }
        node = AddNode(path, EntryKind::File);
    } else if (writing && node->readOnly) {
        error = Failure(70, "Permission denied");
        return kNoFileHandle;
    }
    if (access == OpenAccess::WriteTruncate) {
        node->contents.clear();
    }
    auto state = std::make_unique<OpenFileState>();
    state->node = node;
    state->path = key;
    state->canRead = access == OpenAccess::Read || access == OpenAccess::ReadWrite;
    state->canWrite = writing;
    FileHandle handle = nextHandle_++;
    handles_[handle] = std::move(state);
    return handle;
}

std::ptrdiff_t FakeFileSystem::Read(FileHandle handle, char* buffer, std::size_t size)
{
    if (onRead) {
        onRead();
    }
    auto found = handles_.find(handle);
    if (found == handles_.end() || !found->second->canRead) {
        return -1;
    }
    OpenFileState& state = *found->second;
    std::ptrdiff_t got = ReadAt(handle, static_cast<std::int64_t>(state.position), buffer, size);
    state.position += static_cast<std::size_t>(std::max<std::ptrdiff_t>(got, 0));
    return got;
}

std::ptrdiff_t FakeFileSystem::ReadAt(
    FileHandle handle, std::int64_t offset, char* buffer, std::size_t size)
{
    if (onRead) {
        onRead();
    }
    auto found = handles_.find(handle);
    if (found == handles_.end() || !found->second->canRead || offset < 0) {
        return -1;
    }
    OpenFileState& state = *found->second;
    const std::string& contents = state.node->contents;
    const auto from = static_cast<std::size_t>(offset);
    if (auto failure = readFailures_.find(state.path); failure != readFailures_.end()) {
        if (state.delivered >= failure->second) {
            return -1;
        }
        size = std::min(size, failure->second - state.delivered);
    }
    if (from >= contents.size()) {
        return 0;
    }
    std::size_t count = std::min(size, contents.size() - from);
    std::memcpy(buffer, contents.data() + from, count);
    state.delivered += count;
    return static_cast<std::ptrdiff_t>(count);
}

bool FakeFileSystem::Write(
    FileHandle handle, const char* data, std::size_t size, PlatformError& error)
{
    error = {};
    auto found = handles_.find(handle);
    if (found == handles_.end() || !found->second->canWrite) {
        error = Failure(52, "Bad file name or number");
        return false;
    }
    OpenFileState& state = *found->second;
    if (auto failure = writeFailures_.find(state.path); failure != writeFailures_.end()) {
        error = failure->second;
        return false;
    }
    std::string& contents = state.node->contents;
    if (contents.size() < state.position + size) {
        contents.resize(state.position + size);
    }
    contents.replace(state.position, size, data, size);
    state.position += size;
    return true;
}

bool FakeFileSystem::Seek(FileHandle handle, std::int64_t offset, PlatformError& error)
{
    error = {};
    auto found = handles_.find(handle);
    if (found == handles_.end() || offset < 0) {
        error = Failure(63, "Bad record number");
        return false;
    }
    found->second->position = static_cast<std::size_t>(offset);
    return true;
}

bool FakeFileSystem::Close(FileHandle handle, PlatformError& error)
{
    error = {};
    if (handles_.erase(handle) == 0) {
        error = Failure(52, "Bad file name or number");
        return false;
    }
    return true;
}

bool FakeFileSystem::IdentityOf(FileHandle handle, FileIdentity& identity)
{
    auto found = handles_.find(handle);
    if (found == handles_.end()) {
        return false;
    }
    identity = found->second->node->identity;
    return true;
}

std::int64_t FakeFileSystem::FileLength(FileHandle handle)
{
    auto found = handles_.find(handle);
    if (found == handles_.end()) {
        return -1;
    }
    return static_cast<std::int64_t>(found->second->node->contents.size());
}

std::int64_t FakeFileSystem::FileLength(const std::string& path)
{
    auto node = Find(path);
    if (!node || node->kind != EntryKind::File) {
        return -1;
    }
    return static_cast<std::int64_t>(node->contents.size());
}

bool FakeFileSystem::Remove(const std::string& path, PlatformError& error)
{
    error = {};
    std::shared_ptr<Node> node = Find(path);
    if (!node) {
        error = Failure(53, "File not found");
        return false;
    }
    if (node->kind == EntryKind::Folder || node == root_) {
        error = Failure(75, "Path/File access error");
        return false;
    }
    if (node->readOnly) {
        error = Failure(70, "Permission denied");
        return false;
    }
    std::shared_ptr<Node> parent = node->parent.lock();
    std::erase_if(parent->children, [&node](const auto& child) { return child.second == node; });
    std::erase_if(parent->byName, [&node](const auto& child) { return child.second == node; });
    return true;
}

bool FakeFileSystem::Rename(const std::string& from, const std::string& to, PlatformError& error)
{
    error = {};
    if (auto failure = renameFailures_.find(Normalized(to)); failure != renameFailures_.end()) {
        error = failure->second;
        return false;
    }
    std::shared_ptr<Node> node = Find(from);
    std::vector<std::string> parts = SplitPath(to);
    std::string parentPath;
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
        parentPath += "/" + parts[i];
    }
    std::shared_ptr<Node> newParent = parts.empty() ? nullptr : Find(parentPath);
    if (!node || node == root_) {
        error = Failure(53, "File not found");
        return false;
    }
    if (!newParent || newParent->kind != EntryKind::Folder) {
        error = Failure(76, "Path not found");
        return false;
    }
    std::shared_ptr<Node> target = newParent->Child(parts.back());
    if (target == node) {
        return true;
    }
    if (target && target->kind == EntryKind::Folder) {
        error = Failure(75, "Path/File access error");
        return false;
    }
    if (target && target->readOnly) {
        error = Failure(70, "Permission denied");
        return false;
    }
    auto detach = [](const std::shared_ptr<Node>& child) {
        std::shared_ptr<Node> parent = child->parent.lock();
        std::erase_if(
            parent->children, [&child](const auto& entry) { return entry.second == child; });
        std::erase_if(
            parent->byName, [&child](const auto& entry) { return entry.second == child; });
    };
    if (target) {
        detach(target);
    }
    detach(node);
    node->parent = newParent;
    newParent->Adopt(parts.back(), node);
    return true;
}

bool FakeFileSystem::GetReadOnly(const std::string& path, bool& readOnly)
{
    auto node = Find(path);
    if (!node) {
        return false;
    }
    readOnly = node->readOnly;
    return true;
}

bool FakeFileSystem::SetReadOnly(const std::string& path, bool readOnly)
{
    auto node = Find(path);
    if (!node) {
        return false;
    }
    node->readOnly = readOnly;
    return true;
}

} // namespace trawlit::fakes
