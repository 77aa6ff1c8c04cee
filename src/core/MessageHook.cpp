#include "core/MessageHook.h"

#include <mutex>
#include <utility>

namespace ov {
namespace {

struct HookState {
    std::mutex mutex;
    MessageHandler handler;
    std::vector<Message> recorded;
};

HookState& State() {
    static HookState state;
    return state;
}

}  // namespace

int ShowMessageEx(const std::string& caption, const std::string& text, int kind) {
    auto& state = State();
    MessageHandler handler;
    {
        std::lock_guard lock(state.mutex);
        if (!state.handler) {
            state.recorded.push_back({caption, text, kind});
            return 1;
        }
        handler = state.handler;
    }
    // Called outside the lock: a modal dialog may re-enter ShowMessageEx.
    return handler(Message{caption, text, kind}) == 1 ? 1 : 2;
}

MessageHandler SetMessageHandler(MessageHandler handler) {
    auto& state = State();
    std::lock_guard lock(state.mutex);
    return std::exchange(state.handler, std::move(handler));
}

std::vector<Message> TakeRecordedMessages() {
    auto& state = State();
    std::lock_guard lock(state.mutex);
    return std::exchange(state.recorded, {});
}

}  // namespace ov
