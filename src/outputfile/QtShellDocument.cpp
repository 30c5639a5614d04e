#include "outputfile/QtShellDocument.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

namespace trawlit {

void ShellDocument(const std::string& document, std::uint8_t flags)
{
    (void)flags; // the desktop's opener decides the window's size
    const QString text = QString::fromStdString(document);
    const QUrl url = QUrl(text).scheme().size() > 1 ? QUrl(text) : QUrl::fromLocalFile(text);
    QDesktopServices::openUrl(url);
}

} // namespace trawlit
