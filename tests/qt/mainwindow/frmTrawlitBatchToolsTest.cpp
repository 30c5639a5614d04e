#include "qt/mainwindow/frmTrawlit.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

#include "core/dialogs/DirBrowse.h"
#include "core/files/FileRoutines.h"
#include "fakes/NoChoosers.h"
#include "fakes/RecordingDialogs.h"
#include "fakes/TempFolder.h"
#include "platform/PosixPlatform.h"
#include "ports/FileDialogPort.h"
#include "ports/SettingsStore.h"
#include "qt/widgets/QtButtonKbt.h"

namespace trawlit {
namespace {

using fakes::NoFileDialog;
using fakes::NoFolderChooser;
using fakes::RecordingDialogs;
using fakes::TempFolder;

struct BatchButton {
    const char* name;
    ButtonKbt* frmTrawlit::*button;
    std::string resultsLine; // a line the tool's results file holds, after the tree's path
};

class frmTrawlitBatchToolsTest : public ::testing::TestWithParam<BatchButton> {
protected:
    frmTrawlitBatchToolsTest()
    {
        tree.Write("notes.txt", "/D 4\r\ncaf\xE9\r\n");
        window.show();
        window.comboRootFolder->setEditText(QString::fromStdString(tree.Path()));
        window.comboOutputPathname->setEditText(QString::fromStdString(output));
    }

    TempFolder tree;
    TempFolder outside;
    std::string output = outside / "Trawlit.out";
    InMemorySettingsStore store;
    RecordingDialogs dialogs;
    PosixPlatform platform;
    NoEventPump noEvents;
    FileRoutines files { platform, dialogs };
    NoFileDialog fileDialog;
    NoFolderChooser chooser;
    frmTrawlit window { store, dialogs, { platform, platform, noEvents }, files, fileDialog,
        chooser, QString::fromStdString(tree / "none.avi") };
};

TEST_P(frmTrawlitBatchToolsTest, ClickingTheButtonRunsItsToolAndReturnsToIdle)
{
    QTest::mouseClick(window.*(GetParam().button), Qt::LeftButton);

    const std::string results = TempFolder::ReadWholeFile(output);
    EXPECT_NE(results.find(GetParam().resultsLine), std::string::npos) << results;
    ASSERT_EQ(dialogs.outputFiles.size(), 1u);
    EXPECT_EQ(dialogs.outputFiles[0].path, output);
    EXPECT_EQ(window.lblTotalFileCount->text(), "1");
    EXPECT_FALSE(window.RunBusy());
    EXPECT_TRUE(window.cmdSearch2->isVisible());
    EXPECT_FALSE(window.cmdAbort->isVisible());
}

TEST_P(frmTrawlitBatchToolsTest, ARelativeResultsPathIsMadeAbsoluteWhenTheRunStarts)
{
    const QString before = QDir::currentPath();
    QDir::setCurrent(QString::fromStdString(outside.Path()));
    window.comboOutputPathname->setEditText("-n");
    QTest::mouseClick(window.*(GetParam().button), Qt::LeftButton);
    QDir::setCurrent(before);

    ASSERT_EQ(dialogs.outputFiles.size(), 1u);
    EXPECT_EQ(dialogs.outputFiles[0].path, outside / "-n");
    EXPECT_EQ(window.comboOutputPathname->currentText().toStdString(), outside / "-n");
}

INSTANTIATE_TEST_SUITE_P(EveryBatchButton, frmTrawlitBatchToolsTest,
    ::testing::Values(
        BatchButton { "FolderListing", &frmTrawlit::cmdFolderListing, "  notes.txt\r\n" },
        BatchButton {
            "ExtractCHeaders", &frmTrawlit::cmdExtractCHeaders, "notes.txt\r\n\t/D 4\r\n" },
        BatchButton { "Brelka", &frmTrawlit::cmdBrelka, "       0         1    notes.txt\r\n" },
        BatchButton { "RuvReplace", &frmTrawlit::cmdRuvReplace, "/notes.txt\r\n\r\n" }),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

} // namespace
} // namespace trawlit
