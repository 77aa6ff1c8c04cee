#pragma once

#include <cstdint>

namespace ov {

// Milliseconds of a steady clock; only differences mean anything.
int64_t TickCountMs();

}  // namespace ov
