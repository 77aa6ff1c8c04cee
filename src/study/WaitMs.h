#pragma once

#include <QEventLoop>

namespace ov {

// Waits at least ms while the window goes on handling its events (by default
// all of them, so the pupil's clicks are taken during the wait too).
void WaitMs(int ms, QEventLoop::ProcessEventsFlags flags = QEventLoop::AllEvents);

}  // namespace ov
