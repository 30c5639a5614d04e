#include "core/searchrun/ReadAhead.h"

#include <system_error>
#include <utility>

namespace trawlit {

ReadAhead::ReadAhead(FileSystem& files, ReadAheadTuning tuning)
    : files_(files)
    , tuning_(tuning)
{
}

ReadAhead::~ReadAhead()
{
    {
        std::lock_guard lock(mutex_);
        closing_ = true;
        pending_.clear();
    }
    added_.notify_one();
    if (thread_.joinable()) {
        thread_.join();
    }
}

void ReadAhead::Add(const std::shared_ptr<FolderListing>& folder, std::string_view name)
{
    if (!folder || noThread_) {
        return;
    }
    bool wake = false;
    {
        std::unique_lock lock(mutex_);
        if (resting_) {
            ProbeAtRest(lock, *folder, name);
            return;
        }
        sinceProbe_ = 0;
        if (pending_.size() >= tuning_.window) {
            pending_.pop_front();
        }
        pending_.push_back({ folder, std::string(name) });
        wake = idle_;
    }
    if (thread_.joinable()) {
        if (wake) {
            added_.notify_one();
        }
        return;
    }
    try {
        thread_ = std::thread([this] { Work(); });
    } catch (const std::system_error&) {
        std::lock_guard lock(mutex_);
        noThread_ = true;
        pending_.clear();
    }
}

// The walk probes itself: waking the hint thread for one file in probeEvery cost a search of a
// tree in memory a few percent where the workers keep every CPU busy.
void ReadAhead::ProbeAtRest(
    std::unique_lock<std::mutex>& lock, FolderListing& folder, std::string_view name)
{
    if (++sinceProbe_ < tuning_.probeEvery) {
        return;
    }
    sinceProbe_ = 0;
    lock.unlock();
    const ReadHint hint = Hint(folder, name);
    lock.lock();
    Noted(hint);
}

void ReadAhead::Settle()
{
    std::unique_lock lock(mutex_);
    settled_.wait(
        lock, [this] { return noThread_ || !thread_.joinable() || (idle_ && pending_.empty()); });
}

void ReadAhead::Work()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        idle_ = true;
        if (pending_.empty()) {
            settled_.notify_all();
        }
        added_.wait(lock, [this] { return closing_ || !pending_.empty(); });
        idle_ = false;
        if (closing_) {
            return;
        }
        Pending next = std::move(pending_.front());
        pending_.pop_front();
        std::shared_ptr<FolderListing> folder = next.folder.lock();
        if (!folder) {
            continue; // read and done with already
        }
        lock.unlock();
        const ReadHint hint = Hint(*folder, next.name);
        folder.reset(); // its handle may go now
        lock.lock();
        Noted(hint);
    }
}

// A hint is only a wish: whatever goes wrong with it leaves the search as it was.
ReadHint ReadAhead::Hint(FolderListing& folder, std::string_view name)
{
    try {
        return files_.HintRead(folder, name, tuning_.bytesPerFile);
    } catch (...) {
        return ReadHint::NotGiven;
    }
}

// Under the lock. A file the system had to be asked for wakes it up; a run of files already in
// memory, or that take no hint, puts it to rest, passing over what waits.
void ReadAhead::Noted(ReadHint hint)
{
    if (hint == ReadHint::Requested) {
        foundInMemory_ = 0;
        diskNeeded_ = true;
        resting_ = false;
        return;
    }
    const std::size_t restAfter = diskNeeded_ ? tuning_.restAfter : tuning_.restAtStartAfter;
    if (++foundInMemory_ >= restAfter && !resting_) {
        resting_ = true;
        pending_.clear();
    }
}

} // namespace trawlit
