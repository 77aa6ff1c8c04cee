#pragma once

#include <QPointer>

#include <cstdint>
#include <string>
#include <vector>

#include "audio/MediaCommand.h"
#include "lesson/PlayScript.h"

namespace ov {

class TTimerLabel;

// Where the running play script stands. There is one for the whole program,
// owned here, whatever box plays: a click in one box stops the script of any.
struct TPlaybackState {
    std::vector<TScriptEntry> PlayList;
    // The entry playing or being waited, and its word being highlighted.
    int ScriptIndex = 0;
    int WordIndex = 0;
    // Ends all highlighting and pause waiting; cleared when a script starts.
    bool StopFlag = false;
    // Tick (core clock) when the current word started.
    int64_t WordStartTick = 0;
    // Playing time of the sentence after the speech speed, ms; 0 or less
    // when its length is unknown.
    int64_t SentenceDuration = 0;
    // Pixels of the highlighted words of the sentence.
    int64_t SentenceWidth = 0;
    QPointer<TTimerLabel> LastClickedWord;

    // The lesson sound and the scene sound are driven through command strings;
    // the last one sent, its code and, when it failed, the reason. Nobody is
    // shown these: they are for whoever debugs a lesson.
    ov::MediaCommand Media;
    std::string MediaCommand;
    int MediaError = 0;
    std::string MediaErrorText;
};

TPlaybackState& Playback();

// Sends one command string, recording it and its outcome in the state.
int SendMediaCommand(const std::string& command, std::string* reply = nullptr);

}  // namespace ov
