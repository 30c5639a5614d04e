#include "qt/outputfile/frmOutputFileCreated.h"

#include <QLabel>
#include <QProgressBar>
#include <QTest>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "core/files/FileRoutines.h"
#include "fakes/RecordingDialogs.h"
#include "fakes/TempFolder.h"
#include "platform/PosixPlatform.h"
#include "qt/widgets/QtButtonKbt.h"

namespace trawlit {
namespace {

using fakes::RecordingDialogs;
using fakes::TempFolder;

class RecordingActions : public OutputFileActions {
public:
    void ViewFile(const std::string& path) override { viewed.push_back(path); }
    void ShowChangeViewers(QWidget* over) override
    {
        panelVisibleDuringNestedWindow = over->findChild<QWidget*>("panelButtons")->isVisible();
        ++changeViewerCalls;
        if (whileChangingViewers)
            whileChangingViewers();
    }
    int ConfirmDelete(const std::string& text, QWidget* over) override
    {
        panelVisibleDuringNestedWindow = over->findChild<QWidget*>("panelButtons")->isVisible();
        questions.push_back(text);
        return deleteAnswer;
    }
    void Print(const std::string& path, frmOutputFileCreated&) override { printed.push_back(path); }

    std::vector<std::string> viewed, questions, printed;
    int changeViewerCalls = 0;
    int deleteAnswer = MsgBoxAnswer::No;
    bool panelVisibleDuringNestedWindow = true;
    std::function<void()> whileChangingViewers;
};

class frmOutputFileCreatedTest : public ::testing::Test {
protected:
    void Open(const std::string& message = "7 files searched.\r\n\r\n2 matches found in 1 file.")
    {
        dialog = std::make_unique<frmOutputFileCreated>(
            OutputFileRequest { message, "Trawlit", path }, files, platform, actions);
        dialog->show();
        QApplication::processEvents();
    }

