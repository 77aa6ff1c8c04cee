#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace ov {

// The PCM format of a recording, field for field as the capture layer takes it.
struct WaveFormat {
    uint16_t FormatTag = 1;
    uint16_t Channels = 0;
    uint32_t SamplesPerSec = 0;
    uint32_t AvgBytesPerSec = 0;
    uint16_t BlockAlign = 0;
    uint16_t BitsPerSample = 0;
    uint16_t ExtraSize = 0;
};

// One block of whole frames.
class WaveBuffer {
public:
    WaveBuffer() = default;
    WaveBuffer(const uint8_t* source, int count, int size) { Assign(source, count, size); }

    void Allocate(int count, int size);
    void Assign(const uint8_t* source, int count, int size);
    void Adopt(std::vector<uint8_t> data, int count, int size);

    int FrameSize() const { return FFrameSize; }
    int FrameCount() const { return FFrameCount; }
    const std::vector<uint8_t>& Data() const { return FData; }

private:
    int FFrameSize = 0;
    int FFrameCount = 0;
    std::vector<uint8_t> FData;
};

// A format with its frames, and the WAV writer.
class WaveFile {
public:
    void SetFormat(int channels, int samplesPerSec, int bitsPerSample);
    WaveFormat GetFormat() const { return FFormat; }
    void SetData(std::vector<uint8_t> data, int frameCount, bool copy);
    const WaveBuffer& Frames() const { return FFrames; }

    // Writes nothing when there are no frames. The file stays open until
    // CloseStream, so the owner decides when it is complete. False when the
    // file could not be written.
    bool SaveToFile(const std::string& path);
    void CloseStream();

private:
    WaveFormat FFormat;
    WaveBuffer FFrames;
    std::ofstream FStream;
};

}  // namespace ov
