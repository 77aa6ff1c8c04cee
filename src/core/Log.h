#pragma once

#include <functional>
#include <string_view>

namespace ov {

enum class LogLevel { Debug, Info, Warning, Error };

// Where log lines go. The default sink appends to
// $XDG_STATE_HOME/ovplayer/ovplayer.log (else ~/.local/state/...), keeps the
// file small by rotating it to ovplayer.log.1, and skips debug lines unless
// OV_LOG=debug, which also copies every line to stderr. The pupil never sees
// the log; a teacher who reports "no sound" has a file to send.
using LogSink = std::function<void(LogLevel level, std::string_view area, std::string_view text)>;

// One line from `area` ("audio", "store", ...). Safe from any thread but a
// real-time one: it takes a lock and may write to disk.
void Log(LogLevel level, std::string_view area, std::string_view text);

// Installs a sink and returns the one it replaces; an empty sink restores the
// default file sink.
LogSink SetLogSink(LogSink sink);

// Whether debug lines are wanted at all, so callers can skip building them.
bool LogDebugEnabled();

}  // namespace ov
