#include "audio/ResampledSource.h"

#include <SDL2/SDL.h>

#include <algorithm>

namespace ov {
namespace {

constexpr long kChunkFrames = 2048;
// What one feed may turn into at the output rate: a file declaring a very low
// rate would otherwise make each feed of kChunkFrames a huge block of output.
constexpr long kOutputBlockFrames = 4096;
constexpr int kBytesPerFrame = 2 * sizeof(float);

bool PlayableRate(int rate) { return rate >= kLowestPlayableRate && rate <= kHighestPlayableRate; }

long FeedFrames(int rate) {
    return std::clamp<long>(static_cast<long>(std::int64_t{kOutputBlockFrames} * rate / kOutputRate), 1, kChunkFrames);
}

// The converter's filter reaches further back in file frames the higher the
// file's rate is above the output rate; the silence that pushes its last
// samples out must cover that reach.
std::int64_t FlushFrames(int rate) { return std::int64_t{kChunkFrames} * ((rate + kOutputRate - 1) / kOutputRate); }

}  // namespace

ResampledSource::ResampledSource(int rate) : rate_(rate), feedFrames_(FeedFrames(rate)), stereo_(2 * kChunkFrames) {
    if (PlayableRate(rate) && rate != kOutputRate) {
        resampler_ = SDL_NewAudioStream(AUDIO_F32SYS, 2, rate, AUDIO_F32SYS, 2, kOutputRate);
    }
}

bool ResampledSource::Convertible() const {
    return PlayableRate(rate_) && (rate_ == kOutputRate || resampler_ != nullptr);
}

ResampledSource::~ResampledSource() {
    if (resampler_ != nullptr) SDL_FreeAudioStream(resampler_);
}

bool ResampledSource::FeedResampler() {
    if (drained_) return false;
    if (silenceLeft_ == 0) {
        const long got = ReadNative(stereo_.data(), feedFrames_);
        if (got > 0) {
            SDL_AudioStreamPut(resampler_, stereo_.data(), static_cast<int>(got * kBytesPerFrame));
            nativeFed_ += got;
            return true;
        }
        // SDL's flush still keeps back the samples its filter would need next,
        // the last tens of milliseconds: silence pushes them out, and the end
        // frame cuts that silence off again.
        std::fill(stereo_.begin(), stereo_.end(), 0.0f);
        silenceLeft_ = FlushFrames(rate_);
        endFrame_ = nativeFed_ * kOutputRate / rate_;
    }
    const auto silence = static_cast<long>(std::min<std::int64_t>(feedFrames_, silenceLeft_));
    SDL_AudioStreamPut(resampler_, stereo_.data(), static_cast<int>(silence * kBytesPerFrame));
    silenceLeft_ -= silence;
    if (silenceLeft_ == 0) {
        SDL_AudioStreamFlush(resampler_);
        drained_ = true;
    }
    return true;
}

long ResampledSource::Read(float* frames, long count) {
    if (resampler_ == nullptr) return ReadNative(frames, count);
    while (SDL_AudioStreamAvailable(resampler_) < count * kBytesPerFrame && FeedResampler()) {
    }
    const bool endKnown = drained_ || silenceLeft_ > 0;
    if (endKnown) count = static_cast<long>(std::clamp<std::int64_t>(endFrame_ - frame_, 0, count));
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
    silenceLeft_ = 0;
    drained_ = false;
    return true;
}

std::int64_t ResampledSource::LengthFrames() const { return NativeLength() * kOutputRate / rate_; }

}  // namespace ov
