#pragma once

class QFileDialog;

namespace trawlit {

// Qt's own file and folder dialogs open at a size that cuts names and dates short. Widens the
// dialog and its columns so that a long name, a size and a date show whole; a dialog the user
// left larger keeps its size.
void OpenWideEnough(QFileDialog& dialog);

} // namespace trawlit
