#include "audio/AliasSound.h"

#include "audio/SoundLibrary.h"

#include <charconv>

namespace ov {

int MediaLine::Send(const std::string& command, std::string* reply) {
    lastCommand_ = command;
    lastError_ = media_.Send(command, reply);
    lastErrorText_ = lastError_ == 0 ? std::string() : MediaCommand::ErrorText(lastError_);
    return lastError_;
}

bool AliasSound::Open(const std::string& path) {
    return line_.Send("open " + ShortPath(path) + " type MPEGVideo Alias " + alias_) == 0;
}

bool AliasSound::Play(const std::string& path, int speedPercent) {
    if (!Open(path)) return false;
    line_.Send("Set " + alias_ + " Speed " + std::to_string(speedPercent * 10));
    line_.Send("play " + alias_);
    return true;
}

void AliasSound::Loop(const std::string& path, int volume) {
    Open(path);
    line_.Send("SetAudio " + alias_ + " volume to " + std::to_string(volume));
    line_.Send("play " + alias_ + " repeat");
}

void AliasSound::Stop() {
    line_.Send("Stop " + alias_);
    line_.Send("Close " + alias_);
}

bool AliasSound::Finished() {
    const SoundHandle channel = line_.Channel(alias_);
    return channel == 0 || SoundLibrary::Instance().Activity(channel) != ChannelActivity::Playing;
}

int64_t AliasSound::PositionMs() {
    const SoundHandle channel = line_.Channel(alias_);
    if (channel == 0) return 0;
    return static_cast<int64_t>(BytesToSeconds(SoundLibrary::Instance().PositionBytes(channel)) * 1000.0);
}

int64_t AliasSound::LengthMs() {
    std::string reply;
    if (line_.Send("status " + alias_ + " length", &reply) != 0) return 0;
    int64_t ms = 0;
    const auto [end, error] = std::from_chars(reply.data(), reply.data() + reply.size(), ms);
    return error == std::errc() && end == reply.data() + reply.size() ? ms : 0;
}

}  // namespace ov
