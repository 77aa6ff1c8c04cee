#pragma once

#include <functional>
#include <string>
#include <vector>

namespace ov {

// Kinds of message: 0 a hint with one button, 1 a question with two.
struct Message {
    std::string caption;
    std::string text;
    int kind = 0;
};

// Answers 1 when the pupil confirmed ("确定"), 2 otherwise.
using MessageHandler = std::function<int(const Message&)>;

// The one way lower layers talk to the pupil. The player points the handler at
// its dialog; until then (tools, tests) messages are recorded and answered 1.
int ShowMessageEx(const std::string& caption, const std::string& text, int kind);

// Installs a handler and returns the one it replaces; an empty handler
// restores the recording default.
MessageHandler SetMessageHandler(MessageHandler handler);

// What the recording default has seen since the last call; the record is emptied.
std::vector<Message> TakeRecordedMessages();

}  // namespace ov
