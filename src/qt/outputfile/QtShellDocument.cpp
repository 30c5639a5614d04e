#include "qt/outputfile/QtShellDocument.h"

#include <QApplication>
#include <QDesktopServices>
#include <QString>
#include <QUrl>

#include "qt/outputfile/QtOpenWithDialog.h"
#include "qt/outputfile/QtProgramStarter.h"

namespace trawlit {

void ShellDocument(const std::string& document, std::uint8_t flags)
{
    (void)flags; // the desktop's opener decides the window's size
    const QString text = QString::fromStdString(document);
    const QUrl url = QUrl(text).scheme().size() > 1 ? QUrl(text) : QUrl::fromLocalFile(text);
    if (QDesktopServices::openUrl(url))
        return;
    // No opener on this desktop: let the user choose a program, as Open With would.
    QtProgramStarter starter;
    QtOpenWithDialog dialog(document, starter, QApplication::activeWindow());
    dialog.exec();
}

} // namespace trawlit
