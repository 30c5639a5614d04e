#include "qt/dialogs/frmMyMsgBox2.h"

#include <QApplication>
#include <QEvent>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPalette>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStyle>
#include <algorithm>
#include <cmath>

#include "core/dialogs/MyMsgBox2Geometry.h"
#include "core/outputfile/VersionWord.h"
#include "core/text/TextTrim.h"
#include "ports/Dialogs.h"
#include "qt/outputfile/QtShellDocument.h"
#include "qt/widgets/CloseButtonOnly.h"
#include "qt/widgets/QtButtonKbt.h"
#include "qt/widgets/QtKeys.h"
#include "qt/widgets/QtNames.h"

namespace trawlit {

namespace {

const QColor kLinkColour(0, 0, 255);
const QColor kLinkHoverColour(255, 255, 192);
// A line edit draws its text this far in from its left edge; the bold line moves left by as
// much so that it starts above the message's lines.
constexpr int kLineEditTextInset = 2;

int Px(std::int32_t twips)
{
    return static_cast<int>(std::lround(static_cast<double>(twips) / kTwipsPerPixel));
}

double TwipsOf(double pixels)
{
    return std::ceil(pixels) * kTwipsPerPixel;
}

QRect PxRect(const TwipsRect& rect)
{
    return { Px(rect.left), Px(rect.top), Px(rect.width), Px(rect.height) };
}

// Measures in the fonts the window shows its texts in, as the hidden sizing labels did.
class QtMsgBoxMeasure : public MsgBoxMeasure {
public:
    QtMsgBoxMeasure(const QFont& windowFont, const QFont& boldFont, QWidget& window)
        : window_(windowFont)
        , bold_(boldFont)
        , boldFont_(boldFont)
        , host_(window)
    {
    }

    double TextWidth(const std::string& text) override
    {
        double widest = 0.0;
        for (const QString& line : ToQtLines(text).split('\n'))
            widest = std::max(widest, window_.horizontalAdvance(line));
        return TwipsOf(widest);
    }
    double TextHeight(const std::string& text) override
    {
        const auto lines = ToQtLines(text).count('\n') + 1;
        return TwipsOf(static_cast<double>(lines) * window_.lineSpacing());
    }
    double BoldTextWidth(const std::string& text) override
    {
        return TwipsOf(bold_.horizontalAdvance(ToQtLines(text)));
    }
    double BoldLineHeight() override
    {
        QLineEdit probe;
        probe.setFrame(false);
        probe.setFont(boldFont_);
        return TwipsOf(probe.sizeHint().height());
    }
    double ButtonWidth(const std::string& caption) override
    {
        ButtonKbt probe(QString::fromLocal8Bit(caption));
        const QFontMetricsF metrics(probe.font());
        const double text
            = metrics.size(Qt::TextShowMnemonic, QString::fromLocal8Bit(caption)).width();
        const QStyle* style = host_.style();
        const int padding = 2 * style->pixelMetric(QStyle::PM_ButtonMargin)
            + 2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth);
        return TwipsOf(text + padding);
    }
    double ButtonHeight() override
    {
        ButtonKbt probe(QStringLiteral("OK"));
        return TwipsOf(probe.sizeHint().height());
    }

private:
    QFontMetricsF window_;
    QFontMetricsF bold_;
    QFont boldFont_;
    QWidget& host_;
};

// Qt key codes of letters and digits are their character codes already.
std::int16_t KeyCodeOf(int qtKey)
{
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return static_cast<std::int16_t>(qtKey);
    if (qtKey == Qt::Key_Return || qtKey == Qt::Key_Enter)
        return MsgBoxKey::Enter;
    if (qtKey == Qt::Key_Escape)
        return MsgBoxKey::Escape;
    return 0; // matches no button
}

QStyle::StandardPixmap StandardIconOf(MsgBoxIcon icon)
{
    switch (icon) {
    case MsgBoxIcon::Critical:
        return QStyle::SP_MessageBoxCritical;
    case MsgBoxIcon::Question:
        return QStyle::SP_MessageBoxQuestion;
    case MsgBoxIcon::Exclamation:
        return QStyle::SP_MessageBoxWarning;
    case MsgBoxIcon::Information:
    case MsgBoxIcon::None:
        break;
    }
    return QStyle::SP_MessageBoxInformation;
}

// The window icons a caller can pick by number: the four message icons, small.
std::vector<QIcon> ImageListCaptionIcon(const QStyle& style)
{
    std::vector<QIcon> icons;
    for (MsgBoxIcon icon : { MsgBoxIcon::Critical, MsgBoxIcon::Question, MsgBoxIcon::Exclamation,
             MsgBoxIcon::Information })
        icons.push_back(QIcon(style.standardIcon(StandardIconOf(icon)).pixmap(16, 16)));
    return icons;
}

void SetBaseColour(QWidget& widget, const QColor& colour)
{
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Base, colour);
    widget.setPalette(palette);
}

