#include "qt/widgets/FirstActivateDialog.h"

namespace trawlit {

void FirstActivateDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (activated_)
        return;
    activated_ = true;
    FirstActivate();
}

} // namespace trawlit
