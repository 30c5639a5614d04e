#include "qt/widgets/TabChain.h"

#include <QLineEdit>
#include <QWidget>
#include <gtest/gtest.h>
#include <string>

namespace trawlit {
namespace {

// The children's names in Tab order.
std::string TabOrder(QWidget& window)
{
    std::string names;
    for (QWidget* next = window.nextInFocusChain(); next != &window;
         next = next->nextInFocusChain())
        names += next->objectName().toStdString();
    return names;
}

TEST(TabChainTest, TabFollowsTheListNotTheOrderOfCreation)
{
    QWidget window;
    QWidget* boxes[5] {};
    for (int i = 0; i < 5; ++i) {
        boxes[i] = new QLineEdit(&window);
        boxes[i]->setObjectName(QString(QChar('a' + i)));
    }
    const auto [a, b, c, d, e] = boxes;
    SetTabChain({ d });
    EXPECT_EQ(TabOrder(window), "abcde"); // one widget has nothing to chain to
    SetTabChain({ a, d, b, e });
    EXPECT_EQ(TabOrder(window), "adbec");
    SetTabChain({ a, e, d, c, b });
    EXPECT_EQ(TabOrder(window), "aedcb");
}

} // namespace
} // namespace trawlit
