#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "core/search/LineMatcher.h"
#include "core/searchrun/ScanRecord.h"
#include "ports/FileSystem.h"

namespace trawlit {

// One file handed to the workers. A worker (or the run's thread, when it would otherwise wait)
// opens it, matches it and publishes what it found in parts; the run takes the parts in walk
// order. A worker that got ahead waits once its file holds kJobBudget bytes not yet taken, so
// a huge file streams instead of piling up.
class FileScanJob : private MatchSink {
public:
    static constexpr std::size_t kJobBudget = 64 * 1024;
    static constexpr std::size_t kRunScanLimit = 1024 * 1024;

    FileScanJob(std::shared_ptr<FolderListing> folder, std::string_view name, std::string path);

    // The run's side. Takes what was published so far into `into` (emptied first), waiting up
    // to `seconds` for something to come; returns true once the file is done and all taken.
    bool Take(ScanRecord& into, double seconds);
    // Why the file could not be opened: number 0 when it was (final once Take said done).
    const PlatformError& OpenError() const { return openError_; }
    // The run reads a file that no worker took on its own thread, straight into `sink`, as
    // if it were never handed over.
    void ScanStraightInto(FileSystem& files, LineMatcher& matcher, MatchSink& sink,
        const std::function<bool()>& stopped);
    // The worker stops at its next stop check and publishes nothing more.
    void Cancel();
    // What went wrong on the worker (memory ran out, say), to be thrown on the run's thread
    // when the file's turn comes, as if it were read there.
    std::exception_ptr Failure() const { return failure_; }

private:
    friend class FileScanPool;

    // The scanning side: a worker's, or the run's (which never waits for its turn, and so
    // gives a file back once its finds outgrow kRunScanLimit). False when it was given back.
    bool Scan(FileSystem& files, LineMatcher& matcher, bool byRun = false);
    FileHandle Open(FileSystem& files);
    void ScanOpened(FileSystem& files, FileHandle handle, LineMatcher& matcher);
    void BeginMatch(std::int64_t lineNumber, bool isContinuation) override;
    void AppendToMatch(std::string_view part) override;
    void EndMatch() override;
    bool AtStopCheck();
    void Publish();
    void Finish();

    std::shared_ptr<FolderListing> folder_;
    std::string name_;
    std::string path_;
    // The scanning thread's own.
    ScanRecord unpublished_;
    bool foundSinceStopCheck_ = false;
    bool byRun_ = false;
    bool dropping_ = false; // the run is giving it back
    bool runGaveBack_ = false; // the run's own

    std::mutex mutex_;
    std::condition_variable published_;
    std::condition_variable taken_;
    ScanRecord shared_;
    bool done_ = false;
    std::atomic<bool> ready_ { false }; // something to take, or done: spares the run a lock
    std::atomic<bool> taking_ { false }; // the run waits on this file: publish at every stop check
    PlatformError openError_;
    std::exception_ptr failure_;
    std::atomic<bool> cancelled_ { false };
};

// Worker threads, each with its own matcher, scanning the files handed to them in the order
// they came. Files are opened, read and closed on the workers. The run owns the jobs, and so
// frees them on its own thread: it lets one go only once Take said it is done, or after the
// pool is gone.
class FileScanPool {
public:
    FileScanPool(FileSystem& files, const MatchSettings& settings, int workerCount);
    ~FileScanPool(); // cancels what is queued and waits for the workers
    FileScanPool(const FileScanPool&) = delete;
    FileScanPool& operator=(const FileScanPool&) = delete;

    // Files are handed to the workers a few at a time, which saves waking one per file.
    std::unique_ptr<FileScanJob> Submit(
        std::shared_ptr<FolderListing> folder, std::string_view name, std::string path);
    // Hands over what Submit still holds back: before the run waits for a file.
    void HandOver();
    // Scans the oldest job no worker has taken on the calling thread, the run's, with
    // `matcher`; false when there was none.
    bool ScanOneHere(LineMatcher& matcher);
    // Takes `job` back when no worker has taken it yet (it is then the oldest).
    bool TakeBack(FileScanJob& job);

private:
    static constexpr std::size_t kHandOverBatch = 16;

    void Work();
    // Takes up to kTakenAtOnce of the oldest jobs into `jobs`; false once the pool closes.
    bool NextJobs(std::vector<FileScanJob*>& jobs);
    static constexpr std::size_t kTakenAtOnce = 4;

    FileSystem& files_;
    MatchSettings settings_;
    std::mutex mutex_;
    std::condition_variable queued_;
    std::deque<FileScanJob*> queue_;
    bool closing_ = false;
    std::vector<FileScanJob*> heldBack_; // the run's own
    std::vector<std::thread> workers_;
};

} // namespace trawlit