void SetTextColour(QWidget& widget, const QColor& colour)
{
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Text, colour);
    widget.setPalette(palette);
}

// A font whose characters really all have one width. Without a desktop theme, Qt's fixed
// font is only a family name that fontconfig may resolve to a proportional face, so every
// candidate is checked for what it resolves to.
QFont FixedPitchFont(qreal pointSize)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSizeF(pointSize);
    if (QFontInfo(font).fixedPitch()) {
        return font;
    }
    QStringList candidates { QStringLiteral("monospace") };
    for (const QString& family : QFontDatabase::families()) {
        if (QFontDatabase::isFixedPitch(family)) {
            candidates.append(family);
        }
    }
    for (const QString& family : candidates) {
        font.setFamily(family);
        if (QFontInfo(font).fixedPitch()) {
            return font;
        }
    }
    return font;
}

} // namespace

std::int16_t MyMsgBox2(const std::string& message, std::int32_t flags, const std::string& title,
    std::int16_t captionIcon, std::int16_t optionMask, QWidget* parent)
{
    frmMyMsgBox2 form(parent);
    form.CaptionIcon = captionIcon;
    form.MsgStr = message;
    form.CaptionStr = title.empty() ? std::string(kProgramTitle) : title;
    form.Flags = flags;
    form.OptionMask = optionMask;
    form.Load();
    form.exec();
    return form.Ians;
}

frmMyMsgBox2::frmMyMsgBox2(QWidget* parent)
    : FirstActivateDialog(parent)
{
    CloseButtonOnly(*this);
    CreateControls();
}

frmMyMsgBox2::~frmMyMsgBox2()
{
    RestoreMousePointer();
}

void frmMyMsgBox2::CreateControls()
{
    Picture1 = new QLabel(this);
    Picture1->setObjectName("Picture1");
    Picture1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Picture1->hide();

    TextBold = new QLineEdit(this);
    TextBold->setObjectName("TextBold");
    TextBold->setReadOnly(true);
    TextBold->setFrame(false);
    TextBold->setFocusPolicy(Qt::ClickFocus);
    TextBold->installEventFilter(this);

    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName("Text1");
    Text1->setReadOnly(true);
    Text1->setFrameShape(QFrame::NoFrame);
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1->document()->setDocumentMargin(0);
    Text1->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Text1->setFocusPolicy(Qt::ClickFocus);
    Text1->installEventFilter(this);
}

void frmMyMsgBox2::Load()
{
    Ians = kMsgBoxClosedAnswer;
    ResetFirstActivate();
    setWindowTitle(QString::fromLocal8Bit(CaptionStr));
    ApplyFonts();
    FillTexts();
    SetUpLink();
    CreateButtons();
    ShowIcon();
    LayOutControls();
    SetCaptionIcon();
    if ((OptionMask & MsgBoxOption::Topmost) != 0)
        setWindowFlag(Qt::WindowStaysOnTopHint, true);
    SaveMousePointer();
}

void frmMyMsgBox2::ApplyFonts()
{
    windowFont_ = font();
    if ((OptionMask & MsgBoxOption::FixedPitch) != 0) {
        windowFont_ = FixedPitchFont(windowFont_.pointSizeF());
    }
    boldFont_ = windowFont_;
    boldFont_.setBold(true);
    Text1->setFont(windowFont_);
    TextBold->setFont(boldFont_);
}

