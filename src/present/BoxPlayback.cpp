#include "present/BoxPlayback.h"

#include "present/TimerLabel.h"

namespace ov {

TBoxPlayback& Playback() {
    static TBoxPlayback playback;
    return playback;
}

void RunScript(TCBox&, const TRule&) {}

void StopAll(TCBox&) {}

void StopWords(TCBox&) {}

}  // namespace ov
