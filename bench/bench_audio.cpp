// The sound library's costs:
// - four channels with tempo and the equaliser, mixed for 60 s of output on
//   the virtual clock: process CPU time (decoding threads included) over
//   audio time, target at most 0.03 of one core;
// - from a play command to the first non-silent frame handed to the device
//   (OV_AUDIO_DRIVER, default "dummy"), target at most 50 ms;
// - one GetWaveData call of the engine while it plays.
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "BenchFigures.h"
#include "audio/AudioObject.h"
#include "audio/SoundLibrary.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

void PutLe(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// A voiced, wandering tone with pauses, `seconds` long, 16-bit PCM.
void WriteSpeechLikeWav(const fs::path& file, int rate, int channels, int seconds, std::mt19937& random) {
    std::size_t frames = static_cast<std::size_t>(rate) * seconds;
    std::string wav = "RIFF";
    PutLe(wav, static_cast<std::uint32_t>(36 + frames * channels * 2), 4);
    wav += "WAVEfmt ";
    PutLe(wav, 16, 4);
    PutLe(wav, 1, 2);
    PutLe(wav, static_cast<std::uint32_t>(channels), 2);
    PutLe(wav, static_cast<std::uint32_t>(rate), 4);
    PutLe(wav, static_cast<std::uint32_t>(rate * channels * 2), 4);
    PutLe(wav, static_cast<std::uint32_t>(channels * 2), 2);
    PutLe(wav, 16, 2);
    wav += "data";
    PutLe(wav, static_cast<std::uint32_t>(frames * channels * 2), 4);
    std::normal_distribution<double> noise(0, 0.02);
    double phase = 0;
    for (std::size_t i = 0; i < frames; ++i) {
        double t = static_cast<double>(i) / rate;
        double pitch = 140 + 40 * std::sin(2 * std::numbers::pi * 0.7 * t);
        phase += 2 * std::numbers::pi * pitch / rate;
        bool voiced = std::fmod(t, 1.5) < 1.1;
        double v = voiced ? 0.3 * std::sin(phase) + 0.15 * std::sin(3 * phase) + noise(random) : noise(random) / 4;
        auto sample = static_cast<std::int16_t>(std::clamp(v, -1.0, 1.0) * 32767);
        for (int c = 0; c < channels; ++c) PutLe(wav, static_cast<std::uint16_t>(sample), 2);
    }
    std::ofstream(file, std::ios::binary).write(wav.data(), static_cast<std::streamsize>(wav.size()));
}

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void MixFourChannels(const std::vector<fs::path>& files) {
    auto& library = ov::SoundLibrary::Instance();
    library.UseVirtualClock();
    const int tempos[] = {800, 1200, 1300, 700};
    std::vector<ov::SoundHandle> channels;
    for (std::size_t i = 0; i < files.size(); ++i) {
        ov::SoundHandle channel = library.OpenFile(files[i].string());
        library.SetTempo(channel, tempos[i]);
        library.SetLoop(channel, true);
        for (int band = 0; band < ov::TAudioEngine::kBandCount; ++band) {
            float gain = band % 2 == 0 ? 4.0f : -4.0f;
            library.SetBand(channel, band, {static_cast<float>(ov::TAudioEngine::kBandCentres[band]), 3.0f, gain});
        }
        library.Play(channel);
        channels.push_back(channel);
    }
    const int seconds = bench::Smoke() ? 1 : 60;
    double cpuStart = CpuSeconds();
    auto wallStart = Clock::now();
    for (int tick = 0; tick < seconds * 100; ++tick) library.AdvanceVirtualClock(10);
    double cpu = CpuSeconds() - cpuStart;
    double wall = std::chrono::duration<double>(Clock::now() - wallStart).count();
    for (ov::SoundHandle channel : channels) library.Free(channel);
    std::printf("mix 4 channels, tempo + 10-band EQ, %d s of output: CPU %.3f s, wall %.3f s\n", seconds, cpu, wall);
    bench::Verdict("  CPU time over audio time, share of one core", cpu / seconds, 0.03, "");
}

void PlayToFirstSound(const fs::path& file) {
    auto& library = ov::SoundLibrary::Instance();
    if (!library.UseDevice()) {
        std::printf("latency: no audio device\n");
        return;
    }
    std::vector<double> latencies;
    for (int round = 0; round < bench::Rounds(40); ++round) {
        ov::SoundHandle channel = library.OpenFile(file.string());
        std::array<std::uint32_t, ov::WaveTap::kFrames> words{};
        auto start = Clock::now();
        library.Play(channel);
        while (std::all_of(words.begin(), words.end(), [](std::uint32_t w) { return w == 0; })) {
            std::this_thread::sleep_for(std::chrono::microseconds(100));
            library.LastPlayed(channel, words);
        }
        latencies.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        library.Free(channel);
        // Start the next round at a different point of the device's cycle.
        std::this_thread::sleep_for(std::chrono::milliseconds(7 + round % 13));
    }
    std::sort(latencies.begin(), latencies.end());
    std::printf("play command to first non-silent frame handed to the device (1024-frame buffer): median %.1f ms "
                "over %zu plays\n",
                latencies[latencies.size() / 2], latencies.size());
    bench::Verdict("  slowest play command to first non-silent frame", latencies.back(), 50, "ms");
}

void WaveDataCost(const fs::path& file) {
    ov::SoundLibrary::Instance().UseVirtualClock();
    ov::TAudioObject audio;
    audio.Play(file.string());
    ov::SoundLibrary::Instance().AdvanceVirtualClock(500);
    ov::WaveBlock block;
    const int calls = bench::Smoke() ? 1000 : 200000;
    auto start = Clock::now();
    std::uint64_t sum = 0;
    for (int i = 0; i < calls; ++i) {
        audio.GetWaveData(block);
        sum += block[i % 512];
    }
    double ns = std::chrono::duration<double, std::nano>(Clock::now() - start).count() / calls;
    std::printf("GetWaveData: %.0f ns a call (checksum %llu)\n", ns, static_cast<unsigned long long>(sum));
}

}  // namespace

int main(int argc, char** argv) {
    bench::ReadSmokeFlag(argc, argv);
    setenv("OV_AUDIO_DRIVER", "dummy", 0);
    fs::path dir = fs::temp_directory_path() / ("bench-audio-" + std::to_string(getpid()));
    fs::create_directories(dir);
    std::mt19937 random(7);
    std::vector<fs::path> files = {dir / "a.wav", dir / "b.wav", dir / "c.wav", dir / "d.wav"};
    WriteSpeechLikeWav(files[0], 22050, 1, 20, random);
    WriteSpeechLikeWav(files[1], 16000, 1, 20, random);
    WriteSpeechLikeWav(files[2], 44100, 2, 20, random);
    WriteSpeechLikeWav(files[3], 11025, 1, 20, random);
    MixFourChannels(files);
    WaveDataCost(files[0]);
    PlayToFirstSound(files[0]);
    fs::remove_all(dir);
    return 0;
}
