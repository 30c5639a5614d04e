#include "qt/mainwindow/HomeFolder.h"

#include <gtest/gtest.h>

namespace trawlit {
namespace {

TEST(ExpandHomeFolderTest, OnlyALeadingTildeOfItsOwnIsTheHomeFolder)
{
    const QString home = QStringLiteral("/home/ann");
    const std::pair<const char*, const char*> cases[] = {
        { "~", "/home/ann" },
        { "~/", "/home/ann/" },
        { "  ~/src/x.out ", "  /home/ann/src/x.out " },
        { "~  ", "/home/ann  " },
        { "~bob/x", "~bob/x" },
        { "/tmp/~/x", "/tmp/~/x" },
        { "a~", "a~" },
        { "", "" },
    };
    for (const auto& [typed, meant] : cases)
        EXPECT_EQ(ExpandHomeFolder(QString::fromUtf8(typed), home), QString::fromUtf8(meant))
            << typed;
}

} // namespace
} // namespace trawlit
