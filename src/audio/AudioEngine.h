#pragma once

// The audio engine a sound control plays its file through.
//
// Driving it: the owner calls EngineTick from a timer every 10 ms while a
// channel plays or is paused (end detection and the volume live there). For
// tests and offline tools put the process-wide library on the virtual clock
// once, then let time pass by hand:
//
//     ov::SoundLibrary::Instance().UseVirtualClock();
//     ov::TAudioObject audio;
//     audio.Play(path);
//     for (;;) {                                   // one 10 ms tick
//         ov::SoundLibrary::Instance().AdvanceVirtualClock(10);
//         audio.EngineTick();
//         if (audio.GetState() == ov::TAudioEngine::kFinished) break;
//     }
//
// AdvanceVirtualClock mixes exactly that much output (waiting for the
// decoders first), so positions and wave blocks are the same on every run.

#include "audio/LoudnessSamples.h"
#include "audio/SoundLibrary.h"
#include "audio/Voice.h"

#include <array>
#include <cstdint>
#include <string>

namespace ov {

using WaveBlock = std::array<std::uint32_t, kWaveBlockWords>;
using SpectrumBlock = std::array<std::uint32_t, 513>;

class TAudioEngine {
public:
    static constexpr std::int32_t kStopped = 1001;
    static constexpr std::int32_t kPlaying = 1002;
    static constexpr std::int32_t kPaused = 1003;
    static constexpr std::int32_t kFinished = 1004;
    static constexpr int kBandCount = kEqBands;
    static constexpr std::array<int, kBandCount> kBandCentres{80, 170, 310, 600, 1000, 3000, 6000, 10000, 12000, 14000};

    explicit TAudioEngine(std::intptr_t window = 0);
    virtual ~TAudioEngine();
    TAudioEngine(const TAudioEngine&) = delete;
    TAudioEngine& operator=(const TAudioEngine&) = delete;

    virtual void Play(const std::string& name);
    virtual bool PlayURL(const std::string& name);
    virtual void Pause();
    virtual void Resume();
    virtual void Stop();
    virtual bool IsSupportedFile(const std::string& name);
    virtual int GetPosition();
    virtual int GetLength();
    virtual std::string GetFileName();
    virtual int GetPan();
    virtual void GetWaveData(WaveBlock& block);
    virtual std::string GetFilter();
    virtual void GetFFTData(SpectrumBlock& block);
    virtual int GetFileDuration(const std::string& name);
    virtual void SetPosition(int ms);
    virtual void SetVolume(int value);
    virtual void SetGlobalVolumes(int value);
    virtual void SetPan(int value);
    virtual std::int32_t GetState();

    // End detection and volume; see the top of this file.
    void EngineTick();

    // Gain of one equaliser band in dB, from now on and for the next files.
    void SetBandGain(int band, float gainDb);
    // Speed in thousandths of normal, pitch kept.
    void SetTempo(int thousandths);
    void SetLoop(bool loop);

protected:
    SoundHandle Channel = 0;
    int OutputRate = 44100;
    std::int32_t State = kStopped;
    std::int64_t LengthBytes = 0;
    int DeviceIndex = -1;
    std::intptr_t Window = 0;
    std::array<float, kBandCount> BandGains{};
    std::string FileName;
    std::string SavePath;
    float Volume = 100.0f;

private:
    void FreeChannel();
    void ApplyEqualiser();
    void ApplyChannelSettings();
    bool ChannelIsPlaying();

    int appliedVolume_ = -1;
    int tempo_ = 1000;
    bool loop_ = false;
    bool network_ = false;
};

}  // namespace ov
