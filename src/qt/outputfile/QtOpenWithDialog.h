#pragma once

#include <QDialog>
#include <string>

class QComboBox;
class QLabel;

namespace trawlit {

class ButtonKbt;
class ProgramStarter;

// Lets the user pick the program to open a document with when the desktop has none for its
// type. The programs found on the system are offered; any other may be typed, with its own
// arguments in front of the document. OK starts it; a program that cannot be started is
// reported and the dialog stays up for another choice.
class QtOpenWithDialog : public QDialog {
    Q_OBJECT
public:
    QtOpenWithDialog(std::string document, ProgramStarter& starter, QWidget* parent = nullptr);

    QLabel* lblPrompt = nullptr;
    QLabel* lblDocument = nullptr;
    QComboBox* comboProgram = nullptr;
    QLabel* lblNoProgram = nullptr; // shown only when no program was found
    ButtonKbt* cmdOK = nullptr;
    ButtonKbt* cmdCancel = nullptr;

private:
    void cmdOK_Click();

    std::string document_;
    ProgramStarter& starter_;
};

} // namespace trawlit
