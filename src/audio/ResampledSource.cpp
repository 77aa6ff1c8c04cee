#include "audio/ResampledSource.h"

#include <SDL2/SDL.h>

#include <algorithm>

namespace ov {
namespace {

constexpr long kChunkFrames = 2048;
constexpr int kBytesPerFrame = 2 * sizeof(float);

}  // namespace

ResampledSource::ResampledSource(int rate) : rate_(rate), stereo_(2 * kChunkFrames) {
    if (rate > 0 && rate != kOutputRate) {
        resampler_ = SDL_NewAudioStream(AUDIO_F32SYS, 2, rate, AUDIO_F32SYS, 2, kOutputRate);
    }
}

ResampledSource::~ResampledSource() {
    if (resampler_ != nullptr) SDL_FreeAudioStream(resampler_);
}

bool ResampledSource::FeedResampler() {
    if (drained_) return false;
    long got = ReadNative(stereo_.data(), kChunkFrames);
    if (got > 0) {
        SDL_AudioStreamPut(resampler_, stereo_.data(), static_cast<int>(got * kBytesPerFrame));
        nativeFed_ += got;
        return true;
    }
    // SDL's flush still keeps back the samples its filter would need next,
    // the last tens of milliseconds: silence pushes them out, and the end
    // frame cuts that silence off again.
    std::fill(stereo_.begin(), stereo_.end(), 0.0f);
    SDL_AudioStreamPut(resampler_, stereo_.data(), static_cast<int>(kChunkFrames * kBytesPerFrame));
    SDL_AudioStreamFlush(resampler_);
    endFrame_ = nativeFed_ * kOutputRate / rate_;
    drained_ = true;
    return true;
}

long ResampledSource::Read(float* frames, long count) {
    if (resampler_ == nullptr) return ReadNative(frames, count);
    while (SDL_AudioStreamAvailable(resampler_) < count * kBytesPerFrame && FeedResampler()) {
    }
    if (drained_) count = static_cast<long>(std::clamp<std::int64_t>(endFrame_ - frame_, 0, count));
    int got = SDL_AudioStreamGet(resampler_, frames, static_cast<int>(count * kBytesPerFrame));
    long done = got > 0 ? got / kBytesPerFrame : 0;
    frame_ += done;
    return done;
}

bool ResampledSource::Seek(std::int64_t frame) {
    std::int64_t native = frame * rate_ / kOutputRate;
    if (!SeekNative(native)) return false;
    if (resampler_ != nullptr) SDL_AudioStreamClear(resampler_);
    nativeFed_ = native;
    frame_ = native * kOutputRate / rate_;
    drained_ = false;
    return true;
}

std::int64_t ResampledSource::LengthFrames() const { return NativeLength() * kOutputRate / rate_; }

}  // namespace ov
