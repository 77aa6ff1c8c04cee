#pragma once

#include "audio/SoundLibrary.h"

#include <map>
#include <string>

namespace ov {

// The command strings the lesson sound and the scene sound are driven with,
// interpreted over the sound library:
//   open <path> [type <kind>] alias <name>
//   set <name> speed <thousandths>          (pitch kept)
//   setaudio <name> volume to <0..1000>
//   play <name> [repeat]
//   status <name> length                    (reply: milliseconds at normal speed)
//   stop <name>
//   close <name>
// Keywords and aliases are case-insensitive. Opening an alias that is open
// fails and leaves the open sound alone: the scene-sound volume spinner relies
// on that to change the volume without restarting the sound. Used from one
// thread.
class MediaCommand {
public:
    enum Error {
        kOk = 0,
        kUnknownCommand,
        kMissingArgument,
        kUnknownAlias,
        kAliasInUse,
        kFileNotFound,
        kCannotOpen,
        kBadNumber,
        kBadKeyword,
    };

    MediaCommand() = default;
    ~MediaCommand();
    MediaCommand(const MediaCommand&) = delete;
    MediaCommand& operator=(const MediaCommand&) = delete;

    // 0 on success, else one of Error; `reply` gets the answer of a query.
    int Send(const std::string& command, std::string* reply = nullptr);
    // At most 128 characters.
    static std::string ErrorText(int code);
    // The channel an alias plays on, 0 while it is not open: the state of a
    // sound is read from it directly rather than through a reply string.
    SoundHandle Channel(const std::string& alias) const;

private:
    struct Sound {
        SoundHandle channel = 0;
        std::string path;
    };

    int Open(const std::string& arguments);
    int Play(Sound& sound, const std::string& rest);
    int Set(Sound& sound, const std::string& rest);
    int SetAudio(Sound& sound, const std::string& rest);
    int Status(Sound& sound, const std::string& rest, std::string* reply);

    std::map<std::string, Sound> sounds_;  // by lower-cased alias
};

// What "open" is given for a path: the path itself when the file exists,
// otherwise "错误", which no open accepts.
std::string ShortPath(const std::string& path);

}  // namespace ov
