#pragma once

// How the search reads files ahead of its walk, in the words the code uses:
//
// - hand over: the run's thread gives files of the walk to the pool, in walk order, a batch at
//   a time (held back until the batch is full, or until the run waits for a file).
// - take (a job): a worker takes the oldest files handed over and scans them in that order; the
//   run's thread may take one too while it would otherwise wait.
// - publish: the scanning thread moves what it found so far in a file (its matches and stop
//   checks) to the job's shared record, where the run can take it. A worker that got ahead
//   waits once a job holds kJobBudget bytes not yet taken, so a huge file streams.
// - take (what was published): the run's thread, committing files in walk order, takes what the
//   oldest job published and hands it to the printer as if the file were read right there.
// - give back: the run's thread keeps what it finds in a file it scans until the file is done;
//   when that outgrows kRunScanLimit it drops it and gives the job back to the workers, who
//   scan it again and publish as they go. So does the window's thread with a file it cannot
//   read from memory alone, or a long one. A job the run gave back is never taken by it again.
// - take back: a job no worker has taken yet is taken back by the run's thread, which then
//   reads it straight into the printer, as if it had never been handed over. The window's
//   thread does so only when every worker waits for a later job's turn.
// - stop check: where the matcher asks whether to stop (before every read). The scanning thread
//   cannot know the answer the run's thread would have given at that moment, so it records the
//   check; the run asks its own stop question again when it replays the record, and so stops
//   exactly where one thread reading the file itself would have stopped. Checks with nothing
//   found since the last one give the same answer and are not recorded.

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "core/search/LineMatcher.h"
#include "core/searchrun/ScanRecord.h"
#include "core/searchrun/SearchedFile.h"
#include "ports/FileSystem.h"

namespace trawlit {

// The parallel search's tuning, in one place.
struct ParallelTuning {
    // Files handed on before the run waits for the oldest; it then waits until half are written.
    std::size_t filesInFlight = 64;
    // Files held back before they are handed over at once: fewer workers woken one by one.
    std::size_t handOverBatch = 16;
    // Jobs a worker takes at once: fewer lock handovers, while leaving work for the others.
    std::size_t takenAtOnce = 4;
    // What a worker gathers before it publishes a part of a file.
    std::size_t publishBytes = 16 * 1024;
    // What a job may hold not yet taken before its worker waits.
    std::size_t jobBudget = 64 * 1024;
    // What the run's thread keeps of a file it scans before it gives the job back.
    std::size_t runScanLimit = 1024 * 1024;
    // The longest file the window's thread reads, from memory only; it leaves longer ones to
    // the workers: it must not stay long inside one.
    std::int64_t runFromMemoryLimit = 1024 * 1024;
    // How long the run waits for a file before the window handles its messages.
    double frameSeconds = 1.0 / 60;
};
inline constexpr ParallelTuning kParallelTuning {};

// One file handed over. A worker (or the run's thread, when it would otherwise wait) opens it,
// matches it and publishes what it found; the run takes that in walk order.
class FileScanJob : private MatchSink {
public:
    explicit FileScanJob(FileToSearch file);

    // The run's side. Takes what was published so far into `into` (emptied first), waiting up
    // to `seconds` for something to come; returns true once the file is done and all taken.
    bool Take(ScanRecord& into, double seconds);
    // How the reading ended (final once Take said done).
    const FileRead& Outcome() const { return outcome_; }
    const FolderListing* Folder() const { return file_.folder.get(); }
    // A worker could not open the file for want of descriptors: the run reads it itself once
    // its turn comes, when the files ahead of it have let theirs go (final once done).
    bool HandedBack() const { return handedBack_; }
    // The run reads a file it took back on its own thread, straight into `sink`.
    void ScanStraightInto(FileSystem& files, LineMatcher& matcher, MatchSink& sink,
        const std::function<bool()>& stopped);
    // The scanning thread stops at its next stop check and publishes nothing more.
    void Cancel();
    // What went wrong on the worker (memory ran out, say), to be thrown on the run's thread
    // when the file's turn comes, as if it were read there.
    std::exception_ptr Failure() const { return failure_; }

private:
    friend class FileScanPool;

    // Who scans the job, and how far it got. Only the scanning thread changes it, under the
    // lock, so the run can read it under the lock; the pool's lock passes a job given back
    // from the run's thread to a worker.
    enum class State : std::uint8_t {
        Queued, // handed over, nobody scans it yet
        ByWorker, // a worker scans it, publishing as it goes
        ByRun, // the run's thread scans it, keeping its finds until the file is done
        RunGivingBack, // the run's finds outgrew runScanLimit: it drops them and stops
        GivenBack, // queued again for the workers only
        Done, // all published: the run takes the rest
    };

