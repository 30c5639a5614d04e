#include "qt/widgets/FirstActivateDialog.h"

#include <gtest/gtest.h>

namespace trawlit {
namespace {

class CountingDialog : public FirstActivateDialog {
public:
    void LoadAfresh() { ResetFirstActivate(); }
    int activations = 0;

protected:
    void FirstActivate() override { ++activations; }
};

TEST(FirstActivateDialogTest, ActivatesOnTheFirstShowingOnlyUntilLoadedAfresh)
{
    CountingDialog dialog;
    EXPECT_EQ(dialog.activations, 0);
    dialog.show();
    EXPECT_EQ(dialog.activations, 1);
    dialog.hide();
    dialog.show();
    EXPECT_EQ(dialog.activations, 1);
    dialog.hide();
    dialog.LoadAfresh();
    dialog.show();
    EXPECT_EQ(dialog.activations, 2);
}

} // namespace
} // namespace trawlit
