#include "qt/printing/frmPrintConfirm.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "core/printing/PrintSettings.h"
#include "qt/printing/QtPrinterSurface.h"
#include "qt/widgets/CloseButtonOnly.h"
#include "qt/widgets/QtButtonKbt.h"
#include "qt/widgets/QtKeys.h"
#include "qt/widgets/QtNames.h"
#include "qt/widgets/TabChain.h"

namespace trawlit {

namespace {

constexpr int kPageLongSide = 44; // device-independent pixels
constexpr int kPageShortSide = 34;
constexpr int kFoldSize = 9;

// A sheet with a folded corner and lines of text, upright or on its side.
QPixmap PagePicture(bool landscape, qreal pixelRatio)
{
    const QSize size
        = landscape ? QSize(kPageLongSide, kPageShortSide) : QSize(kPageShortSide, kPageLongSide);
    QPixmap picture(size * pixelRatio);
    picture.setDevicePixelRatio(pixelRatio);
    picture.fill(Qt::transparent);

    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF sheet = QRectF(QPointF(0, 0), QSizeF(size)).adjusted(0.5, 0.5, -1.5, -1.5);
    QPainterPath outline;
    outline.moveTo(sheet.topLeft());
    outline.lineTo(sheet.right() - kFoldSize, sheet.top());
    outline.lineTo(sheet.right(), sheet.top() + kFoldSize);
    outline.lineTo(sheet.bottomRight());
    outline.lineTo(sheet.bottomLeft());
    outline.closeSubpath();
    painter.fillPath(outline.translated(1, 1), QColor(0, 0, 0, 50)); // shadow
    painter.fillPath(outline, Qt::white);
    painter.setPen(QPen(QColor(70, 70, 70), 1));
    painter.drawPath(outline);

    QPainterPath fold;
    fold.moveTo(sheet.right() - kFoldSize, sheet.top());
    fold.lineTo(sheet.right() - kFoldSize, sheet.top() + kFoldSize);
    fold.lineTo(sheet.right(), sheet.top() + kFoldSize);
    painter.fillPath(fold, QColor(225, 225, 225));
    painter.drawPath(fold);

    painter.setPen(QPen(QColor(120, 140, 190), 1.5));
    const qreal left = sheet.left() + 5;
    const qreal right = sheet.right() - 5;
    int line = 0;
    for (qreal y = sheet.top() + kFoldSize + 5; y < sheet.bottom() - 4; y += 4, ++line) {
        const qreal end = line % 3 == 2 ? (left + right) / 2 : right;
        painter.drawLine(QPointF(left, y), QPointF(end, y));
    }
    return picture;
}

QLabel* NewPictureLabel(const char* name, bool landscape, QWidget* parent)
{
    auto* label = Named(new QLabel(parent), name);
    label->setPixmap(PagePicture(landscape, parent->devicePixelRatioF()));
    label->setAlignment(Qt::AlignCenter);
    label->setFixedSize(kPageLongSide + 4, kPageLongSide + 4);
    return label;
}

// A value the user can read but not edit, shown in a sunken field.
QLabel* NewValueLabel(const char* name, QWidget* parent)
{
    auto* label = Named(new QLabel(parent), name);
    label->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    label->setMinimumWidth(label->fontMetrics().averageCharWidth() * 24);
    label->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    return label;
}

// Hides a caption of the font dialog with the list or box it names, and that list's edit line.
void HideWithBuddy(QFontDialog& dialog, QLabel* caption)
{
    QWidget* buddy = caption->buddy();
    caption->hide();
    if (buddy == nullptr)
        return;
    buddy->hide();
    for (QLineEdit* edit : dialog.findChildren<QLineEdit*>())
        if (edit->focusProxy() == buddy)
            edit->hide();
}

// The printer takes a face and a size only, in its Latin code page: the dialog lists faces
// for Latin text alone and hides the styles and effects a choice would silently lose.
void OfferOnlyFaceAndSize(QFontDialog& dialog)
{
    for (QLabel* caption : dialog.findChildren<QLabel*>()) {
        if (caption->text() == QFontDialog::tr("Wr&iting System")) {
            if (auto* systems = qobject_cast<QComboBox*>(caption->buddy())) {
                systems->setCurrentIndex(QFontDatabase::Latin);
                emit systems->activated(QFontDatabase::Latin); // rebuilds the list of faces
            }
            HideWithBuddy(dialog, caption);
        } else if (caption->text() == QFontDialog::tr("Font st&yle")) {
            HideWithBuddy(dialog, caption);
        }
    }
    // The sample takes the whole width the effects and styles left.
    auto* grid = qobject_cast<QGridLayout*>(dialog.layout());
    for (QGroupBox* group : dialog.findChildren<QGroupBox*>()) {
        if (group->title() == QFontDialog::tr("Effects"))
            group->hide();
        else if (group->title() == QFontDialog::tr("Sample") && grid != nullptr)
            grid->addWidget(group, 4, 0, 4, grid->columnCount());
    }
    if (auto* sample = dialog.findChild<QLineEdit*>(QStringLiteral("qt_fontDialog_sampleEdit")))
        sample->setMinimumHeight(sample->fontMetrics().height() * 3);
    if (grid != nullptr)
        grid->setColumnStretch(2, 0);
}

// Opens the dialog on a font in the face's regular style: given none, the dialog would show
// the face's first style, an oblique for some, while the printer prints the regular one.
void OpenOn(QFontDialog& dialog, const QFont& font)
{
    dialog.setCurrentFont(font);
    QFont regular = font;
    regular.setFamily(dialog.currentFont().family()); // the face the list settled on
    regular.setStyleName(QFontInfo(QFont(regular.family())).styleName());
    dialog.setCurrentFont(regular);
}

} // namespace

frmPrintConfirm::frmPrintConfirm(PrintSettings& settings, QWidget* parent)
    : FirstActivateDialog(parent)
    , settings_(settings)
{
    setObjectName(QStringLiteral("frmPrintConfirm"));
    CloseButtonOnly(*this);
    CreateControls();
    LayOutControls();
    ConnectSignals();
}

void frmPrintConfirm::CreateControls()
{
    lblPathname = Named(new QLabel(this), "lblPathname");
    lblPathname->setWordWrap(true);
    lblPathname->setTextFormat(Qt::PlainText);
    lblPathname->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont pathFont = lblPathname->font();
    pathFont.setBold(true);
    lblPathname->setFont(pathFont);

    frameOrientation
        = Named(new QGroupBox(QStringLiteral("Orientation"), this), "frameOrientation");
    optPortrait
        = Named(new QRadioButton(QStringLiteral("Portrait"), frameOrientation), "optPortrait");
    optLandscape
        = Named(new QRadioButton(QStringLiteral("Landscape"), frameOrientation), "optLandscape");
    imagePortrait = NewPictureLabel("imagePortrait", false, frameOrientation);
    imageLandscape = NewPictureLabel("imageLandscape", true, frameOrientation);

    frameFont = Named(new QGroupBox(QStringLiteral("Font"), this), "frameFont");
    lblFontNameHdr = Named(new QLabel(QStringLiteral("Name"), frameFont), "lblFontNameHdr");
    lblFontName = NewValueLabel("lblFontName", frameFont);
    lblFontSizeHdr = Named(new QLabel(QStringLiteral("Size"), frameFont), "lblFontSizeHdr");
    lblFontSize = NewValueLabel("lblFontSize", frameFont);
    cmdFixedPitchFonts = Named(
        new ButtonKbt(QStringLiteral("&Fixed pitch fonts"), frameFont), "cmdFixedPitchFonts");
    cmdAllFonts = Named(new ButtonKbt(QStringLiteral("&All fonts"), frameFont), "cmdAllFonts");

    cmdOK = Named(new ButtonKbt(QStringLiteral("&OK"), this), "cmdOK");
    cmdCancel = Named(new ButtonKbt(QStringLiteral("&Cancel"), this), "cmdCancel");
    cmdOK->setDefault(true);
}

void frmPrintConfirm::LayOutControls()
{
    auto* orientation = new QGridLayout(frameOrientation);
    orientation->addWidget(optPortrait, 0, 0);
    orientation->addWidget(optLandscape, 1, 0);
    // Both pictures share one place; only the chosen orientation's shows.
    orientation->addWidget(imagePortrait, 0, 1, 2, 1, Qt::AlignCenter);
    orientation->addWidget(imageLandscape, 0, 1, 2, 1, Qt::AlignCenter);
    orientation->setColumnMinimumWidth(1, kPageLongSide + 4);
    orientation->setHorizontalSpacing(18);
    orientation->setRowStretch(2, 1);

    auto* fontButtons = new QHBoxLayout;
    fontButtons->addWidget(cmdFixedPitchFonts);
    fontButtons->addWidget(cmdAllFonts);
    fontButtons->addStretch();
    auto* font = new QGridLayout(frameFont);
    font->addWidget(lblFontNameHdr, 0, 0);
    font->addWidget(lblFontName, 0, 1);
    font->addWidget(lblFontSizeHdr, 1, 0);
    font->addWidget(lblFontSize, 1, 1);
    font->addLayout(fontButtons, 2, 0, 1, 2);
    font->setColumnStretch(1, 1);

    auto* frames = new QHBoxLayout;
    frames->addWidget(frameOrientation);
    frames->addWidget(frameFont, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);

    auto* window = new QVBoxLayout(this);
    window->addWidget(lblPathname);
    window->addSpacing(4);
    window->addLayout(frames);
    window->addSpacing(6);
    window->addLayout(buttons);
    window->setSizeConstraint(QLayout::SetFixedSize);

    narrowestPathWidth_ = frames->sizeHint().width();

    SetTabChain({ optPortrait, optLandscape, cmdFixedPitchFonts, cmdAllFonts, cmdOK, cmdCancel });
}

void frmPrintConfirm::ConnectSignals()
{
    connect(optPortrait, &QRadioButton::toggled, this, [this] { UpdateImages(); });
    connect(optLandscape, &QRadioButton::toggled, this, [this] { UpdateImages(); });
    connect(cmdFixedPitchFonts, &QPushButton::clicked, this, [this] { ChangeFont(true); });
    connect(cmdAllFonts, &QPushButton::clicked, this, [this] { ChangeFont(false); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

// Later activations (back from the font dialog) leave the window as the user left it.
void frmPrintConfirm::FirstActivate()
{
    settings_.ConfirmResult = ConfirmResultCode::Closed;
    setWindowTitle(ToQt(" " + settings_.ConfirmTitle + " "));
    lblPathname->setText(ToQt(settings_.ConfirmPathname));
    FitPathLabel();
    ShowFont();
    (settings_.LandscapeFlag ? optLandscape : optPortrait)->setChecked(true);
    UpdateImages();
    cmdOK->setFocus();
}

// A path shows on one line where it reasonably can; a longer one wraps at its separators
// rather than widen the window past reason.
void frmPrintConfirm::FitPathLabel()
{
    const QFontMetrics metrics = lblPathname->fontMetrics();
    const int widest = metrics.averageCharWidth() * 90;
    const int oneLine = metrics.horizontalAdvance(lblPathname->text()) + 2;
    lblPathname->setFixedWidth(std::clamp(oneLine, narrowestPathWidth_, widest));
}

void frmPrintConfirm::ShowFont()
{
    lblFontName->setText(ToQt(" " + settings_.PrintFontName));
    lblFontSize->setText(ToQt(" " + FontSizeText(settings_.PrintFontSize)));
}

void frmPrintConfirm::UpdateImages()
{
    imageLandscape->setVisible(optLandscape->isChecked());
    imagePortrait->setVisible(optPortrait->isChecked());
}

void frmPrintConfirm::ChangeFont(bool FixedPitchFlag)
{
    // The dialog opens on the face that really prints, which is not the stored name where
    // this system lacks that face.
    QFont initial = PrinterFont(settings_.PrintFontName, settings_.PrintFontSize);
    initial.setFamily(QFontInfo(initial).family());
    const std::optional<QFont> chosen = fontChooser_(initial, FixedPitchFlag, this);
    if (!chosen || chosen->family().isEmpty())
        return;
    // What the user left alone keeps its stored form: a name this system has no face for
    // still prints the same, and the dialog offers whole points only.
    if (chosen->family() != initial.family())
        settings_.PrintFontName = ToCore(chosen->family());
    if (chosen->pointSizeF() > 0 && chosen->pointSize() != initial.pointSize())
        settings_.PrintFontSize = static_cast<float>(chosen->pointSizeF());
    ShowFont();
}

std::optional<QFont> frmPrintConfirm::ChooseInFontDialog(
    const QFont& initial, bool fixedPitch, QWidget* over)
{
    QFontDialog dialog(over);
    dialog.setObjectName(QStringLiteral("CmDialog1"));
    // Fonts that scale serve a printer; the fixed-pitch button offers only those. The list of
    // faces is built when a font is set, so the options come first.
    QFontDialog::FontDialogOptions options
        = QFontDialog::DontUseNativeDialog | QFontDialog::ScalableFonts;
    if (fixedPitch)
        options |= QFontDialog::MonospacedFonts;
    dialog.setOptions(options);
    OfferOnlyFaceAndSize(dialog);
    OpenOn(dialog, initial);
    const QFont openedOn = dialog.currentFont();
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    // Where the printing face is not on the list (a monospaced face Qt calls proportional,
    // say), the list settles on another; OK without touching it must not store that one.
    if (dialog.selectedFont() == openedOn)
        return std::nullopt;
    return dialog.selectedFont();
}

void frmPrintConfirm::keyPressEvent(QKeyEvent* event)
{
    if (IsCtrlQ(*event)) {
        event->accept();
        reject();
        return;
    }
    QDialog::keyPressEvent(event); // Escape closes, Enter presses OK
}

void frmPrintConfirm::cmdOK_Click()
{
    settings_.LandscapeFlag = optLandscape->isChecked();
    settings_.ConfirmResult = ConfirmResultCode::Ok;
    accept();
}

} // namespace trawlit
