#include "audio/WaveFile.h"

#include <algorithm>
#include <cstring>

namespace ov {
namespace {

constexpr uint32_t kFmtChunkSize = 16;
constexpr uint32_t kHeaderAfterSize = 36;

template <typename T>
void PutLittleEndian(std::string& out, T value) {
    for (size_t i = 0; i < sizeof(T); ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::string WavHeader(const WaveFormat& f, uint32_t dataBytes) {
    std::string h = "RIFF";
    PutLittleEndian(h, dataBytes + kHeaderAfterSize);
    h += "WAVEfmt ";
    PutLittleEndian(h, kFmtChunkSize);
    PutLittleEndian(h, f.FormatTag);
    PutLittleEndian(h, f.Channels);
    PutLittleEndian(h, f.SamplesPerSec);
    PutLittleEndian(h, f.AvgBytesPerSec);
    PutLittleEndian(h, f.BlockAlign);
    PutLittleEndian(h, f.BitsPerSample);
    h += "data";
    PutLittleEndian(h, dataBytes);
    return h;
}

}  // namespace

void WaveBuffer::Allocate(int count, int size) {
    if (size <= 0) return;
    FFrameSize = size;
    FFrameCount = std::max(count, 0);
    FData.assign(static_cast<size_t>(FFrameCount) * size, 0);
}

void WaveBuffer::Assign(const uint8_t* source, int count, int size) {
    if (size <= 0) return;
    if (FData.empty()) Allocate(count, size);
    std::fill(FData.begin(), FData.end(), 0);
    // A block sized for another frame size must not be overrun.
    const size_t bytes = std::min(static_cast<size_t>(std::min(FFrameCount, count)) * size, FData.size());
    if (bytes > 0) std::memcpy(FData.data(), source, bytes);
}

void WaveBuffer::Adopt(std::vector<uint8_t> data, int count, int size) {
    if (size <= 0) return;
    FData = std::move(data);
    FFrameCount = std::clamp(count, 0, static_cast<int>(FData.size() / size));
    FFrameSize = size;
}

void WaveFile::SetFormat(int channels, int samplesPerSec, int bitsPerSample) {
    FFormat = WaveFormat{};
    FFormat.Channels = static_cast<uint16_t>(channels);
    FFormat.SamplesPerSec = static_cast<uint32_t>(samplesPerSec);
    FFormat.BitsPerSample = static_cast<uint16_t>(bitsPerSample);
    FFormat.AvgBytesPerSec =
        static_cast<uint32_t>(int64_t{samplesPerSec} * channels * bitsPerSample / 8);
    FFormat.BlockAlign = static_cast<uint16_t>(channels * bitsPerSample / 8);
    FFrames = WaveBuffer{};
    FFrames.Allocate(0, FFormat.BlockAlign);
}

void WaveFile::SetData(std::vector<uint8_t> data, int frameCount, bool copy) {
    if (data.empty() || frameCount == 0 || FFormat.BlockAlign == 0) return;
    if (copy)
        FFrames.Assign(data.data(), frameCount, FFormat.BlockAlign);
    else
        FFrames.Adopt(std::move(data), frameCount, FFormat.BlockAlign);
}

bool WaveFile::SaveToFile(const std::string& path) {
    if (FFrames.FrameCount() == 0) return true;
    CloseStream();
    FStream.open(path, std::ios::binary | std::ios::trunc);
    const auto bytes = static_cast<uint32_t>(int64_t{FFrames.FrameCount()} * FFormat.BlockAlign);
    const std::string header = WavHeader(FFormat, bytes);
    FStream.write(header.data(), static_cast<std::streamsize>(header.size()));
    FStream.write(reinterpret_cast<const char*>(FFrames.Data().data()), bytes);
    FStream.flush();
    return FStream.good();
}

void WaveFile::CloseStream() {
    if (FStream.is_open()) FStream.close();
}

}  // namespace ov
