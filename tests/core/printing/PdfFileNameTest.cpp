#include "core/printing/PdfFileName.h"

#include <set>

#include <gtest/gtest.h>

namespace trawlit {
namespace {

TEST(UnusedPdfPathTest, NumbersTheNameUntilItIsFree)
{
    struct Case {
        std::set<std::string> existing;
        std::string expected;
    };
    const Case cases[] = {
        { {}, "/r/T.out.pdf" },
        { { "/r/T.out.pdf" }, "/r/T.out-2.pdf" },
        { { "/r/T.out.pdf", "/r/T.out-2.pdf", "/r/T.out-4.pdf" }, "/r/T.out-3.pdf" },
        { { "/r/T.out-2.pdf" }, "/r/T.out.pdf" },
    };
    for (const Case& c : cases) {
        const auto exists = [&](const std::string& path) { return c.existing.count(path) > 0; };
        EXPECT_EQ(UnusedPdfPath("/r/T.out", exists), c.expected);
    }
    EXPECT_EQ(UnusedPdfPath("/r/T.out", [](const std::string&) { return true; }), "");
}

} // namespace
} // namespace trawlit
