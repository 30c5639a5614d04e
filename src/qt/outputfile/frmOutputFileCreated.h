#pragma once

#include <QDialog>
#include <string>

#include "core/outputfile/OutputFile.h"

class QLabel;
class QProgressBar;
class QWidget;

namespace trawlit {

class ButtonKbt;
class FileRoutines;
class FileSystem;
class frmOutputFileCreated;

// What the dialog's buttons do beyond the dialog itself: the viewers, the delete question and
// printing live elsewhere.
class OutputFileActions {
public:
    virtual ~OutputFileActions() = default;
    virtual void ViewFile(const std::string& path) = 0;
    virtual void ShowChangeViewers(QWidget* over) = 0;
    // Asks "Delete this file?" in the program's own message box; returns its answer.
    virtual int ConfirmDelete(const std::string& text, QWidget* over) = 0;
    virtual void Print(const std::string& path, frmOutputFileCreated& dialog) = 0;
};

// Reports a finished results file: its path, size and the run's closing message, with Delete,
// Print, Change viewers, View and Close.
class frmOutputFileCreated : public QDialog {
    Q_OBJECT
public:
    frmOutputFileCreated(const OutputFileRequest& request, FileRoutines& files,
        FileSystem& platform, OutputFileActions& actions, QWidget* parent = nullptr);

    // The path the buttons act on, as the path label shows it.
    const std::string& CurrentPath() const { return currentPath_; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void LayOutControls();
    void ConnectSignals();
    void Activate();
    void TakeOverPendingRequest();
    void FitPathLabel();

    void cmdView_Click();
    void cmdChangeViewer_Click();
    void cmdDelete_Click();
    void cmdPrint_Click();

    OutputFileRequest request_;
    bool outputFilePending_ = true;
    std::string pathCaption_; // the path label's caption, kept as bytes
    std::string currentPath_;
    FileRoutines& files_;
    FileSystem& platform_;
    OutputFileActions& actions_;

public:
    // The controls, under the names the rest of the program knows them by.
    QLabel* lblFileCreatedHeader = nullptr;
    QLabel* lblPathname = nullptr;
    QLabel* lblNBytes = nullptr;
    QLabel* lblMessage = nullptr;
    QWidget* panelButtons = nullptr;
    ButtonKbt* cmdDelete = nullptr;
    ButtonKbt* cmdPrint = nullptr;
    ButtonKbt* cmdChangeViewer = nullptr;
    ButtonKbt* cmdView = nullptr;
    ButtonKbt* cmdClose = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
};

} // namespace trawlit
