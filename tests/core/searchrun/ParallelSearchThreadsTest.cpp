#include <atomic>
#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <new>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "core/files/FileRoutines.h"
#include "core/formats/GrepRecords.h"
#include "core/formats/JsonLinesRecords.h"
#include "core/searchrun/SearchRun.h"
#include "fakes/FakePlatform.h"
#include "fakes/FakeRunView.h"
#include "fakes/FaultyFileSystem.h"
#include "fakes/RecordingDialogs.h"
#include "fakes/TempFolder.h"
#include "platform/PosixPlatform.h"

namespace trawlit {
namespace {

using fakes::TempFolder;

// The real file system with a fixed date, and the failures a user meets: files that cannot be
// opened (or are gone since listed), a file whose reads fail after its first block (a bad
// disk), and folders that cannot be listed. Slow workers leave most files, the huge ones among
// them, to the run's own thread.
struct FailingPlatform {
    PosixPlatform posix;
    fakes::FaultyFileSystem files { posix };
    fakes::FakeClock clock;
};

class Random {
public:
    explicit Random(std::uint32_t seed)
        : state_(seed)
    {
    }
    std::uint32_t Below(std::uint32_t bound)
    {
        state_ = state_ * 1103515245U + 12345U;
        return (state_ >> 8U) % bound;
    }

private:
    std::uint32_t state_;
};

// Many small files over nested folders, a few huge ones (one with a matching line longer than
// the matcher holds at once), a UTF-16 file, files that fail to open and a locked folder.
void GenerateTree(const TempFolder& tree, FailingPlatform& platform)
{
    Random random(2026);
    const char* pieces[]
        = { "needle", "NeedLe", "need  le", "hay", "caf\xC3\xA9", "\xE9t\xE9", "_", "stack", "" };
    const char* ends[] = { "\r\n", "\n", "\r" };
    auto text = [&](std::uint32_t lines) {
        std::string contents;
        for (std::uint32_t line = 0; line < lines; ++line) {
            for (std::uint32_t piece = 0, count = random.Below(5); piece < count; ++piece)
                contents.append(pieces[random.Below(std::size(pieces))]).append(" ");
            contents += ends[random.Below(std::size(ends))];
        }
        return contents;
    };
    for (int file = 0; file < 400; ++file) {
        const std::string folder = "d" + std::to_string(file % 7) + "/e" + std::to_string(file % 3);
        tree.Write(folder + "/f" + std::to_string(file) + ".txt", text(random.Below(30)));
    }
    tree.Write("big/huge1.txt", text(120000));
    tree.Write("big/huge2.txt", text(1000) + std::string(3 << 20, 'x') + "needle\r\n" + text(50));
    tree.Write("big/wide.txt", std::string(2 << 20, 'y') + "\n" + text(200));
    tree.Write("d1/utf16.txt", std::string("\xFF\xFEn\0e\0e\0d\0l\0e\0\r\0\n\0", 18));
    tree.Write("locked/f.txt", "needle\n");
    tree.Write("d2/e0/unreadable.txt", "needle\n");
    tree.Write("d4/broken.txt", text(20000)); // some 300 KiB: its first block is read
    tree.Write("d3/e1/gone.txt", "needle\n");
    platform.files.FailOpen("unreadable.txt", { 70, "Permission denied" });
    platform.files.FailOpen("gone.txt", { 53, "File not found" });
    platform.files.FailReadsAfter("broken.txt", 128 * 1024);
    platform.files.FailListing("locked", { 70, "Permission denied" });
    platform.files.unhurriedThread = std::this_thread::get_id();
    platform.clock.now = { 2026, 12, 8, 9, 30 };
}

// All that a run leaves behind for a user to see.
struct Outcome {
    std::string results;
    std::vector<std::string> messages;
    RunResult result;
};

enum class Records : std::uint8_t { None, JsonLines, Grep };

struct Threads {
    const char* name;
    SearchThreads threads;
    bool slowWorkers = false;
};

const Threads kReference { "one thread", {} };
// Workers alone, how the CLI reads, the CLI with the files left to its own thread, and how the
// window reads (a worker, another held back, the huge files left to them).
const Threads kParallel[] = {
    { "four workers", { 4, RunReads::Nothing } },
    { "a worker and the run", { 1, RunReads::Anything } },
    { "a slow worker and the run", { 1, RunReads::Anything }, true },
    { "a worker and the window's thread", { 2, RunReads::FromMemory } },
    { "a slow worker and the window's thread", { 2, RunReads::FromMemory }, true },
};

struct SearchCase {
    const char* name;
    bool countsOnly = false;
    bool caseSensitive = false;
    bool collapse = false;
    Records records = Records::None;
};

class ParallelSearchTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        tree = new TempFolder;
        platform = new FailingPlatform;
        GenerateTree(*tree, *platform);
    }
    static void TearDownTestSuite()
    {
        delete platform;
        delete tree;
    }

