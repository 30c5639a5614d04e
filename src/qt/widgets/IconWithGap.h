#pragma once

#include <QIcon>

class QPushButton;

namespace trawlit {

// Gives a button's picture room before its caption: some styles draw the caption right
// against the picture. The picture keeps its size at any screen scale.
void SetIconWithGap(QPushButton& button, const QIcon& icon);

} // namespace trawlit
