#include "qt/outputfile/QtOutputFileActions.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <vector>

#include <gtest/gtest.h>

#include "core/files/FileRoutines.h"
#include "fakes/RecordingDialogs.h"
#include "fakes/TempFolder.h"
#include "platform/PosixPlatform.h"
#include "ports/SettingsStore.h"
#include "qt/widgets/QtButtonKbt.h"

namespace trawlit {
namespace {

using fakes::RecordingDialogs;
using fakes::TempFolder;

// Presses the keys in whichever modal window is up once the event loop runs.
void AnswerNextModalWith(std::vector<Qt::Key> keys)
{
    QTimer::singleShot(0, [keys] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        for (Qt::Key key : keys) {
            QWidget* target = modal->focusWidget() != nullptr ? modal->focusWidget() : modal;
            QTest::keyClick(target, key);
        }
    });
}

struct DeleteKeys {
    std::vector<Qt::Key> keys;
    bool deleted;
};

class QtOutputFileActionsTest : public ::testing::TestWithParam<DeleteKeys> {
protected:
    TempFolder folder;
    std::string path = folder.Write("Trawlit.out", "results\r\n");
    PosixPlatform platform;
    NoEventPump noEvents;
    RecordingDialogs dialogs;
    FileRoutines files { platform, dialogs };
    InMemorySettingsStore settings;
    QtOutputFileActions actions { files, { platform, platform, noEvents }, dialogs, settings };
};

TEST_P(QtOutputFileActionsTest, TheDeleteQuestionIsAnsweredByItsKeys)
{
    const auto& [keys, deleted] = GetParam();
    frmOutputFileCreated dialog(
        OutputFileRequest { "1 file searched.", "Trawlit", path }, files, platform, actions);
    dialog.show();
    QApplication::processEvents();

    AnswerNextModalWith(keys);
    QTest::mouseClick(dialog.cmdDelete, Qt::LeftButton);

    EXPECT_EQ(std::filesystem::exists(path), !deleted);
    EXPECT_EQ(dialog.isVisible(), !deleted);
}

INSTANTIATE_TEST_SUITE_P(Keys, QtOutputFileActionsTest,
    ::testing::Values(DeleteKeys { { Qt::Key_Y }, true }, DeleteKeys { { Qt::Key_N }, false },
        // Escape means nothing with two buttons; Enter presses the default, No.
        DeleteKeys { { Qt::Key_Escape, Qt::Key_N }, false },
        DeleteKeys { { Qt::Key_Return }, false }));

} // namespace
} // namespace trawlit
