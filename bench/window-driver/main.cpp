// Runs one search in the window, offscreen, as a click on Start Search would, and prints how
// long the run took in seconds: the window's side of run-window-vs-cli.sh.
//   window-driver ROOT TEXT OUTPUT THREADS   (QT_QPA_PLATFORM=offscreen)
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QTest>
#include <cstdio>
#include <cstdlib>

#include "core/dialogs/DirBrowse.h"
#include "core/files/FileRoutines.h"
#include "fakes/NoChoosers.h"
#include "fakes/RecordingDialogs.h"
#include "platform/PosixPlatform.h"
#include "ports/FileDialogPort.h"
#include "ports/SettingsStore.h"
#include "qt/mainwindow/frmTrawlit.h"
#include "qt/platform/QtEventPump.h"
#include "qt/widgets/QtButtonKbt.h"

using namespace trawlit;
using trawlit::fakes::NoFileDialog;
using trawlit::fakes::NoFolderChooser;

int main(int argc, char** argv)
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: window-driver ROOT TEXT OUTPUT THREADS\n");
        return 2;
    }
    QApplication application(argc, argv);
    InMemorySettingsStore store;
    fakes::RecordingDialogs dialogs;
    PosixPlatform posix;
    QtEventPump events;
    FileRoutines files(posix, dialogs);
    NoFileDialog fileDialog;
    NoFolderChooser folderChooser;
    frmTrawlit window(store, dialogs, Platform { posix, posix, events }, files, fileDialog,
        folderChooser, QStringLiteral("/nonexistent/Search.avi"));
    window.SetSearchThreads(std::atoi(argv[4]));
    window.show();
    window.comboRootFolder->setEditText(QString::fromLocal8Bit(argv[1]));
    window.comboSearchStr->setEditText(QString::fromLocal8Bit(argv[2]));
    window.comboOutputPathname->setEditText(QString::fromLocal8Bit(argv[3]));
    window.chkCaseSensitive->setChecked(true);
    QCoreApplication::processEvents();
    QElapsedTimer timer;
    timer.start();
    QTest::mouseClick(window.cmdSearch2, Qt::LeftButton);
    while (window.RunBusy()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    std::printf("%.4f\n", static_cast<double>(timer.nsecsElapsed()) / 1e9);
    return 0;
}
