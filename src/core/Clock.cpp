#include "core/Clock.h"

#include <chrono>

namespace ov {

int64_t TickCountMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace ov
