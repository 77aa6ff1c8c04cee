#pragma once

#include <QSize>
#include <QWidget>

#include <filesystem>
#include <memory>

class QLabel;

namespace ov {

class ReadingCheck;
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
    // At the recording display's right end, over its waveform.
    void PlaceWordCount();

    SoundDisplay* Sound;
    RecordDisplay* Recorder;
    // How many words of the compared sentence came through, over the
    // recording's display; hidden while there is no such count.
    QLabel* WordCount;
    // The word feedback shown with that count.
    ReadingCheck* Reading;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QSize FLaidOut;
};

}  // namespace ov
