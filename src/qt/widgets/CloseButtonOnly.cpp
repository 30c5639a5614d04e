#include "qt/widgets/CloseButtonOnly.h"

#include <QWidget>

namespace trawlit {

void CloseButtonOnly(QWidget& window)
{
    const Qt::WindowFlags onTop = window.windowFlags() & Qt::WindowStaysOnTopHint;
    window.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
        | Qt::WindowCloseButtonHint | onTop);
}

} // namespace trawlit
