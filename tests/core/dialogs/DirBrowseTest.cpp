#include "core/dialogs/DirBrowse.h"

#include <gtest/gtest.h>

namespace trawlit {
namespace {

class ScriptedChooser : public FolderChooserPort {
public:
    std::optional<std::string> ChooseFolder(
        const std::string& startFolder, const std::string& title) override
    {
        askedStart = startFolder;
        askedTitle = title;
        return answer;
    }
    std::optional<std::string> answer;
    std::string askedStart;
    std::string askedTitle;
};

TEST(DirBrowseTest, StartsWithoutTheTrailingSeparatorButKeepsARoot)
{
    const std::pair<std::string, std::string> cases[] = {
        { "/work/", "/work" },
        { "/work", "/work" },
        { "/", "/" },
        { "", "" },
        { "not a folder at all", "not a folder at all" },
    };
    for (const auto& [typed, start] : cases) {
        EXPECT_EQ(BrowseStartFolder(typed), start) << typed;
    }
}

TEST(DirBrowseTest, ReturnsTheChoiceOrNothing)
{
    ScriptedChooser chooser;
    bool chosen = true;
    EXPECT_EQ(DirBrowse(chooser, "/work/", "Select Root Folder", chosen), "");
    EXPECT_FALSE(chosen);
    EXPECT_EQ(chooser.askedStart, "/work");
    EXPECT_EQ(chooser.askedTitle, "Select Root Folder");

    chooser.answer = "/";
    EXPECT_EQ(DirBrowse(chooser, "", "Select Root Folder", chosen), "/");
    EXPECT_TRUE(chosen);
}

} // namespace
} // namespace trawlit
