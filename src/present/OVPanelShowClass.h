#pragma once

#include "audio/UGetResult.h"

#include <QColor>
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

class TCBox;
class TInfoPanel;
class TPictureStrip;
class WaveInputDriver;

// The lesson panel: frames the content box with the sound displays and
// decorative strips above and the page and sound controls below. The main
// window drives its children directly; the panel only builds them, keeps them
// laid out and scores recordings.
class TOVPanelShowClass : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString InfoText READ InfoText WRITE SetInfoText NOTIFY InfoChanged)
    Q_PROPERTY(QString InfoFontName READ InfoFontName WRITE SetInfoFontName NOTIFY InfoChanged)
    Q_PROPERTY(QColor InfoColor READ InfoColor WRITE SetInfoColor NOTIFY InfoChanged)
    Q_PROPERTY(int InfoSize READ InfoSize WRITE SetInfoSize NOTIFY InfoChanged)
    Q_PROPERTY(int InfoTop READ InfoTop WRITE SetInfoTop NOTIFY InfoChanged)
    Q_PROPERTY(int InfoLeft READ InfoLeft WRITE SetInfoLeft NOTIFY InfoChanged)
    Q_PROPERTY(QString WaveFilePath READ WaveFilePath WRITE SetWaveFilePath)
    Q_PROPERTY(int MainSoundSpeed READ MainSoundSpeed WRITE SetMainSoundSpeed)
    Q_PROPERTY(int MainSoundFreq READ MainSoundFreq WRITE SetMainSoundFreq)

public:
    static constexpr int kBottomBarHeight = 25;
    static constexpr int kBottomImageHeight = 20;
    static constexpr int kInfoPanelHeight = 40;
    static constexpr int kTopStripHeight = 10;
    static constexpr int kRightBorderWidth = 20;
    static constexpr int kNormalSpeed = 100;

    // `screenWidth` decides the left border: none on an 800 px screen.
    TOVPanelShowClass(const std::filesystem::path& programFolder, int screenWidth,
                      std::shared_ptr<WaveInputDriver> driver, QWidget* parent = nullptr);
    ~TOVPanelShowClass() override;

    static int LeftBorderWidthFor(int screenWidth) { return screenWidth == 800 ? 0 : 40; }

    // Lays the children out again for the panel's size.
    void PanelResize();
    // Score of the recording against the original sound; 0 when it cannot be scored.
    double CompareRecording();

    const QString& InfoText() const { return FInfoText; }
    void SetInfoText(const QString& value);
    const QString& InfoFontName() const { return FInfoFontName; }
    void SetInfoFontName(const QString& value);
    const QColor& InfoColor() const { return FInfoColor; }
    void SetInfoColor(const QColor& value);
    int InfoSize() const { return FInfoSize; }
    void SetInfoSize(int value);
    int InfoTop() const { return FInfoTop; }
    void SetInfoTop(int value);
    int InfoLeft() const { return FInfoLeft; }
    void SetInfoLeft(int value);
    const QString& WaveFilePath() const { return FWaveFilePath; }
    void SetWaveFilePath(const QString& value) { FWaveFilePath = value; }
    // Percent of normal speech speed for lesson sound; 0 and below are ignored.
    int MainSoundSpeed() const { return FMainSoundSpeed; }
    void SetMainSoundSpeed(int value);
    int MainSoundFreq() const { return FMainSoundFreq; }
    void SetMainSoundFreq(int value) { FMainSoundFreq = value; }

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
    TInfoPanel* InfoPanel;
    TPictureStrip* TopStrip;
    TPictureStrip* LeftBorder;
    TPictureStrip* RightBorder;
    TCBox* Box;

signals:
    void InfoChanged();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildBottomBar();
    void BuildNavPanel();
    void BuildSoundPanel();
    QPushButton* PageButton(const char* name, const QString& caption, const QString& hint, int left);
    // A white strip showing `picture` from the program's "Images" folder when it exists.
    TPictureStrip* Strip(const char* name, const char* picture, int bandWidth = 0,
                         Qt::Alignment side = Qt::AlignLeft);
    // Places the aligned children: strips at the top and bottom, borders at
    // the sides, the box in what is left.
    void AlignChildren();
    template <typename T>
    void SetInfo(T& field, const T& value);

    std::filesystem::path FProgramFolder;
    int FLeftBorderWidth;
    TGetSoundDataResult FScorer;
    QString FInfoText;
    QString FInfoFontName;
    QColor FInfoColor = Qt::black;
    int FInfoSize = 0;
    int FInfoTop = 0;
    int FInfoLeft = 0;
    QString FWaveFilePath;
    int FMainSoundSpeed = 0;
    int FMainSoundFreq = 0;
    int FTopStripHeight = 20;
};

}  // namespace ov
