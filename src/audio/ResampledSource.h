#pragma once

#include "audio/SoundSource.h"

#include <vector>

// SDL's converter; SDL itself stays out of the library's headers.
struct _SDL_AudioStream;

namespace ov {

// Sample rates outside these are not sound anyone recorded: a file declaring
// one is refused rather than stretched to hours of output.
constexpr int kLowestPlayableRate = 1000;
constexpr int kHighestPlayableRate = 384000;

// A decoder that yields stereo float at its file's own rate; this brings it
// to the output rate with SDL's converter, so every such decoder resamples
// alike and positions mean the same in each.
class ResampledSource : public SoundSource {
public:
    ~ResampledSource() override;
    ResampledSource(const ResampledSource&) = delete;
    ResampledSource& operator=(const ResampledSource&) = delete;

    long Read(float* frames, long count) final;
    bool Seek(std::int64_t frame) final;
    std::int64_t LengthFrames() const final;

protected:
    explicit ResampledSource(int rate);
    // False when the rate is not playable or SDL cannot convert from it; such a
    // source must not be handed out.
    bool Convertible() const;

    // Stereo frames at the file's rate; fewer than count only at the end.
    virtual long ReadNative(float* frames, long count) = 0;
    virtual bool SeekNative(std::int64_t frame) = 0;
    // In frames at the file's rate.
    virtual std::int64_t NativeLength() const = 0;

private:
    bool FeedResampler();

    int rate_;
    // File frames per feed, so that each feed makes a bounded block of output.
    long feedFrames_;
    _SDL_AudioStream* resampler_ = nullptr;
    std::vector<float> stereo_;
    // File frames of silence still to push through after the end of the file.
    std::int64_t silenceLeft_ = 0;
    bool drained_ = false;
    // How far the file was read (at its rate), how far the output got, and
    // where the output stops once the file ran out.
    std::int64_t nativeFed_ = 0;
    std::int64_t frame_ = 0;
    std::int64_t endFrame_ = 0;
};

}  // namespace ov
