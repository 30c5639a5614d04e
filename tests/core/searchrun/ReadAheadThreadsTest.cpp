#include "core/searchrun/ReadAhead.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include "fakes/FakeFileSystem.h"

namespace trawlit {
namespace {

struct NoListing : FolderListing {
    bool Next(ListedEntry&) override { return false; }
};

// Records the hints asked, answers from a table (Requested when unnamed, a throw for "throws"),
// and holds the first hint until let go.
class HintRecorder : public fakes::FakeFileSystem {
public:
    ReadHint HintRead(FolderListing&, std::string_view name, std::int64_t) override
    {
        std::unique_lock lock(mutex);
        hinted.emplace_back(name);
        changed.notify_all();
        changed.wait(lock, [this] { return !holdFirst || hinted.size() > 1; });
        if (name == "throws") {
            throw std::runtime_error("no memory for the hint");
        }
        const auto answer = answers.find(std::string(name));
        return answer == answers.end() ? ReadHint::Requested : answer->second;
    }
    void WaitForFirst()
    {
        std::unique_lock lock(mutex);
        changed.wait(lock, [this] { return !hinted.empty(); });
    }
    void LetGo()
    {
        std::lock_guard lock(mutex);
        holdFirst = false;
        changed.notify_all();
    }

    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::string> hinted;
    std::map<std::string, ReadHint> answers;
    bool holdFirst = false;
};

// Listings the search let go are passed over too: the read-ahead keeps none of them open.
TEST(ReadAheadThreadsTest, HintsInWalkOrderWithinTheWindowPassingOverTheOldest)
{
    HintRecorder files;
    files.holdFirst = true;
    const auto folder = std::make_shared<NoListing>();
    ReadAhead readAhead(files, { .window = 4 });
    readAhead.Add(folder, "f0");
    files.WaitForFirst();
    for (const char* name : { "f1", "f2", "f3", "f4", "f5", "f6", "f7", "f8", "f9" }) {
        readAhead.Add(folder, name);
    }
    auto letGo = std::make_shared<NoListing>(); // its files were read and done with meanwhile
    readAhead.Add(letGo, "done");
    letGo.reset();
    readAhead.Add(folder, "f11");
    files.LetGo();
    readAhead.Settle();
    EXPECT_EQ(files.hinted, (std::vector<std::string> { "f0", "f8", "f9", "f11" }));
}

// Files found in memory put it to rest, a few at the start and many once the disk was needed;
// at rest one file in probeEvery is probed, and one that must come from the disk wakes it up.
// A hint that fails, or throws, counts as one not given and changes nothing else.
TEST(ReadAheadThreadsTest, RestsWhileTheTreeIsInMemoryAndWakesWhereItIsNot)
{
    HintRecorder files;
    const struct {
        const char* name;
        ReadHint answer;
        bool hinted;
    } walk[] = {
        { "f0", ReadHint::Cached, true },
        { "throws", ReadHint::NotGiven, true },
        { "f2", ReadHint::NotGiven, true }, // three in a row: at rest
        { "f3", ReadHint::Requested, false },
        { "f4", ReadHint::Requested, false },
        { "f5", ReadHint::Requested, false },
        { "f6", ReadHint::Requested, true }, // probed: awake
        { "f7", ReadHint::Cached, true },
        { "f8", ReadHint::Requested, true },
        { "f9", ReadHint::Cached, true },
        { "f10", ReadHint::Cached, true },
        { "f11", ReadHint::NotGiven, true },
        { "f12", ReadHint::Cached, true },
        { "f13", ReadHint::Cached, true }, // five in a row: at rest
        { "f14", ReadHint::Requested, false },
    };
    std::vector<std::string> expected;
    for (const auto& file : walk) {
        files.answers[file.name] = file.answer;
        if (file.hinted) {
            expected.emplace_back(file.name);
        }
    }
    const auto folder = std::make_shared<NoListing>();
    ReadAhead readAhead(files, { .restAtStartAfter = 3, .restAfter = 5, .probeEvery = 4 });
    for (const auto& file : walk) {
        readAhead.Add(folder, file.name);
        readAhead.Settle();
    }
    EXPECT_EQ(files.hinted, expected);
}

} // namespace
} // namespace trawlit
