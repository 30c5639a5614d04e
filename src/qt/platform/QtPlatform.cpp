#include "qt/platform/QtPlatform.h"

#include <QCoreApplication>

namespace trawlit {

namespace {
constexpr auto kInputInterval = std::chrono::milliseconds(50);
} // namespace

bool QtPlatform::InputPending()
{
    return std::chrono::steady_clock::now() - lastEvents_ >= kInputInterval;
}

void QtPlatform::DoEvents()
{
    QCoreApplication::processEvents();
    lastEvents_ = std::chrono::steady_clock::now();
}

} // namespace trawlit
