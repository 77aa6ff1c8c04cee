#pragma once

#include <QList>
#include <QString>

#include <string>
#include <vector>

#include "lesson/UntRule.h"
#include "present/PlaybackState.h"

namespace ov {

class TCBox;
class TTimerLabel;

// The script player: plays a rule's sentences through the lesson sound,
// highlights each word for its share of the sentence's time, waits the
// pauses, and keeps the scene sound looping underneath.

// Media aliases: the one lesson sound at a time, and the looping scene sound.
inline constexpr const char* kLessonAlias = "ZOzadaZI";
inline constexpr const char* kSceneAlias = "DEdivo";

// Starts the rule of a reading function; kinds without rules only stop.
void PlayRule(TCBox& box, TOVRule kind, int32_t id);
// The role swap: plays the rule of one role.
void PlayRole(TCBox& box, TOVRule kind, const std::string& role);
std::vector<std::string> GetRoles(TCBox& box);

// Expands the rule's script into the play list and starts it. A malformed
// number leaves the entries parsed before it, starts nothing and is logged:
// a damaged rule must not take the player down with it.
bool RunScript(TCBox& box, const TRule& rule);
void StartScript(TCBox& box);
void PlayEntry(TCBox& box, const TScriptEntry& entry);

// The words of a sentence on the page, by word Id (equal Ids in page order).
QList<TTimerLabel*> CollectWords(const TCBox& box, int32_t sentenceId);

// Plays one sound file as lesson sound at the lesson panel's speech speed,
// and (re)starts the scene sound.
void PlayLessonSound(TCBox& box, const QString& path);
// (Re)opens the scene sound, sets its volume and keeps it looping. When it is
// open already only the volume changes: the spinner relies on it.
void PlaySceneSound(TCBox& box);

// The 100 ms step of a highlighted word, and the move to the next word or entry.
void TimerTick(TTimerLabel& word);
void NextWord(TCBox& box);
// The pause timer of a box fired.
void ScriptTimer(TCBox& box);

// Ends the script, restores every word and closes both sounds. While a word
// is highlighted or a pause runs, first waits 100 ms for a timer tick already
// under way, painting meanwhile.
void StopAll(TCBox& box);
// Switches off every word's timer and restores its colour.
void StopWords(TCBox& box);
void CloseSounds(TCBox& box);
// With hide, only words whose record is Visible show; without, all do.
void ShowVisibleWords(TCBox& box, bool hide);

int StopAlias(const std::string& alias);
// The error text when the close failed, else empty.
std::string CloseAlias(const std::string& alias);
// One page of the box up or down.
void ScrollPage(TCBox& box, bool down);

}  // namespace ov
