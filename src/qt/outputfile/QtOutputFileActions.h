#pragma once

#include "ports/Platform.h"
#include "qt/outputfile/QtViewerPorts.h"
#include "qt/outputfile/frmOutputFileCreated.h"
#include "qt/printing/QtPrintCommand.h"

namespace trawlit {

class SettingsStore;

// The output-file dialog's buttons in the window program: the viewers, the program's own
// message box for the delete question, and printing.
class QtOutputFileActions : public OutputFileActions {
public:
    QtOutputFileActions(
        FileRoutines& files, Platform platform, Dialogs& dialogs, SettingsStore& settings)
        : viewers_(files, platform.fileSystem, dialogs)
        , printing_(settings, dialogs, files, platform.events)
    {
    }
    void ViewFile(const std::string& path) override;
    void ShowChangeViewers(QWidget* over) override;
    int ConfirmDelete(const std::string& text, QWidget* over) override;
    void Print(const std::string& path, frmOutputFileCreated& dialog) override;

private:
    QtViewerPorts viewers_;
    PrintServices printing_;
};

} // namespace trawlit
