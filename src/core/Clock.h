#pragma once

#include <cstdint>

namespace ov {

// Milliseconds of a steady clock; only differences mean anything.
int64_t TickCountMs();

// Tests make time pass by hand through their own source; nullptr goes back
// to the steady clock.
using TickSource = int64_t (*)();
void SetTickSource(TickSource source);

}  // namespace ov
