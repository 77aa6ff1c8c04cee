#include "audio/WaveInput.h"

namespace ov {

void WaveHandOff::Push(WaveHeader* header) {
    {
        std::lock_guard lock(FMutex);
        FDone.push_back(header);
    }
    FReady.notify_all();
}

WaveHeader* WaveHandOff::TryTake() {
    std::lock_guard lock(FMutex);
    if (FDone.empty()) return nullptr;
    WaveHeader* header = FDone.front();
    FDone.pop_front();
    return header;
}

bool WaveHandOff::WaitFor(std::chrono::milliseconds timeout) {
    std::unique_lock lock(FMutex);
    return FReady.wait_for(lock, timeout, [this] { return !FDone.empty(); });
}

}  // namespace ov
