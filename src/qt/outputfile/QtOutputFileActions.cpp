#include "qt/outputfile/QtOutputFileActions.h"

#include "qt/dialogs/frmMyMsgBox2.h"
#include "core/outputfile/Viewers.h"
#include "qt/outputfile/frmChangeViewers.h"

namespace trawlit {

namespace {

constexpr std::int32_t kYesNoQuestionSecondDefault = 292;

} // namespace

void QtOutputFileActions::ViewFile(const std::string& path)
{
    trawlit::ViewFile(path, viewers_.Ports());
}

void QtOutputFileActions::ShowChangeViewers(QWidget* over)
{
    trawlit::ShowChangeViewers(over);
}

int QtOutputFileActions::ConfirmDelete(const std::string& text, QWidget* over)
{
    return MyMsgBox2(text, kYesNoQuestionSecondDefault, "Confirm delete", 0, 0, over);
}

void QtOutputFileActions::Print(const std::string& path, frmOutputFileCreated& dialog)
{
    RunPrintCommand(&dialog, dialog.panelButtons, dialog.ProgressBar1, path, printing_);
}

} // namespace trawlit
