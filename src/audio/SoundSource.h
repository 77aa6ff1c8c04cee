#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace ov {

// Everything the mixer plays is 44100 Hz interleaved stereo float.
constexpr int kOutputRate = 44100;
constexpr int kOutputChannels = 2;
constexpr int kOutputBytesPerFrame = 4;  // 16-bit stereo, the unit positions are counted in

// A decoder already converted to the output format. Used from one thread at a time.
class SoundSource {
public:
    virtual ~SoundSource() = default;
    // Fills up to count frames; fewer only at the end of the sound (0 then).
    virtual long Read(float* frames, long count) = 0;
    // Moves to an output-rate frame; false when the sound cannot seek there.
    virtual bool Seek(std::int64_t frame) = 0;
    // Length in output-rate frames.
    virtual std::int64_t LengthFrames() const = 0;
};

// Opens a file by its content, not its name: as a sampled stream (WAV, Ogg
// Vorbis and everything else libsndfile reads), as MPEG audio (layers 1-3),
// then as tracker music. Null when none recognises it.
std::unique_ptr<SoundSource> OpenSoundFile(const std::string& path);

}  // namespace ov
