#include "speech/RecordingPcm.h"

#include "audio/SoundSource.h"
#include "speech/SpeechLoudness.h"

#include <soxr.h>

#include <algorithm>
#include <cmath>

namespace ov {
namespace {

std::vector<float> Resample(const std::vector<float>& in, double inRate, double outRate) {
    std::vector<float> out(static_cast<size_t>(std::ceil(static_cast<double>(in.size()) * outRate / inRate)) + 16);
    size_t done = 0;
    const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_MQ, 0);
    if (soxr_oneshot(inRate, outRate, 1, in.data(), in.size(), nullptr, out.data(), out.size(), &done, nullptr,
                     &quality, nullptr))
        throw ERecordingError("the sound could not be resampled");
    out.resize(done);
    return out;
}

std::vector<int16_t> ToPcm(const std::vector<float>& in) {
    std::vector<int16_t> out(in.size());
    std::transform(in.begin(), in.end(), out.begin(), [](float v) {
        return static_cast<int16_t>(std::lround(std::clamp(v, -1.0f, 1.0f) * 32767.0f));
    });
    return out;
}

}  // namespace

std::vector<int16_t> ReadRecording(const std::string& path) {
    std::unique_ptr<SoundSource> source = OpenSoundFile(path);
    if (!source) throw ERecordingError(path + ": not a sound file that can be read");
    // Reads no further than one block past the longest recording, however
    // long the file says it is.
    constexpr long kBlock = 4096;
    constexpr size_t kMaxFrames = static_cast<size_t>(kOutputRate) * (kLongestRecordingMs / 1000);
    std::vector<float> mono;
    std::vector<float> block(kBlock * kOutputChannels);
    while (true) {
        const long got = source->Read(block.data(), kBlock);
        if (got <= 0) break;
        for (long i = 0; i < got; ++i) mono.push_back((block[2 * i] + block[2 * i + 1]) * 0.5f);
        if (mono.size() > kMaxFrames) throw ERecordingError(path + ": longer than 60 s");
    }
    if (mono.empty()) return {};
    return ToPcm(Resample(mono, kOutputRate, kSpeechRate));
}

std::vector<int16_t> SpeedWarped(const std::vector<int16_t>& samples, double speed) {
    if (samples.empty()) return {};
    std::vector<float> in(samples.size());
    std::transform(samples.begin(), samples.end(), in.begin(), [](int16_t v) { return v / 32768.0f; });
    return ToPcm(Resample(in, kSpeechRate * speed, kSpeechRate));
}

}  // namespace ov
