#include "qt/printing/QtPrintPorts.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>

#include "qt/printing/frmPrintConfirm.h"

namespace trawlit {

namespace {

struct PointerShape {
    PointerCode code;
    Qt::CursorShape shape;
};
constexpr PointerShape kPointerShapes[] = {
    { PointerCode::Arrow, Qt::ArrowCursor },
    { PointerCode::Cross, Qt::CrossCursor },
    { PointerCode::IBeam, Qt::IBeamCursor },
    { PointerCode::Hourglass, Qt::WaitCursor },
    { PointerCode::ArrowHourglass, Qt::BusyCursor },
};

Qt::CursorShape ShapeOf(PointerCode code)
{
    for (const PointerShape& known : kPointerShapes)
        if (known.code == code)
            return known.shape;
    return Qt::ArrowCursor;
}

PointerCode CodeOf(Qt::CursorShape shape)
{
    for (const PointerShape& known : kPointerShapes)
        if (known.shape == shape)
            return known.code;
    return PointerCode::Arrow;
}

} // namespace

PointerCode QtScreenPointer::Pointer()
{
    const QCursor* cursor = QGuiApplication::overrideCursor();
    return cursor == nullptr ? PointerCode::Default : CodeOf(cursor->shape());
}

// Holds at most one override cursor of its own, so that whatever showed beneath it (another
// part's override, or none) comes back when the code asks for it.
void QtScreenPointer::SetPointer(PointerCode code)
{
    if (overriding_) {
        QGuiApplication::restoreOverrideCursor();
        overriding_ = false;
    }
    if (code == PointerCode::Default || Pointer() == code)
        return;
    QGuiApplication::setOverrideCursor(QCursor(ShapeOf(code)));
    overriding_ = true;
}

void QtScreenPointer::ShowPointerChange()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

MousePointerStack& ProgramMousePointer()
{
    static QtScreenPointer screen;
    static MousePointerStack stack(screen);
    return stack;
}

QtPrintDialogPort::QtPrintDialogPort(
    QWidget* dialog, QWidget* panelButtons, QProgressBar* progressBar)
    : dialog_(dialog)
    , panelButtons_(panelButtons)
    , progressBar_(progressBar)
{
}

QtPrintDialogPort::~QtPrintDialogPort()
{
    if (refusingClose_ && dialog_)
        dialog_->removeEventFilter(this);
}

void QtPrintDialogPort::ShowButtonPanel(bool visible)
{
    if (panelButtons_)
        panelButtons_->setVisible(visible);
}

void QtPrintDialogPort::ShowProgress(bool visible)
{
    if (progressBar_)
        progressBar_->setVisible(visible);
}

void QtPrintDialogPort::SetProgress(int percent)
{
    if (progressBar_)
        progressBar_->setValue(percent);
}

void QtPrintDialogPort::EnableDialog(bool enabled)
{
    if (!dialog_)
        return;
    dialog_->setEnabled(enabled);
    if (enabled == refusingClose_) {
        if (enabled)
            dialog_->removeEventFilter(this);
        else
            dialog_->installEventFilter(this);
        refusingClose_ = !enabled;
    }
}

void QtPrintDialogPort::FocusDialog()
{
    if (!dialog_)
        return;
    // The window gets its own last focus widget back, as any window being activated does.
    dialog_->raise();
    dialog_->activateWindow();
}

bool QtPrintDialogPort::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == dialog_ && event->type() == QEvent::Close) {
        event->ignore();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void QtPrintConfirmWindow::ShowModal(PrintSettings& settings)
{
    frmPrintConfirm window(settings, parent_);
    window.exec();
}

} // namespace trawlit
