#pragma once

#include <memory>

namespace soundtouch {
class SoundTouch;
}

namespace ov {

// Speech speed without a change of pitch, tuned for spoken sentences.
class TempoStage {
public:
    TempoStage();
    ~TempoStage();

    void SetTempo(double tempo);
    double Tempo() const { return tempo_; }
    bool Active() const { return tempo_ != 1.0; }

    void Put(const float* frames, long count);
    // Takes up to count processed frames.
    long Take(float* frames, long count);
    // End of the sound: push out what is held back.
    void Flush();
    // A seek: drop everything held back.
    void Clear();

private:
    std::unique_ptr<soundtouch::SoundTouch> touch_;
    double tempo_ = 1.0;
};

}  // namespace ov
