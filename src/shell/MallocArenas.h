#pragma once

namespace ov {

// Caps the allocator's per-thread heaps; to be called first thing, before any
// thread starts. The media framework starts threads of its own for every
// video it plays, and each may get a heap of its own: freed memory scattered
// over many heaps is seldom a whole page the allocator can hand back, so the
// player's memory crept up lesson after lesson.
void LimitMallocArenas();

}  // namespace ov
