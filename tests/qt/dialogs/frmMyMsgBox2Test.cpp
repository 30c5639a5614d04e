#include "qt/dialogs/frmMyMsgBox2.h"

#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QEnterEvent>
#include <QFontInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <functional>
#include <memory>

#include <gtest/gtest.h>

#include "qt/widgets/QtButtonKbt.h"
#include <cstdlib>

namespace trawlit {
namespace {

using BoxAction = std::function<void(frmMyMsgBox2&)>;

// Runs the message box modally; once it shows, the action plays the user. A box the action
// leaves open is closed after a while, so a fault fails the test instead of hanging it.
std::int16_t RunBox(const std::string& message, std::int32_t flags, const BoxAction& act,
    std::int16_t optionMask = 0, const std::string& title = "Title")
{
    QTimer::singleShot(0, [act] {
        auto* box = qobject_cast<frmMyMsgBox2*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        act(*box);
    });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] {
        if (QWidget* box = QApplication::activeModalWidget())
            box->close();
    });
    watchdog.start(5000);
    return MyMsgBox2(message, flags, title, 0, optionMask);
}

// The key goes where the user's key would: to the control with the focus.
BoxAction Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    return [key, modifiers](frmMyMsgBox2& box) {
        QWidget* target = box.focusWidget() != nullptr ? box.focusWidget() : &box;
        QTest::keyClick(target, key, modifiers);
    };
}

TEST(frmMyMsgBox2Test, KeysAnswerByTheButtonTable)
{
    struct Case {
        std::int32_t flags;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        std::int16_t answer;
    };
    const Case cases[] = {
        { 292, Qt::Key_Y, Qt::NoModifier, 6 },
        { 292, Qt::Key_N, Qt::NoModifier, 7 },
        { 292, Qt::Key_Y, Qt::ShiftModifier, 6 }, // modifiers are not looked at
        { 292, Qt::Key_N, Qt::AltModifier, 7 },
        { 292, Qt::Key_Return, Qt::NoModifier, 7 }, // the focused default button
        { 0, Qt::Key_Return, Qt::NoModifier, 1 },
        { 0, Qt::Key_Enter, Qt::KeypadModifier, 1 },
        { 0, Qt::Key_Escape, Qt::NoModifier, 1 },
        { 0, Qt::Key_Q, Qt::ControlModifier, 1 },
        { 1, Qt::Key_Escape, Qt::NoModifier, 2 },
        { 3, Qt::Key_Escape, Qt::NoModifier, 2 },
        { 5, Qt::Key_R, Qt::NoModifier, 4 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "flags " << c.flags << " key " << c.key);
        EXPECT_EQ(RunBox("Delete this file?", c.flags, Press(c.key, c.modifiers)), c.answer);
    }
}

TEST(frmMyMsgBox2Test, KeysSentToTheWindowItselfAnswerToo)
{
    const std::int16_t answer = RunBox("/tmp/x.out\r\n\r\nDelete this file?", 292,
        [](frmMyMsgBox2& box) { QTest::keyClick(&box, Qt::Key_Y); });
    EXPECT_EQ(answer, 6);
}

TEST(frmMyMsgBox2Test, ClosingKeysDoNothingWithTwoButtons)
{
    for (const auto& [key, modifiers] : { std::pair { Qt::Key_Escape, Qt::NoModifier },
             std::pair { Qt::Key_Q, Qt::ControlModifier } }) {
        bool stillOpen = false;
        const std::int16_t answer = RunBox("Delete this file?", 292, [&](frmMyMsgBox2& box) {
            QTest::keyClick(box.focusWidget(), key, modifiers);
            stillOpen = box.isVisible();
            QTest::keyClick(box.focusWidget(), Qt::Key_N);
        });
        EXPECT_TRUE(stillOpen);
        EXPECT_EQ(answer, 7);
    }
}

TEST(frmMyMsgBox2Test, ClosingWithoutAButtonAnswers2)
{
    EXPECT_EQ(RunBox("Delete this file?", 292, [](frmMyMsgBox2& box) { box.close(); }), 2);
    EXPECT_EQ(RunBox("Done.", 0, [](frmMyMsgBox2& box) { box.close(); }), 2);
}

TEST(frmMyMsgBox2Test, ClickingAButtonAnswersItsResult)
{
    const std::int16_t answer = RunBox(
        "Again?", 5, [](frmMyMsgBox2& box) { QTest::mouseClick(box.cmdArray[1], Qt::LeftButton); });
    EXPECT_EQ(answer, 2);
}

TEST(frmMyMsgBox2Test, TheDefaultButtonHasTheFocus)
{
    struct Case {
        std::int32_t flags;
        QString focused;
    };
    const Case cases[] = {
        { 292, "&No" },
        { 4 + 512, "&Yes" }, // only a third button can be the third default
        { 3 + 512, "Cancel" },
        { 0, "OK" },
    };
    for (const Case& c : cases) {
        QString focused;
        RunBox("Sure?", c.flags, [&](frmMyMsgBox2& box) {
            if (auto* button = qobject_cast<QPushButton*>(box.focusWidget()))
                focused = button->text();
            box.close();
        });
        EXPECT_EQ(focused, c.focused) << "flags " << c.flags;
    }
}

