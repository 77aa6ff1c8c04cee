#include "study/WaitMs.h"

#include <QCoreApplication>
#include <QThread>

#include <chrono>

namespace ov {

void WaitMs(int ms, QEventLoop::ProcessEventsFlags flags) {
    using Clock = std::chrono::steady_clock;
    const auto end = Clock::now() + std::chrono::milliseconds(ms);
    // The steady clock cannot wrap around, so no check for that is needed.
    while (Clock::now() < end) {
        QCoreApplication::processEvents(flags);
        QThread::msleep(1);
    }
}

}  // namespace ov
