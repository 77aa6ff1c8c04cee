#include "core/Clock.h"

#include <atomic>
#include <chrono>

namespace ov {
namespace {

int64_t SteadyMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::atomic<TickSource> tickSource{SteadyMs};

}  // namespace

int64_t TickCountMs() { return tickSource.load(std::memory_order_relaxed)(); }

void SetTickSource(TickSource source) { tickSource.store(source ? source : SteadyMs, std::memory_order_relaxed); }

}  // namespace ov