    // The abort comes when `counter` reaches `value` (never when value is 0).
    static Outcome Run(
        const SearchCase& c, const Threads& threads, Counter counter = {}, std::int64_t value = 0)
    {
        platform->files.openPause = std::chrono::milliseconds(threads.slowWorkers ? 2 : 0);
        SearchOptions options;
        fakes::FakeRunView window;
        options.RootFolder = tree->Path();
        options.OutputPathname = output.Path() + "/out";
        options.SearchStr = "needle";
        options.CountsOnly = c.countsOnly;
        options.CaseSensitive = c.caseSensitive;
        options.CollapseWhiteSpace = c.collapse;
        window.onCounter = [&](Counter shown, std::int64_t now) {
            if (shown == counter && now == value)
                window.abortRequested = true;
        };
        fakes::RecordingDialogs dialogs;
        FileRoutines files { platform->files, dialogs };
        NoEventPump events;
        std::unique_ptr<SearchPrinter> records;
        if (c.records == Records::JsonLines)
            records = std::make_unique<JsonLinesRecords>(tree->Path());
        else if (c.records == Records::Grep)
            records = std::make_unique<GrepRecords>();
        Outcome outcome;
        outcome.result = RunStringSearch(options,
            RunPorts { window, { platform->files, platform->clock, events }, dialogs, files },
            records.get(), threads.threads);
        outcome.results = TempFolder::ReadWholeFile(output.Path() + "/out");
        for (const auto& message : dialogs.messages)
            outcome.messages.push_back(message.title + ": " + message.text);
        for (const auto& shown : dialogs.outputFiles)
            outcome.messages.push_back(shown.message);
        return outcome;
    }

    static void ExpectSame(const Outcome& reference, const Outcome& parallel)
    {
        EXPECT_EQ(parallel.results, reference.results);
        EXPECT_EQ(parallel.messages, reference.messages);
        EXPECT_EQ(parallel.result.aborted, reference.result.aborted);
        EXPECT_EQ(
            parallel.result.counters.TotalFileCount, reference.result.counters.TotalFileCount);
        EXPECT_EQ(parallel.result.counters.MatchCount, reference.result.counters.MatchCount);
        EXPECT_EQ(parallel.result.foldersNotRead, reference.result.foldersNotRead);
        EXPECT_EQ(parallel.result.filesNotRead, reference.result.filesNotRead);
    }

    static TempFolder* tree;
    static FailingPlatform* platform;
    static inline TempFolder output;
};

TempFolder* ParallelSearchTest::tree = nullptr;
FailingPlatform* ParallelSearchTest::platform = nullptr;

const SearchCase kSearchCases[] = {
    { "lines" },
    { "counts only", true },
    { "case and white space", false, true, true },
    { "json lines", false, false, false, Records::JsonLines },
    { "grep lines", false, false, false, Records::Grep },
};

TEST_F(ParallelSearchTest, WorkersWriteWhatOneThreadWrites)
{
    std::size_t turn = 0;
    for (const SearchCase& c : kSearchCases) {
        const Threads& threads = kParallel[turn++ % std::size(kParallel)];
        SCOPED_TRACE(std::string(c.name) + ", " + threads.name);
        const Outcome reference = Run(c, kReference);
        ASSERT_GT(reference.result.counters.MatchCount, 1000);
        ASSERT_EQ(reference.result.foldersNotRead, 1);
        // Not counted as searched: the unreadable file and the one gone since listed. Told as
        // not read in full: the unreadable file and the broken one, which is marked.
        EXPECT_EQ(reference.result.counters.TotalFileCount, 405);
        EXPECT_EQ(reference.result.filesNotRead, 2);
        if (c.records != Records::Grep) { // grep tells it beside the lines
            EXPECT_NE(
                reference.results.find("not read in full: Device I/O error"), std::string::npos);
        }
        ExpectSame(reference, Run(c, threads));
    }
}

// An abort after a random file, or at a random match (inside a huge file, often), ends both
// at the same place; so does one after the last file, before the locked folder.
TEST_F(ParallelSearchTest, AnAbortAnywhereEndsBothRunsAtTheSamePlace)
{
    Random random(8);
    for (const SearchCase& c : { kSearchCases[0], kSearchCases[1] }) {
        const Outcome whole = Run(c, kReference);
        for (std::size_t trial = 0; trial < 7; ++trial) {
            const bool atMatch = trial % 2 == 1;
            const Counter counter = atMatch ? Counter::MatchCount : Counter::TotalFileCount;
            const std::int64_t total
                = atMatch ? whole.result.counters.MatchCount : whole.result.counters.TotalFileCount;
            const std::int64_t value
                = trial == 6 ? total : 1 + random.Below(static_cast<std::uint32_t>(total));
            const Threads& threads = kParallel[trial % std::size(kParallel)];
            SCOPED_TRACE(std::string(c.name) + ", " + threads.name
                + (atMatch ? " at match " : " at file ") + std::to_string(value));
            const Outcome reference = Run(c, kReference, counter, value);
            ASSERT_TRUE(reference.result.aborted);
            ExpectSame(reference, Run(c, threads, counter, value));
        }
    }
}

