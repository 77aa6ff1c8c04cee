#pragma once

#include "audio/AudioObject.h"
#include "present/WaveRender.h"

#include <QWidget>

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

class QTimer;

namespace ov {

// Plays one sound file, draws the progress of what plays and keeps the
// loudness bytes the comparison scores. The tick runs only while there is
// something to draw: a control that neither plays nor records sleeps after
// one last tick, so an idle lesson page costs nothing.
class SoundDisplay : public QWidget {
    Q_OBJECT

public:
    static constexpr int kTickMs = 10;

    SoundDisplay(std::filesystem::path programFolder, QWidget* parent = nullptr);
    ~SoundDisplay() override;

    void SetFileName(const std::string& path) { FFileName = path; }
    const std::string& FileName() const { return FFileName; }

    void PlayFile(const std::string& path);
    void Stop();
    // Stops playing and sampling until the next Stop or PlayFile.
    void Freeze();
    void ClearDisplay();
    // Milliseconds of FileName; 0 without a file, -1 when it cannot be opened.
    int GetFileDuration();

    const std::vector<std::uint8_t>& Samples() const { return FSamples; }
    void AppendSamples(const std::array<std::uint8_t, 11>& samples);

    // False once frozen: ticks then neither draw nor sample.
    bool TimerEnabled() const { return FTimerEnabled; }
    // Whether the tick is running right now (it sleeps while idle).
    bool Ticking() const;

    TAudioObject& Audio() { return FAudio; }
    WaveRender& Render() { return FRender; }

    void OnTick();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

    // Something will change the picture on the next tick.
    virtual bool Busy();
    // Work of a tick besides drawing, before it.
    virtual void TickWork() {}
    // Starts the tick again, unless frozen.
    void Wake();

private:
    void Tick();
    void EnableTimer(bool enabled);

    TAudioObject FAudio;
    WaveRender FRender;
    std::string FFileName;
    std::vector<std::uint8_t> FSamples;
    QTimer* FTimer;
    bool FTimerEnabled = true;
    bool FInTick = false;
};

}  // namespace ov
