#include "qt/outputfile/frmOutputFileCreated.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <algorithm>

#include "core/files/FileRoutines.h"
#include "core/text/TextTrim.h"
#include "ports/Dialogs.h"
#include "ports/FileSystem.h"
#include "qt/widgets/CloseButtonOnly.h"
#include "qt/widgets/QtButtonKbt.h"
#include "qt/widgets/QtKeys.h"
#include "qt/widgets/QtNames.h"
#include "qt/widgets/TabChain.h"

namespace trawlit {

namespace {

// The window is laid out in twips, as its measurements are given, at 15 twips a pixel.
constexpr int kTwipsPerPixel = 15;
constexpr int Px(int twips)
{
    return twips / kTwipsPerPixel;
}

constexpr int kWindowWidth = 8400;
constexpr int kMargin = 240;
constexpr int kHeaderTop = 180;
constexpr int kPathTop = 600;
constexpr int kSizeTop = 1260;
constexpr int kMessageTop = 1740;
constexpr int kMessageHeight = 1680;
constexpr int kPanelTop = 3540;
constexpr int kPanelHeight = 600;
constexpr int kWindowHeight = kPanelTop + kPanelHeight + kMargin;

QFont LabelFont(double points, bool bold)
{
    QFont font(QFontDatabase::systemFont(QFontDatabase::GeneralFont).family());
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QLabel* NewLabel(const char* name, double points, bool bold, QWidget* parent)
{
    auto* label = Named(new QLabel(parent), name);
    label->setTextFormat(Qt::PlainText); // a path or message is never markup
    label->setFont(LabelFont(points, bold));
    return label;
}

} // namespace

frmOutputFileCreated::frmOutputFileCreated(const OutputFileRequest& request, FileRoutines& files,
    FileSystem& platform, OutputFileActions& actions, QWidget* parent)
    : QDialog(parent)
    , request_(request)
    , files_(files)
    , platform_(platform)
    , actions_(actions)
{
    setObjectName(QStringLiteral("frmOutputFileCreated"));
    CloseButtonOnly(*this);
    CreateControls();
    LayOutControls();
    ConnectSignals();
}

void frmOutputFileCreated::CreateControls()
{
    lblFileCreatedHeader = NewLabel("lblFileCreatedHeader", 12.0, true, this);
    lblFileCreatedHeader->setText(QStringLiteral("Output file created!"));
    lblPathname = NewLabel("lblPathname", kPathDesignPoints, true, this);
    lblPathname->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblNBytes = NewLabel("lblNBytes", 9.75, false, this);
    lblMessage = NewLabel("lblMessage", 9.75, true, this);
    lblMessage->setWordWrap(true);
    lblMessage->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    panelButtons = Named(new QWidget(this), "panelButtons");
    cmdDelete = Named(new ButtonKbt(QStringLiteral("&Delete"), panelButtons), "cmdDelete");
    cmdPrint = Named(new ButtonKbt(QStringLiteral("&Print"), panelButtons), "cmdPrint");
    cmdChangeViewer
        = Named(new ButtonKbt(QStringLiteral("C&hange viewers"), panelButtons), "cmdChangeViewer");
    cmdView = Named(new ButtonKbt(QStringLiteral("&View"), panelButtons), "cmdView");
    cmdClose = Named(new ButtonKbt(QStringLiteral("&Close"), panelButtons), "cmdClose");
    ProgressBar1 = Named(new QProgressBar(this), "ProgressBar1");
    ProgressBar1->setRange(0, 100);
    ProgressBar1->hide();

    for (QWidget* child : findChildren<QWidget*>()) {
        child->installEventFilter(this); // the window sees every key first
    }
}

void frmOutputFileCreated::LayOutControls()
{
    setFixedSize(Px(kWindowWidth), Px(kWindowHeight));
    lblFileCreatedHeader->move(Px(kMargin), Px(kHeaderTop));
    lblFileCreatedHeader->adjustSize();
    lblNBytes->setGeometry(
        Px(kMargin), Px(kSizeTop), Px(kWindowWidth - 2 * kMargin), Px(kMessageTop - kSizeTop));
    lblMessage->setGeometry(
        Px(kMargin), Px(kMessageTop), Px(kWindowWidth - 2 * kMargin), Px(kMessageHeight));

    auto* row = new QHBoxLayout(panelButtons);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(Px(120));
    for (ButtonKbt* button : { cmdDelete, cmdPrint, cmdChangeViewer, cmdView, cmdClose }) {
        button->setAutoDefault(true);
        row->addWidget(button);
    }
    const QRect panel(Px(kMargin), Px(kPanelTop), Px(kWindowWidth - 2 * kMargin), Px(kPanelHeight));
    panelButtons->setGeometry(panel);
    ProgressBar1->setGeometry(panel.adjusted(0, Px(120), 0, -Px(120)));
    SetTabChain({ cmdDelete, cmdPrint, cmdChangeViewer, cmdView, cmdClose });
}

void frmOutputFileCreated::ConnectSignals()
{
    connect(cmdView, &QPushButton::clicked, this, [this] { cmdView_Click(); });
    connect(cmdChangeViewer, &QPushButton::clicked, this, [this] { cmdChangeViewer_Click(); });
    connect(cmdDelete, &QPushButton::clicked, this, [this] { cmdDelete_Click(); });
    connect(cmdPrint, &QPushButton::clicked, this, [this] { cmdPrint_Click(); });
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);
}

void frmOutputFileCreated::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    Activate();
}

