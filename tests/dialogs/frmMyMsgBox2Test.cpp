#include "dialogs/frmMyMsgBox2.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <functional>

#include <gtest/gtest.h>

#include "mainwindow/QtButtonKbt.h"

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

} // namespace
} // namespace trawlit
