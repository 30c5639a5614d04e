#include "fakes/FaultyFileSystem.h"

#include <algorithm>

namespace trawlit::fakes {

void FaultyFileSystem::FailOpen(const std::string& where, PlatformError error)
{
    failures_.emplace(Call::Open, std::pair { where, std::move(error) });
}

void FaultyFileSystem::FailReadsAfter(const std::string& where, std::size_t bytes)
{
    readLimits_[where] = bytes;
}

void FaultyFileSystem::FailWrites(const std::string& where, PlatformError error)
{
    failures_.emplace(Call::Write, std::pair { where, std::move(error) });
}

void FaultyFileSystem::FailClose(const std::string& where, PlatformError error)
{
    failures_.emplace(Call::Close, std::pair { where, std::move(error) });
}

void FaultyFileSystem::FailRemove(const std::string& where, PlatformError error)
{
    failures_.emplace(Call::Remove, std::pair { where, std::move(error) });
}

void FaultyFileSystem::FailRenameTo(const std::string& where, PlatformError error)
{
    failures_.emplace(Call::Rename, std::pair { where, std::move(error) });
}

void FaultyFileSystem::FailListing(const std::string& folder, PlatformError error)
{
    failures_.emplace(Call::Listing, std::pair { folder, std::move(error) });
}

bool FaultyFileSystem::Names(const std::string& where, const std::string& path)
{
    if (where == "*" || where == path)
        return true;
    return path.size() > where.size() && path.ends_with(where)
        && path[path.size() - where.size() - 1] == '/';
}

PlatformError FaultyFileSystem::FailureOf(Call call, const std::string& path) const
{
    const auto [first, last] = failures_.equal_range(call);
    for (auto failure = first; failure != last; ++failure) {
        if (Names(failure->second.first, path))
            return failure->second.second;
    }
    return {};
}

void FaultyFileSystem::Pause(std::chrono::milliseconds pause) const
{
    if (pause.count() > 0 && std::this_thread::get_id() != unhurriedThread)
        std::this_thread::sleep_for(pause);
}

FileHandle FaultyFileSystem::Track(FileHandle handle, const std::string& path)
{
    if (handle == kNoFileHandle)
        return handle;
    Opened opened { path };
    for (const auto& [where, bytes] : readLimits_) {
        if (Names(where, path))
            opened.readLimit = static_cast<std::int64_t>(bytes);
    }
    const std::scoped_lock lock(openedLock_);
    opened_[handle] = opened;
    return handle;
}

std::string FaultyFileSystem::PathOf(FileHandle handle)
{
    const std::scoped_lock lock(openedLock_);
    const auto opened = opened_.find(handle);
    return opened == opened_.end() ? std::string() : opened->second.path;
}

std::unique_ptr<FolderListing> FaultyFileSystem::StartListing(
    const std::string& pattern, ListMask mask, PlatformError& error)
{
    const auto slash = pattern.rfind('/');
    const std::string folder
        = slash == std::string::npos ? std::string() : pattern.substr(0, slash);
    if (auto failure = FailureOf(Call::Listing, folder)) {
        error = failure;
        return nullptr;
    }
    return inner_.StartListing(pattern, mask, error);
}

FileHandle FaultyFileSystem::Open(const std::string& path, OpenAccess access, PlatformError& error)
{
    Pause(openPause);
    if (auto failure = FailureOf(Call::Open, path)) {
        error = failure;
        return kNoFileHandle;
    }
    return Track(inner_.Open(path, access, error), path);
}

FileHandle FaultyFileSystem::OpenListedFile(
    FolderListing& folder, std::string_view name, const std::string& path, PlatformError& error)
{
    Pause(openPause);
    if (auto failure = FailureOf(Call::Open, path)) {
        error = failure;
        return kNoFileHandle;
    }
    if (otherThreadsOutOfDescriptors && std::this_thread::get_id() != unhurriedThread) {
        error = { 67, "Too many files" };
        return kNoFileHandle;
    }
    return Track(inner_.OpenListedFile(folder, name, path, error), path);
}

void FaultyFileSystem::BeforeRead()
{
    const int number = ++reads;
    Pause(readPause);
    if (beforeRead)
        beforeRead(number);
}

std::ptrdiff_t FaultyFileSystem::Readable(
    FileHandle handle, std::int64_t offset, std::size_t size, bool moving)
{
    const std::scoped_lock lock(openedLock_);
    const auto opened = opened_.find(handle);
    if (opened == opened_.end() || opened->second.readLimit < 0)
        return static_cast<std::ptrdiff_t>(size);
    const std::int64_t from = moving ? opened->second.delivered : offset;
    if (from >= opened->second.readLimit)
        return -1;
    return static_cast<std::ptrdiff_t>(
        std::min<std::int64_t>(static_cast<std::int64_t>(size), opened->second.readLimit - from));
}

// Every read: counted, paused, held to the file's read limit; one that moves on through the
// file adds to what it delivered.
template <typename InnerRead>
std::ptrdiff_t FaultyFileSystem::ReadWithin(
    FileHandle handle, std::int64_t offset, std::size_t size, InnerRead innerRead)
{
    BeforeRead();
    const bool moving = offset == kAtReadingPosition;
    const std::ptrdiff_t readable = Readable(handle, offset, size, moving);
    if (readable < 0)
        return -1;
    const std::ptrdiff_t got = innerRead(static_cast<std::size_t>(readable));
    if (moving && got > 0) {
        const std::scoped_lock lock(openedLock_);
        opened_[handle].delivered += got;
    }
    return got;
}

std::ptrdiff_t FaultyFileSystem::Read(FileHandle handle, char* buffer, std::size_t size)
{
    return ReadWithin(handle, kAtReadingPosition, size,
        [&](std::size_t readable) { return inner_.Read(handle, buffer, readable); });
}

std::ptrdiff_t FaultyFileSystem::ReadAt(
    FileHandle handle, std::int64_t offset, char* buffer, std::size_t size)
{
    return ReadWithin(handle, offset, size,
        [&](std::size_t readable) { return inner_.ReadAt(handle, offset, buffer, readable); });
}

std::ptrdiff_t FaultyFileSystem::ReadFromMemory(
    FileHandle handle, std::int64_t offset, char* buffer, std::size_t size)
{
    if (readPause.load().count() > 0 && std::this_thread::get_id() != unhurriedThread)
        return kReadWouldWait;
    return ReadWithin(handle, offset, size, [&](std::size_t readable) {
        return inner_.ReadFromMemory(handle, offset, buffer, readable);
    });
}

bool FaultyFileSystem::Write(
    FileHandle handle, const char* data, std::size_t size, PlatformError& error)
{
    if (auto failure = FailureOf(Call::Write, PathOf(handle))) {
        error = failure;
        return false;
    }
    return inner_.Write(handle, data, size, error);
}

bool FaultyFileSystem::Close(FileHandle handle, PlatformError& error)
{
    const std::string path = PathOf(handle);
    {
        const std::scoped_lock lock(openedLock_);
        opened_.erase(handle);
    }
    const bool closed = inner_.Close(handle, error);
    if (auto failure = FailureOf(Call::Close, path)) {
        error = failure;
        return false;
    }
    return closed;
}

bool FaultyFileSystem::Remove(const std::string& path, PlatformError& error)
{
    if (auto failure = FailureOf(Call::Remove, path)) {
        error = failure;
        return false;
    }
    return inner_.Remove(path, error);
}

bool FaultyFileSystem::Rename(const std::string& from, const std::string& to, PlatformError& error)
{
    if (auto failure = FailureOf(Call::Rename, to)) {
        error = failure;
        return false;
    }
    return inner_.Rename(from, to, error);
}

} // namespace trawlit::fakes
