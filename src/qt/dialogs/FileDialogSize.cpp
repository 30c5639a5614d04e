#include "qt/dialogs/FileDialogSize.h"

#include <QDateTime>
#include <QFileDialog>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLocale>
#include <QTreeView>
#include <algorithm>

namespace trawlit {

namespace {

constexpr int kNameCharacters = 50;
constexpr int kSidebarCharacters = 22;
constexpr int kVisibleRows = 22;

// The widest texts the size, type and date columns show, in the dialog's own formats.
int ColumnWidth(const QFontMetrics& metrics, int column)
{
    const int padding = metrics.horizontalAdvance(QStringLiteral("MMM"));
    switch (column) {
    case 1:
        return metrics.horizontalAdvance(QStringLiteral("1023.99 KiB")) + padding;
    case 2:
        return metrics.horizontalAdvance(QStringLiteral("plain text document")) + padding;
    case 3: {
        const QDateTime widest(QDate(2026, 12, 28), QTime(23, 58, 58));
        return metrics.horizontalAdvance(QLocale::system().toString(widest, QLocale::ShortFormat))
            + padding;
    }
    default:
        break;
    }
    return metrics.averageCharWidth() * kNameCharacters;
}

} // namespace

void OpenWideEnough(QFileDialog& dialog)
{
    const QFontMetrics metrics(dialog.font());
    int columns = 0;
    if (auto* view = dialog.findChild<QTreeView*>()) {
        QHeaderView* header = view->header();
        for (int column = 0; column < 4; ++column) {
            const int width = std::max(header->sectionSize(column), ColumnWidth(metrics, column));
            header->resizeSection(column, width);
            columns += width;
        }
    }
    const int width = columns + metrics.averageCharWidth() * kSidebarCharacters;
    const int height = metrics.height() * kVisibleRows;
    dialog.resize(dialog.size().expandedTo(QSize(width, height)));
}

} // namespace trawlit
