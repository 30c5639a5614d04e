#include "qt/mainwindow/WindowArguments.h"

#include <QDir>
#include <QUrl>

namespace trawlit {

namespace {

QString AbsoluteFolder(const QString& given, const QString& currentFolder)
{
    const QString path
        = given.startsWith(QLatin1String("file://")) ? QUrl(given).toLocalFile() : given;
    return QDir::cleanPath(QDir(currentFolder).absoluteFilePath(path));
}

} // namespace

WindowArguments ParseWindowArguments(const QStringList& arguments, const QString& currentFolder)
{
    WindowArguments parsed;
    QStringList folders;
    bool optionsEnded = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (!optionsEnded && argument == QLatin1String("--")) {
            optionsEnded = true;
        } else if (!optionsEnded && argument.size() > 1 && argument.startsWith('-')) {
            parsed.error = QStringLiteral("unknown option: %1").arg(argument);
            return parsed;
        } else if (!argument.isEmpty()) {
            folders << argument;
        }
    }
    if (folders.size() > 1) {
        parsed.error = QStringLiteral("one folder at most, not %1: %2")
                           .arg(folders.size())
                           .arg(folders.join(QLatin1String(", ")));
        return parsed;
    }
    if (!folders.isEmpty())
        parsed.rootFolder = AbsoluteFolder(folders.first(), currentFolder);
    return parsed;
}

bool HoldsNoOption(const QStringList& arguments)
{
    for (qsizetype i = 1; i < arguments.size(); ++i)
        if (arguments[i].startsWith('-'))
            return false;
    return true;
}

} // namespace trawlit
