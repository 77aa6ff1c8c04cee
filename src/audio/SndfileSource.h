#pragma once

#include "audio/SoundSource.h"

#include <SDL2/SDL.h>
#include <sndfile.h>

#include <vector>

namespace ov {

// A libsndfile stream resampled to the output rate with SDL's own converter
// and folded to stereo (mono doubled, extra channels dropped).
class SndfileSource final : public SoundSource {
public:
    // Takes ownership of an open handle; null when the rate cannot be converted.
    static std::unique_ptr<SndfileSource> Adopt(SNDFILE* file, const SF_INFO& info);
    ~SndfileSource() override;

    long Read(float* frames, long count) override;
    bool Seek(std::int64_t frame) override;
    std::int64_t LengthFrames() const override;

private:
    SndfileSource(SNDFILE* file, const SF_INFO& info, SDL_AudioStream* resampler);
    long ReadStereo(float* frames, long count);
    bool FeedResampler();

    SNDFILE* file_;
    SF_INFO info_;
    SDL_AudioStream* resampler_;
    std::vector<float> raw_;
    std::vector<float> stereo_;
    bool drained_ = false;
};

}  // namespace ov
