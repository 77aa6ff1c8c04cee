#include "audio/MediaCommand.h"

#include "core/CoursewarePath.h"

#include <charconv>
#include <filesystem>
#include <sstream>
#include <vector>

namespace ov {
namespace {

constexpr const char* kNoPath = "错误";

std::vector<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

bool ParseInt(const std::string& text, int& value) {
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

// The first word and the text after it, leading blanks dropped.
std::pair<std::string, std::string> SplitFirst(const std::string& text) {
    std::size_t start = text.find_first_not_of(" \t");
    if (start == std::string::npos) return {"", ""};
    std::size_t end = text.find_first_of(" \t", start);
    if (end == std::string::npos) return {text.substr(start), ""};
    std::size_t rest = text.find_first_not_of(" \t", end);
    return {text.substr(start, end - start), rest == std::string::npos ? "" : text.substr(rest)};
}

// Where a keyword stands as a whole word, last occurrence: a path may contain
// the same letters.
std::size_t FindLastKeyword(const std::string& lower, const std::string& keyword) {
    std::string padded = " " + keyword + " ";
    return lower.rfind(padded);
}

std::string Trim(const std::string& text) {
    std::size_t start = text.find_first_not_of(" \t");
    if (start == std::string::npos) return "";
    std::size_t end = text.find_last_not_of(" \t");
    return text.substr(start, end - start + 1);
}

// "<path> [type <kind>] alias <name>": the path may be quoted; unquoted, it
// runs up to the last "type" or "alias" keyword, so it may hold blanks.
bool SplitOpenArguments(const std::string& arguments, std::string& path, std::string& alias) {
    std::string text = Trim(arguments);
    std::string keywords;
    if (!text.empty() && text.front() == '"') {
        std::size_t close = text.find('"', 1);
        if (close == std::string::npos) return false;
        path = text.substr(1, close - 1);
        keywords = std::string(" ").append(text, close + 1);
    } else {
        std::string lower = AsciiLower(" " + text);
        std::size_t aliasAt = FindLastKeyword(lower, "alias");
        if (aliasAt == std::string::npos) return false;
        std::size_t typeAt = FindLastKeyword(lower.substr(0, aliasAt + 1), "type");
        std::size_t pathEnd = typeAt == std::string::npos ? aliasAt : typeAt;
        path = Trim(text.substr(0, pathEnd));
        keywords = text.substr(pathEnd);
    }
    std::vector<std::string> words = Words(keywords);
    std::size_t at = 0;
    if (words.size() >= 2 && AsciiLower(words[0]) == "type") at = 2;
    if (words.size() != at + 2 || AsciiLower(words[at]) != "alias") return false;
    alias = words[at + 1];
    return !path.empty();
}

}  // namespace

MediaCommand::~MediaCommand() {
    for (auto& [alias, sound] : sounds_) SoundLibrary::Instance().Free(sound.channel);
}

std::string ShortPath(const std::string& path) {
    std::error_code error;
    return !path.empty() && std::filesystem::exists(path, error) ? path : kNoPath;
}

std::string MediaCommand::ErrorText(int code) {
    switch (code) {
    case kOk: return "The command completed.";
    case kUnknownCommand: return "The command is not one this player knows.";
    case kMissingArgument: return "The command is missing a name or a value.";
    case kUnknownAlias: return "No sound is open under that alias.";
    case kAliasInUse: return "The alias is already in use by an open sound.";
    case kFileNotFound: return "The sound file does not exist.";
    case kCannotOpen: return "The file is not a sound this player can play.";
    case kBadNumber: return "A whole number was expected.";
    case kBadKeyword: return "The command does not take that keyword.";
    default: return "Unknown error.";
    }
}

int MediaCommand::Send(const std::string& command, std::string* reply) {
    if (reply != nullptr) reply->clear();
    auto [verb, rest] = SplitFirst(command);
    verb = AsciiLower(verb);
    if (verb == "open") return Open(rest);
    auto [alias, arguments] = SplitFirst(rest);
    if (verb != "play" && verb != "set" && verb != "setaudio" && verb != "status" && verb != "stop" &&
        verb != "close") {
        return kUnknownCommand;
    }
    if (alias.empty()) return kMissingArgument;
    auto it = sounds_.find(AsciiLower(alias));
    if (it == sounds_.end()) return kUnknownAlias;
    Sound& sound = it->second;
    if (verb == "play") return Play(sound, arguments);
    if (verb == "set") return Set(sound, arguments);
    if (verb == "setaudio") return SetAudio(sound, arguments);
    if (verb == "status") return Status(sound, arguments, reply);
    if (!Words(arguments).empty()) return kBadKeyword;
    if (verb == "stop") {
        SoundLibrary::Instance().Stop(sound.channel);
        return kOk;
    }
    SoundLibrary::Instance().Free(sound.channel);
    sounds_.erase(it);
    return kOk;
}

SoundHandle MediaCommand::Channel(const std::string& alias) const {
    auto it = sounds_.find(AsciiLower(alias));
    return it == sounds_.end() ? 0 : it->second.channel;
}

int MediaCommand::Open(const std::string& arguments) {
    std::string path;
    std::string alias;
    if (!SplitOpenArguments(arguments, path, alias)) return kMissingArgument;
    std::string key = AsciiLower(alias);
    if (sounds_.count(key) != 0) return kAliasInUse;
    std::error_code error;
    if (path == kNoPath || !std::filesystem::is_regular_file(path, error)) return kFileNotFound;
    SoundHandle channel = SoundLibrary::Instance().OpenFile(path);
    if (channel == 0) return kCannotOpen;
    sounds_[key] = Sound{channel, path};
    return kOk;
}

int MediaCommand::Play(Sound& sound, const std::string& rest) {
    std::vector<std::string> words = Words(AsciiLower(rest));
    if (words.size() > 1 || (words.size() == 1 && words[0] != "repeat")) return kBadKeyword;
    auto& library = SoundLibrary::Instance();
    library.SetLoop(sound.channel, !words.empty());
    library.Play(sound.channel);
    return kOk;
}

int MediaCommand::Set(Sound& sound, const std::string& rest) {
    std::vector<std::string> words = Words(rest);
    if (words.empty() || AsciiLower(words[0]) != "speed") return words.empty() ? kMissingArgument : kBadKeyword;
    int speed = 0;
    if (words.size() != 2) return words.size() < 2 ? kMissingArgument : kBadKeyword;
    if (!ParseInt(words[1], speed) || speed <= 0) return kBadNumber;
    SoundLibrary::Instance().SetTempo(sound.channel, speed);
    return kOk;
}

int MediaCommand::SetAudio(Sound& sound, const std::string& rest) {
    std::vector<std::string> words = Words(rest);
    if (words.size() < 3) return kMissingArgument;
    if (words.size() > 3 || AsciiLower(words[0]) != "volume" || AsciiLower(words[1]) != "to") return kBadKeyword;
    int volume = 0;
    if (!ParseInt(words[2], volume) || volume < 0 || volume > 1000) return kBadNumber;
    SoundLibrary::Instance().SetVolume(sound.channel, volume / 10);
    return kOk;
}

int MediaCommand::Status(Sound& sound, const std::string& rest, std::string* reply) {
    std::vector<std::string> words = Words(AsciiLower(rest));
    if (words.empty()) return kMissingArgument;
    if (words.size() != 1 || words[0] != "length") return kBadKeyword;
    std::int64_t bytes = SoundLibrary::Instance().LengthBytes(sound.channel);
    if (reply != nullptr) *reply = std::to_string(static_cast<std::int64_t>(BytesToSeconds(bytes) * 1000.0));
    return kOk;
}

}  // namespace ov
