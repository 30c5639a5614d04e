#include "qt/platform/QtEventPump.h"

#include <QCoreApplication>

namespace trawlit {

namespace {
constexpr auto kInputInterval = std::chrono::milliseconds(50);
} // namespace

bool QtEventPump::InputPending()
{
    return std::chrono::steady_clock::now() - lastEvents_ >= kInputInterval;
}

void QtEventPump::DoEvents()
{
    QCoreApplication::processEvents();
    lastEvents_ = std::chrono::steady_clock::now();
}

} // namespace trawlit
