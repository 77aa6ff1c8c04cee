// Thirty minutes of sound into the recorder, faster than real time: SDL's
// disk capture driver reads a raw file, and the real recorder and WAV
// writer take it as from a microphone. Checked:
//
// - the limit message comes once per buffer in flight at the recorder's limit
//   and never before;
// - the WAV written holds every sample taken up to the limit, byte for byte;
// - resident memory stays flat once the limit is reached.
//
// A smoke run (`--smoke`) records one minute of sound, well below the limit,
// and only sees that it reaches the WAV.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/PumpRecorder.h"
#include "BenchFigures.h"
#include "audio/AudioDevices.h"
#include "audio/VoiceRecorder.h"
#include "core/MessageHook.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kSeconds = 30 * 60;
constexpr int kSmokeSeconds = 60;
constexpr int kBytesPerSecond = 16000 * 4;
constexpr int64_t kLimitBytes = 10000LL * ov::VoiceRecorder::kBufferSize;
constexpr size_t kMessagesAtLimit = 2;
constexpr double kFlatLimitMb = 4;
const char* const kLimitText = "录时时间超过限制，请停止";

// 16-bit stereo frames numbered from 0 in both channels, so a lost, doubled
// or shifted buffer shows anywhere in the thirty minutes.
void WriteNumberedSound(const fs::path& file, int seconds) {
    std::ofstream out(file, std::ios::binary);
    std::string second(kBytesPerSecond, '\0');
    uint32_t frame = 0;
    for (int s = 0; s < seconds; ++s) {
        for (size_t at = 0; at < second.size(); at += 4, ++frame) {
            const uint32_t value = frame * 2654435761u;
            std::copy_n(reinterpret_cast<const char*>(&value), 4, second.begin() + static_cast<std::ptrdiff_t>(at));
        }
        out.write(second.data(), static_cast<std::streamsize>(second.size()));
    }
}

void Check(const char* what, bool met, const std::string& figure) {
    std::printf("%s: %s %s\n", what, figure.c_str(), bench::Judgement(met));
}

// True when the recorded file starts with the captured sound, byte for byte.
bool SameSound(const fs::path& wav, const fs::path& raw, int64_t bytes) {
    std::ifstream recorded(wav, std::ios::binary), captured(raw, std::ios::binary);
    recorded.seekg(44);
    std::string a(1 << 20, '\0'), b(1 << 20, '\0');
    for (int64_t left = bytes; left > 0;) {
        const auto n = static_cast<std::streamsize>(std::min<int64_t>(left, static_cast<int64_t>(a.size())));
        recorded.read(a.data(), n);
        captured.read(b.data(), n);
        if (recorded.gcount() != n || a.compare(0, static_cast<size_t>(n), b, 0, static_cast<size_t>(n)) != 0)
            return false;
        left -= n;
    }
    return true;
}

