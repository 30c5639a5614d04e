#pragma once

#include <QComboBox>
#include <QString>
#include <QVariant>

#include "ports/HistoryViews.h"

namespace trawlit {

// The history lists' view of an editable QComboBox. Texts cross over in the system's 8-bit
// encoding, like every other text of the core.
class QtComboBoxView : public ComboBoxView {
public:
    explicit QtComboBoxView(QComboBox& box)
        : box_(box)
    {
    }

    void Clear() override { box_.clear(); }
    void AddItem(const std::string& text, int itemData) override
    {
        box_.addItem(QString::fromLocal8Bit(text), QVariant(itemData));
    }
    void SetListIndex(int index) override
    {
        box_.setCurrentIndex(index);
        // An editable box keeps its old text when nothing is selected; the list says empty.
        box_.setEditText(index < 0 ? QString() : box_.itemText(index));
    }

private:
    QComboBox& box_;
};

} // namespace trawlit
