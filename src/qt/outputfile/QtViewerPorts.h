#pragma once

#include "ports/ViewerPorts.h"
#include "qt/outputfile/QtProgramStarter.h"
#include "qt/outputfile/QtShellDocument.h"

namespace trawlit {

// The real ports for ViewFile: QProcess starts the viewers, the desktop opens documents.
//     QtViewerPorts viewers(files, platform, dialogs);
//     ViewFile(path, viewers.Ports());
class QtViewerPorts {
public:
    QtViewerPorts(FileRoutines& files, FileSystem& platform, Dialogs& dialogs)
        : files_(files)
        , platform_(platform)
        , dialogs_(dialogs)
    {
    }
    ViewerPorts Ports() { return { files_, platform_, dialogs_, starter_, shell_ }; }

private:
    FileRoutines& files_;
    FileSystem& platform_;
    Dialogs& dialogs_;
    QtProgramStarter starter_;
    QtDocumentShell shell_;
};

} // namespace trawlit
