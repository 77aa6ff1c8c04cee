#pragma once

#include <QSize>
#include <QWidget>

#include <filesystem>
#include <memory>

namespace ov {

class RecordDisplay;
class SoundDisplay;
class WaveInputDriver;

// The strip at the top of the lesson panel with the original-sound display
// on the left and the recording display on the right.
class SoundInfoPanel : public QWidget {
    Q_OBJECT

public:
    static constexpr int kSideRoom = 60;
    static constexpr int kFirstLeft = 20;

    SoundInfoPanel(const std::filesystem::path& programFolder, std::shared_ptr<WaveInputDriver> driver,
               QWidget* parent = nullptr);

    // Two displays of equal width side by side, 40 px apart. Runs once per
    // size, so a panel that places the displays after this keeps its places
    // when the resize event arrives late.
    void LayOut();

    SoundDisplay* Sound;
    RecordDisplay* Recorder;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QSize FLaidOut;
};

}  // namespace ov
