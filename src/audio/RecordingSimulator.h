#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ov {

// Plays `path` through its own engine on the sound library's virtual clock,
// ticking every 10 ms as a sound control does from its PlayFile, and returns
// the loudness samples the control would have collected by the time the
// sound ended. Empty when the file cannot be opened. Puts the process-wide
// library on the virtual clock.
std::optional<std::vector<uint8_t>> SimulateSoundSamples(const std::string& path);

}  // namespace ov
