#pragma once

#include <QIcon>
#include <QPushButton>
#include <QString>

namespace trawlit {

// The program's push button. An "&" in the caption marks its access key (Alt + the letter).
class ButtonKbt : public QPushButton {
public:
    explicit ButtonKbt(const QString& caption, QWidget* parent = nullptr)
        : QPushButton(caption, parent)
    {
    }
    ButtonKbt(const QIcon& icon, const QString& caption, QWidget* parent = nullptr)
        : QPushButton(icon, caption, parent)
    {
    }
};

} // namespace trawlit
