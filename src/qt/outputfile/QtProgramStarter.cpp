#include "qt/outputfile/QtProgramStarter.h"

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include "core/outputfile/ViewerPrograms.h"
#include "qt/outputfile/QtDesktopEditor.h"

namespace trawlit {

namespace {

QStringList ToQt(const std::vector<std::string>& words)
{
    QStringList list;
    list.reserve(static_cast<qsizetype>(words.size()));
    for (const std::string& word : words)
        list.append(QString::fromLocal8Bit(word));
    return list;
}

// The text editor the user chose on the desktop, for a default viewer name that names no
// program of its own; false when the desktop names none that is there to start.
bool StartDesktopTextEditor(const QStringList& arguments, const std::string& searchPath)
{
    const QStringList command = DesktopTextEditorCommand(arguments);
    return !command.isEmpty()
        && !FindProgram(command.front().toLocal8Bit().toStdString(), searchPath, false).empty()
        && QProcess::startDetached(command.front(), command.mid(1));
}

} // namespace

bool QtProgramStarter::StartDetached(
    const std::string& program, const std::vector<std::string>& arguments)
{
    const std::string searchPath = qEnvironmentVariable("PATH").toStdString();
    if (IsDefaultViewerName(program) && FindProgram(program, searchPath, false).empty()
        && StartDesktopTextEditor(ToQt(arguments), searchPath)) {
        return true;
    }
    const std::string resolved = ResolveViewerProgram(program, searchPath);
    return QProcess::startDetached(QString::fromLocal8Bit(resolved), ToQt(arguments));
}

} // namespace trawlit
