#pragma once

#include <string_view>
#include <vector>

#include "core/MessageHook.h"

namespace ov {

// Holds back the messages of one piece of work, such as building a page: the
// pupil answers one dialog for it, not one per element, and no modal dialog
// runs the event loop while the work holds references into half-built state.
// Held messages are answered as confirmed.
class HeldMessages {
public:
    HeldMessages();
    // Puts the previous handler back; what was not released is dropped.
    ~HeldMessages();
    HeldMessages(const HeldMessages&) = delete;
    HeldMessages& operator=(const HeldMessages&) = delete;

    const std::vector<Message>& Held() const { return held_; }

    // Puts the previous handler back, shows the first message held and logs
    // the others under `area`: one line each for the first few, then a count.
    void Release(std::string_view area);

private:
    void Restore();

    std::vector<Message> held_;
    MessageHandler previous_;
    bool holding_ = true;
};

}  // namespace ov
