#include "core/searchrun/FileScanPool.h"

#include <algorithm>
#include <chrono>
#include <functional>

#include "core/files/ErrorNumbers.h"

namespace trawlit {

namespace {

// What a worker gathers before it hands a part of a file over.
constexpr std::size_t kPublishBytes = 16 * 1024;

class JobFile : public ByteSource {
public:
    JobFile(FileSystem& files, FileHandle handle, std::function<bool()> stopCheck)
        : files_(files)
        , handle_(handle)
        , stopCheck_(std::move(stopCheck))
    {
    }
    std::ptrdiff_t Read(char* buffer, std::size_t size) override
    {
        return files_.Read(handle_, buffer, size);
    }
    bool Stopped() override { return stopCheck_(); }
    bool CanReadAt() const override { return true; }
    std::ptrdiff_t ReadAt(std::int64_t offset, char* buffer, std::size_t size) override
    {
        return files_.ReadAt(handle_, offset, buffer, size);
    }

private:
    FileSystem& files_;
    FileHandle handle_;
    std::function<bool()> stopCheck_;
};

} // namespace

FileScanJob::FileScanJob(
    std::shared_ptr<FolderListing> folder, std::string_view name, std::string path)
    : folder_(std::move(folder))
    , name_(name)
    , path_(std::move(path))
{
}

bool FileScanJob::Take(ScanRecord& into, double seconds)
{
    into.Clear();
    taking_.store(true, std::memory_order_relaxed);
    if (seconds <= 0.0 && !ready_.load(std::memory_order_acquire))
        return false;
    std::unique_lock lock(mutex_);
    if (shared_.Empty() && !done_ && seconds > 0.0) {
        published_.wait_for(lock, std::chrono::duration<double>(seconds),
            [this] { return !shared_.Empty() || done_; });
    }
    into.Append(shared_);
    ready_.store(done_, std::memory_order_relaxed);
    taken_.notify_all();
    return done_;
}

void FileScanJob::Cancel()
{
    cancelled_.store(true, std::memory_order_relaxed);
    std::lock_guard lock(mutex_);
    taken_.notify_all();
}

bool FileScanJob::Scan(FileSystem& files, LineMatcher& matcher, bool byRun)
{
    byRun_ = byRun;
    const FileHandle handle = Open(files);
    if (handle == kNoFileHandle)
        return true;
    try {
        ScanOpened(files, handle, matcher);
    } catch (...) {
        failure_ = std::current_exception();
    }
    PlatformError ignored;
    files.Close(handle, ignored);
    if (dropping_) {
        unpublished_.Clear();
        foundSinceStopCheck_ = byRun_ = dropping_ = false;
        runGaveBack_ = true;
        return false;
    }
    Finish();
    return true;
}

void FileScanJob::ScanStraightInto(
    FileSystem& files, LineMatcher& matcher, MatchSink& sink, const std::function<bool()>& stopped)
{
    const FileHandle handle = Open(files);
    if (handle == kNoFileHandle)
        return;
    PlatformError ignored;
    try {
        JobFile file(files, handle, stopped);
        matcher.ScanFile(file, sink);
    } catch (...) {
        files.Close(handle, ignored);
        throw;
    }
    files.Close(handle, ignored);
    Finish();
}

// Opens the file; when it cannot be, the job is done with the reason.
FileHandle FileScanJob::Open(FileSystem& files)
{
    PlatformError error;
    const FileHandle handle = folder_ != nullptr
        ? files.OpenListedFile(*folder_, name_, path_, error)
        : files.Open(path_, OpenAccess::Read, error);
    if (handle == kNoFileHandle) {
        std::lock_guard lock(mutex_);
        openError_ = error ? error : ErrorWithNumber(ErrorNumber::PathFileAccessError);
        done_ = true;
        ready_.store(true, std::memory_order_release);
        published_.notify_all();
    }
    return handle;
}

void FileScanJob::ScanOpened(FileSystem& files, FileHandle handle, LineMatcher& matcher)
{
    JobFile file(files, handle, [this] { return AtStopCheck(); });
    matcher.ScanFile(file, *this);
}

void FileScanJob::BeginMatch(std::int64_t lineNumber, bool isContinuation)
{
    foundSinceStopCheck_ = true;
    if (!dropping_)
        unpublished_.BeginMatch(lineNumber, isContinuation);
}

// A long matching line is read again in parts: they are handed over as they come.
void FileScanJob::AppendToMatch(std::string_view part)
{
    foundSinceStopCheck_ = true;
    if (dropping_)
        return;
    unpublished_.AppendToMatch(part);
    if (byRun_)
        dropping_ = unpublished_.Bytes() > kRunScanLimit;
    else if (unpublished_.Bytes() >= kPublishBytes)
        Publish();
}

void FileScanJob::EndMatch()
{
    foundSinceStopCheck_ = true;
    if (!dropping_)
        unpublished_.EndMatch();
}

// Asking again with nothing found since, or before anything was found, gives the run the
// same choices as the last time, or as before the file: such checks are not kept, so a file
// without a match leaves nothing to hand over.
bool FileScanJob::AtStopCheck()
{
    if (foundSinceStopCheck_)
        unpublished_.NoteStopCheck();
    foundSinceStopCheck_ = false;
    if (byRun_) {
        dropping_ = dropping_ || unpublished_.Bytes() > kRunScanLimit;
        return dropping_ || cancelled_.load(std::memory_order_relaxed);
    }
    if (!unpublished_.Empty()
        && (taking_.load(std::memory_order_relaxed) || unpublished_.Bytes() >= kPublishBytes))
        Publish();
    return cancelled_.load(std::memory_order_relaxed);
}

void FileScanJob::Publish()
{
    std::unique_lock lock(mutex_);
    shared_.Append(unpublished_);
    ready_.store(true, std::memory_order_release);
    published_.notify_all();
    taken_.wait(lock, [this] {
        return shared_.Bytes() <= kJobBudget || cancelled_.load(std::memory_order_relaxed);
    });
}

void FileScanJob::Finish()
{
    std::lock_guard lock(mutex_);
    shared_.Append(unpublished_);
    done_ = true;
    ready_.store(true, std::memory_order_release);
    published_.notify_all();
}

FileScanPool::FileScanPool(FileSystem& files, const MatchSettings& settings, int workerCount)
    : files_(files)
    , settings_(settings)
{
    for (int worker = 0; worker < workerCount; ++worker)
        workers_.emplace_back([this] { Work(); });
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

std::unique_ptr<FileScanJob> FileScanPool::Submit(
    std::shared_ptr<FolderListing> folder, std::string_view name, std::string path)
{
    auto job = std::make_unique<FileScanJob>(std::move(folder), name, std::move(path));
    heldBack_.push_back(job.get());
    if (heldBack_.size() >= kHandOverBatch)
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

bool FileScanPool::ScanOneHere(LineMatcher& matcher)
{
    FileScanJob* job = nullptr;
    {
        std::lock_guard lock(mutex_);
        // A file the run gave back is a worker's: taking it again would only give it back.
        if (queue_.empty() || queue_.front()->runGaveBack_)
            return false;
        job = queue_.front();
        queue_.pop_front();
    }
    if (job->cancelled_.load(std::memory_order_relaxed)) {
        job->Finish();
    } else if (!job->Scan(files_, matcher, true)) {
        // Its finds outgrew what the run holds: a worker scans it again, handing them over.
        {
            std::lock_guard lock(mutex_);
            queue_.push_front(job);
        }
        queued_.notify_one();
    }
    return true;
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

void FileScanPool::Work()
{
    LineMatcher matcher(settings_);
    std::vector<FileScanJob*> jobs;
    while (NextJobs(jobs)) {
        for (FileScanJob* job : jobs) {
            if (job->cancelled_.load(std::memory_order_relaxed))
                job->Finish();
            else
                job->Scan(files_, matcher);
        }
    }
}

// A worker scans the jobs it took in their order, so the oldest job not done is always under
// way or next: a worker waiting for its file's turn never holds up that turn.
bool FileScanPool::NextJobs(std::vector<FileScanJob*>& jobs)
{
    jobs.clear();
    std::unique_lock lock(mutex_);
    queued_.wait(lock, [this] { return closing_ || !queue_.empty(); });
    // Taking a few at once spares lock handovers, while leaving work for the other workers.
    const std::size_t count = std::min(kTakenAtOnce, (queue_.size() + 1) / 2);
    for (std::size_t taken = 0; taken < count; ++taken) {
        jobs.push_back(queue_.front());
        queue_.pop_front();
    }
    return !jobs.empty();
}
} // namespace trawlit
