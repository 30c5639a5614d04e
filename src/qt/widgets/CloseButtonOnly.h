#pragma once

class QWidget;

namespace trawlit {

// A message box or a dialog of fixed size keeps only the close button in its title bar: window
// managers give every dialog minimise and maximise buttons unless it says otherwise. A window
// kept on top stays on top.
void CloseButtonOnly(QWidget& window);

} // namespace trawlit
