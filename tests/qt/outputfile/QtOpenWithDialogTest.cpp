#include "qt/outputfile/QtOpenWithDialog.h"

#include <QApplication>
#include <QByteArray>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QtGlobal>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "fakes/TempFolder.h"
#include "ports/ProgramStarter.h"
#include "qt/widgets/QtButtonKbt.h"

namespace trawlit {
namespace {

using fakes::TempFolder;
using Words = std::vector<std::string>;
namespace fs = std::filesystem;

class RecordingStarter : public ProgramStarter {
public:
    bool StartDetached(const std::string& program, const Words& arguments) override
    {
        started.push_back(program);
        started.insert(started.end(), arguments.begin(), arguments.end());
        return succeed;
    }
    Words started;
    bool succeed = true;
};

constexpr const char* kDocument = "/tmp/page \"one\"; $(x).html";

class QtOpenWithDialogTest : public ::testing::Test {
protected:
    QtOpenWithDialogTest()
        : oldPath_(qgetenv("PATH"))
    {
        for (const char* program : { "gedit", "firefox", "unrelated" }) {
            const std::string path = temp.Write(std::string("bin/") + program, "#!/bin/sh\n");
            fs::permissions(path, fs::perms::owner_all);
        }
        qputenv("PATH", QByteArray::fromStdString(temp / "bin"));
    }
    ~QtOpenWithDialogTest() override { qputenv("PATH", oldPath_); }

    void Choose(QtOpenWithDialog& dialog, const QString& text)
    {
        dialog.comboProgram->setCurrentText(text);
        QTest::mouseClick(dialog.cmdOK, Qt::LeftButton);
    }

    TempFolder temp;
    RecordingStarter starter;

private:
    QByteArray oldPath_;
};

TEST_F(QtOpenWithDialogTest, OffersTheProgramsFoundAndStartsTheChoiceWithTheDocument)
{
    QtOpenWithDialog dialog(kDocument, starter);
    ASSERT_EQ(dialog.comboProgram->count(), 2);
    EXPECT_EQ(dialog.comboProgram->itemText(0), "firefox"); // browsers before editors
    EXPECT_EQ(dialog.comboProgram->itemText(1), "gedit");
    EXPECT_EQ(dialog.lblDocument->text(), kDocument);

    dialog.show();
    EXPECT_FALSE(dialog.lblNoProgram->isVisible());
    Choose(dialog, "  gedit  --new-window ");
    EXPECT_EQ(starter.started, (Words { "gedit", "--new-window", kDocument }));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(QtOpenWithDialogTest, AProgramThatDoesNotStartIsReportedAndTheDialogStays)
{
    starter.succeed = false;
    QtOpenWithDialog dialog(kDocument, starter);
    dialog.show();
    QString reported;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            reported = box->text();
            box->accept();
        }
    });
    answer.start(10);
    Choose(dialog, "nosuch");
    EXPECT_EQ(reported, "Unable to run nosuch");
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(QtOpenWithDialogTest, CancelOrNoProgramStartsNothing)
{
    QtOpenWithDialog dialog(kDocument, starter);
    dialog.show();
    dialog.comboProgram->setCurrentText("   ");
    EXPECT_FALSE(dialog.cmdOK->isEnabled());
    QTest::mouseClick(dialog.cmdCancel, Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_TRUE(starter.started.empty());
}

TEST_F(QtOpenWithDialogTest, AnEmptyListSaysThatNoProgramWasFoundAndHowToAddOne)
{
    qputenv("PATH", QByteArray::fromStdString(temp / "empty"));
    QtOpenWithDialog dialog(kDocument, starter);
    dialog.show();
    EXPECT_EQ(dialog.comboProgram->count(), 0);
    EXPECT_FALSE(dialog.cmdOK->isEnabled());
    EXPECT_TRUE(dialog.lblNoProgram->isVisible());
    EXPECT_TRUE(dialog.lblNoProgram->text().startsWith("No program was found"));
    Choose(dialog, "mousepad");
    EXPECT_EQ(starter.started, (Words { "mousepad", kDocument }));
}

} // namespace
} // namespace trawlit
