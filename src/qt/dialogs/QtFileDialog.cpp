#include "qt/dialogs/QtFileDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QStringList>

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

QString StartingPath(const FileDialogRequest& request)
{
    QString name = QString::fromLocal8Bit(request.fileName);
    QString folder = QString::fromLocal8Bit(request.initialFolder);
    if (folder.endsWith("/.")) {
        folder.chop(1);
    }
    if (name.isEmpty()) {
        return folder;
    }
    return QDir::isAbsolutePath(name) || folder.isEmpty() ? name : folder + "/" + name;
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
    const QString start = StartingPath(request);
    if (!start.isEmpty()) {
        dialog.selectFile(start);
    }
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
