#pragma once

namespace ov {

class ReadingJudge;

// The process's one recogniser and judge, loaded by the first caller (the
// model takes most of a second; the window's thread must never be that
// caller). Use it from one thread at a time. Throws ESpeechError when the
// model cannot be loaded, and again on every later call.
ReadingJudge& ProcessJudge();

}  // namespace ov
