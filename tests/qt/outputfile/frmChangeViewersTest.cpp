#include "qt/outputfile/frmChangeViewers.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

#include "core/outputfile/Viewers.h"
#include "qt/widgets/QtButtonKbt.h"

namespace trawlit {
namespace {

class frmChangeViewersTest : public ::testing::Test {
protected:
    frmChangeViewersTest()
    {
        SmallFileViewer = "GEDIT";
        LargeFileViewer = "KATE -N";
        dialog = std::make_unique<frmChangeViewers>();
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    }
    ~frmChangeViewersTest() override { SetDefaultViewers(); }

    void Type(QLineEdit* box, const QString& text)
    {
        box->setFocus();
        box->selectAll();
        if (text.isEmpty())
            QTest::keyClick(box, Qt::Key_Delete);
        else
            QTest::keyClicks(box, text);
    }
    bool Closed() const { return !dialog->isVisible(); }
    void ExpectViewersUnchanged() const
    {
        EXPECT_EQ(SmallFileViewer, "GEDIT");
        EXPECT_EQ(LargeFileViewer, "KATE -N");
    }

    std::unique_ptr<frmChangeViewers> dialog;
};

TEST_F(frmChangeViewersTest, ShowsTheCurrentViewersWithTheFocusOnTheFirstBox)
{
    EXPECT_EQ(dialog->windowTitle(), "Change File Viewers");
    EXPECT_EQ(dialog->txtSmall->text(), "GEDIT");
    EXPECT_EQ(dialog->txtLarge->text(), "KATE -N");
    EXPECT_EQ(QApplication::focusWidget(), dialog->txtSmall);
    EXPECT_EQ(dialog->lblSize->text(), "(greater than 60000 bytes)");
}

// Letter case is kept: arguments such as "--new-window" mean nothing in capitals.
TEST_F(frmChangeViewersTest, OkStoresBothBoxesTrimmedAsTyped)
{
    Type(dialog->txtSmall, "  gedit --new-window ");
    Type(dialog->txtLarge, "  wordpad.exe ");
    QTest::mouseClick(dialog->cmdOK, Qt::LeftButton);
    EXPECT_TRUE(Closed());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(SmallFileViewer, "gedit --new-window");
    EXPECT_EQ(LargeFileViewer, "wordpad.exe");
}

TEST_F(frmChangeViewersTest, AClearedBoxStoresAnEmptyViewer)
{
    Type(dialog->txtSmall, "");
    QTest::keyClick(dialog.get(), Qt::Key_O, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Closed(); })); // an access key animates the click
    EXPECT_EQ(SmallFileViewer, "");
    EXPECT_EQ(LargeFileViewer, "KATE -N");
}

TEST_F(frmChangeViewersTest, ResetShowsTheDefaultsAndOnlyOkTakesThem)
{
    for (bool pressOk : { false, true }) {
        SmallFileViewer = "GEDIT";
        LargeFileViewer = "KATE -N";
        dialog = std::make_unique<frmChangeViewers>();
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
        dialog->txtLarge->setFocus();

        QTest::mouseClick(dialog->cmdReset, Qt::LeftButton);
        EXPECT_EQ(dialog->txtSmall->text(), "NOTEPAD.EXE");
        EXPECT_EQ(dialog->txtLarge->text(), "WRITE.EXE");
        ExpectViewersUnchanged();
        EXPECT_FALSE(Closed());

        QTest::mouseClick(pressOk ? dialog->cmdOK : dialog->cmdCancel, Qt::LeftButton);
        EXPECT_TRUE(Closed());
        EXPECT_EQ(SmallFileViewer, pressOk ? "NOTEPAD.EXE" : "GEDIT");
        EXPECT_EQ(LargeFileViewer, pressOk ? "WRITE.EXE" : "KATE -N");
    }
}

TEST_F(frmChangeViewersTest, EnterMovesBetweenTheBoxesAndNeverPressesOk)
{
    Type(dialog->txtSmall, "edited");
    for (Qt::Key enter : { Qt::Key_Return, Qt::Key_Enter }) {
        QTest::keyClick(dialog->txtSmall, enter);
        EXPECT_EQ(QApplication::focusWidget(), dialog->txtLarge);
        QTest::keyClick(dialog->txtLarge, enter);
        EXPECT_EQ(QApplication::focusWidget(), dialog->txtSmall);
    }
    EXPECT_FALSE(Closed());
    EXPECT_EQ(dialog->txtSmall->text(), "edited");
    ExpectViewersUnchanged();
}

TEST_F(frmChangeViewersTest, AccessKeysMoveTheFocusToTheirBoxes)
{
    QTest::keyClick(dialog.get(), Qt::Key_L, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), dialog->txtLarge);
    QTest::keyClick(dialog.get(), Qt::Key_S, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), dialog->txtSmall);
}

TEST_F(frmChangeViewersTest, EscapeCtrlQAndTheCloseBoxCancel)
{
    const std::vector<std::pair<const char*, std::function<void(frmChangeViewers&)>>> ways = {
        { "Escape in a box",
            [](frmChangeViewers& d) { QTest::keyClick(d.txtLarge, Qt::Key_Escape); } },
        { "Escape on a button",
            [](frmChangeViewers& d) { QTest::keyClick(d.cmdOK, Qt::Key_Escape); } },
        { "Ctrl+Q",
            [](frmChangeViewers& d) {
                QTest::keyClick(d.txtSmall, Qt::Key_Q, Qt::ControlModifier);
            } },
        { "close box", [](frmChangeViewers& d) { d.close(); } },
    };
    for (const auto& [name, cancel] : ways) {
        dialog = std::make_unique<frmChangeViewers>();
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
        Type(dialog->txtSmall, "changed");
        cancel(*dialog);
        EXPECT_TRUE(Closed()) << name;
        EXPECT_EQ(dialog->result(), QDialog::Rejected) << name;
        ExpectViewersUnchanged();
    }
}

TEST_F(frmChangeViewersTest, CtrlQWithOtherModifiersDoesNotCancel)
{
    for (Qt::KeyboardModifiers modifiers :
        { Qt::ControlModifier | Qt::ShiftModifier, Qt::ControlModifier | Qt::AltModifier }) {
        QTest::keyClick(dialog->txtSmall, Qt::Key_Q, modifiers);
        EXPECT_FALSE(Closed());
    }
}

// Answers the dialog once it is up; polling never lets a missed dialog hang the test run.
TEST(ShowChangeViewersTest, ShowsTheDialogModallyAndReturnsWhenItCloses)
{
    SmallFileViewer = "GEDIT";
    bool sawModalDialog = false;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* shown = qobject_cast<frmChangeViewers*>(window);
            if (shown == nullptr || !shown->isVisible())
                continue;
            sawModalDialog = shown->isModal();
            shown->txtSmall->setText("kwrite");
            shown->cmdOK->click();
        }
    });
    answer.start(10);
    ShowChangeViewers(nullptr);
    EXPECT_TRUE(sawModalDialog);
    EXPECT_EQ(SmallFileViewer, "kwrite");
    SetDefaultViewers();
}

} // namespace
} // namespace trawlit
