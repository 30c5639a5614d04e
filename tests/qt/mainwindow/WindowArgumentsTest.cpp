#include "qt/mainwindow/WindowArguments.h"

#include <gtest/gtest.h>

namespace trawlit {
namespace {

TEST(WindowArgumentsTest, TakesOneFolderAndRefusesAnythingElse)
{
    struct Case {
        QStringList arguments;
        QString folder;
        bool refused;
    };
    const Case cases[] = {
        { {}, {}, false },
        { { "/srv/doc" }, "/srv/doc", false },
        { { "/srv/doc/" }, "/srv/doc", false },
        { { "sub/../doc" }, "/home/u/doc", false },
        { { "." }, "/home/u", false },
        { { "file:///srv/my%20doc" }, "/srv/my doc", false },
        { { "--", "-odd name" }, "/home/u/-odd name", false },
        { { "-" }, "/home/u/-", false },
        { { "/a", "/b" }, {}, true },
        { { "--bogus" }, {}, true },
        { { "-x", "/a" }, {}, true },
        { { "--", "/a", "/b" }, {}, true },
    };
    for (const Case& c : cases) {
        const WindowArguments parsed
            = ParseWindowArguments(QStringList { "trawlit" } + c.arguments, "/home/u");
        EXPECT_EQ(parsed.rootFolder, c.folder) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(!parsed.error.isEmpty(), c.refused) << c.arguments.join(' ').toStdString();
    }
    EXPECT_EQ(ParseWindowArguments({ "trawlit", "/a", "/b" }, "/").error,
        "one folder at most, not 2: /a, /b");
    EXPECT_EQ(ParseWindowArguments({ "trawlit", "--bogus" }, "/").error, "unknown option: --bogus");
}

} // namespace
} // namespace trawlit
