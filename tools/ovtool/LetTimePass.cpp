#include "LetTimePass.h"

#include "audio/SoundLibrary.h"

#include <chrono>
#include <thread>

namespace ov {

void LetTimePass(int ms) {
    auto& library = SoundLibrary::Instance();
    if (library.OnVirtualClock()) {
        library.AdvanceVirtualClock(ms);
    } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }
}

}  // namespace ov
