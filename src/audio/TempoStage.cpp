#include "audio/TempoStage.h"

#include "audio/SoundSource.h"

#include <soundtouch/SoundTouch.h>

namespace ov {

TempoStage::TempoStage() : touch_(std::make_unique<soundtouch::SoundTouch>()) {
    touch_->setSampleRate(kOutputRate);
    touch_->setChannels(kOutputChannels);
    touch_->setSetting(SETTING_SEQUENCE_MS, 40);
    touch_->setSetting(SETTING_SEEKWINDOW_MS, 15);
    touch_->setSetting(SETTING_OVERLAP_MS, 8);
    // The rate never changes here (resampling happens before), so the rate
    // transposer's anti-alias filter would only cost time.
    touch_->setSetting(SETTING_USE_AA_FILTER, 0);
}

TempoStage::~TempoStage() = default;

void TempoStage::SetTempo(double tempo) {
    tempo_ = tempo;
    touch_->setTempo(tempo);
}

void TempoStage::Put(const float* frames, long count) {
    touch_->putSamples(frames, static_cast<unsigned>(count));
}

long TempoStage::Take(float* frames, long count) {
    return static_cast<long>(touch_->receiveSamples(frames, static_cast<unsigned>(count)));
}

void TempoStage::Flush() { touch_->flush(); }

void TempoStage::Clear() { touch_->clear(); }

}  // namespace ov