TEST(frmMyMsgBox2Test, AnEmptyTitleBecomesTheProgramsTitle)
{
    QString title;
    QTimer::singleShot(0, [&] {
        QWidget* box = QApplication::activeModalWidget();
        title = box->windowTitle();
        box->close();
    });
    MyMsgBox2("Text", 0, "", 0, 0);
    EXPECT_EQ(title, "Trawlit");
}

TEST(frmMyMsgBox2Test, ThePointerIsTheDefaultWhileShownAndComesBackAfter)
{
    QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    bool overriddenWhileShown = true;
    RunBox("Busy?", 0, [&](frmMyMsgBox2& box) {
        overriddenWhileShown = QGuiApplication::overrideCursor() != nullptr;
        box.close();
    });
    EXPECT_FALSE(overriddenWhileShown);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    QGuiApplication::restoreOverrideCursor();
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::BusyCursor);
    QGuiApplication::restoreOverrideCursor();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

// A box laid out and shown without waiting, to look at its controls.
std::unique_ptr<frmMyMsgBox2> ShownBox(const std::string& message, std::int32_t flags,
    std::int16_t optionMask = 0, std::int16_t captionIcon = 0)
{
    auto box = std::make_unique<frmMyMsgBox2>();
    box->MsgStr = message;
    box->CaptionStr = "Confirm delete";
    box->Flags = flags;
    box->OptionMask = optionMask;
    box->CaptionIcon = captionIcon;
    box->Load();
    box->show();
    QCoreApplication::processEvents();
    return box;
}

std::vector<QPushButton*> VisibleButtons(const frmMyMsgBox2& box)
{
    std::vector<QPushButton*> buttons;
    for (ButtonKbt* button : box.cmdArray) {
        if (button != nullptr && button->isVisible())
            buttons.push_back(button);
    }
    return buttons;
}

// Nothing cut off: every text fits its box, the buttons fit the window below the text, and
// their row is centred.
void ExpectTidyLayout(const frmMyMsgBox2& box)
{
    const QRect inside = box.rect();
    const QRect text = box.Text1->geometry();
    EXPECT_TRUE(inside.contains(text));
    EXPECT_LE(box.Text1->document()->idealWidth(), text.width());
    EXPECT_LE(box.Text1->document()->size().height(), text.height());
    if (box.TextBold->isVisible()) {
        const QFontMetrics metrics(box.TextBold->font());
        EXPECT_LT(metrics.horizontalAdvance(box.TextBold->text()), box.TextBold->width());
        EXPECT_GE(box.TextBold->height(), metrics.height());
        EXPECT_LE(box.TextBold->geometry().bottom(), text.top());
    }
    if (box.Picture1->isVisible()) {
        EXPECT_LT(box.Picture1->geometry().right(), text.left());
    }
    const std::vector<QPushButton*> buttons = VisibleButtons(box);
    ASSERT_FALSE(buttons.empty());
    for (QPushButton* button : buttons) {
        EXPECT_TRUE(inside.contains(button->geometry())) << button->text().toStdString();
        EXPECT_GT(button->y(), text.bottom() - box.Text1->fontMetrics().lineSpacing());
        EXPECT_EQ(button->y(), buttons.front()->y());
        const QFontMetrics metrics(button->font());
        EXPECT_LT(metrics.size(Qt::TextShowMnemonic, button->text()).width(), button->width());
    }
    const int rowSpanTwice = buttons.front()->x() + buttons.back()->geometry().right() + 1;
    EXPECT_LE(std::abs(rowSpanTwice - box.width()), 2);
}

// The design's sizes hold the design's small font; a larger desktop font must still fit.
TEST(frmMyMsgBox2Test, TheWindowIsLaidOutUncutInSmallAndLargeFonts)
{
    struct Case {
        std::string message;
        std::int32_t flags;
        std::int16_t options;
    };
    const Case cases[] = {
        { "/home/user/Trawlit.out\r\n\r\nDelete this file?", 292, 0 },
        { "", 3, 0 },
        { "https://example.org\r\nThe newest version.\r\nClick to open it.", 64, 6 },
        { "Line one\r\nLine two is longer", 48, 2 + 8 + 16 },
        { std::string(300, 'w'), 5, 0 },
    };
    const QFont desktopFont = QApplication::font();
    for (const double points : { desktopFont.pointSizeF(), 16.0 }) {
        QFont font = desktopFont;
        font.setPointSizeF(points);
        QApplication::setFont(font);
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << points << " pt: " << c.message);
            ExpectTidyLayout(*ShownBox(c.message, c.flags, c.options));
        }
    }
    QApplication::setFont(desktopFont);
}