bool frmOutputFileCreated::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && IsCtrlQ(*static_cast<QKeyEvent*>(event))) {
        cmdClose->click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

// Runs when the dialog is shown and again whenever a window of ours shown over it closes.
void frmOutputFileCreated::Activate()
{
    if (outputFilePending_) {
        TakeOverPendingRequest();
    }
    currentPath_ = TrimBlanks(pathCaption_);
    lblNBytes->setText(QString::fromStdString(FileSizeCaption(platform_, currentPath_)));
    if (cmdView->isVisible() && cmdView->isEnabled()) {
        cmdView->setFocus();
    }
}

void frmOutputFileCreated::TakeOverPendingRequest()
{
    outputFilePending_ = false;
    lblMessage->setText(ToQtLines(request_.message));
    setWindowTitle(QString::fromStdString(request_.title));
    panelButtons->show();
    pathCaption_ = " " + request_.path + " ";
    lblPathname->setText(QString::fromStdString(pathCaption_));
    lblPathname->setToolTip(QString::fromStdString(request_.path));
    FitPathLabel();
}

void frmOutputFileCreated::FitPathLabel()
{
    const QString caption = QString::fromStdString(pathCaption_);
    const PathLabelFit fit = trawlit::FitPathLabel(kWindowWidth, [&](double points) {
        const QFontMetrics metrics(LabelFont(points, true));
        return static_cast<std::int32_t>(metrics.horizontalAdvance(caption) * kTwipsPerPixel);
    });
    const QFont font = LabelFont(fit.points, true);
    // A path still too wide loses its middle, so that the file's name stays in sight; the
    // tooltip holds all of it.
    const int room = width() - Px(kMargin);
    lblPathname->setFont(font);
    lblPathname->setText(QFontMetrics(font).elidedText(caption, Qt::ElideMiddle, room));
    lblPathname->adjustSize();
    const int left = std::max(Px(kMargin) / 2, (width() - lblPathname->width()) / 2);
    lblPathname->move(left, Px(kPathTop + fit.extraTopTwips));
}

void frmOutputFileCreated::cmdView_Click()
{
    actions_.ViewFile(currentPath_);
}

void frmOutputFileCreated::cmdChangeViewer_Click()
{
    panelButtons->hide();
    actions_.ShowChangeViewers(this);
    panelButtons->show();
    Activate();
}

void frmOutputFileCreated::cmdDelete_Click()
{
    panelButtons->hide();
    const int answer = actions_.ConfirmDelete(currentPath_ + "\r\n\r\nDelete this file?", this);
    if (answer == MsgBoxAnswer::Yes) {
        files_.DeleteFile(currentPath_, 0); // silent: a read-only file simply stays
        accept();
        return;
    }
    panelButtons->show();
    Activate();
}

void frmOutputFileCreated::cmdPrint_Click()
{
    actions_.Print(currentPath_, *this);
}

} // namespace trawlit
