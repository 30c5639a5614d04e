#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "ports/FileSystem.h"

namespace trawlit {

struct ReadAheadTuning {
    // Files of the walk waiting for their hint: beyond it the oldest is passed over, its
    // reader being close behind. The walk keeps at most filesInFlight files ahead of the
    // commit, so this is also about how far ahead of the readers the disk is asked to read.
    std::size_t window = 64;
    // What is asked of a file: its start; the system reads on ahead of a reader by itself.
    std::int64_t bytesPerFile = 1024 * 1024;
    // Files in a row found in memory (or that take no hint) before it rests: few at the start,
    // where a tree read before shows at once; many once the disk was needed, since the readers
    // may have got to a file first.
    std::size_t restAtStartAfter = 16;
    std::size_t restAfter = 1024;
    // While it rests, the walk probes one file in this many, to wake it up in a part not read
    // before.
    std::size_t probeEvery = 128;
};
inline constexpr ReadAheadTuning kReadAheadTuning {};

// Keeps the disk busy ahead of the search: the files of the walk, in walk order, are asked
// to be read into memory on a thread of its own while the workers read those before them, so
// a device that serves a queue gets one, and a spinning disk is still asked in walk order. A
// tree already in memory is noticed from the first files, and then costs a probe now and then.
// A hint holds one handle at most, for a moment, and keeps no listing alive that the search let
// go; a hint that fails is passed over.
class ReadAhead {
public:
    explicit ReadAhead(FileSystem& files, ReadAheadTuning tuning = kReadAheadTuning);
    ~ReadAhead(); // drops what is waiting and waits for the hint under way
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // The walk's next file: `name` in the live listing `folder`.
    void Add(const std::shared_ptr<FolderListing>& folder, std::string_view name);
    // Waits until every file added so far had its hint, or was passed over.
    void Settle();

private:
    struct Pending {
        // A listing the walk and the workers let go is done with: no handle is kept for a hint.
        std::weak_ptr<FolderListing> folder;
        std::string name;
    };

    void Work();
    void ProbeAtRest(
        std::unique_lock<std::mutex>& lock, FolderListing& folder, std::string_view name);
    ReadHint Hint(FolderListing& folder, std::string_view name);
    void Noted(ReadHint hint);

    FileSystem& files_;
    const ReadAheadTuning tuning_;
    std::size_t sinceProbe_ = 0; // the walk's own

    std::mutex mutex_;
    std::condition_variable added_;
    std::condition_variable settled_;
    std::deque<Pending> pending_;
    bool resting_ = false;
    bool idle_ = false;
    bool closing_ = false;
    std::size_t foundInMemory_ = 0;
    bool diskNeeded_ = false;
    std::thread thread_; // started with the first file
    bool noThread_ = false; // none could be started: the search goes on without hints
};

} // namespace trawlit
