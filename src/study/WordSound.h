#pragma once

#include <string>

namespace ov {

// Plays a word's sound file to its end while the window goes on handling its
// events, so the drill's pause and stop buttons are taken meanwhile. False,
// at once, for a file the sound library cannot play.
bool PlayWordSound(const std::string& path);

}  // namespace ov
