#pragma once

#include <QPointer>

#include <vector>

namespace ov {

class TCBox;
class TTimerLabel;
struct TRule;

// One step of a play script: four numbers of one bracketed group.
struct TPlayEntry {
    int Kind = 0;
    int Param = 0;
    int SentenceId = 0;
    int Count = 0;
};

// The playback state the content box shares with the script player. It
// exists once for the whole program, however many boxes there are.
struct TBoxPlayback {
    bool StopFlag = false;
    QPointer<TTimerLabel> LastClickedWord;
    std::vector<TPlayEntry> PlayList;
    int Current = -1;
};

TBoxPlayback& Playback();

// The script player's entry points. Sound playback and word highlighting are
// not built yet, so for now they leave the page as it is.
void RunScript(TCBox& box, const TRule& rule);
void StopAll(TCBox& box);
void StopWords(TCBox& box);

}  // namespace ov
