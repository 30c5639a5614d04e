#pragma once

#include "core/outputfile/OutputFile.h"

class QWidget;

namespace trawlit {

class Dialogs;
class FileRoutines;
class OutputFileActions;
class FileSystem;

// The end of every run in the window program: the output-file dialog over the main window.
class QtOutputFiles : public OutputFileWindow {
public:
    QtOutputFiles(FileRoutines& files, FileSystem& platform, Dialogs& dialogs,
        OutputFileActions& actions, QWidget* parent = nullptr)
        : files_(files)
        , platform_(platform)
        , dialogs_(dialogs)
        , actions_(actions)
        , parent_(parent)
    {
    }
    void Show(const OutputFileRequest& request)
    {
        ShowOutputFile(request, files_, platform_, dialogs_, *this);
    }
    void ShowModal(const OutputFileRequest& request) override;
    void SetParent(QWidget* parent) { parent_ = parent; }

private:
    FileRoutines& files_;
    FileSystem& platform_;
    Dialogs& dialogs_;
    OutputFileActions& actions_;
    QWidget* parent_;
};

} // namespace trawlit
