#include "qt/outputfile/frmChangeViewers.h"

#include <QCloseEvent>
#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QVBoxLayout>
#include <string>

#include "core/outputfile/Viewers.h"
#include "core/text/TextTrim.h"
#include "qt/widgets/CloseButtonOnly.h"
#include "qt/widgets/QtButtonKbt.h"
#include "qt/widgets/QtKeys.h"
#include "qt/widgets/QtNames.h"
#include "qt/widgets/TabChain.h"

namespace trawlit {

namespace {

constexpr int kViewerBoxMinimumChars = 36;

// Blanks off both ends, the rest as typed: on a system that tells letter cases apart, a
// viewer's arguments in capitals are other arguments ("--NEW-WINDOW" is not "--new-window").
std::string ViewerNameOf(const QLineEdit& box)
{
    return TrimBlanks(box.text().toLocal8Bit().toStdString());
}

QLineEdit* NewViewerBox(const char* name, QWidget* parent)
{
    auto* box = Named(new QLineEdit(parent), name);
    box->setMinimumWidth(box->fontMetrics().averageCharWidth() * kViewerBoxMinimumChars);
    return box;
}

ButtonKbt* NewButton(const char* name, const char* caption, QWidget* parent)
{
    auto* button = Named(new ButtonKbt(QString::fromLatin1(caption), parent), name);
    // Enter belongs to the text boxes; no button may be pressed by it from there.
    button->setAutoDefault(false);
    return button;
}

bool IsEnter(const QKeyEvent& key)
{
    return key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
}

} // namespace

frmChangeViewers::frmChangeViewers(QWidget* parent)
    : FirstActivateDialog(parent)
{
    setObjectName(QStringLiteral("frmChangeViewers"));
    CloseButtonOnly(*this);
    setWindowTitle(QStringLiteral("Change File Viewers"));
    CreateControls();
    LayOutControls();
    ConnectSignals();
    // Loaded afresh for every showing: the boxes start empty until the window is activated.
    txtSmall->clear();
    txtLarge->clear();
}

void frmChangeViewers::CreateControls()
{
    txtSmall = NewViewerBox("txtSmall", this);
    lblSmall = Named(new QLabel(QStringLiteral("&Small file viewer"), this), "lblSmall");
    lblSmall->setBuddy(txtSmall);
    txtLarge = NewViewerBox("txtLarge", this);
    lblLarge = Named(new QLabel(QStringLiteral("&Large file viewer"), this), "lblLarge");
    lblLarge->setBuddy(txtLarge);
    lblSize = Named(new QLabel(QStringLiteral("(greater than 60000 bytes)"), this), "lblSize");
    lblSize->setForegroundRole(QPalette::PlaceholderText);

    cmdReset = NewButton("cmdReset", "&Reset", this);
    cmdOK = NewButton("cmdOK", "&OK", this);
    cmdCancel = NewButton("cmdCancel", "&Cancel", this);

    // The window sees every key before its controls do.
    for (QWidget* control :
        std::initializer_list<QWidget*> { txtSmall, txtLarge, cmdReset, cmdOK, cmdCancel })
        control->installEventFilter(this);
}

void frmChangeViewers::LayOutControls()
{
    auto* boxes = new QGridLayout;
    boxes->setHorizontalSpacing(12);
    boxes->addWidget(lblSmall, 0, 0);
    boxes->addWidget(txtSmall, 0, 1);
    boxes->setRowMinimumHeight(1, 6);
    boxes->addWidget(lblLarge, 2, 0);
    boxes->addWidget(txtLarge, 2, 1);
    boxes->addWidget(lblSize, 3, 0, Qt::AlignTop);
    boxes->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdReset);
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);

    auto* window = new QVBoxLayout(this);
    window->setContentsMargins(16, 16, 16, 14);
    window->addLayout(boxes);
    window->addSpacing(12);
    window->addLayout(buttons);
    window->setSizeConstraint(QLayout::SetFixedSize);

    SetTabChain({ txtSmall, txtLarge, cmdReset, cmdOK, cmdCancel });
}

void frmChangeViewers::ConnectSignals()
{
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    connect(cmdReset, &QPushButton::clicked, this, [this] { cmdReset_Click(); });
}

// Nothing of the program's own ever opens over this dialog, so it becomes the active one of
// the program's windows once, when it is shown; coming back from another program must not
// overwrite what the user is typing.
void frmChangeViewers::FirstActivate()
{
    txtSmall->setText(ToQt(SmallFileViewer));
    txtLarge->setText(ToQt(LargeFileViewer));
    txtSmall->setFocus(Qt::OtherFocusReason);
}

void frmChangeViewers::closeEvent(QCloseEvent* event)
{
    event->accept();
    cmdCancel->click();
}

bool frmChangeViewers::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && HandleKey(watched, *static_cast<QKeyEvent*>(event)))
        return true;
    // Ctrl+Q must reach the key handler even where a shortcut would claim it first.
    if (event->type() == QEvent::ShortcutOverride && IsCtrlQ(*static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

// Returns true when the key was used up here.
bool frmChangeViewers::HandleKey(QObject* watched, const QKeyEvent& key)
{
    if (key.key() == Qt::Key_Escape || IsCtrlQ(key)) {
        cmdCancel->click();
        return true;
    }
    if (IsEnter(key) && watched == txtSmall) {
        txtLarge->setFocus(Qt::TabFocusReason);
        return true;
    }
    if (IsEnter(key) && watched == txtLarge) {
        txtSmall->setFocus(Qt::BacktabFocusReason);
        return true;
    }
    return false;
}

void frmChangeViewers::cmdOK_Click()
{
    SmallFileViewer = ViewerNameOf(*txtSmall);
    LargeFileViewer = ViewerNameOf(*txtLarge);
    accept();
}

void frmChangeViewers::cmdCancel_Click()
{
    reject();
}

// Shows the defaults without taking them: the viewers change only if OK follows.
void frmChangeViewers::cmdReset_Click()
{
    const std::string small = SmallFileViewer;
    const std::string large = LargeFileViewer;
    SetDefaultViewers();
    txtSmall->setText(ToQt(SmallFileViewer));
    txtLarge->setText(ToQt(LargeFileViewer));
    SmallFileViewer = small;
    LargeFileViewer = large;
}

void ShowChangeViewers(QWidget* parent)
{
    frmChangeViewers dialog(parent);
    dialog.exec();
}

} // namespace trawlit
