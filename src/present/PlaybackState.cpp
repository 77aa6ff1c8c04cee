#include "present/PlaybackState.h"

namespace ov {

TPlaybackState& Playback() {
    // The library is built first so that it outlives the sounds the state holds open.
    SoundLibrary::Instance();
    static TPlaybackState state;
    return state;
}

int SendMediaCommand(const std::string& command, std::string* reply) {
    TPlaybackState& state = Playback();
    state.MediaCommand = command;
    state.MediaError = state.Media.Send(command, reply);
    state.MediaErrorText = state.MediaError == 0 ? std::string() : ov::MediaCommand::ErrorText(state.MediaError);
    return state.MediaError;
}

}  // namespace ov
