#pragma once

#include <QString>
#include <string>

namespace trawlit {

// The core keeps text as the system's bytes; the windows show it as Qt text.
inline QString ToQt(const std::string& text)
{
    return QString::fromLocal8Bit(text);
}

// A message's lines as a label shows them: CR LF ends a line in the core's texts.
inline QString ToQtLines(const std::string& text)
{
    return QString::fromLocal8Bit(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

inline std::string ToCore(const QString& text)
{
    return text.toLocal8Bit().toStdString();
}

// A control under the name the rest of the program (and its tests) find it by.
template <typename Widget> Widget* Named(Widget* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace trawlit
