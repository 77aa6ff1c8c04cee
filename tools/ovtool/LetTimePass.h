#pragma once

namespace ov {

// Sleeps ms, or advances the library's virtual clock by ms when it runs on
// one: how ovtool lets a sound it plays or records run its course.
void LetTimePass(int ms);

}  // namespace ov