void frmMyMsgBox2::FillTexts()
{
    const MsgBoxTexts texts = SplitMessage(MsgStr, OptionMask);
    TextBold->setText(ToQtLines(texts.bold));
    TextBold->setCursorPosition(0);
    Text1->setPlainText(ToQtLines(texts.text));
    if ((OptionMask & MsgBoxOption::TitleBarColour) != 0)
        SetTextColour(*TextBold, palette().color(QPalette::Active, QPalette::Highlight));
}

void frmMyMsgBox2::SetUpLink()
{
    LinkFlag = (OptionMask & MsgBoxOption::Link) != 0;
    if (!LinkFlag)
        return;
    SetTextColour(*TextBold, kLinkColour);
    QFont underlined = TextBold->font();
    underlined.setUnderline(true);
    TextBold->setFont(underlined);
    TextBold->setCursor(Qt::PointingHandCursor);
}

void frmMyMsgBox2::CreateButtons()
{
    buttons_ = ButtonSetFor(Flags);
    defaultButton_ = DefaultButtonIndex(Flags, buttons_);
    for (std::size_t i = 0; i < cmdArray.size(); ++i) {
        if (cmdArray[i] == nullptr) {
            cmdArray[i] = new ButtonKbt(QString(), this);
            cmdArray[i]->setObjectName(QStringLiteral("cmdArray%1").arg(i));
            cmdArray[i]->setAutoDefault(true);
            cmdArray[i]->installEventFilter(this);
            const int index = static_cast<int>(i);
            connect(
                cmdArray[i], &QPushButton::clicked, this, [this, index] { cmdArray_Click(index); });
        }
        cmdArray[i]->hide();
    }
}

void frmMyMsgBox2::ShowIcon()
{
    const MsgBoxIcon icon = IconFor(Flags);
    if (icon == MsgBoxIcon::None) {
        Picture1->hide();
        return;
    }
    // The style's message icons serve older and newer systems alike here.
    const bool ownPictures = UsesOwnIconPictures(GetWindowsVersion(PlatformVersionWord()).major);
    const int side = ownPictures ? 32 : style()->pixelMetric(QStyle::PM_MessageBoxIconSize);
    Picture1->setPixmap(style()->standardIcon(StandardIconOf(icon)).pixmap(side, side));
    Picture1->show();
}

void frmMyMsgBox2::LayOutControls()
{
    MsgBoxLayoutRequest request;
    request.message = MsgStr;
    request.caption = CaptionStr;
    request.boldFirstLine = (OptionMask & MsgBoxOption::BoldFirstLine) != 0;
    request.boldText = ToCore(TextBold->text());
    request.hasIcon = IconFor(Flags) != MsgBoxIcon::None;
    for (int i = 0; i <= buttons_.LastButtonIndex; ++i)
        request.buttonCaptions.push_back(buttons_.ButtonCaptions[static_cast<std::size_t>(i)]);
    const QSize frame = frameGeometry().size() - geometry().size();
    request.frameWidth = frame.width() * kTwipsPerPixel;
    request.frameHeight = frame.height() * kTwipsPerPixel;

    QtMsgBoxMeasure measure(windowFont_, boldFont_, *this);
    const MsgBoxGeometry g = LayOutMsgBox(request, measure);

    Picture1->setGeometry(PxRect(g.picture));
    for (QWidget* text : { static_cast<QWidget*>(TextBold), static_cast<QWidget*>(Text1) })
        SetBaseColour(*text, palette().color(QPalette::Window));
    TextBold->setVisible(request.boldFirstLine);
    TextBold->setGeometry(PxRect(g.textBold).adjusted(-kLineEditTextInset, 0, 0, 0));
    Text1->setGeometry(PxRect(g.text1));
    for (int i = buttons_.LastButtonIndex; i >= 0; --i) {
        const auto index = static_cast<std::size_t>(i);
        cmdArray[index]->setText(QString::fromLocal8Bit(buttons_.ButtonCaptions[index]));
        cmdArray[index]->setGeometry(PxRect(g.buttons[index]));
        cmdArray[index]->show();
    }
    setFixedSize(Px(g.innerWidth), Px(g.innerHeight));
}

