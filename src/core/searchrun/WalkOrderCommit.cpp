#include "core/searchrun/WalkOrderCommit.h"

#include <algorithm>

namespace trawlit {

WalkOrderCommit::WalkOrderCommit(Platform platform, const MatchSettings& settings,
    SearchThreads threads, CommitTarget& target, LineMatcher* runMatcher)
    : platform_(platform)
    , threads_(threads)
    , target_(target)
    , runMatcher_(runMatcher)
    , settings_(settings)
{
    FitToLimits(platform.fileSystem);
    // The window's thread reads in place of a worker, held back until it meets a file it
    // cannot read from memory.
    if (threads_.runReads == RunReads::FromMemory && threads_.workers > 1) {
        workersHeldBack_ = 1;
    }
    pool_.emplace(
        platform.fileSystem, settings, threads_.workers - workersHeldBack_, threads_.startThread);
    // Without a worker every file is taken back and read here, as with one thread.
    if (pool_->WorkerCount() == 0) {
        threads_.runReads = RunReads::Anything;
    }
}

LineMatcher& WalkOrderCommit::RunMatcher()
{
    if (runMatcher_ == nullptr) {
        runMatcher_ = &ownMatcher_.emplace(settings_);
    }
    return *runMatcher_;
}

void WalkOrderCommit::FitToLimits(FileSystem& files)
{
    // Kept for what the run opens besides: messages, a second look at a name.
    constexpr std::int64_t kKeptFree = 2;
    const std::int64_t threadsFit = files.ThreadsMemoryAllows();
    if (threadsFit >= 0) {
        threads_.workers = static_cast<int>(std::min<std::int64_t>(threads_.workers, threadsFit));
    }
    const std::int64_t free = files.FreeDescriptors();
    if (free < 0) {
        return;
    }
    const std::int64_t usable = free - kKeptFree;
    // Read-ahead takes a descriptor for a moment, on its own thread: only where they abound.
    constexpr std::int64_t kFreeForReadAhead = 64;
    readsAhead_ = usable >= kFreeForReadAhead;
    // A file for each worker and the run, the walk's next folder and one held: else fewer workers.
    const std::int64_t workersFit = std::max<std::int64_t>(usable - 3, 0);
    threads_.workers = static_cast<int>(std::min<std::int64_t>(threads_.workers, workersFit));
    foldersHeldAtMost_
        = static_cast<std::size_t>(std::max<std::int64_t>(usable - threads_.workers - 1, 1));
}

WalkOrderCommit::~WalkOrderCommit()
{
    CancelWhatIsLeft();
}

void WalkOrderCommit::AddFile(const WalkFile& file)
{
    if (file.folder.get() != lastFolder_) {
        lastFolder_ = file.folder.get();
        ++foldersHeld_;
    }
    if (readsAhead_) {
        if (!readAhead_) {
            readAhead_ = std::make_unique<ReadAhead>(platform_.fileSystem);
        }
        readAhead_->Add(file.folder, file.name);
    }
    ++filesAdded_;
    queue_.push_back({ pool_->Submit({ file.folder, std::string(file.name), file.displayPath }),
        file.displayPath, file.checkPath, std::nullopt });
    CommitWhatIsReady();
}

void WalkOrderCommit::AddFolderNotRead(const std::string& folderPath, const PlatformError& error)
{
    queue_.push_back({ nullptr, folderPath, {}, error });
}

void WalkOrderCommit::Finish()
{
    while (!queue_.empty() && !stopped_) {
        CommitHead(true);
    }
    CancelWhatIsLeft();
}

// Writes the files the workers are done with, oldest first. Once too many are under way it
// waits until half of them are written: the walk then sleeps once per many files.
bool WalkOrderCommit::Crowded() const
{
    return foldersHeld_ >= foldersHeldAtMost_;
}

// The head leaves; the folder it held is let go unless the next file holds it too.
void WalkOrderCommit::PopHead()
{
    const FileScanJob* job = queue_.front().job.get();
    const FolderListing* folder = job != nullptr ? job->Folder() : nullptr;
    queue_.pop_front();
    if (folder == nullptr) {
        return;
    }
    const auto next = std::find_if(
        queue_.begin(), queue_.end(), [](const Queued& queued) { return queued.job != nullptr; });
    if (next != queue_.end() && next->job->Folder() == folder) {
        return;
    }
    --foldersHeld_;
    if (next == queue_.end()) {
        lastFolder_ = nullptr; // a later file of the walk's folder holds it anew
    }
}

void WalkOrderCommit::CommitWhatIsReady()
{
    const std::size_t inFlight = kParallelTuning.filesInFlight;
    const bool full = queue_.size() >= inFlight || Crowded();
    while (!queue_.empty() && !stopped_) {
        const bool wait = full && (queue_.size() > inFlight / 2 || Crowded());
        if (!CommitHead(wait)) {
            return;
        }
    }
}

// Writes what the oldest entry holds so far, exactly as if its file were searched here: the
// stop checks the worker recorded are asked again now. Returns true when the entry is done;
// with `wait`, waits for that, letting the window handle its messages meanwhile.
bool WalkOrderCommit::CommitHead(bool wait)
{
    Queued& head = queue_.front();
    // The walk asks before every folder and every file.
    if (!headBegun_ && target_.StopRequested()) {
        stopped_ = true;
        return false;
    }
    if (head.folderError) {
        target_.FolderNotRead(head.displayPath, *head.folderError);
        PopHead();
        return true;
    }
    if (!headBegun_) {
        headBegun_ = true;
        atStopCheck_ = true;
        target_.BeginFile(head.displayPath, head.checkPath);
    }
    if (wait) {
        pool_->HandOver();
    }
    const auto stopRequested = [this] { return target_.StopRequested(); };
    bool sleep = wait && threads_.runReads == RunReads::Nothing;
    for (;;) {
        const bool done = head.job->Take(taken_, sleep ? kParallelTuning.frameSeconds : 0.0);
        bool stoppedHere = !taken_.Replay(target_, stopRequested);
        if (!taken_.Empty()) {
            atStopCheck_ = taken_.EndsWithStopCheck();
        }
        // An abort while the worker reads on is heard at the last stop check written.
        stoppedHere = stoppedHere || (!done && atStopCheck_ && stopRequested());
        if (done && !stoppedHere && head.job->HandedBack()) {
            head.job->ScanStraightInto(platform_.fileSystem, RunMatcher(), target_, stopRequested);
        }
        if (stoppedHere || done) {
            FinishHead(stoppedHere);
            return true;
        }
        if (!wait) {
            return false;
        }
        pool_->HandOver();
        if (MayReadHeadHere() && pool_->TakeBack(*head.job)) {
            head.job->ScanStraightInto(platform_.fileSystem, RunMatcher(), target_, stopRequested);
            FinishHead(false);
            return true;
        }
        sleep = !ReadOneHere(stopRequested);
        if (sleep || threads_.runReads == RunReads::FromMemory) {
            DoEventsOncePerFrame();
        }
    }
}

// The window's thread reads the oldest file straight, from the disk if need be, only where no
// worker ever would: it gave the file back, and the workers all wait for later files' turns.
bool WalkOrderCommit::MayReadHeadHere() const
{
    return threads_.runReads == RunReads::Anything
        || (threads_.runReads == RunReads::FromMemory && pool_->WorkersAllWaitForTheirTurn());
}

// Rather than sleep, the run's thread reads a file no worker has taken, where it may. A file
// the window's thread found not in memory says the tree is not all there (or the file system
// cannot tell): the worker held back starts, and it tries again a window of files further on.
bool WalkOrderCommit::ReadOneHere(const std::function<bool()>& stopRequested)
{
    using Scanned = FileScanPool::ScannedHere;
    switch (threads_.runReads) {
    case RunReads::Nothing:
        return false;
    case RunReads::Anything:
        return pool_->ScanOneHere(RunMatcher(), stopRequested) != Scanned::NoJobWaiting;
    case RunReads::FromMemory:
        break;
    }
    if (filesAdded_ < readFromMemoryAgainAt_) {
        return false;
    }
    const Scanned scanned = pool_->ScanOneHere(RunMatcher(), stopRequested, true);
    if (scanned == Scanned::NotInMemory) {
        readFromMemoryAgainAt_ = filesAdded_ + kParallelTuning.filesInFlight;
        if (workersHeldBack_ > 0 && pool_->StartWorker()) {
            --workersHeldBack_;
        }
    }
    return scanned == Scanned::Scanned || scanned == Scanned::GivenBack;
}

void WalkOrderCommit::DoEventsOncePerFrame()
{
    const double now = platform_.clock.MonotonicSeconds();
    if (now >= lastEvents_ + kParallelTuning.frameSeconds) {
        lastEvents_ = now;
        platform_.events.DoEvents();
    }
}

void WalkOrderCommit::FinishHead(bool stoppedHere)
{
    Queued& head = queue_.front();
    FileRead read { ReadOutcome::Stopped, {} };
    if (stoppedHere) {
        // Still under way: it is let go once the workers are.
        head.job->Cancel();
        abandoned_.push_back(std::move(head.job));
    } else {
        if (head.job->Failure()) {
            std::rethrow_exception(head.job->Failure());
        }
        read = head.job->Outcome();
    }
    target_.EndFile(read);
    PopHead();
    headBegun_ = false;
}

void WalkOrderCommit::CancelWhatIsLeft()
{
    for (Queued& queued : queue_) {
        if (queued.job) {
            queued.job->Cancel();
        }
    }
    pool_.reset();
    queue_.clear();
    foldersHeld_ = 0;
    lastFolder_ = nullptr;
    abandoned_.clear();
}

} // namespace trawlit