    TempFolder folder;
    std::string path = folder.Write("Trawlit.out", std::string(512, 'r'));
    PosixPlatform platform;
    RecordingDialogs dialogs;
    FileRoutines files { platform, dialogs };
    RecordingActions actions;
    std::unique_ptr<frmOutputFileCreated> dialog;
};

TEST_F(frmOutputFileCreatedTest, FirstActivationShowsTheRequestAndFocusesView)
{
    Open();
    EXPECT_EQ(dialog->windowTitle(), "Trawlit");
    EXPECT_EQ(dialog->lblFileCreatedHeader->text(), "Output file created!");
    EXPECT_EQ(dialog->lblPathname->text().toStdString(), " " + path + " ");
    EXPECT_EQ(dialog->lblNBytes->text(), "512 bytes");
    EXPECT_EQ(dialog->lblMessage->text(), "7 files searched.\n\n2 matches found in 1 file.");
    EXPECT_EQ(dialog->CurrentPath(), path);
    EXPECT_TRUE(dialog->panelButtons->isVisible());
    EXPECT_FALSE(dialog->ProgressBar1->isVisible());
    EXPECT_TRUE(dialog->cmdView->hasFocus());

    QTest::mouseClick(dialog->cmdView, Qt::LeftButton);
    QTest::mouseClick(dialog->cmdPrint, Qt::LeftButton);
    EXPECT_EQ(actions.viewed, std::vector<std::string> { path });
    EXPECT_EQ(actions.printed, std::vector<std::string> { path });
    EXPECT_TRUE(dialog->isVisible());
}

TEST_F(frmOutputFileCreatedTest, AnEmptyClosingMessageLeavesTheMessageBlank)
{
    Open("");
    EXPECT_TRUE(dialog->lblMessage->text().isEmpty());
}

TEST_F(frmOutputFileCreatedTest, ChangingViewersRefreshesOnlyTheSize)
{
    Open();
    actions.whileChangingViewers = [&] { std::ofstream(path, std::ios::app) << "more"; };
    QTest::mouseClick(dialog->cmdChangeViewer, Qt::LeftButton);

    EXPECT_EQ(actions.changeViewerCalls, 1);
    EXPECT_FALSE(actions.panelVisibleDuringNestedWindow);
    EXPECT_TRUE(dialog->panelButtons->isVisible());
    EXPECT_EQ(dialog->lblNBytes->text(), "516 bytes");
    EXPECT_EQ(dialog->lblPathname->text().toStdString(), " " + path + " ");
    EXPECT_EQ(dialog->lblMessage->text(), "7 files searched.\n\n2 matches found in 1 file.");
    EXPECT_TRUE(dialog->cmdView->hasFocus());
}

struct DeleteCase {
    const char* name;
    int answer;
    bool readOnly;
    bool fileStays;
    bool dialogStays;
};

class frmOutputFileCreatedDeleteTest : public frmOutputFileCreatedTest,
                                       public ::testing::WithParamInterface<DeleteCase> { };

TEST_P(frmOutputFileCreatedDeleteTest, DeletesOnlyOnYesAndNeverComplains)
{
    const DeleteCase& testCase = GetParam();
    if (testCase.readOnly)
        std::filesystem::permissions(path, std::filesystem::perms::owner_read);
    Open();
    actions.deleteAnswer = testCase.answer;
    QTest::mouseClick(dialog->cmdDelete, Qt::LeftButton);

    ASSERT_EQ(actions.questions.size(), 1u);
    EXPECT_EQ(actions.questions[0], path + "\r\n\r\nDelete this file?");
    EXPECT_FALSE(actions.panelVisibleDuringNestedWindow);
    EXPECT_EQ(std::filesystem::exists(path), testCase.fileStays);
    EXPECT_EQ(dialog->isVisible(), testCase.dialogStays);
    EXPECT_TRUE(dialogs.messages.empty());
    if (testCase.dialogStays) {
        EXPECT_TRUE(dialog->panelButtons->isVisible());
    }
}

INSTANTIATE_TEST_SUITE_P(Answers, frmOutputFileCreatedDeleteTest,
    ::testing::Values(DeleteCase { "No", MsgBoxAnswer::No, false, true, true },
        DeleteCase { "ClosedWithoutAnswer", 2, false, true, true },
        DeleteCase { "Yes", MsgBoxAnswer::Yes, false, false, false },
        DeleteCase { "YesButReadOnly", MsgBoxAnswer::Yes, true, true, false }),
    [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

TEST_F(frmOutputFileCreatedTest, CtrlQClosesButCtrlShiftQDoesNothing)
{
    Open();
    QTest::keyClick(dialog->cmdView, Qt::Key_Q, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(dialog->isVisible());
    QTest::keyClick(dialog->cmdView, Qt::Key_Q, Qt::AltModifier);
    EXPECT_TRUE(dialog->isVisible());
    QTest::keyClick(dialog->cmdView, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(frmOutputFileCreatedTest, ALongPathShrinksAndMovesDown)
{
    Open();
    const int designTop = dialog->lblPathname->y();
    EXPECT_EQ(dialog->lblPathname->font().pointSizeF(), 13.5);

    path = folder.Write(std::string(60, 'n') + ".out", "x");
    Open();
    const double points = dialog->lblPathname->font().pointSizeF();
    EXPECT_TRUE(points == 12.0 || points == 10.0);
    EXPECT_EQ(dialog->lblPathname->y() - designTop, points == 12.0 ? 8 : 12);

    path = folder.Write(std::string(200, 'w') + ".out", "x");
    Open();
    EXPECT_EQ(dialog->lblPathname->font().pointSizeF(), 10.0);
    EXPECT_EQ(dialog->lblPathname->y() - designTop, 12);
    // Too wide even then: the middle gives way, the file's name stays, the tooltip has it all.
    EXPECT_TRUE(dialog->rect().contains(dialog->lblPathname->geometry()));
    const QString shown = dialog->lblPathname->text();
    EXPECT_TRUE(shown.contains(QChar(0x2026)));
    EXPECT_TRUE(shown.endsWith(QStringLiteral("ww.out "))) << shown.toStdString();
    EXPECT_EQ(dialog->lblPathname->toolTip().toStdString(), path);
    EXPECT_EQ(dialog->CurrentPath(), path);
    EXPECT_TRUE(dialog->grab().save(QStringLiteral("/tmp/frmOutputFileCreated-long.png")));
}

} // namespace
} // namespace trawlit
