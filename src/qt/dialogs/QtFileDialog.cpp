#include "qt/dialogs/QtFileDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QStringList>

#include "qt/dialogs/FileDialogSize.h"

namespace trawlit {

namespace {

// "All Files (*.*)|*.*|Text Files (*.txt)|*.txt" -> Qt's "All Files (*)", "Text Files (*.txt)".
QStringList NameFilters(const std::string& filter)
{
    const QStringList parts = QString::fromLocal8Bit(filter).split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString pattern = parts[i + 1] == "*.*" ? QString("*") : parts[i + 1];
        pattern.replace(';', ' ');
        QString description = parts[i];
        description = description.left(description.indexOf('(')).trimmed();
        filters << description + " (" + pattern + ")";
    }
    return filters;
}

QString InitialFolder(const FileDialogRequest& request)
{
    QString folder = QString::fromLocal8Bit(request.initialFolder);
    if (folder.endsWith("/.")) {
        folder.chop(1);
    }
    return folder;
}

// The proposed file's full path; empty when the request names a folder only.
QString ProposedFile(const FileDialogRequest& request, const QString& folder)
{
    const QString name = QString::fromLocal8Bit(request.fileName);
    if (name.isEmpty() || QDir::isAbsolutePath(name) || folder.isEmpty()) {
        return name;
    }
    return folder + "/" + name;
}

} // namespace

FileDialogAnswer QtFileDialog::Show(const FileDialogRequest& request)
{
    QFileDialog dialog(parent_, QString::fromLocal8Bit(request.title));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    const bool saving = request.action == 2;
    dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const QStringList filters = NameFilters(request.filter);
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size()) {
        dialog.selectNameFilter(filters[request.filterIndex - 1]);
    }
    // A folder alone opens that folder with no name: selecting it would open its parent
    // with the folder's name proposed as the file.
    const QString folder = InitialFolder(request);
    const QString file = ProposedFile(request, folder);
    if (!file.isEmpty()) {
        dialog.selectFile(file);
    } else if (!folder.isEmpty()) {
        dialog.setDirectory(folder);
    }
    OpenWideEnough(dialog);
    FileDialogAnswer answer;
    answer.flags = request.flags;
    answer.filterIndex = request.filterIndex;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return answer;
    }
    answer.confirmed = true;
    answer.filePathname = dialog.selectedFiles().first().toLocal8Bit().toStdString();
    answer.filterIndex
        = static_cast<std::int16_t>(filters.indexOf(dialog.selectedNameFilter()) + 1);
    return answer;
}

} // namespace trawlit
