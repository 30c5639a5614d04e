#include "core/searchrun/FileScanPool.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <new>
#include <optional>
#include <system_error>

#include "core/files/ErrorNumbers.h"

namespace trawlit {

FileScanJob::FileScanJob(FileToSearch file)
    : file_(std::move(file))
{
}

bool FileScanJob::Take(ScanRecord& into, double seconds)
{
    into.Clear();
    taking_.store(true, std::memory_order_relaxed);
    if (seconds <= 0.0 && !ready_.load(std::memory_order_acquire))
        return false;
    std::unique_lock lock(mutex_);
    const auto done = [this] { return state_ == State::Done; };
    if (shared_.Empty() && !done() && seconds > 0.0) {
        published_.wait_for(lock, std::chrono::duration<double>(seconds),
            [this, &done] { return !shared_.Empty() || done(); });
    }
    into.Append(shared_);
    ready_.store(done(), std::memory_order_relaxed);
    taken_.notify_all();
    return done();
}

void FileScanJob::Cancel()
{
    cancelled_.store(true, std::memory_order_relaxed);
    std::lock_guard lock(mutex_);
    taken_.notify_all();
}

void FileScanJob::SetState(State state)
{
    std::lock_guard lock(mutex_);
    state_ = state;
}

bool FileScanJob::Scan(FileSystem& files, LineMatcher& matcher, State scanner,
    const std::function<bool()>& runStopped, bool fromMemoryOnly)
{
    if (fromMemoryOnly && !(file_.folder && files.ReadsFromMemory(*file_.folder))) {
        notInMemory_ = true;
        SetState(State::GivenBack);
        return false;
    }
    SetState(scanner);
    runStopped_ = runStopped ? &runStopped : nullptr;
    FileRead outcome;
    try {
        SearchedFile file(
            files, file_.folder.get(), file_.name, file_.path, [this] { return AtStopCheck(); });
        if (fromMemoryOnly) {
            file.ReadFromMemoryOnly(kParallelTuning.runFromMemoryLimit);
        }
        if (file.IsOpen() && !file.LeftUnread()) {
            matcher.ScanFile(file, *this);
        }
        if (file.LeftUnread()) {
            notInMemory_ = file.NotInMemory();
            SetState(State::RunGivingBack);
        }
        outcome = file.Outcome();
    } catch (...) {
        failure_ = std::current_exception();
    }
    if (scanner == State::ByWorker && outcome.outcome == ReadOutcome::NotOpened
        && outcome.error.number == ErrorNumber::TooManyFiles) {
        std::lock_guard lock(mutex_);
        handedBack_ = true;
    }
    if (state_ == State::RunGivingBack) {
        unpublished_.Clear();
        foundSinceStopCheck_ = false;
        failure_ = nullptr; // the worker reads it again from the start
        SetState(State::GivenBack);
        return false;
    }
    Finish(outcome);
    return true;
}

void FileScanJob::ScanStraightInto(
    FileSystem& files, LineMatcher& matcher, MatchSink& sink, const std::function<bool()>& stopped)
{
    FileRead outcome;
    {
        SearchedFile file(files, file_.folder.get(), file_.name, file_.path, stopped);
        if (file.IsOpen())
            matcher.ScanFile(file, sink);
        outcome = file.Outcome();
    }
    Finish(outcome);
}

void FileScanJob::BeginMatch(std::int64_t lineNumber, bool isContinuation)
{
    foundSinceStopCheck_ = true;
    if (state_ != State::RunGivingBack)
        unpublished_.BeginMatch(lineNumber, isContinuation);
}

// A long matching line is read again in parts: they are published as they come.
void FileScanJob::AppendToMatch(std::string_view part)
{
    foundSinceStopCheck_ = true;
    if (state_ == State::RunGivingBack)
        return;
    unpublished_.AppendToMatch(part);
    if (state_ == State::ByRun)
        KeepWithinRunLimit();
    else if (unpublished_.Bytes() >= kParallelTuning.publishBytes)
        Publish();
}

void FileScanJob::EndMatch()
{
    foundSinceStopCheck_ = true;
    if (state_ != State::RunGivingBack)
        unpublished_.EndMatch();
}

// Asking again with nothing found since, or before anything was found, gives the run the
// same choices as the last time, or as before the file: such checks are not kept, so a file
// without a match leaves nothing to publish.
bool FileScanJob::AtStopCheck()
{
    if (foundSinceStopCheck_)
        unpublished_.NoteStopCheck();
    foundSinceStopCheck_ = false;
    if (state_ == State::ByRun)
        KeepWithinRunLimit();
    // The run's thread must not finish a file for the workers once it has been told to stop.
    if (state_ == State::ByRun && runStopped_ != nullptr && (*runStopped_)())
        SetState(State::RunGivingBack);
    if (state_ == State::RunGivingBack)
        return true;
    if (state_ == State::ByWorker && !unpublished_.Empty()
        && (taking_.load(std::memory_order_relaxed)
            || unpublished_.Bytes() >= kParallelTuning.publishBytes))
        Publish();
    return cancelled_.load(std::memory_order_relaxed);
}

void FileScanJob::KeepWithinRunLimit()
{
    if (unpublished_.Bytes() > kParallelTuning.runScanLimit)
        SetState(State::RunGivingBack);
}

void FileScanJob::Publish()
{
    std::unique_lock lock(mutex_);
    shared_.Append(unpublished_);
    ready_.store(true, std::memory_order_release);
    published_.notify_all();
    const auto takenOrCancelled = [this] {
        return shared_.Bytes() <= kParallelTuning.jobBudget
            || cancelled_.load(std::memory_order_relaxed);
    };
    if (takenOrCancelled()) {
        return;
    }
    ++*waitingForTurn_;
    taken_.wait(lock, takenOrCancelled);
    --*waitingForTurn_;
}

void FileScanJob::FailWith(std::exception_ptr failure)
{
    std::lock_guard lock(mutex_);
    failure_ = std::move(failure);
    state_ = State::Done;
    ready_.store(true, std::memory_order_release);
    published_.notify_all();
}

void FileScanJob::Finish(const FileRead& outcome)
{
    std::lock_guard lock(mutex_);
    shared_.Append(unpublished_);
    outcome_ = outcome;
    state_ = State::Done;
    ready_.store(true, std::memory_order_release);
    published_.notify_all();
}

FileScanPool::FileScanPool(FileSystem& files, const MatchSettings& settings, int workerCount,
    const ThreadStarter& startThread)
    : files_(files)
    , settings_(settings)
    , startThread_(startThread)
{
    workers_.reserve(static_cast<std::size_t>(std::max(workerCount, 0)));
    for (int worker = 0; worker < workerCount && StartWorker(); ++worker) { }
}

// The run goes on with the workers it has when the system gives no more.
bool FileScanPool::StartWorker()
{
    try {
        if (startThread_)
            workers_.push_back(startThread_([this] { Work(); }));
        else
            workers_.emplace_back([this] { Work(); });
        return true;
    } catch (const std::system_error&) {
        return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

FileScanPool::~FileScanPool()
{
    {
        std::lock_guard lock(mutex_);
        closing_ = true;
        for (FileScanJob* job : queue_)
            job->Cancel();
        heldBack_.clear();
    }
    queued_.notify_all();
    for (std::thread& worker : workers_)
        worker.join();
}

std::unique_ptr<FileScanJob> FileScanPool::Submit(FileToSearch file)
{
    auto job = std::make_unique<FileScanJob>(std::move(file));
    job->waitingForTurn_ = &waitingForTurn_;
    heldBack_.push_back(job.get());
    if (heldBack_.size() >= kParallelTuning.handOverBatch)
        HandOver();
    return job;
}

void FileScanPool::HandOver()
{
    if (heldBack_.empty())
        return;
    {
        std::lock_guard lock(mutex_);
        queue_.insert(queue_.end(), heldBack_.begin(), heldBack_.end());
    }
    heldBack_.clear();
    queued_.notify_all();
}

FileScanPool::ScannedHere FileScanPool::ScanOneHere(
    LineMatcher& matcher, const std::function<bool()>& stopped, bool fromMemoryOnly)
{
    FileScanJob* job = nullptr;
    {
        std::lock_guard lock(mutex_);
        // A job the run gave back is a worker's: taking it again would only give it back.
        if (queue_.empty() || queue_.front()->state_ == FileScanJob::State::GivenBack)
            return ScannedHere::NoJobWaiting;
        job = queue_.front();
        queue_.pop_front();
    }
    if (job->cancelled_.load(std::memory_order_relaxed)) {
        job->Finish({});
    } else if (!job->Scan(files_, matcher, FileScanJob::State::ByRun, stopped, fromMemoryOnly)) {
        {
            std::lock_guard lock(mutex_);
            queue_.push_front(job);
        }
        queued_.notify_one();
        return job->notInMemory_ ? ScannedHere::NotInMemory : ScannedHere::GivenBack;
    }
    return ScannedHere::Scanned;
}

bool FileScanPool::TakeBack(FileScanJob& job)
{
    HandOver();
    std::lock_guard lock(mutex_);
    if (queue_.empty() || queue_.front() != &job)
        return false;
    queue_.pop_front();
    return true;
}

// Memory that runs out on a worker is the job's failure, told on the run's thread in its turn:
// nothing may escape a worker, nor may a job it took stay undone.
void FileScanPool::Work()
{
    std::optional<LineMatcher> matcher;
    TakenJobs jobs {};
    std::size_t count = 0;
    while ((count = NextJobs(jobs)) != 0) {
        for (std::size_t k = 0; k < count; ++k) {
            FileScanJob* job = jobs[k];
            try {
                if (job->cancelled_.load(std::memory_order_relaxed)) {
                    job->Finish({});
                    continue;
                }
                if (!matcher)
                    matcher.emplace(settings_);
                job->Scan(files_, *matcher, FileScanJob::State::ByWorker);
            } catch (...) {
                job->FailWith(std::current_exception());
            }
        }
    }
}

// A worker scans the jobs it took in their order, so the oldest job not done is always under
// way or next: a worker waiting for its job's turn never holds up that turn.
std::size_t FileScanPool::NextJobs(TakenJobs& jobs)
{
    std::unique_lock lock(mutex_);
    queued_.wait(lock, [this] { return closing_ || !queue_.empty(); });
    const std::size_t count = std::min(jobs.size(), (queue_.size() + 1) / 2);
    for (std::size_t taken = 0; taken < count; ++taken) {
        jobs[taken] = queue_.front();
        queue_.pop_front();
    }
    return count;
}

} // namespace trawlit
