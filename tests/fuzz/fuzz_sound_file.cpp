#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "FuzzFiles.h"
#include "audio/SoundSource.h"

// The input is a sound file opened by its content, as the player opens one;
// whatever it declares, each read must stay within what was asked for.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto file = ovfuzz::ScratchFolder("sound_file") / "sound";
    ovfuzz::WriteBytes(file, std::string_view(reinterpret_cast<const char*>(data), size));
    auto source = ov::OpenSoundFile(file.string());
    if (!source) return 0;
    constexpr long kBlock = 4096;
    // Ten seconds of output tell as much as the whole of a long sound.
    constexpr long kMostFrames = 10 * ov::kOutputRate;
    std::vector<float> frames(2 * kBlock);
    for (long total = 0; total < kMostFrames;) {
        const long got = source->Read(frames.data(), kBlock);
        if (got < 0 || got > kBlock) __builtin_trap();
        if (got == 0) break;
        total += got;
    }
    if (source->Seek(source->LengthFrames() / 2)) source->Read(frames.data(), kBlock);
    return 0;
}
