#include "study/WordSound.h"

#include "audio/PlaySoundSync.h"
#include "audio/SoundLibrary.h"

#include <QCoreApplication>

namespace ov {
namespace {

constexpr int kPollMs = 10;

}  // namespace

bool PlayWordSound(const std::string& path) {
    auto& library = SoundLibrary::Instance();
    const SoundHandle channel = library.OpenFile(path);
    if (channel == 0) return false;
    library.Play(channel);
    while (!library.Ended(channel)) {
        QCoreApplication::processEvents();
        LetTimePass(kPollMs);
    }
    library.Free(channel);
    return true;
}

}  // namespace ov
