#pragma once

#include "audio/ResampledSource.h"

#include <sndfile.h>

#include <memory>
#include <vector>

namespace ov {

// A libsndfile stream folded to stereo (mono doubled, extra channels dropped).
class SndfileSource final : public ResampledSource {
public:
    // Takes ownership of an open handle; null when the rate cannot be converted.
    static std::unique_ptr<SndfileSource> Adopt(SNDFILE* file, const SF_INFO& info);
    ~SndfileSource() override;

private:
    SndfileSource(SNDFILE* file, const SF_INFO& info);
    long ReadNative(float* frames, long count) override;
    bool SeekNative(std::int64_t frame) override;
    std::int64_t NativeLength() const override;

    SNDFILE* file_;
    SF_INFO info_;
    std::vector<float> raw_;
};

}  // namespace ov
