#include "qt/mainwindow/QtFolderChooser.h"

#include <QDir>
#include <QFileDialog>

#include "qt/dialogs/FileDialogSize.h"

namespace trawlit {

std::optional<std::string> QtFolderChooser::ChooseFolder(
    const std::string& startFolder, const std::string& title)
{
    QFileDialog dialog(parent_, QString::fromLocal8Bit(title));
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::ShowDirsOnly);
    dialog.setFileMode(QFileDialog::Directory);
    const QString start = QString::fromLocal8Bit(startFolder);
    if (!start.isEmpty() && QDir(start).exists()) {
        dialog.setDirectory(start);
    }
    OpenWideEnough(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return QDir::toNativeSeparators(dialog.selectedFiles().first()).toLocal8Bit().toStdString();
}

} // namespace trawlit
