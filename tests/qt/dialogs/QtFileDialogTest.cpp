#include "qt/dialogs/QtFileDialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>

#include <gtest/gtest.h>

#include "core/dialogs/GETPATH.h"
#include "fakes/TempFolder.h"

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

} // namespace
} // namespace trawlit
