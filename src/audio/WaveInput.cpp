#include "audio/WaveInput.h"

namespace ov {

void WaveHandOff::Push(WaveHeader* header) {
    std::lock_guard lock(FMutex);
    FDone.push_back(header);
}

WaveHeader* WaveHandOff::TryTake() {
    std::lock_guard lock(FMutex);
    if (FDone.empty()) return nullptr;
    WaveHeader* header = FDone.front();
    FDone.pop_front();
    return header;
}

}  // namespace ov
