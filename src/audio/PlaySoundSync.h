#pragma once

#include <string>

namespace ov {

// Plays a sound file to its end and only then returns (the word drill's way
// of playing a word). Anything it cannot play returns at once, silently;
// false then. On the virtual clock it lets the time pass itself.
bool PlaySoundSync(const std::string& path);

// Sleeps ms, or advances the library's virtual clock by ms when it runs on one.
void LetTimePass(int ms);

}  // namespace ov