// The smoke run: the sound up to its end, straight into the WAV.
int RecordSmoke(ov::VoiceRecorder& recorder, const fs::path& raw, const fs::path& data) {
    const int64_t bytes = int64_t{kSmokeSeconds} * kBytesPerSecond;
    const auto start = Clock::now();
    while (recorder.Input().TotalFrames() * 4 < bytes) {
        ovtest::PumpRecorder(recorder, std::chrono::milliseconds(20));
        if (Clock::now() - start > std::chrono::seconds(30))
            bench::Fail("bench_record", "the sound is not taken within 30 s");
    }
    recorder.StopRecord(true);
    ov::AudioDevices::Instance().Shutdown();
    const fs::path wav = recorder.LastFileName();
    const int64_t wavBytes = fs::exists(wav) ? static_cast<int64_t>(fs::file_size(wav)) - 44 : -1;
    std::printf("%d s of sound recorded in %.1f s: %lld bytes in the WAV\n", kSmokeSeconds,
                std::chrono::duration<double>(Clock::now() - start).count(), static_cast<long long>(wavBytes));
    Check("WAV holds the captured sound byte for byte", wavBytes >= bytes && SameSound(wav, raw, bytes), "");
    fs::remove_all(data);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    bench::ReadSmokeFlag(argc, argv);
    const fs::path data = OV_BENCH_DATA;
    fs::remove_all(data);
    fs::create_directories(data / "Records");
    const fs::path raw = data / "mic.raw";
    WriteNumberedSound(raw, bench::Smoke() ? kSmokeSeconds : kSeconds);
    setenv("SDL_DISKAUDIOFILEIN", raw.c_str(), 1);
    // A millisecond per 64 ms callback: 64 times real time. Unpaced, the disk
    // outruns any owner's thread by far more than a microphone can, and the
    // capture backlog overflows, which says nothing about the recorder.
    setenv("SDL_DISKAUDIODELAY", "1", 1);
    setenv("OV_AUDIO_DRIVER", "disk", 1);
    if (!ov::AudioDevices::Instance().Init()) bench::Fail("bench_record", "the disk driver does not start");

    ov::VoiceRecorder recorder;
    recorder.SetRecordFolder((data / "Records").string() + "/");
    ov::TakeRecordedMessages();
    const double before = bench::ResidentMb();
    recorder.StartRecord();
    if (!recorder.IsRecording()) bench::Fail("bench_record", "the recorder does not start");
    if (bench::Smoke()) return RecordSmoke(recorder, raw, data);

    // Up to the limit the capture runs at the driver's pace; after it,
    // for the same wall time per second of sound, until thirty minutes passed.
    const auto start = Clock::now();
    const auto collect = [&] {
        ovtest::PumpRecorder(recorder, std::chrono::milliseconds(20));
    };
    size_t earlyMessages = 0;
    std::vector<ov::Message> messages;
    while (recorder.Input().TotalFrames() * 4 < kLimitBytes) {
        collect();
        // The buffer after the last one kept may come back in the same round.
        std::vector<ov::Message> taken = ov::TakeRecordedMessages();
        if (recorder.Input().TotalFrames() * 4 < kLimitBytes)
            earlyMessages += taken.size();
        else
            messages = std::move(taken);
        if (Clock::now() - start > std::chrono::minutes(10))
            bench::Fail("bench_record", "the limit is not reached within 10 minutes");
    }
    const auto toLimit = Clock::now() - start;
    const double atLimit = bench::ResidentMb();
    const auto rest = toLimit * (kSeconds * kBytesPerSecond - kLimitBytes) / kLimitBytes;
    for (const auto end = Clock::now() + rest; Clock::now() < end;) {
        collect();
        for (auto& m : ov::TakeRecordedMessages()) messages.push_back(m);
    }
    const double afterRest = bench::ResidentMb();
    const int64_t frames = recorder.Input().TotalFrames();
    recorder.StopRecord(true);
    for (auto& m : ov::TakeRecordedMessages()) messages.push_back(m);
    ov::AudioDevices::Instance().Shutdown();

    const fs::path wav = recorder.LastFileName();
    const int64_t wavBytes = fs::exists(wav) ? static_cast<int64_t>(fs::file_size(wav)) - 44 : -1;
    const bool limitMessages = earlyMessages == 0 && messages.size() == kMessagesAtLimit &&
                               std::all_of(messages.begin(), messages.end(), [](const ov::Message& m) {
                                   return m.caption == "提示" && m.text == kLimitText;
                               });
    std::printf("30 min of sound: limit reached after %.1f s of wall time, whole run %.1f s\n",
                std::chrono::duration<double>(toLimit).count(), std::chrono::duration<double>(toLimit + rest).count());
    std::printf("resident memory: %.1f MB before, %.1f MB at the limit, %.1f MB at 30 min\n", before, atLimit,
                afterRest);
    Check("limit messages", limitMessages,
                     std::to_string(earlyMessages) + " before the limit, " + std::to_string(messages.size()) +
                         " at it (target 0 and " + std::to_string(kMessagesAtLimit) + ")");
    Check("sound kept", frames * 4 == kLimitBytes && wavBytes == kLimitBytes,
                 std::to_string(wavBytes) + " bytes in the WAV (target " + std::to_string(kLimitBytes) + ")");
    Check("WAV holds the captured sound byte for byte", SameSound(wav, raw, kLimitBytes), "");
    bench::Verdict("memory growth after the limit", afterRest - atLimit, kFlatLimitMb, "MB");
    fs::remove_all(data);
    return 0;
}
