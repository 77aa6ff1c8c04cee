#include "core/HeldMessages.h"

#include <string>

#include "core/Log.h"

namespace ov {
namespace {

// Enough to show a teacher which files are missing without filling the log.
constexpr size_t kLoggedMessages = 20;

}  // namespace

HeldMessages::HeldMessages()
    : previous_(SetMessageHandler([this](const Message& message) {
          held_.push_back(message);
          return 1;
      })) {}

HeldMessages::~HeldMessages() { Restore(); }

void HeldMessages::Restore() {
    if (!holding_) return;
    holding_ = false;
    SetMessageHandler(std::move(previous_));
}

void HeldMessages::Release(std::string_view area) {
    Restore();
    if (held_.empty()) return;
    const size_t others = held_.size() - 1;
    for (size_t i = 1; i < held_.size() && i <= kLoggedMessages; ++i)
        Log(LogLevel::Warning, area, "also: " + held_[i].caption + ": " + held_[i].text);
    if (others > kLoggedMessages)
        Log(LogLevel::Warning, area, "and " + std::to_string(others - kLoggedMessages) + " more messages like these");
    const Message first = held_.front();
    ShowMessageEx(first.caption, first.text, first.kind);
}

}  // namespace ov
