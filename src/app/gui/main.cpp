// The window program: the main window over the real settings store, file system and dialogs.

#include <QApplication>
#include <QDir>
#include <memory>

#include "dialogs/QtDialogs.h"
#include "dialogs/QtFileDialog.h"
#include "mainwindow/QtFolderChooser.h"
#include "mainwindow/QtSettingsStore.h"
#include "mainwindow/frmTrawlit.h"
#include "util/FileRoutines.h"
#include "util/platform/QtPlatform.h"

namespace {

using namespace trawlit;

// The window needs its dialogs before it exists, while the dialogs want the window as their
// parent. These stand in until the window is there and then pass everything on.
class WindowDialogs : public Dialogs {
public:
    using Dialogs::MsgBox;
    int MsgBox(const std::string& text, int code, const std::string& title) override
    {
        return target ? target->MsgBox(text, code, title) : MsgBoxAnswer::Ok;
    }
    void ShowOutputFile(
        const std::string& message, const std::string& title, const std::string& path) override
    {
        if (target)
            target->ShowOutputFile(message, title, path);
    }
    std::unique_ptr<QtDialogs> target;
};

class WindowFileDialog : public FileDialogPort {
public:
    FileDialogAnswer Show(const FileDialogRequest& request) override
    {
        return target ? target->Show(request) : FileDialogAnswer {};
    }
    std::unique_ptr<QtFileDialog> target;
};

class WindowFolderChooser : public FolderChooserPort {
public:
    std::optional<std::string> ChooseFolder(
        const std::string& startFolder, const std::string& title) override
    {
        return target ? target->ChooseFolder(startFolder, title) : std::nullopt;
    }
    std::unique_ptr<QtFolderChooser> target;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);

    QtSettingsStore settings;
    QtPlatform platform;
    WindowDialogs dialogs;
    WindowFileDialog fileDialog;
    WindowFolderChooser folderChooser;
    FileRoutines files(platform, dialogs);

    // The clip is shipped beside the program.
    const QString searchAvi = QApplication::applicationDirPath() + QDir::separator() + "Search.avi";
    frmTrawlit window(settings, dialogs, platform, files, fileDialog, folderChooser, searchAvi);
    dialogs.target = std::make_unique<QtDialogs>(&window);
    fileDialog.target = std::make_unique<QtFileDialog>(&window);
    folderChooser.target = std::make_unique<QtFolderChooser>(&window);

    window.show();
    return QApplication::exec();
}