    // The scanning side: a worker's, or the run's (which never waits for its turn, and so
    // gives a job back once its finds outgrow runScanLimit). False when it was given back.
    bool Scan(FileSystem& files, LineMatcher& matcher, State scanner,
        const std::function<bool()>& runStopped = {}, bool fromMemoryOnly = false);
    void SetState(State state);
    void BeginMatch(std::int64_t lineNumber, bool isContinuation) override;
    void AppendToMatch(std::string_view part) override;
    void EndMatch() override;
    bool AtStopCheck();
    void KeepWithinRunLimit();
    void Publish();
    void Finish(const FileRead& outcome);
    void FailWith(std::exception_ptr failure);

    FileToSearch file_;
    State state_ = State::Queued;
    // The scanning thread's own.
    ScanRecord unpublished_;
    bool foundSinceStopCheck_ = false;
    const std::function<bool()>* runStopped_ = nullptr; // while the run's thread scans it

    std::mutex mutex_;
    std::condition_variable published_;
    std::condition_variable taken_;
    ScanRecord shared_;
    FileRead outcome_;
    std::exception_ptr failure_;
    bool handedBack_ = false;
    bool notInMemory_ = false; // the run's thread's: why it gave the job back
    // Lock-free signals between the two sides.
    std::atomic<bool> ready_ { false }; // something to take, or done: spares the run a lock
    std::atomic<bool> taking_ { false }; // the run waits on this job: publish at every stop check
    std::atomic<bool> cancelled_ { false };
    // The pool's count of workers waiting for a later job's turn.
    std::atomic<int>* waitingForTurn_ = nullptr;
};

// Starts one worker thread; throws std::system_error when the system has none to give.
using ThreadStarter = std::function<std::thread(std::function<void()>)>;

// Worker threads, each with its own matcher, scanning the files handed over in the order they
// came. The run owns the jobs, and so frees them on its own thread: it lets one go only once
// Take said it is done, or after the pool is gone.
class FileScanPool {
public:
    // Starts up to `workerCount` workers: as many as the system lets start (maybe none).
    FileScanPool(FileSystem& files, const MatchSettings& settings, int workerCount,
        const ThreadStarter& startThread = {});
    ~FileScanPool(); // cancels what is queued and waits for the workers
    FileScanPool(const FileScanPool&) = delete;
    FileScanPool& operator=(const FileScanPool&) = delete;

    std::unique_ptr<FileScanJob> Submit(FileToSearch file);
    // Hands over what Submit still holds back: before the run waits for a file.
    void HandOver();
    int WorkerCount() const { return static_cast<int>(workers_.size()); }
    // Starts one more worker; false when the system gives none.
    bool StartWorker();
    // Scans the oldest job no worker has taken on the calling thread, the run's, with
    // `matcher`. Once `stopped` says so, it gives the job back; `fromMemoryOnly`, it also
    // gives it back where the file is not in memory or is long (runFromMemoryLimit).
    enum class ScannedHere : std::uint8_t { NoJobWaiting, Scanned, GivenBack, NotInMemory };
    ScannedHere ScanOneHere(
        LineMatcher& matcher, const std::function<bool()>& stopped, bool fromMemoryOnly = false);
    // Takes `job` back when no worker has taken it yet (it is then the oldest).
    bool TakeBack(FileScanJob& job);
    // Every worker waits for the run to take the findings of a file later than the oldest:
    // the oldest, given back to them, would wait for ever unless the run reads it itself.
    bool WorkersAllWaitForTheirTurn() const
    {
        return waitingForTurn_.load(std::memory_order_relaxed) >= WorkerCount();
    }

private:
    void Work();
    using TakenJobs = std::array<FileScanJob*, kParallelTuning.takenAtOnce>;
    // Takes up to takenAtOnce of the oldest jobs into `jobs`; how many, 0 once the pool closes.
    std::size_t NextJobs(TakenJobs& jobs);

    FileSystem& files_;
    MatchSettings settings_;
    ThreadStarter startThread_;
    std::mutex mutex_;
    std::condition_variable queued_;
    std::deque<FileScanJob*> queue_;
    bool closing_ = false;
    std::vector<FileScanJob*> heldBack_; // the run's own
    std::vector<std::thread> workers_;
    std::atomic<int> waitingForTurn_ { 0 };
};

} // namespace trawlit
