#include "qt/widgets/CloseButtonOnly.h"

#include <QDialog>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

#include "core/printing/PrintSettings.h"
#include "qt/dialogs/frmMyMsgBox2.h"
#include "qt/outputfile/frmChangeViewers.h"
#include "qt/printing/frmPrintConfirm.h"

namespace trawlit {
namespace {

bool OffersOnlyClose(const QWidget& window)
{
    const Qt::WindowFlags flags = window.windowFlags();
    return window.isWindow() && flags.testFlag(Qt::CustomizeWindowHint)
        && flags.testFlag(Qt::WindowCloseButtonHint) && flags.testFlag(Qt::WindowTitleHint)
        && !flags.testFlag(Qt::WindowMinimizeButtonHint)
        && !flags.testFlag(Qt::WindowMaximizeButtonHint)
        && !flags.testFlag(Qt::WindowContextHelpButtonHint);
}

// The message box and the dialogs of fixed size ask the window manager for a close button
// alone; one kept on top stays on top.
TEST(CloseButtonOnlyTest, MessageBoxesAndFixedDialogsOfferOnlyClose)
{
    PrintSettings settings;
    const std::vector<std::function<std::unique_ptr<QWidget>()>> windows = {
        [] { return std::make_unique<frmMyMsgBox2>(); },
        [] { return std::make_unique<frmChangeViewers>(); },
        [&] { return std::make_unique<frmPrintConfirm>(settings); },
    };
    for (const auto& make : windows) {
        const std::unique_ptr<QWidget> window = make();
        EXPECT_TRUE(OffersOnlyClose(*window)) << window->metaObject()->className();
    }
    QDialog onTop(nullptr, Qt::Dialog | Qt::WindowStaysOnTopHint);
    CloseButtonOnly(onTop);
    EXPECT_TRUE(OffersOnlyClose(onTop));
    EXPECT_TRUE(onTop.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

} // namespace
} // namespace trawlit
