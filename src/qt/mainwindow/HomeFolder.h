#pragma once

#include <QString>

namespace trawlit {

// A path typed as on a Linux desktop: a leading "~" (alone or before "/") stands for `home`.
// Blanks around the text stay where they are; "~name" and a "~" further on are left alone.
QString ExpandHomeFolder(const QString& text, const QString& home);

} // namespace trawlit
