#pragma once

#include "audio/LessonSound.h"
#include "audio/MediaCommand.h"

#include <string>

namespace ov {

// Media command strings sent on behalf of a page, with the last one and its
// outcome kept. Nobody is shown these: they are for whoever debugs a lesson.
class MediaLine {
public:
    // 0 on success, else a MediaCommand error code.
    int Send(const std::string& command, std::string* reply = nullptr);

    const std::string& LastCommand() const { return lastCommand_; }
    int LastError() const { return lastError_; }
    const std::string& LastErrorText() const { return lastErrorText_; }
    SoundHandle Channel(const std::string& alias) const { return media_.Channel(alias); }

private:
    MediaCommand media_;
    std::string lastCommand_;
    int lastError_ = 0;
    std::string lastErrorText_;
};

// One named sound of a media line: "open", "set speed", "play", "stop" and
// "close" on its alias. Opening an alias that is open fails and keeps the
// sound playing; a looping sound relies on that to change only its volume.
class AliasSound : public LessonSound {
public:
    AliasSound(MediaLine& line, std::string alias) : line_(line), alias_(std::move(alias)) {}

    // Speed 100 is normal; the tempo changes, the pitch stays.
    bool Play(const std::string& path, int speedPercent) override;
    // Opens the file if the alias is free, sets the volume (0 to 1000) and
    // plays it over and over.
    void Loop(const std::string& path, int volume);
    // Stops and closes the alias.
    void Stop() override;
    bool Finished() override;
    int64_t PositionMs() override;
    int64_t LengthMs() override;

    const std::string& Alias() const { return alias_; }

private:
    bool Open(const std::string& path);

    MediaLine& line_;
    std::string alias_;
};

}  // namespace ov
