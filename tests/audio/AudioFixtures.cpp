#include "AudioFixtures.h"

#include "audio/AudioDevices.h"
#include "audio/SoundLibrary.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace ovtest {
namespace {

std::string Quoted(const std::filesystem::path& path) { return std::string("'").append(path.string()).append("'"); }

void Make(const std::string& command) {
    if (!RunCommand(command + " >/dev/null 2>&1")) {
        ADD_FAILURE() << "fixture command failed (is scripts/install-deps run?): " << command;
    }
}

void PutWord(std::string& out, int value) {
    out += static_cast<char>((value >> 8) & 0xFF);
    out += static_cast<char>(value & 0xFF);
}

void PutLittle(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

}  // namespace

std::string WaveAtRate(int rate, int frames) {
    const auto dataBytes = static_cast<std::uint32_t>(2 * frames);
    std::string wav = "RIFF";
    PutLittle(wav, 36 + dataBytes, 4);
    wav += "WAVEfmt ";
    PutLittle(wav, 16, 4);
    PutLittle(wav, 1, 2);  // PCM
    PutLittle(wav, 1, 2);  // mono
    PutLittle(wav, static_cast<std::uint32_t>(rate), 4);
    PutLittle(wav, static_cast<std::uint32_t>(2 * rate), 4);
    PutLittle(wav, 2, 2);
    PutLittle(wav, 16, 2);
    wav += "data";
    PutLittle(wav, dataBytes, 4);
    for (int i = 0; i < frames; ++i) PutLittle(wav, (i / 8) % 2 ? 0x2000 : 0xE000, 2);
    return wav;
}

std::vector<float> ReadToEnd(ov::SoundSource& source) {
    constexpr long kChunk = 4096;
    std::vector<float> all;
    std::vector<float> chunk(2 * kChunk);
    while (long got = source.Read(chunk.data(), kChunk)) all.insert(all.end(), chunk.begin(), chunk.begin() + 2 * got);
    return all;
}

bool RunCommand(const std::string& command) { return std::system(command.c_str()) == 0; }

std::string WriteTinyModule(int rows) {
    constexpr int kSampleBytes = 32;
    std::string mod(20, '\0');
    mod.replace(0, 4, "tiny");
    for (int sample = 0; sample < 31; ++sample) {
        std::string header(22, '\0');
        bool used = sample == 0;
        PutWord(header, used ? kSampleBytes / 2 : 0);  // length in words
        header += '\0';                                // finetune
        header += static_cast<char>(used ? 48 : 0);    // volume
        PutWord(header, 0);                            // loop start
        PutWord(header, used ? kSampleBytes / 2 : 1);  // loop length
        mod += header;
    }
    mod += static_cast<char>(1);  // one position
    mod += static_cast<char>(127);
    mod += std::string(128, '\0');
    mod += "M.K.";
    std::string pattern(64 * 4 * 4, '\0');
    // Row 0, channel 0: sample 1 at period 428 (C-3).
    pattern[0] = static_cast<char>(0x01);
    pattern[1] = static_cast<char>(428 & 0xFF);
    pattern[2] = static_cast<char>(0x10);
    // Pattern break on the last row ends the song after `rows` rows.
    int last = (rows - 1) * 16;
    pattern[last + 2] = static_cast<char>(0x0D);
    mod += pattern;
    for (int i = 0; i < kSampleBytes; ++i) mod += static_cast<char>(i < kSampleBytes / 2 ? 100 : -100);
    return mod;
}

const AudioFixtures& AudioFixtures::Get() {
    static TempDir* dir = new TempDir;
    static AudioFixtures fixtures = [] {
        AudioFixtures f;
        f.folder = dir->path();
        f.toneWav = f.folder / "tone.wav";
        f.lowRateWav = f.folder / "low.wav";
        f.mp3 = f.folder / "tone.mp3";
        f.vbrMp3 = f.folder / "tone-vbr.mp3";
        f.vbrSpeechMp3 = f.folder / "speech-vbr.mp3";
        f.mp2 = f.folder / "tone.mp2";
        f.ogg = f.folder / "tone.ogg";
        f.module = f.folder / "tiny.mod";
        f.speech = f.folder / "speech.wav";
        f.oneHertzWav = f.folder / "one-hertz.wav";
        Make("sox -n -r 44100 -c 2 -b 16 " + Quoted(f.toneWav) + " synth 3 sine 1000 vol 0.5");
        Make("sox -n -r 22050 -c 1 -b 16 " + Quoted(f.lowRateWav) + " synth 3 sine 440 vol 0.5");
        Make("lame --silent -b 128 " + Quoted(f.toneWav) + " " + Quoted(f.mp3));
        Make("twolame --quiet " + Quoted(f.toneWav) + " " + Quoted(f.mp2));
        Make("sox " + Quoted(f.toneWav) + " " + Quoted(f.ogg));
        Make("espeak-ng -w " + Quoted(f.speech) + " 'Good morning. How are you today?'");
        Make("lame --silent -V 4 -t " + Quoted(f.toneWav) + " " + Quoted(f.vbrMp3));
        Make("lame --silent -V 4 -t " + Quoted(f.speech) + " " + Quoted(f.vbrSpeechMp3));
        WriteFile(f.module, WriteTinyModule(25));
        WriteFile(f.oneHertzWav, WaveAtRate(1, 4096));
        return f;
    }();
    return fixtures;
}

double Rms(const std::vector<std::int16_t>& frames, std::size_t firstFrame, std::size_t count, int channel) {
    double sum = 0;
    for (std::size_t i = firstFrame; i < firstFrame + count; ++i) {
        double v = frames[2 * i + static_cast<std::size_t>(channel)];
        sum += v * v;
    }
    return std::sqrt(sum / static_cast<double>(count));
}

double ZeroCrossingHz(const std::vector<std::int16_t>& frames, std::size_t firstFrame, std::size_t count) {
    int crossings = 0;
    for (std::size_t i = firstFrame + 1; i < firstFrame + count; ++i) {
        if (frames[2 * (i - 1)] < 0 && frames[2 * i] >= 0) ++crossings;
    }
    return crossings * 44100.0 / static_cast<double>(count);
}

DriverSwitch::DriverSwitch(const char* driver) {
    ov::SoundLibrary::Instance().UseVirtualClock();
    const char* previous = std::getenv("OV_AUDIO_DRIVER");
    previous_ = previous != nullptr ? previous : "";
    EXPECT_TRUE(ov::AudioDevices::Instance().Shutdown());
    setenv("OV_AUDIO_DRIVER", driver, 1);
}

DriverSwitch::~DriverSwitch() {
    ov::SoundLibrary::Instance().UseVirtualClock();
    EXPECT_TRUE(ov::AudioDevices::Instance().Shutdown()) << "a device was left open";
    setenv("OV_AUDIO_DRIVER", previous_.c_str(), 1);
}

}  // namespace ovtest

namespace {

// Device tests run on SDL's silent driver unless the caller chose another.
const bool kDummyDriver = setenv("OV_AUDIO_DRIVER", "dummy", 0) == 0;

}  // namespace
