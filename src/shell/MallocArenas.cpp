#include "shell/MallocArenas.h"

#include <malloc.h>

namespace ov {

namespace {
// One heap for the window and one the busy threads may share: measured flat
// over hundreds of lessons, and the unpacking workers keep their memory.
constexpr int kArenas = 2;
}  // namespace

void LimitMallocArenas() { mallopt(M_ARENA_MAX, kArenas); }

}  // namespace ov
