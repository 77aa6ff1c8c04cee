#include "audio/AudioOutput.h"
#include "audio/Mixer.h"
#include "audio/SoundSource.h"

#include <atomic>
#include <thread>

namespace ov {
namespace {

constexpr long kPeriodFrames = 1024;

class NullOutput final : public AudioOutput {
public:
    explicit NullOutput(Mixer& mixer) : mixer_(mixer), thread_([this] { Run(); }) {}
    ~NullOutput() override {
        stop_.store(true, std::memory_order_release);
        thread_.join();
    }

    std::string Name() const override { return "null output"; }

private:
    void Run() {
        std::vector<std::int16_t> sink(kOutputChannels * kPeriodFrames);
        const auto period = std::chrono::microseconds(kPeriodFrames * 1000000 / kOutputRate);
        auto next = std::chrono::steady_clock::now();
        while (!stop_.load(std::memory_order_acquire)) {
            mixer_.Render(sink.data(), kPeriodFrames);
            next += period;
            std::this_thread::sleep_until(next);
        }
    }

    Mixer& mixer_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace

std::unique_ptr<AudioOutput> MakeNullOutput(Mixer& mixer) { return std::make_unique<NullOutput>(mixer); }

}  // namespace ov
