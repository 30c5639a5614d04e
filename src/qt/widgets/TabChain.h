#pragma once

#include <initializer_list>

class QWidget;

namespace trawlit {

// Tab moves through `widgets` in the order given, Shift+Tab back the same way.
void SetTabChain(std::initializer_list<QWidget*> widgets);

} // namespace trawlit
