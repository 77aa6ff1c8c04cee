#include "audio/AudioDevices.h"
#include "audio/AudioOutput.h"
#include "audio/Mixer.h"
#include "audio/SoundSource.h"

namespace ov {
namespace {

constexpr int kDeviceBufferFrames = 1024;

class DeviceOutput final : public AudioOutput {
public:
    explicit DeviceOutput(Mixer& mixer) : mixer_(mixer) {}
    ~DeviceOutput() override { AudioDevices::Instance().Close(id_); }

    bool Open() {
        AudioDeviceRequest request;
        request.rate = kOutputRate;
        request.channels = kOutputChannels;
        request.frames = kDeviceBufferFrames;
        request.callback = &DeviceOutput::Pull;
        request.user = this;
        id_ = AudioDevices::Instance().Open(request);
        if (id_ == 0) return false;
        AudioDevices::Instance().Resume(id_);
        return true;
    }

    std::string Name() const override { return "device on " + AudioDevices::Instance().DriverName(); }
    bool Lost() override { return AudioDevices::Instance().Lost(id_); }

private:
    static void Pull(void* self, std::uint8_t* stream, int length) {
        static_cast<DeviceOutput*>(self)->mixer_.Render(reinterpret_cast<std::int16_t*>(stream),
                                                        length / kOutputBytesPerFrame);
    }

    Mixer& mixer_;
    AudioDeviceId id_ = 0;
};

}  // namespace

std::unique_ptr<AudioOutput> OpenDeviceOutput(Mixer& mixer) {
    auto output = std::make_unique<DeviceOutput>(mixer);
    if (!output->Open()) return nullptr;
    return output;
}

}  // namespace ov
