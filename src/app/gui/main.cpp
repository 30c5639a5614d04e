// The window program: the main window over the real settings store, file system and dialogs.

#include <QApplication>
#include <QDir>

#include "core/files/FileRoutines.h"
#include "platform/PosixCleanedCopies.h"
#include "platform/PosixPlatform.h"
#include "qt/dialogs/QtDialogs.h"
#include "qt/dialogs/QtFileDialog.h"
#include "qt/mainwindow/QtFolderChooser.h"
#include "qt/mainwindow/frmTrawlit.h"
#include "qt/outputfile/QtOutputFileActions.h"
#include "qt/outputfile/QtOutputFiles.h"
#include "qt/platform/QtEventPump.h"
#include "qt/platform/QtSettingsStore.h"

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    // A cleaned copy's temporary file never outlives the program.
    trawlit::PosixCleanedCopies::RemoveCopyInTheMakingWhenEnded();

    using namespace trawlit;
    QtSettingsStore settings;
    PosixPlatform posix;
    QtEventPump events;
    const Platform platform { posix, posix, events };
    QtDialogs dialogs;
    QtFileDialog fileDialog;
    QtFolderChooser folderChooser;
    FileRoutines files(posix, dialogs);
    QtOutputFileActions outputFileActions(files, platform, dialogs, settings);
    QtOutputFiles outputFiles(files, posix, dialogs, outputFileActions);
    dialogs.SetOutputFiles(&outputFiles);

    // The clip is shipped beside the program.
    const QString searchAvi = QApplication::applicationDirPath() + QDir::separator() + "Search.avi";
    frmTrawlit window(settings, dialogs, platform, files, fileDialog, folderChooser, searchAvi);
    // The dialogs exist before the window they belong to.
    dialogs.SetParent(&window);
    outputFiles.SetParent(&window);
    fileDialog.SetParent(&window);
    folderChooser.SetParent(&window);

    window.show();
    return QApplication::exec();
}
