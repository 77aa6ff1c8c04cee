#include "audio/SndfileSource.h"

#include <algorithm>

namespace ov {
namespace {

constexpr long kChunkFrames = 2048;

}  // namespace

std::unique_ptr<SndfileSource> SndfileSource::Adopt(SNDFILE* file, const SF_INFO& info) {
    if (info.channels <= 0 || info.samplerate <= 0) {
        sf_close(file);
        return nullptr;
    }
    SDL_AudioStream* resampler = nullptr;
    if (info.samplerate != kOutputRate) {
        resampler = SDL_NewAudioStream(AUDIO_F32SYS, 2, info.samplerate, AUDIO_F32SYS, 2, kOutputRate);
        if (resampler == nullptr) {
            sf_close(file);
            return nullptr;
        }
    }
    return std::unique_ptr<SndfileSource>(new SndfileSource(file, info, resampler));
}

SndfileSource::SndfileSource(SNDFILE* file, const SF_INFO& info, SDL_AudioStream* resampler)
    : file_(file), info_(info), resampler_(resampler),
      raw_(static_cast<std::size_t>(kChunkFrames * info.channels)), stereo_(kChunkFrames * 2) {}

SndfileSource::~SndfileSource() {
    if (resampler_ != nullptr) SDL_FreeAudioStream(resampler_);
    sf_close(file_);
}

long SndfileSource::ReadStereo(float* frames, long count) {
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

bool SndfileSource::FeedResampler() {
    if (drained_) return false;
    long got = ReadStereo(stereo_.data(), kChunkFrames);
    if (got > 0) {
        SDL_AudioStreamPut(resampler_, stereo_.data(), static_cast<int>(got * 2 * sizeof(float)));
        return true;
    }
    SDL_AudioStreamFlush(resampler_);
    drained_ = true;
    return true;
}

long SndfileSource::Read(float* frames, long count) {
    if (resampler_ == nullptr) return ReadStereo(frames, count);
    const int bytesPerFrame = 2 * sizeof(float);
    while (SDL_AudioStreamAvailable(resampler_) < count * bytesPerFrame && FeedResampler()) {
    }
    int got = SDL_AudioStreamGet(resampler_, frames, static_cast<int>(count * bytesPerFrame));
    return got > 0 ? got / bytesPerFrame : 0;
}

bool SndfileSource::Seek(std::int64_t frame) {
    sf_count_t target = static_cast<sf_count_t>(frame * info_.samplerate / kOutputRate);
    if (sf_seek(file_, target, SEEK_SET) < 0) return false;
    if (resampler_ != nullptr) SDL_AudioStreamClear(resampler_);
    drained_ = false;
    return true;
}

std::int64_t SndfileSource::LengthFrames() const {
    return static_cast<std::int64_t>(info_.frames) * kOutputRate / info_.samplerate;
}

}  // namespace ov
