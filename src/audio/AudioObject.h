#pragma once

#include "audio/AudioEngine.h"

namespace ov {

// What the sound controls own: the engine, but it ignores names whose
// extension it does not know and offers playlists in its filter.
class TAudioObject : public TAudioEngine {
public:
    explicit TAudioObject(std::intptr_t window = 0) : TAudioEngine(window) {}

    void Play(const std::string& name) override;
    bool PlayURL(const std::string& name) override;
    std::string GetFilter() override;
};

}  // namespace ov
