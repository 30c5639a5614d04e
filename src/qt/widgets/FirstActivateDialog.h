#pragma once

#include <QDialog>

namespace trawlit {

// A dialog that fills itself in and takes the focus when it first shows, and not when it
// shows again (back from being minimised, or hidden and shown): by then the user may have
// changed what it holds.
class FirstActivateDialog : public QDialog {
public:
    using QDialog::QDialog;

protected:
    virtual void FirstActivate() = 0;
    // For a dialog loaded afresh: its next showing counts as the first.
    void ResetFirstActivate() { activated_ = false; }
    void showEvent(QShowEvent* event) override;

private:
    bool activated_ = false;
};

} // namespace trawlit
