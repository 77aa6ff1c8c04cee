#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "audio/SoundSource.h"

namespace ovtest {

// Sound files made once per test run with the command-line encoders (sox,
// lame, twolame, espeak-ng) and our own small module writer, in a folder
// that lives as long as the test program.
struct AudioFixtures {
    std::filesystem::path folder;
    std::filesystem::path toneWav;     // 3000 ms, 1000 Hz, 44100 Hz stereo, half scale
    std::filesystem::path lowRateWav;  // 3000 ms, 440 Hz, 22050 Hz mono
    std::filesystem::path mp3;         // the 3000 ms tone
    // The tone and the speech as VBR MP3 without the info header that would
    // tell their length: only walking every frame finds it.
    std::filesystem::path vbrMp3;
    std::filesystem::path vbrSpeechMp3;
    std::filesystem::path mp2;
    std::filesystem::path ogg;
    std::filesystem::path module;      // 3000 ms ProTracker module
    std::filesystem::path speech;      // a spoken English sentence
    // 4096 frames that declare a rate of 1 Hz: over an hour of sound to a
    // player that believes the header.
    std::filesystem::path oneHertzWav;

    static const AudioFixtures& Get();
};

// SDL's audio is process-wide: a test that needs another driver puts the
// library on the virtual clock, shuts the subsystem down and chooses the
// driver; at the end it hands the subsystem back shut down, for whoever comes next.
class DriverSwitch {
public:
    explicit DriverSwitch(const char* driver);
    ~DriverSwitch();
    DriverSwitch(const DriverSwitch&) = delete;
    DriverSwitch& operator=(const DriverSwitch&) = delete;

private:
    std::string previous_;
};

// A 16-bit mono WAV file of `frames` frames of a square wave, declaring `rate`.
std::string WaveAtRate(int rate, int frames);

// Runs a shell command; true when it exited 0.
bool RunCommand(const std::string& command);

// A ProTracker module with one looped square-wave sample playing for
// `rows` rows at the default speed (120 ms a row).
std::string WriteTinyModule(int rows);

// What a source yields from where it stands to its end, as interleaved stereo.
std::vector<float> ReadToEnd(ov::SoundSource& source);

// Interleaved 16-bit stereo helpers for checking rendered output.
double Rms(const std::vector<std::int16_t>& frames, std::size_t firstFrame, std::size_t count, int channel = 0);
// The strongest frequency of the left channel, in Hz, by counting upward zero crossings.
double ZeroCrossingHz(const std::vector<std::int16_t>& frames, std::size_t firstFrame, std::size_t count);

}  // namespace ovtest
