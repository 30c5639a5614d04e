#include "core/outputfile/Viewers.h"

#include <exception>

#include "core/files/FileRoutines.h"
#include "core/outputfile/ViewerCommand.h"
#include "core/outputfile/ViewerPrograms.h"
#include "core/text/NameTokens.h"
#include "ports/Dialogs.h"
#include "ports/ProgramStarter.h"

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

// A default viewer fails only where no stand-in for it exists: the user needs to know what
// to install or where to choose another program.
void ReportUnableToRun(Dialogs& dialogs, const std::string& viewer, const std::string& program = {})
{
    std::string text = "Unable to run " + viewer;
    if (IsDefaultViewerName(program))
        text += std::string(kLineBreak) + kLineBreak
            + "No text editor and no desktop opener (xdg-open) was found." + kLineBreak + kLineBreak
            + "Install a text editor, or choose a program with Change viewers.";
    dialogs.MsgBox(text, MsgBoxCode::Exclamation, kProgramTitle);
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
        const std::int64_t length = ports.fileSystem.FileLength(path);
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
            ReportUnableToRun(ports.dialogs, viewer, command.program);
    } catch (const std::exception&) {
        ReportUnableToRun(ports.dialogs, viewer);
    }
}

} // namespace trawlit
