#pragma once

#include "audio/SoundSource.h"
#include "audio/TempoStage.h"
#include "audio/Voice.h"

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace ov {

// The decoding thread of one channel: it opens the source (for a network
// stream that waits on the connection, so it must not happen on the caller's
// thread), then keeps the voice's block ring full, applying tempo, seeks and
// looping. It never touches the mixer; the mixer never waits for it.
class VoiceFeeder {
public:
    using Opener = std::function<std::unique_ptr<SoundSource>()>;

    // `knownLength` (output-rate frames) when the source was opened already.
    VoiceFeeder(std::shared_ptr<Voice> voice, Opener opener, std::int64_t knownLength = -1);
    ~VoiceFeeder();
    VoiceFeeder(const VoiceFeeder&) = delete;
    VoiceFeeder& operator=(const VoiceFeeder&) = delete;

    // Blocks until the source opened or failed, at most `timeoutMs`; true when open.
    bool WaitOpened(int timeoutMs);
    std::int64_t LengthFrames() const { return length_.load(std::memory_order_acquire); }

    void Seek(std::int64_t frame, std::uint32_t epoch);
    void SetTempo(double tempo);
    void SetLoop(bool loop);
    // More room in the ring than the feeder may assume.
    void Wake();

private:
    enum class Phase { Opening, Running, Finished, Failed };

    void Run();
    bool OpenSource();
    void ApplyRequests(std::unique_lock<std::mutex>& lock);
    void Produce();
    bool DrainTempo();
    void EmitBlock(AudioBlock& block, long frames, float step);
    void ReachEnd();

    std::shared_ptr<Voice> voice_;
    Opener opener_;
    std::unique_ptr<SoundSource> source_;
    TempoStage tempo_;
    std::vector<float> raw_;
    double sourcePosition_ = 0;
    bool flushing_ = false;
    std::uint32_t epoch_ = 0;
    std::atomic<std::int64_t> length_{-1};

    std::mutex mutex_;
    std::condition_variable wake_;
    Phase phase_ = Phase::Opening;
    bool stop_ = false;
    bool loop_ = false;
    std::int64_t seekFrame_ = -1;
    std::uint32_t seekEpoch_ = 0;
    double requestedTempo_ = 1.0;
    std::thread thread_;
};

}  // namespace ov
