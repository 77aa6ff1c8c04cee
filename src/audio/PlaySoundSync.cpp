#include "audio/PlaySoundSync.h"

#include "audio/SoundLibrary.h"

#include <chrono>
#include <thread>

namespace ov {
namespace {

constexpr int kPollMs = 10;

}  // namespace

void LetTimePass(int ms) {
    auto& library = SoundLibrary::Instance();
    if (library.OnVirtualClock()) {
        library.AdvanceVirtualClock(ms);
    } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }
}

bool PlaySoundSync(const std::string& path) {
    auto& library = SoundLibrary::Instance();
    SoundHandle channel = library.OpenFile(path);
    if (channel == 0) return false;
    // A sound the mixer never started would never end.
    const bool played = library.Play(channel);
    while (played && !library.Ended(channel)) LetTimePass(kPollMs);
    library.Free(channel);
    return played;
}

}  // namespace ov
