#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/search/LineMatcher.h"
#include "core/searchrun/FileScanPool.h"
#include "core/searchrun/ReadAhead.h"
#include "core/searchrun/ScanRecord.h"
#include "core/searchrun/SearchedFile.h"
#include "core/walk/FolderWalk.h"
#include "ports/Platform.h"

namespace trawlit {

// What the run's own thread reads while it would wait for the oldest file.
enum class RunReads : std::uint8_t {
    Nothing,
    // Files the system holds in memory, and no longer than runFromMemoryLimit: the window's
    // thread, which must neither wait on a disk nor stay long inside a file. It reads in place
    // of one of the workers, which starts once it meets a file it cannot read so.
    FromMemory,
    Anything, // a console's
};

// Where the files are read and matched: with no workers, on the run's own thread between the
// walk's steps; else on `workers` threads while the run's thread walks and writes, and reads
// too while it would wait, as `runReads` lets it. The results file, messages and counters
// come out exactly the same.
struct SearchThreads {
    int workers = 0;
    RunReads runReads = RunReads::Nothing;
    ThreadStarter startThread = {}; // empty: std::thread
};

// The search as the commit writes into it: every file as if it were read right there.
class CommitTarget : public MatchSink {
public:
    virtual bool StopRequested() = 0;
    virtual void BeginFile(std::string_view displayPath, std::string_view checkPath) = 0;
    // `read` says how the file's reading ended: stopped part way, it ends with its open match
    // closed.
    virtual void EndFile(const FileRead& read) = 0;
    virtual void FolderNotRead(const std::string& folderPath, const PlatformError& error) = 0;
};

// The files of the walk handed to the workers, and the folders that could not be listed,
// written into the target in walk order. Once too many files are under way the walk waits
// for the oldest, reading files itself meanwhile as `runReads` lets it, and letting the window
// handle its messages.
class WalkOrderCommit {
public:
    // `runMatcher` is the run thread's own, for when it reads too.
    WalkOrderCommit(Platform platform, const MatchSettings& settings, SearchThreads threads,
        CommitTarget& target, LineMatcher* runMatcher);
    ~WalkOrderCommit(); // cancels what is still under way
    WalkOrderCommit(const WalkOrderCommit&) = delete;
    WalkOrderCommit& operator=(const WalkOrderCommit&) = delete;

    void AddFile(const WalkFile& file);
    void AddFolderNotRead(const std::string& folderPath, const PlatformError& error);
    // The walk is over: writes what is left, unless a stop came first.
    void Finish();

private:
    // A file handed to the workers, or a folder that could not be listed, in walk order.
    struct Queued {
        std::unique_ptr<FileScanJob> job; // none for a folder not read
        std::string displayPath;
        std::string checkPath;
        std::optional<PlatformError> folderError;
    };

    // Fewer workers where memory is short, and fewer workers and folders held open where the
    // process may open few files.
    void FitToLimits(FileSystem& files);
    bool Crowded() const;
    void PopHead();
    void CommitWhatIsReady();
    bool CommitHead(bool wait);
    bool MayReadHeadHere() const;
    bool ReadOneHere(const std::function<bool()>& stopRequested);
    void FinishHead(bool stoppedHere);
    LineMatcher& RunMatcher();
    void DoEventsOncePerFrame();
    void CancelWhatIsLeft();

    Platform platform_;
    SearchThreads threads_;
    CommitTarget& target_;
    LineMatcher* runMatcher_;
    MatchSettings settings_;
    std::optional<LineMatcher> ownMatcher_; // for the window, when it must read a file itself
    std::optional<FileScanPool> pool_;
    std::unique_ptr<ReadAhead> readAhead_; // made with the first file read ahead
    bool readsAhead_ = true;
    std::deque<Queued> queue_;
    int workersHeldBack_ = 0; // while the window's thread finds the files in memory
    std::size_t filesAdded_ = 0;
    std::size_t readFromMemoryAgainAt_ = 0; // files added: the tree's part since is tried anew
    // Folder listings the queued files hold open (files of one folder come together), and how
    // many may be: with the walk's next one and a file per scanning thread, all the process
    // may open.
    std::size_t foldersHeld_ = 0;
    std::size_t foldersHeldAtMost_ = SIZE_MAX;
    const FolderListing* lastFolder_ = nullptr;
    ScanRecord taken_;
    std::vector<std::unique_ptr<FileScanJob>> abandoned_;
    bool headBegun_ = false;
    bool atStopCheck_ = false; // what was written of the oldest file ends at a stop check
    bool stopped_ = false;
    double lastEvents_ = 0.0;
};

} // namespace trawlit
