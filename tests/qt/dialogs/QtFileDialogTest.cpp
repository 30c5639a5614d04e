#include "qt/dialogs/QtFileDialog.h"

#include <QApplication>
#include <QDateTime>
#include <QFileDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QLocale>
#include <QTimer>
#include <QTreeView>

#include <gtest/gtest.h>

#include "core/dialogs/GETPATH.h"
#include "fakes/TempFolder.h"
#include "qt/dialogs/FileDialogSize.h"

namespace trawlit {
namespace {

using fakes::TempFolder;

struct Opened {
    QString folder;
    QString name;
};

// Shows the Save As dialog for a proposed path and cancels it once it is up.
Opened OpenAndCancel(const std::string& proposed)
{
    Opened opened;
    QTimer::singleShot(0, [&opened] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        opened.folder = dialog->directory().absolutePath();
        if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
            opened.name = name->text();
        dialog->reject();
    });
    QtFileDialog dialog;
    EXPECT_FALSE(dialog.Show(PathDialogRequest("Select Output file", proposed, "", 1)).confirmed);
    return opened;
}

TEST(QtFileDialogTest, OpensInTheProposedFolderWithTheProposedName)
{
    TempFolder tree;
    tree.Write("sub/old.out");
    struct Case {
        std::string proposed;
        std::string folder;
        const char* name;
    };
    const Case cases[] = {
        { tree / "sub/Trawlit.out", tree / "sub", "Trawlit.out" },
        { tree / "sub/", tree / "sub", "" }, // a folder alone: no name
    };
    for (const Case& c : cases) {
        const Opened opened = OpenAndCancel(c.proposed);
        EXPECT_EQ(opened.folder.toStdString(), c.folder) << c.proposed;
        EXPECT_EQ(opened.name.toStdString(), c.name) << c.proposed;
    }
}

// A long name, a size and a date show whole; a dialog the user made larger stays so.
TEST(QtFileDialogTest, OpensWideEnoughForANameASizeAndADate)
{
    for (const QSize& before : { QSize(300, 200), QSize(2000, 1200) }) {
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.resize(before);
        OpenWideEnough(dialog);
        auto* view = dialog.findChild<QTreeView*>();
        ASSERT_NE(view, nullptr);
        const QFontMetrics metrics(dialog.font());
        const QString date
            = QLocale::system().toString(QDateTime::currentDateTime(), QLocale::ShortFormat);
        EXPECT_GT(view->header()->sectionSize(3), metrics.horizontalAdvance(date));
        EXPECT_GT(view->header()->sectionSize(0), metrics.horizontalAdvance(QString(30, 'n')));
        EXPECT_GE(dialog.width(), view->header()->length());
        EXPECT_EQ(dialog.size(), dialog.size().expandedTo(before));
    }
}

} // namespace
} // namespace trawlit
