#include "core/outputfile/Viewers.h"

#include <exception>

#include "ports/Dialogs.h"
#include "ports/ProgramStarter.h"
#include "core/outputfile/ViewerCommand.h"
#include "core/files/FileRoutines.h"
#include "core/text/NameTokens.h"

namespace trawlit {

std::string SmallFileViewer = kDefaultSmallFileViewer;
std::string LargeFileViewer = kDefaultLargeFileViewer;

namespace {

// Rich text and web pages open in whatever the desktop registers for them.
bool IsShellDocument(const std::string& path)
{
    const std::string extension = EEXT(path);
    return extension == ".RTF" || extension == ".HTM" || extension == ".HTML";
}

void ReportUnableToRun(Dialogs& dialogs, const std::string& viewer)
{
    dialogs.MsgBox("Unable to run " + viewer, MsgBoxCode::Exclamation, kProgramTitle);
}

std::string& ViewerFor(std::int64_t length)
{
    return length > LargeFileThreshold ? LargeFileViewer : SmallFileViewer;
}

} // namespace

void SetDefaultViewers()
{
    SmallFileViewer = kDefaultSmallFileViewer;
    LargeFileViewer = kDefaultLargeFileViewer;
}

bool FindFile(
    const std::string& path, const std::string& kind, FileRoutines& files, Dialogs& dialogs)
{
    const bool found = files.FileExists(path);
    if (!found)
        dialogs.MsgBox("Unable to find " + kind + "." + kLineBreak + kLineBreak + path,
            MsgBoxCode::Exclamation, kProgramTitle);
    return found;
}

void ViewFile(const std::string& path, ViewerPorts ports)
{
    std::string viewer; // stays empty until one is chosen, and the report then names none
    try {
        if (!FindFile(path, "File", ports.files, ports.dialogs))
            return;
        if (IsShellDocument(path)) {
            ports.shell.ShellDocument(path, kShellMaximised);
            return;
        }
        const std::int64_t length = ports.platform.FileLength(path);
        if (length < 0) { // gone or unreadable since it was found
            ReportUnableToRun(ports.dialogs, viewer);
            return;
        }
        if (ViewerFor(length).empty())
            SetDefaultViewers();
        viewer = ViewerFor(length);
        const ViewerCommand command = BuildViewerCommand(viewer, path);
        if (command.program.empty()
            || !ports.starter.StartDetached(command.program, command.arguments))
            ReportUnableToRun(ports.dialogs, viewer);
    } catch (const std::exception&) {
        ReportUnableToRun(ports.dialogs, viewer);
    }
}

} // namespace trawlit
