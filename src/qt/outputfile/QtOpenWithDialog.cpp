#include "qt/outputfile/QtOpenWithDialog.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QVBoxLayout>
#include <QtGlobal>
#include <utility>

#include "core/outputfile/ViewerCommand.h"
#include "core/outputfile/ViewerPrograms.h"
#include "core/text/TextTrim.h"
#include "ports/Dialogs.h"
#include "ports/ProgramStarter.h"
#include "qt/widgets/CloseButtonOnly.h"
#include "qt/widgets/QtButtonKbt.h"

namespace trawlit {

QtOpenWithDialog::QtOpenWithDialog(std::string document, ProgramStarter& starter, QWidget* parent)
    : QDialog(parent)
    , document_(std::move(document))
    , starter_(starter)
{
    setObjectName(QStringLiteral("QtOpenWithDialog"));
    CloseButtonOnly(*this);
    setWindowTitle(QStringLiteral("Open With"));

    lblPrompt = new QLabel(QStringLiteral("&Choose the program to open this document with:"), this);
    lblDocument = new QLabel(QString::fromLocal8Bit(document_), this);
    QFont bold = lblDocument->font();
    bold.setBold(true);
    lblDocument->setFont(bold);
    lblDocument->setTextInteractionFlags(Qt::TextSelectableByMouse);
    comboProgram = new QComboBox(this);
    comboProgram->setEditable(true);
    comboProgram->setInsertPolicy(QComboBox::NoInsert);
    comboProgram->setMinimumContentsLength(36);
    for (const std::string& choice : OpenWithChoices(qEnvironmentVariable("PATH").toStdString()))
        comboProgram->addItem(QString::fromStdString(choice));
    lblPrompt->setBuddy(comboProgram);
    // An empty list says why, and what the user can do about it.
    lblNoProgram
        = new QLabel(QStringLiteral("No program was found to open it with. Type the command of one "
                                    "in the box above, or install a web browser or a word "
                                    "processor and choose View again."),
            this);
    lblNoProgram->setWordWrap(true);
    lblNoProgram->setVisible(comboProgram->count() == 0);
    cmdOK = new ButtonKbt(QStringLiteral("&OK"), this);
    cmdOK->setDefault(true);
    cmdCancel = new ButtonKbt(QStringLiteral("Cancel"), this);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* window = new QVBoxLayout(this);
    window->setContentsMargins(16, 16, 16, 14);
    window->addWidget(lblPrompt);
    window->addWidget(lblDocument);
    window->addSpacing(6);
    window->addWidget(comboProgram);
    window->addWidget(lblNoProgram);
    window->addSpacing(12);
    window->addLayout(buttons);
    window->setSizeConstraint(QLayout::SetFixedSize);

    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(comboProgram, &QComboBox::currentTextChanged, this,
        [this](const QString& text) { cmdOK->setEnabled(!text.trimmed().isEmpty()); });
    cmdOK->setEnabled(!comboProgram->currentText().trimmed().isEmpty());
    comboProgram->setFocus();
}

void QtOpenWithDialog::cmdOK_Click()
{
    const std::string program = TrimBlanks(comboProgram->currentText().toLocal8Bit().toStdString());
    const ViewerCommand command = BuildViewerCommand(program, document_);
    if (!command.program.empty() && starter_.StartDetached(command.program, command.arguments)) {
        accept();
        return;
    }
    QMessageBox box(QMessageBox::Warning, QString::fromLatin1(kProgramTitle),
        QString::fromLocal8Bit("Unable to run " + program), QMessageBox::Ok, this);
    CloseButtonOnly(box);
    box.exec();
}

} // namespace trawlit
