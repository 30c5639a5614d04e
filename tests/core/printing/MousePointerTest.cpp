#include "core/printing/MousePointer.h"

#include <gtest/gtest.h>

#include "PrintFakes.h"

namespace trawlit {
namespace {

using fakes::FakeScreenPointer;

TEST(MousePointerTest, NestedPushesAndPopsEndWithThePointerFromBefore)
{
    for (int levels : { 1, 2, 20, 21, 25 }) {
        FakeScreenPointer screen;
        screen.pointer = PointerCode::Arrow;
        MousePointerStack stack(screen);
        for (int i = 0; i < levels; ++i) {
            stack.MousePointerPush();
            ASSERT_EQ(screen.pointer, PointerCode::Hourglass) << levels;
        }
        for (int i = 1; i < levels; ++i) {
            stack.MousePointerPop();
            ASSERT_EQ(screen.pointer, PointerCode::Hourglass) << levels << " pop " << i;
        }
        stack.MousePointerPop();
        EXPECT_EQ(screen.pointer, PointerCode::Arrow) << levels;
        EXPECT_EQ(stack.Depth(), 0) << levels;
    }
}

TEST(MousePointerTest, ShowsTheHourglassOnlyWhenItIsNotShowing)
{
    FakeScreenPointer screen;
    MousePointerStack stack(screen);
    stack.MousePointerPush();
    stack.MousePointerPush();
    EXPECT_EQ(screen.sets, 1);
    EXPECT_EQ(screen.shows, 1);
    stack.MousePointerPop(); // the inner pop finds the hourglass it should leave
    EXPECT_EQ(screen.sets, 1);
    stack.MousePointerPop();
    EXPECT_EQ(screen.pointer, PointerCode::Default);
}

TEST(MousePointerTest, AnUnpairedPopSettlesOnTheDefaultPointer)
{
    FakeScreenPointer screen;
    screen.pointer = PointerCode::Hourglass;
    MousePointerStack stack(screen);
    stack.MousePointerPop();
    EXPECT_EQ(screen.pointer, PointerCode::Default);
    EXPECT_EQ(stack.Depth(), 0);
    stack.MousePointerPush();
    stack.MousePointerPop();
    EXPECT_EQ(screen.pointer, PointerCode::Default);
}

} // namespace
} // namespace trawlit
