#pragma once

#include <array>
#include <functional>
#include <optional>

#include <QElapsedTimer>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <array>
#include <memory>

#include "core/history/clsHistory.h"
#include "core/run/RunPorts.h"
#include "core/run/RunResult.h"
#include "ports/MainWindowPort.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QGridLayout;
class QLabel;
class QLayout;

namespace trawlit {

class ButtonKbt;
class Dialogs;
class FileDialogPort;
class FileRoutines;
class FolderChooserPort;
class QtAnimationPlayer;
class QtComboBoxView;
class SettingsStore;

// The main window: the run's inputs, the run commands, the counters and the busy animation.
// A click handler reads the inputs into SearchOptions and records them; the run then executes
// inside it on this thread and drives the window through its RunView.
class frmTrawlit : public QWidget, public MainWindowPort {
    Q_OBJECT
public:
    frmTrawlit(SettingsStore& settings, Dialogs& dialogs, Platform platform, FileRoutines& files,
        FileDialogPort& fileDialog, FolderChooserPort& folderChooser, const QString& searchAviPath,
        QWidget* parent = nullptr);
    ~frmTrawlit() override;

    std::string InputText(InputBox box) override;
    CheckState Option(OptionBox box) override;
    void FocusInput(InputBox box) override;
    void ShowCounter(Counter counter, std::int64_t value) override;
    void HideStuff(const std::string& expandingCaption, std::int64_t totalFileCount,
        std::int64_t fileFoundCount, std::int64_t matchCount) override;
    void ShowStuff() override;
    void HideShowCounts(bool visible) override;
    void EnablePanelInput(bool enabled) override;
    void AnimationStart() override;
    void AnimationStop() override;
    void HideAbortButton() override;
    bool AbortRequested() override { return abortRequested_; }
    void SetAbortRequested(bool value) override { abortRequested_ = value; }
    clsHistory& History(InputBox box) override;
    ComboBoxView& Combo(InputBox box) override;

    bool RunBusy() const { return runBusy_; }
    // Puts a folder from the command line into Root Folder as if typed there: the history
    // records it only when a run starts.
    void StartInFolder(const QString& folder);
    // Threads that read and match files during a search, so that no file holds up the
    // window; 0 reads them here, between the window's messages.
    void SetSearchThreads(int threads) { searchThreads_ = threads; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void CreatePanelControls();
    void CreateRunControls();
    QLayout* PanelLayout();
    QLayout* RunButtonsLayout();
    QLayout* StatusLayout();
    void LayOutWindow();
    void SetTabOrder();
    void ConnectSignals();

    void Load();
    void LoadOptions();
    void LoadHistories();
    void Unload();

    void cmdSearch2_Click();
    void cmdFolderListing_Click();
    void cmdExtractCHeaders_Click();
    void cmdBrelka_Click();
    void cmdRuvReplace_Click();
    using RunFunction = std::function<RunResult(const RunInputs&, RunPorts)>;
    // Which inputs a click checks and records: the search's text too, or the folder inputs.
    enum class ClickInputs : std::uint8_t { Search, Folders };
    // Reads, checks and records the inputs, then runs one of the five runs; nothing escapes
    // into the event loop.
    void RunFromClick(ClickInputs inputs, const RunFunction& run);
    void EndFailedRun(const std::string& message);
    void MakeResultsPathAbsolute();
    SearchOptions ReadSearchOptions();
    void RecordInHistories(const SearchOptions& options, ClickInputs inputs);
    void cmdAbort_Click();
    void cmdBrowse_Click();
    void cmdFolderBrowse_Click();
    void cmdTemplateAll_Click();
    void comboFileTemplate_Change();
    void PaintCounters();

    QComboBox* ComboOf(InputBox box) const;
    QCheckBox* CheckOf(OptionBox box) const;
    QLabel* CounterLabel(Counter counter) const;

    SettingsStore& settings_;
    Dialogs& dialogs_;
    Platform platform_;
    FileRoutines& files_;
    FileDialogPort& fileDialog_;
    FolderChooserPort& folderChooser_;
    QString searchAviPath_;

    bool abortRequested_ = false;
    int searchThreads_ = 0;
    bool runBusy_ = false;

    std::array<clsHistory, 4> histories_; // by InputBox
    std::array<std::unique_ptr<QtComboBoxView>, 4> comboViews_;

    std::array<std::optional<std::int64_t>, 3> pendingCounts_ {}; // by Counter
    QElapsedTimer counterPaintClock_;
    QTimer counterPaintTimer_;

public:
    // The controls, under the names the rest of the program knows them by.
    QFrame* panelInput = nullptr;
    QLabel* lblSearchStr = nullptr;
    QComboBox* comboSearchStr = nullptr;
    QLabel* lblRootFolder = nullptr;
    QComboBox* comboRootFolder = nullptr;
    ButtonKbt* cmdFolderBrowse = nullptr;
    QLabel* lblFileTemplate = nullptr;
    QComboBox* comboFileTemplate = nullptr;
    ButtonKbt* cmdTemplateAll = nullptr;
    QLabel* lblOutputPathname = nullptr;
    QComboBox* comboOutputPathname = nullptr;
    ButtonKbt* cmdBrowse = nullptr;
    QCheckBox* chkTraverseSubfolders = nullptr;
    QCheckBox* chkCaseSensitive = nullptr;
    QCheckBox* chkCollapseWhiteSpace = nullptr;
    QCheckBox* chkOutputCountsOnly = nullptr;
    ButtonKbt* cmdSearch2 = nullptr;
    ButtonKbt* cmdFolderListing = nullptr;
    ButtonKbt* cmdExtractCHeaders = nullptr;
    ButtonKbt* cmdBrelka = nullptr;
    ButtonKbt* cmdRuvReplace = nullptr;
    ButtonKbt* cmdAbort = nullptr;
    QtAnimationPlayer* Animation1 = nullptr;
    QLabel* lblTotalFileCountHeader = nullptr;
    QLabel* lblTotalFileCount = nullptr;
    QLabel* lblFileFoundCountHeader = nullptr;
    QLabel* lblFileFoundCount = nullptr;
    QLabel* lblMatchCountHeader = nullptr;
    QLabel* lblMatchCount = nullptr;
};

} // namespace trawlit
