#pragma once

#include "audio/AudioEngine.h"

#include <QImage>

#include <filesystem>

namespace ov {

class SoundDisplay;

// The off-screen picture of a sound control: one red bar per tick at the
// column of the playing position, over a background cut from "Images/BO.bmp".
// It also takes the loudness bytes the comparison scores.
class WaveRender {
public:
    static constexpr int kDefaultHeight = 60;
    static constexpr int kDefaultWidth = 400;
    static constexpr int kBaseLine = 18;
    static constexpr QRgb kRed = 0xFFFF0000;

    // A size of 0 takes the default; the program folder holds "Images/".
    WaveRender(int height, int width, std::filesystem::path programFolder);

    void LoadBackground();
    void Reset();
    // White, or the background's middle part stretched over the picture.
    void Clear();
    // Draws the bar for `positionMs` of `totalMs` from the loudness of `block`,
    // hands the control its samples and repaints the control where the
    // picture changed. Nothing is sampled or shown once the control is frozen.
    void DrawProgress(SoundDisplay& control, int totalMs, int positionMs, const WaveBlock& block);

    // Keeps what is drawn; new room is white.
    void Resize(int width, int height);

    const QImage& Display() const { return FDisplay; }
    const QImage& Background() const { return FBackground; }
    QRgb EndColour() const { return FEndColour; }

private:
    // Whether drawing the bar would change any of its pixels.
    bool BarChanges(int column, int height) const;
    void DrawBar(int column, int height);

    std::filesystem::path FProgramFolder;
    QImage FDisplay;
    QImage FBackground;
    QRgb FEndColour = kRed;
};

}  // namespace ov
