#pragma once

#include "qt/widgets/FirstActivateDialog.h"

class QKeyEvent;
class QLabel;
class QLineEdit;

namespace trawlit {

class ButtonKbt;

// Edits the two viewer programs. Nothing changes until OK, which stores both boxes trimmed
// and in capitals; Cancel, Escape, Ctrl+Q and the close box leave the viewers as they were.
// Enter moves between the two boxes and never presses OK.
class frmChangeViewers : public FirstActivateDialog {
    Q_OBJECT
public:
    explicit frmChangeViewers(QWidget* parent = nullptr);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void LayOutControls();
    void ConnectSignals();
    void FirstActivate() override;
    bool HandleKey(QObject* watched, const QKeyEvent& key);

    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdReset_Click();

public:
    // The controls, under the names the rest of the program knows them by.
    QLabel* lblSmall = nullptr;
    QLineEdit* txtSmall = nullptr;
    QLabel* lblLarge = nullptr;
    QLabel* lblSize = nullptr;
    QLineEdit* txtLarge = nullptr;
    ButtonKbt* cmdReset = nullptr;
    ButtonKbt* cmdOK = nullptr;
    ButtonKbt* cmdCancel = nullptr;
};

// Shows the Change File Viewers dialog modally over `parent`; returns when it closes.
void ShowChangeViewers(QWidget* parent);

} // namespace trawlit
