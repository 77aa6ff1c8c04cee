#pragma once

#include <cstdint>
#include <string>

namespace ov {

// What a lesson page asks of a sound it plays: one file at a time, at the
// pupil's speech speed. Implementations decide how the file reaches the
// speakers; the page never builds commands for them.
class LessonSound {
public:
    virtual ~LessonSound() = default;

    // Replaces whatever played. False when the file could not be opened: then
    // nothing plays.
    virtual bool Play(const std::string& path, int speedPercent) = 0;
    virtual void Stop() = 0;
    // True once the file has played to its end, and while nothing is open.
    virtual bool Finished() = 0;
    // Milliseconds of the file played and its whole length, both at normal
    // speed; 0 or less when unknown.
    virtual int64_t PositionMs() = 0;
    virtual int64_t LengthMs() = 0;
};

}  // namespace ov
