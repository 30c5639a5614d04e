// The window program: the main window over the real settings store, file system and dialogs.

#include <QApplication>
#include <QDir>

#include "dialogs/QtDialogs.h"
#include "dialogs/QtFileDialog.h"
#include "mainwindow/QtFolderChooser.h"
#include "mainwindow/QtSettingsStore.h"
#include "mainwindow/frmTrawlit.h"
#include "outputfile/QtOutputFileActions.h"
#include "outputfile/QtOutputFiles.h"
#include "util/FileRoutines.h"
#include "util/platform/QtPlatform.h"

int main(int argc, char** argv)
{
    QApplication application(argc, argv);

    using namespace trawlit;
    QtSettingsStore settings;
    QtPlatform platform;
    QtDialogs dialogs;
    QtFileDialog fileDialog;
    QtFolderChooser folderChooser;
    FileRoutines files(platform, dialogs);
    QtOutputFileActions outputFileActions(files, platform, dialogs, settings);
    QtOutputFiles outputFiles(files, platform, dialogs, outputFileActions);
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
