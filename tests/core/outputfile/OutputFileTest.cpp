#include "core/outputfile/OutputFile.h"

#include <gtest/gtest.h>

#include "fakes/FakePlatform.h"
#include "fakes/RecordingDialogs.h"
#include "core/files/FileRoutines.h"

namespace trawlit {
namespace {

using fakes::FakePlatform;
using fakes::RecordingDialogs;

class RecordingWindow : public OutputFileWindow {
public:
    void ShowModal(const OutputFileRequest& request) override { shown.push_back(request); }
    std::vector<OutputFileRequest> shown;
};

struct OutputFileCase {
    const char* name;
    bool exists;
    std::string contents;
    std::size_t messages;
    std::size_t dialogs;
};

class ShowOutputFileTest : public ::testing::TestWithParam<OutputFileCase> { };

TEST_P(ShowOutputFileTest, ShowsTheDialogOnlyForAFileWithContents)
{
    const OutputFileCase& testCase = GetParam();
    FakePlatform platform;
    platform.AddFolder("/home");
    if (testCase.exists)
        platform.AddFile("/home/Trawlit.out", testCase.contents);
    RecordingDialogs dialogs;
    FileRoutines files(platform, dialogs);
    RecordingWindow window;

    const OutputFileRequest request { "3 files searched.", "Trawlit", "/home/Trawlit.out" };
    ShowOutputFile(request, files, platform, dialogs, window);

    ASSERT_EQ(dialogs.messages.size(), testCase.messages);
    ASSERT_EQ(window.shown.size(), testCase.dialogs);
    if (testCase.messages == 1) {
        EXPECT_EQ(dialogs.messages[0].text, "File is empty!\r\n\r\n/home/Trawlit.out");
        EXPECT_EQ(dialogs.messages[0].code, MsgBoxCode::Exclamation);
        EXPECT_EQ(dialogs.messages[0].title, "Trawlit");
    }
    if (testCase.dialogs == 1) {
        EXPECT_EQ(window.shown[0].message, request.message);
        EXPECT_EQ(window.shown[0].path, request.path);
    }
}

INSTANTIATE_TEST_SUITE_P(Files, ShowOutputFileTest,
    ::testing::Values(OutputFileCase { "Missing", false, "", 0, 0 },
        OutputFileCase { "Empty", true, "", 1, 0 }, OutputFileCase { "OneByte", true, "x", 0, 1 }),
    [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

TEST(FileSizeCaptionTest, IsTheLengthInBytesOrSaysTheFileIsGone)
{
    FakePlatform platform;
    platform.AddFile("/a/results.out", std::string(512, 'x'));
    EXPECT_EQ(FileSizeCaption(platform, "/a/results.out"), "512 bytes");
    EXPECT_EQ(FileSizeCaption(platform, "/a/gone.out"), "File not found");
}

struct FitCase {
    std::int32_t width13_5;
    std::int32_t width12;
    std::int32_t width10;
    double points;
    std::int32_t extraTop;
};

class FitPathLabelTest : public ::testing::TestWithParam<FitCase> { };

// The window is 8400 twips wide, so 8160 twips is the room the path has.
TEST_P(FitPathLabelTest, StepsDownOnlyWhileThePathIsTooWide)
{
    const FitCase& testCase = GetParam();
    const PathLabelFit fit = FitPathLabel(8400, [&](double points) {
        return points > 13 ? testCase.width13_5 : points > 11 ? testCase.width12 : testCase.width10;
    });
    EXPECT_EQ(fit.points, testCase.points);
    EXPECT_EQ(fit.extraTopTwips, testCase.extraTop);
}

INSTANTIATE_TEST_SUITE_P(Widths, FitPathLabelTest,
    ::testing::Values(FitCase { 8160, 7000, 6000, 13.5, 0 }, // exactly fits
        FitCase { 8161, 8160, 6000, 12.0, 120 }, FitCase { 9000, 8500, 8160, 10.0, 180 },
        FitCase { 12000, 11000, 9000, 10.0, 180 })); // never below 10 points

} // namespace
} // namespace trawlit
