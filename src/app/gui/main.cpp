// The window program: the main window over the real settings store, file system and dialogs.

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <thread>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

#include "Version.h"
#include "app/signals/ProgramSignals.h"

#include "core/files/FileRoutines.h"
#include "platform/PosixPlatform.h"
#include "qt/dialogs/QtDialogs.h"
#include "qt/dialogs/QtFileDialog.h"
#include "qt/mainwindow/QtFolderChooser.h"
#include "qt/mainwindow/WindowArguments.h"
#include "qt/mainwindow/frmTrawlit.h"
#include "qt/outputfile/QtOutputFileActions.h"
#include "qt/outputfile/QtOutputFiles.h"
#include "qt/platform/QtEventPump.h"
#include "qt/platform/QtSettingsStore.h"

namespace {

// Answered before the application object exists, so that they work without a display.
bool AnsweredInformationRequest(int argc, char** argv)
{
    if (argc != 2) {
        return false;
    }
    if (std::strcmp(argv[1], "--version") == 0) {
        std::printf("trawlit %s\n", trawlit::kVersionText);
        return true;
    }
    if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        std::printf("Usage: trawlit [Qt options] [--] [FOLDER]\n"
                    "Search the text files of a folder tree for a text, in a window.\n\n"
                    "  FOLDER      Start with FOLDER in Root Folder\n"
                    "  -h, --help  Print this help message and exit\n"
                    "  --version   Print the version and exit\n\n"
                    "trawlit-cli does the same runs without a window.\n");
        return true;
    }
    return false;
}

QStringList ArgumentList(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

// A refused command line is said on standard error; status 2, as trawlit-cli's.
bool Refused(const trawlit::WindowArguments& arguments)
{
    if (arguments.error.isEmpty())
        return false;
    std::fprintf(stderr, "trawlit: %s\nTry 'trawlit --help'.\n", qPrintable(arguments.error));
    return true;
}

// The clip beside the program (the build folder), else in the installed data folder.
QString SearchAviPath()
{
    const QString programFolder = QApplication::applicationDirPath() + "/";
    const QString besideProgram = programFolder + "Search.avi";
    if (QFileInfo(besideProgram).isFile()) {
        return besideProgram;
    }
    return QFileInfo(programFolder + TRAWLIT_DATA_FROM_PROGRAM "/Search.avi").absoluteFilePath();
}

} // namespace

int main(int argc, char** argv)
{
    if (AnsweredInformationRequest(argc, argv)) {
        return 0;
    }
    // Without options the command line is refused before a display is needed; Qt takes its
    // own options out of argv first.
    const QStringList given = ArgumentList(argc, argv);
    if (trawlit::HoldsNoOption(given)
        && Refused(trawlit::ParseWindowArguments(given, QDir::currentPath()))) {
        return 2;
    }
    QApplication application(argc, argv);
    const trawlit::WindowArguments arguments
        = trawlit::ParseWindowArguments(ArgumentList(argc, argv), QDir::currentPath());
    if (Refused(arguments)) {
        return 2;
    }
    QGuiApplication::setDesktopFileName("org.trawlit.Trawlit");
    // A cleaned copy's temporary file never outlives the program.
    trawlit::EndSignalsRemoveCopyInTheMaking();

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

    frmTrawlit window(
        settings, dialogs, platform, files, fileDialog, folderChooser, SearchAviPath());
    window.SetSearchThreads(static_cast<int>(std::max(1U, std::thread::hardware_concurrency())));
    // The dialogs exist before the window they belong to.
    dialogs.SetParent(&window);
    outputFiles.SetParent(&window);
    fileDialog.SetParent(&window);
    folderChooser.SetParent(&window);

    if (!arguments.rootFolder.isEmpty()) {
        window.StartInFolder(arguments.rootFolder);
    }
    window.show();
    return QApplication::exec();
}
