#include "qt/outputfile/QtProgramStarter.h"

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include "core/outputfile/ViewerPrograms.h"

namespace trawlit {

bool QtProgramStarter::StartDetached(
    const std::string& program, const std::vector<std::string>& arguments)
{
    const std::string searchPath = qEnvironmentVariable("PATH").toStdString();
    const std::string resolved = ResolveViewerProgram(program, searchPath);
    QStringList qtArguments;
    qtArguments.reserve(static_cast<qsizetype>(arguments.size()));
    for (const std::string& argument : arguments)
        qtArguments.append(QString::fromLocal8Bit(argument));
    return QProcess::startDetached(QString::fromLocal8Bit(resolved), qtArguments);
}

} // namespace trawlit
