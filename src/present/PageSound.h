#pragma once

#include "audio/AliasSound.h"

#include <QString>

#include <cstdint>

namespace ov {

class PageView;

// The sounds of one lesson page: the lesson sound, one sentence or item sound
// at a time, and the scene sound looping under it. At normal speed the lesson
// sound plays in the info panel's display, which shows it; at any other speed
// it plays through the media line and the panel hides.
class PageSound {
public:
    explicit PageSound(PageView& box);

    // Ends the lesson sound that played, starts the file as lesson sound at
    // the page's speech speed and (re)starts the scene sound. Gives the sound's
    // playing time after the speed, 0 or less when unknown. A file that does
    // not open at another speed plays nothing and leaves the scene sound alone.
    int64_t PlayLesson(const QString& path);
    void StopLesson();
    // The lesson sound is still heard, at whatever speed.
    bool LessonPlaying();
    // Only the info panel's display stops.
    void StopDisplay();
    // (Re)opens the scene sound, sets its volume and keeps it looping. When it
    // is open already only the volume changes: the volume spinner relies on it.
    void LoopScene();
    // Both sounds stop, and the info panel's display too.
    void CloseAll();

    // The media commands sent so far, for whoever debugs a lesson.
    MediaLine& Media() { return media_; }

private:
    // The info panel's display as a lesson sound: it plays at normal speed only.
    class DisplaySound : public LessonSound {
    public:
        explicit DisplaySound(PageView& box) : box_(box) {}
        bool Play(const std::string& path, int speedPercent) override;
        void Stop() override;
        bool Finished() override;
        int64_t PositionMs() override;
        int64_t LengthMs() override;

    private:
        PageView& box_;
    };

    PageView& box_;
    MediaLine media_;
    AliasSound lesson_;
    AliasSound scene_;
    DisplaySound display_;
};

}  // namespace ov
