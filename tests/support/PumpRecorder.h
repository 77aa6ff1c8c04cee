#pragma once

#include "audio/VoiceRecorder.h"

#include <chrono>
#include <thread>

namespace ovtest {

// What a window's timer does for a recorder, for tests and benches without
// one: handles its filled buffers, looking again every 2 ms until one came or
// `timeout` passed. True when a buffer was handled.
inline bool PumpRecorder(ov::VoiceRecorder& recorder, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (recorder.ProcessNotifications() > 0) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

}  // namespace ovtest
