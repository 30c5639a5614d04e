#include "qt/mainwindow/HomeFolder.h"

#include <algorithm>

namespace trawlit {

namespace {

bool IsBlank(QChar c)
{
    return c == QLatin1Char(' ');
}

} // namespace

QString ExpandHomeFolder(const QString& text, const QString& home)
{
    const auto tilde = std::find_if_not(text.begin(), text.end(), IsBlank);
    if (tilde == text.end() || *tilde != QLatin1Char('~'))
        return text;
    const auto after = tilde + 1;
    if (after != text.end() && *after != QLatin1Char('/')
        && !std::all_of(after, text.end(), IsBlank))
        return text; // "~name": another user's home, which the desktop does not mean here
    QString expanded = text;
    return expanded.replace(tilde - text.begin(), 1, home);
}

} // namespace trawlit
