#include <atomic>
#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "core/files/FileRoutines.h"
#include "core/formats/GrepRecords.h"
#include "core/formats/JsonLinesRecords.h"
#include "core/searchrun/SearchRun.h"
#include "fakes/FakeRunView.h"
#include "fakes/RecordingDialogs.h"
#include "fakes/TempFolder.h"
#include "platform/PosixPlatform.h"

namespace trawlit {
namespace {

using fakes::TempFolder;

// The real file system with a fixed date, and the failures a user meets: files that cannot be
// opened (or are gone since listed), a file whose second read fails (a bad disk), and folders
// that cannot be listed. Files are opened on the workers, so the failures are fixed before a
// run. Slow workers leave most files, the
// huge ones among them, to the run's own thread.
class FailingPlatform : public PosixPlatform {
public:
    LocalDateTime Now() override { return { 2026, 12, 8, 9, 30 }; }
    FileHandle OpenListedFile(FolderListing& folder, std::string_view name, const std::string& path,
        PlatformError& error) override
    {
        if (slowWorkers && std::this_thread::get_id() != runThread)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        const auto failure = failedOpens.find(std::string(name));
        if (failure == failedOpens.end()) {
            const FileHandle handle = PosixPlatform::OpenListedFile(folder, name, path, error);
            if (name == "broken.txt") {
                std::lock_guard lock(mutex_);
                readsOfBroken_[handle] = 0;
            }
            return handle;
        }
        error = failure->second;
        return kNoFileHandle;
    }
    std::ptrdiff_t Read(FileHandle handle, char* buffer, std::size_t size) override
    {
        {
            std::lock_guard lock(mutex_);
            const auto broken = readsOfBroken_.find(handle);
            if (broken != readsOfBroken_.end() && ++broken->second > 1)
                return -1;
        }
        return PosixPlatform::Read(handle, buffer, size);
    }
    bool Close(FileHandle handle, PlatformError& error) override
    {
        {
            std::lock_guard lock(mutex_);
            readsOfBroken_.erase(handle);
        }
        return PosixPlatform::Close(handle, error);
    }
    std::unique_ptr<FolderListing> StartListing(
        const std::string& pattern, ListMask mask, PlatformError& error) override
    {
        if (pattern.find("/locked/") != std::string::npos) {
            error = { 70, "Permission denied" };
            return nullptr;
        }
        return PosixPlatform::StartListing(pattern, mask, error);
    }

    std::map<std::string, PlatformError> failedOpens;
    std::thread::id runThread = std::this_thread::get_id();
    std::atomic<bool> slowWorkers = false;

private:
    std::mutex mutex_;
    std::map<FileHandle, int> readsOfBroken_;
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
    platform.failedOpens["unreadable.txt"] = { 70, "Permission denied" };
    platform.failedOpens["gone.txt"] = { 53, "File not found" };
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
// How the window reads, how the CLI does, and the CLI with the files left to its own thread.
const Threads kParallel[] = {
    { "four workers", { 4, false } },
    { "a worker and the run", { 1, true } },
    { "a slow worker and the run", { 1, true }, true },
};

struct Case {
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
        const Case& c, const Threads& threads, Counter counter = {}, std::int64_t value = 0)
    {
        platform->slowWorkers = threads.slowWorkers;
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
        FileRoutines files { *platform, dialogs };
        NoEventPump events;
        std::unique_ptr<SearchPrinter> records;
        if (c.records == Records::JsonLines)
            records = std::make_unique<JsonLinesRecords>(tree->Path());
        else if (c.records == Records::Grep)
            records = std::make_unique<GrepRecords>();
        Outcome outcome;
        outcome.result = RunStringSearch(options,
            RunPorts { window, { *platform, *platform, events }, dialogs, files }, records.get(),
            threads.threads);
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

const Case kCases[] = {
    { "lines" },
    { "counts only", true },
    { "case and white space", false, true, true },
    { "json lines", false, false, false, Records::JsonLines },
    { "grep lines", false, false, false, Records::Grep },
};

TEST_F(ParallelSearchTest, WorkersWriteWhatOneThreadWrites)
{
    std::size_t turn = 0;
    for (const Case& c : kCases) {
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
    for (const Case& c : { kCases[0], kCases[1] }) {
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

} // namespace
} // namespace trawlit