TEST(frmMyMsgBox2Test, TheBoldFirstLineAndItsLinkLook)
{
    const auto plain = ShownBox("Head\r\nbody", 0, 2);
    EXPECT_TRUE(plain->TextBold->isVisible());
    EXPECT_EQ(plain->TextBold->text(), "Head");
    EXPECT_EQ(plain->Text1->toPlainText(), "body");
    EXPECT_TRUE(plain->TextBold->font().bold());
    EXPECT_FALSE(plain->TextBold->font().underline());
    EXPECT_NE(plain->TextBold->cursor().shape(), Qt::PointingHandCursor);

    const auto link = ShownBox("https://example.org\r\nbody", 0, 2 + 4);
    EXPECT_TRUE(link->TextBold->font().underline());
    EXPECT_EQ(link->TextBold->palette().color(QPalette::Text), QColor(0, 0, 255));
    EXPECT_EQ(link->TextBold->cursor().shape(), Qt::PointingHandCursor);

    const auto titled = ShownBox("Head\r\nbody", 0, 2 + 16);
    EXPECT_EQ(titled->TextBold->palette().color(QPalette::Text),
        titled->palette().color(QPalette::Active, QPalette::Highlight));

    const auto withoutBold = ShownBox("Head\r\nbody", 0, 4);
    EXPECT_FALSE(withoutBold->TextBold->isVisible());
    EXPECT_EQ(withoutBold->Text1->toPlainText(), "Head\nbody");
}

TEST(frmMyMsgBox2Test, TextBoxesTakeTheWindowsBackgroundAndFixedPitchOnRequest)
{
    const auto box = ShownBox("Line one\r\nLine two", 0, 2 + 8);
    const QColor window = box->palette().color(QPalette::Window);
    EXPECT_EQ(box->Text1->palette().color(QPalette::Base), window);
    EXPECT_EQ(box->TextBold->palette().color(QPalette::Base), window);
    EXPECT_TRUE(QFontInfo(box->Text1->font()).fixedPitch());
    EXPECT_TRUE(QFontInfo(box->TextBold->font()).fixedPitch());
    EXPECT_TRUE(box->TextBold->font().bold());
    EXPECT_FALSE(QFontInfo(ShownBox("x", 0)->Text1->font()).fixedPitch());
}

// Records the links the desktop was asked to open.
class LinkRecorder : public QObject {
    Q_OBJECT
public:
    Q_INVOKABLE void open(const QUrl& url) { opened.push_back(url.toString()); }
    std::vector<QString> opened;
};

TEST(frmMyMsgBox2Test, TheLinkLightsUpOnHoverAndOpensOnClick)
{
    LinkRecorder recorder;
    QDesktopServices::setUrlHandler("https", &recorder, "open");
    const auto box = ShownBox("  https://example.org/trawlit  \r\nThe project's page.", 64, 6);
    QLineEdit& link = *box->TextBold;
    const QColor window = box->palette().color(QPalette::Window);

    QEnterEvent enter(QPointF(3, 3), QPointF(3, 3), QPointF(3, 3));
    QApplication::sendEvent(&link, &enter);
    EXPECT_EQ(link.palette().color(QPalette::Base), QColor(255, 255, 192));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&link, &leave);
    EXPECT_EQ(link.palette().color(QPalette::Base), window);

    QApplication::sendEvent(&link, &enter);
    QTest::mouseClick(&link, Qt::LeftButton);
    QDesktopServices::unsetUrlHandler("https");
    EXPECT_EQ(recorder.opened, std::vector<QString> { "https://example.org/trawlit" });
    EXPECT_EQ(link.palette().color(QPalette::Base), window);
    EXPECT_TRUE(box->isVisible()); // a click on the link answers nothing
}

TEST(frmMyMsgBox2Test, WithoutTheLinkOptionTheBoldLineIsPlainText)
{
    LinkRecorder recorder;
    QDesktopServices::setUrlHandler("https", &recorder, "open");
    const auto box = ShownBox("https://example.org\r\nbody", 0, 2);
    QTest::mouseClick(box->TextBold, Qt::LeftButton);
    QDesktopServices::unsetUrlHandler("https");
    EXPECT_TRUE(recorder.opened.empty());
}

TEST(frmMyMsgBox2Test, TopmostAndWindowIconOptions)
{
    EXPECT_TRUE(ShownBox("x", 0, 1)->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(ShownBox("x", 0, 0)->windowFlags().testFlag(Qt::WindowStaysOnTopHint));

    const qint64 ownIcon = ShownBox("x", 0)->windowIcon().cacheKey();
    EXPECT_NE(ShownBox("x", 0, 0, 2)->windowIcon().cacheKey(), ownIcon);
    EXPECT_EQ(ShownBox("x", 0, 0, 5)->windowIcon().cacheKey(), ownIcon);
    EXPECT_EQ(ShownBox("x", 0, 0, -1)->windowIcon().cacheKey(), ownIcon);
}

TEST(frmMyMsgBox2Test, TheMessageIconShowsOnlyWhenTheCodeAsksForOne)
{
    const auto question = ShownBox("x", 292);
    EXPECT_TRUE(question->Picture1->isVisible());
    EXPECT_FALSE(question->Picture1->pixmap().isNull());
    EXPECT_FALSE(ShownBox("x", 4)->Picture1->isVisible());
}

} // namespace
} // namespace trawlit

#include "frmMyMsgBox2Test.moc"
