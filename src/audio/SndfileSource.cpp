#include "audio/SndfileSource.h"

#include <algorithm>

namespace ov {
namespace {

constexpr long kChunkFrames = 2048;

}  // namespace

std::unique_ptr<SndfileSource> SndfileSource::Adopt(SNDFILE* file, const SF_INFO& info) {
    if (info.channels <= 0) {
        sf_close(file);
        return nullptr;
    }
    std::unique_ptr<SndfileSource> source(new SndfileSource(file, info));
    if (!source->Convertible()) return nullptr;
    return source;
}

SndfileSource::SndfileSource(SNDFILE* file, const SF_INFO& info)
    : ResampledSource(info.samplerate), file_(file), info_(info),
      raw_(static_cast<std::size_t>(kChunkFrames * info.channels)) {}

SndfileSource::~SndfileSource() { sf_close(file_); }

long SndfileSource::ReadNative(float* frames, long count) {
    long done = 0;
    while (done < count) {
        long want = std::min(count - done, kChunkFrames);
        sf_count_t got = sf_readf_float(file_, raw_.data(), want);
        if (got <= 0) break;
        for (sf_count_t i = 0; i < got; ++i) {
            const float* in = &raw_[static_cast<std::size_t>(i * info_.channels)];
            frames[2 * (done + i)] = in[0];
            frames[2 * (done + i) + 1] = info_.channels > 1 ? in[1] : in[0];
        }
        done += got;
    }
    return done;
}

bool SndfileSource::SeekNative(std::int64_t frame) {
    return sf_seek(file_, static_cast<sf_count_t>(frame), SEEK_SET) >= 0;
}

std::int64_t SndfileSource::NativeLength() const { return static_cast<std::int64_t>(info_.frames); }

}  // namespace ov
