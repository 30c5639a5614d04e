#pragma once

#include <QObject>
#include <QPointer>
#include <QProgressBar>
#include <QWidget>

#include "core/printing/MousePointer.h"
#include "core/printing/PrintCommand.h"
#include "core/printing/PrintConfirm.h"

namespace trawlit {

// The screen's pointer as the application's override cursor: the hourglass is the wait
// cursor, the default pointer is no override of ours.
class QtScreenPointer : public ScreenPointer {
public:
    PointerCode Pointer() override;
    void SetPointer(PointerCode code) override;
    // Paints, but takes no user input: a click must not reach a dialog that is being set up.
    void ShowPointerChange() override;

private:
    bool overriding_ = false;
};

// The busy pointer stack the whole program shares.
MousePointerStack& ProgramMousePointer();

// The output-file dialog as a print drives it. While disabled it also refuses to close, so a
// print never loses the window it reports to.
class QtPrintDialogPort : public QObject, public PrintDialogPort {
public:
    QtPrintDialogPort(QWidget* dialog, QWidget* panelButtons, QProgressBar* progressBar);
    ~QtPrintDialogPort() override;

    void ShowButtonPanel(bool visible) override;
    void ShowProgress(bool visible) override;
    void SetProgress(int percent) override;
    void EnableDialog(bool enabled) override;
    void FocusDialog() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> dialog_;
    QPointer<QWidget> panelButtons_;
    QPointer<QProgressBar> progressBar_;
    bool refusingClose_ = false;
};

// Shows frmPrintConfirm modally over `parent`.
class QtPrintConfirmWindow : public PrintConfirmWindow {
public:
    explicit QtPrintConfirmWindow(QWidget* parent)
        : parent_(parent)
    {
    }
    void ShowModal(PrintSettings& settings) override;

private:
    QPointer<QWidget> parent_;
};

} // namespace trawlit