// Workers that cannot start, or few descriptors left: the run goes on with what it has and
// writes what one thread writes.
TEST_F(ParallelSearchTest, ThreadsAndDescriptorsThatRunShortChangeNothing)
{
    int started = 0;
    const ThreadStarter startOnlyOne = [&started](std::function<void()> work) {
        if (++started > 1)
            throw std::system_error(
                std::make_error_code(std::errc::resource_unavailable_try_again));
        return std::thread(std::move(work));
    };
    const ThreadStarter startNone = [](std::function<void()>) -> std::thread {
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    };
    const Threads cases[] = {
        { "workers, one of four starts", { 4, RunReads::Nothing, startOnlyOne } },
        { "window, no worker starts", { 4, RunReads::FromMemory, startNone } },
        { "CLI, no worker starts", { 3, RunReads::Anything, startNone } },
    };
    const Outcome reference = Run(kSearchCases[0], kReference);
    for (const Threads& threads : cases) {
        SCOPED_TRACE(threads.name);
        started = 0;
        ExpectSame(reference, Run(kSearchCases[0], threads));
    }
    for (const std::int64_t free : { 5, 9, 16 }) {
        SCOPED_TRACE("descriptors free: " + std::to_string(free));
        platform->files.freeDescriptors = free;
        ExpectSame(reference, Run(kSearchCases[0], { "four workers", { 4, RunReads::Nothing } }));
        ExpectSame(reference, Run(kSearchCases[0], { "CLI", { 3, RunReads::Anything } }));
        platform->files.freeDescriptors = -2;
    }
    // Workers that find no descriptor free hand their files to the run's thread.
    platform->files.otherThreadsOutOfDescriptors = true;
    ExpectSame(reference, Run(kSearchCases[0], { "four workers", { 4, RunReads::Nothing } }));
    ExpectSame(reference, Run(kSearchCases[0], { "CLI", { 3, RunReads::Anything } }));
    platform->files.otherThreadsOutOfDescriptors = false;
}

// Memory that runs out in a read, on a worker or the run's thread, ends the run as an abort
// does, its results closed and marked, and is then told by the exception.
TEST_F(ParallelSearchTest, MemoryThatRunsOutEndsTheRunWithItsResultsMarked)
{
    for (const Threads& threads : { kReference, kParallel[0], kParallel[1], kParallel[3] }) {
        SCOPED_TRACE(threads.name);
        platform->files.reads = 0;
        platform->files.beforeRead = [](int read) {
            if (read == 40)
                throw std::bad_alloc();
        };
        EXPECT_THROW(Run(kSearchCases[0], threads), std::bad_alloc);
        platform->files.beforeRead = nullptr;
        const std::string results = TempFolder::ReadWholeFile(output.Path() + "/out");
        EXPECT_NE(results.find("ABORTED"), std::string::npos);
    }
}

// Reads of nearly half a second each, files of many reads: a stop that comes while threads
// (the run's own among them) are inside files ends the run after the reads under way. The
// window's thread finds such files not in memory and starts the worker it held back.
TEST(SlowStorageThreadsTest, AStopEndsTheRunPromptly)
{
    using Clock = std::chrono::steady_clock;
    class StoppedAtView : public fakes::FakeRunView {
    public:
        bool AbortRequested() override { return Clock::now() >= stopAt; }
        Clock::time_point stopAt;
    };
    TempFolder tree;
    TempFolder output;
    tree.Write("a.txt", "needle\n"); // read at once: the run's thread then reads for the workers
    for (int file = 0; file < 10; ++file)
        tree.Write("big" + std::to_string(file) + ".txt", std::string(2 << 20, 'x') + "\nneedle\n");
    PosixPlatform posix;
    fakes::FaultyFileSystem slow { posix };
    slow.readPause = std::chrono::milliseconds(400); // on every thread
    SearchOptions options;
    options.RootFolder = tree.Path();
    options.OutputPathname = output.Path() + "/out";
    options.SearchStr = "needle";
    std::atomic<int> started = 0;
    const ThreadStarter countStarts = [&started](std::function<void()> work) {
        ++started;
        return std::thread(std::move(work));
    };
    for (const RunReads runReads :
        { RunReads::Nothing, RunReads::Anything, RunReads::FromMemory }) {
        const SearchThreads threads { 2, runReads, countStarts };
        started = 0;
        StoppedAtView window;
        window.stopAt = Clock::now() + std::chrono::seconds(2);
        fakes::RecordingDialogs dialogs;
        FileRoutines files { slow, dialogs };
        NoEventPump events;
        const RunResult result = RunStringSearch(options,
            RunPorts { window, { slow, posix, events }, dialogs, files }, nullptr, threads);
        const double seconds = std::chrono::duration<double>(Clock::now() - window.stopAt).count();
        EXPECT_TRUE(result.aborted);
        EXPECT_LT(seconds, 2.0) << static_cast<int>(runReads);
        EXPECT_EQ(started, 2) << static_cast<int>(runReads);
    }
}

} // namespace
} // namespace trawlit
