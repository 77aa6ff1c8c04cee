#pragma once

#include "audio/RecordingScore.h"
#include "present/WordTiming.h"

#include <QString>
#include <QWidget>

#include <filesystem>
#include <memory>

class QFrame;
class QLabel;
class QPushButton;
class QSpinBox;
class QToolButton;

namespace ov {

class PageView;
class SoundInfoPanel;
class TPictureStrip;
class WaveInputDriver;

// The lesson panel: frames the content box with the sound displays and
// decorative strips above and the page and sound controls below. The main
// window drives its children directly; the panel only builds them, keeps them
// laid out and scores recordings.
class LessonPanel : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int MainSoundSpeed READ MainSoundSpeed WRITE SetMainSoundSpeed)

public:
    static constexpr int kBottomBarHeight = 32;
    static constexpr int kBottomImageHeight = 20;
    static constexpr int kInfoPanelHeight = 40;
    static constexpr int kTopStripHeight = 10;
    static constexpr int kRightBorderWidth = 20;
    static constexpr int kNormalSpeed = kNormalSpeechSpeed;

    // `screenWidth` decides the left border: none on an 800 px screen.
    LessonPanel(const std::filesystem::path& programFolder, int screenWidth,
                      std::shared_ptr<WaveInputDriver> driver, QWidget* parent = nullptr);
    ~LessonPanel() override;

    static int LeftBorderWidthFor(int screenWidth) { return screenWidth == 800 ? 0 : 40; }

    // Lays the children out again for the panel's size.
    void PanelResize();
    // Score of the recording against the original sound; 0 when it cannot be scored.
    double CompareRecording();

    // Percent of normal speech speed for lesson sound; 0 and below are ignored.
    int MainSoundSpeed() const { return FMainSoundSpeed; }
    void SetMainSoundSpeed(int value);

    QWidget* BottomBar;
    QFrame* Separator;
    QWidget* NavPanel;
    QPushButton* firstBtn;
    QPushButton* pirorBtn;
    QPushButton* NextBtn;
    QPushButton* LastBtn;
    QLabel* labPage;
    QWidget* SoundPanel;
    QToolButton* NoiseButton;
    QLabel* VolumeLabel;
    QSpinBox* VolumeSpinner;
    QLabel* SpeedLabel;
    QSpinBox* SpeedSpinner;
    TPictureStrip* BottomImagePanel;
    SoundInfoPanel* InfoPanel;
    TPictureStrip* TopStrip;
    TPictureStrip* LeftBorder;
    TPictureStrip* RightBorder;
    PageView* Box;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildBottomBar();
    void BuildNavPanel();
    void BuildSoundPanel();
    QPushButton* PageButton(const char* name, const QString& caption, const QString& hint);
    // A white strip showing `picture` from the program's "Images" folder when it exists.
    TPictureStrip* Strip(const char* name, const char* picture, int bandWidth = 0,
                         Qt::Alignment side = Qt::AlignLeft);
    // Places the aligned children: strips at the top and bottom, borders at
    // the sides, the box in what is left.
    void AlignChildren();

    std::filesystem::path FProgramFolder;
    int FLeftBorderWidth;
    TGetSoundDataResult FScorer;
    int FMainSoundSpeed = 0;
    int FTopStripHeight = 20;
};

}  // namespace ov