void frmMyMsgBox2::SetCaptionIcon()
{
    const std::vector<QIcon> icons = ImageListCaptionIcon(*style());
    if (CaptionIconInRange(CaptionIcon, static_cast<int>(icons.size())))
        setWindowIcon(icons[static_cast<std::size_t>(CaptionIcon - 1)]);
}

// The screen's pointer is the application's stack of override cursors: while the box is up
// the stack is empty, so each control shows its own pointer (the link its pointing hand).
void frmMyMsgBox2::SaveMousePointer()
{
    if (mousePointerSaved_)
        return;
    while (const QCursor* cursor = QGuiApplication::overrideCursor()) {
        SavedMousePointer.insert(SavedMousePointer.begin(), *cursor);
        QGuiApplication::restoreOverrideCursor();
    }
    mousePointerSaved_ = true;
}

void frmMyMsgBox2::RestoreMousePointer()
{
    if (!mousePointerSaved_)
        return;
    for (const QCursor& cursor : SavedMousePointer)
        QGuiApplication::setOverrideCursor(cursor);
    SavedMousePointer.clear();
    mousePointerSaved_ = false;
}

void frmMyMsgBox2::FirstActivate()
{
    const QScreen* screen = this->screen();
    if (screen != nullptr) {
        const QRect usable = screen->availableGeometry();
        const QRect frame = frameGeometry();
        const TwipsRect window { (frame.x() - usable.x()) * kTwipsPerPixel,
            (frame.y() - usable.y()) * kTwipsPerPixel, frame.width() * kTwipsPerPixel,
            frame.height() * kTwipsPerPixel };
        const auto moved = FirstActivatePosition(
            window, usable.width() * kTwipsPerPixel, usable.height() * kTwipsPerPixel);
        if (moved)
            move(usable.topLeft() + QPoint(Px(moved->left), Px(moved->top)));
    }
    if (ButtonKbt* button = cmdArray[static_cast<std::size_t>(defaultButton_)])
        button->setFocus(Qt::OtherFocusReason);
}

bool frmMyMsgBox2::event(QEvent* event)
{
    if (HandleKey(event))
        return true;
    return QDialog::event(event);
}

bool frmMyMsgBox2::eventFilter(QObject* watched, QEvent* event)
{
    if (HandleKey(event))
        return true;
    if (watched == TextBold && LinkFlag) {
        switch (event->type()) {
        case QEvent::Enter:
            LightUpLink(true);
            break;
        case QEvent::Leave:
            LightUpLink(false);
            break;
        case QEvent::MouseButtonRelease: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton && TextBold->rect().contains(mouse->pos()))
                TextBold_Click();
            break;
        }
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// Sees each key before the control with the focus does.
bool frmMyMsgBox2::HandleKey(QEvent* event)
{
    const bool press = event->type() == QEvent::KeyPress;
    if (!press && event->type() != QEvent::ShortcutOverride)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const auto index = ButtonIndexForKey(
        buttons_, KeyCodeOf(key->key()), ShiftState(*key) == Qt::ControlModifier);
    if (!index || !isVisible())
        return false;
    event->accept();
    if (press)
        cmdArray_Click(*index);
    return true;
}

void frmMyMsgBox2::keyPressEvent(QKeyEvent* event)
{
    // Escape answers only through the button table, never by closing the window.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmMyMsgBox2::cmdArray_Click(int index)
{
    Ians = buttons_.ButtonResults[static_cast<std::size_t>(index)];
    hide();
}

void frmMyMsgBox2::TextBold_Click()
{
    ShellDocument(TrimBlanks(ToCore(TextBold->text())), 0);
    LightUpLink(false);
}

void frmMyMsgBox2::LightUpLink(bool lit)
{
    SetBaseColour(*TextBold, lit ? kLinkHoverColour : palette().color(QPalette::Window));
}

} // namespace trawlit
