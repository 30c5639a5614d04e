#include "qt/outputfile/QtOutputFiles.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "qt/dialogs/QtDialogs.h"
#include "fakes/TempFolder.h"
#include "qt/outputfile/frmOutputFileCreated.h"
#include "core/files/FileRoutines.h"
#include "platform/PosixPlatform.h"

namespace trawlit {
namespace {

using fakes::TempFolder;

class NoActions : public OutputFileActions {
public:
    void ViewFile(const std::string&) override { }
    void ShowChangeViewers(QWidget*) override { }
    int ConfirmDelete(const std::string&, QWidget*) override { return 7; }
    void Print(const std::string&, frmOutputFileCreated&) override { }
};

// What modal window the end of a run raised, read and closed as the user would.
struct SeenWindow {
    QString className;
    QString text;
};

void CloseNextModal(SeenWindow& seen)
{
    QTimer::singleShot(0, [&seen] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        seen.className = QString::fromLatin1(modal->metaObject()->className());
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            seen.text = box->text();
        } else if (auto* label = modal->findChild<QLabel*>("lblNBytes")) {
            seen.text = label->text();
        }
        QTest::keyClick(modal, Qt::Key_Q, Qt::ControlModifier);
        if (modal->isVisible())
            QTest::keyClick(modal, Qt::Key_Escape);
    });
}

TEST(QtOutputFilesTest, TheWindowProgramEndsARunInTheDialogOrTheEmptyFileMessage)
{
    TempFolder folder;
    PosixPlatform platform;
    QtDialogs dialogs;
    FileRoutines files(platform, dialogs);
    NoActions actions;
    QtOutputFiles outputFiles(files, platform, dialogs, actions);
    dialogs.SetOutputFiles(&outputFiles);

    SeenWindow seen;
    CloseNextModal(seen);
    dialogs.ShowOutputFile("1 file searched.", "Trawlit", folder.Write("full.out", "abc"));
    EXPECT_EQ(seen.className, "trawlit::frmOutputFileCreated");
    EXPECT_EQ(seen.text, "3 bytes");

    seen = {};
    CloseNextModal(seen);
    const std::string empty = folder.Write("empty.out");
    dialogs.ShowOutputFile("1 file searched.", "Trawlit", empty);
    EXPECT_EQ(seen.className, "QMessageBox");
    EXPECT_EQ(seen.text.toStdString(), "File is empty!\n\n" + empty);
}

} // namespace
} // namespace trawlit
