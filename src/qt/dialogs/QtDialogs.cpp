#include "qt/dialogs/QtDialogs.h"

#include "qt/outputfile/QtOutputFiles.h"
#include "qt/widgets/CloseButtonOnly.h"
#include "qt/widgets/QtNames.h"

#include <QMessageBox>
#include <QString>

namespace trawlit {

namespace {

QMessageBox::Icon IconOf(int code)
{
    switch (code & 0x70) {
    case MsgBoxCode::Critical:
        return QMessageBox::Critical;
    case MsgBoxCode::Question:
        return QMessageBox::Question;
    case MsgBoxCode::Exclamation:
        return QMessageBox::Warning;
    case MsgBoxCode::Information:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

} // namespace

int QtDialogs::MsgBox(const std::string& text, int code, const std::string& title)
{
    QMessageBox box(IconOf(code), QString::fromLocal8Bit(title), ToQtLines(text),
        QMessageBox::NoButton, parent_);
    CloseButtonOnly(box);
    if ((code & 7) == MsgBoxCode::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(
            (code & MsgBoxCode::DefaultButton2) != 0 ? QMessageBox::No : QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? MsgBoxAnswer::Yes : MsgBoxAnswer::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return MsgBoxAnswer::Ok;
}

void QtDialogs::ShowOutputFile(
    const std::string& message, const std::string& title, const std::string& path)
{
    if (outputFiles_ != nullptr) {
        outputFiles_->Show(OutputFileRequest { message, title, path });
    }
}

} // namespace trawlit
