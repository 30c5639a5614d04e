#include "core/searchrun/SearchedFile.h"

#include <gtest/gtest.h>

#include "fakes/FakePlatform.h"

namespace trawlit {
namespace {

// A read that fails is told apart from the end of the file and from a stop; an open that
// fails keeps its reason; the handle is given back either way.
TEST(SearchedFileTest, TellsHowTheReadingEnded)
{
    struct Case {
        const char* what;
        void (*arrange)(fakes::FakePlatform&);
        ReadOutcome outcome;
        std::string read;
        int errorNumber;
        bool stop = false; // asked before every read, as the matcher does
    };
    const Case cases[] = {
        { "whole", [](fakes::FakePlatform&) {}, ReadOutcome::Read, "abcdef", 0 },
        { "read fails part way", [](fakes::FakePlatform& fake) { fake.FailRead("/d/a.txt", 3); },
            ReadOutcome::ReadFailed, "abc", 57 },
        { "stopped", [](fakes::FakePlatform&) {}, ReadOutcome::Stopped, "", 0, true },
        { "not opened",
            [](fakes::FakePlatform& fake) { fake.FailOpen("/d/a.txt", 70, "Permission denied"); },
            ReadOutcome::NotOpened, "", 70 },
    };
    for (const Case& c : cases) {
        fakes::FakePlatform fake;
        fake.AddFile("/d/a.txt", "abcdef");
        c.arrange(fake);
        std::string read;
        FileRead outcome;
        {
            SearchedFile file(fake, nullptr, "a.txt", "/d/a.txt", [&c] { return c.stop; });
            char buffer[4];
            for (std::ptrdiff_t got = 0; file.IsOpen() && !file.Stopped()
                 && (got = file.Read(buffer, sizeof buffer)) > 0;) {
                read.append(buffer, static_cast<std::size_t>(got));
            }
            outcome = file.Outcome();
        }
        EXPECT_EQ(outcome.outcome, c.outcome) << c.what;
        EXPECT_EQ(read, c.read) << c.what;
        EXPECT_EQ(outcome.error.number, c.errorNumber) << c.what;
        EXPECT_EQ(fake.OpenHandleCount(), 0) << c.what;
    }
}

} // namespace
} // namespace trawlit
