#pragma once

#include <QTimer>
#include <QWidget>

#include <string>

#include "study/StudyState.h"
#include "study/WordDrill.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

namespace ov {

class LessonData;
class WordSound;

// The word panel: the card with the word, its phonetic symbol and meaning,
// the count line, the example sentence, the spelling field and the drill
// that walks through the lesson's words aloud.
class TWordPanel : public QWidget, private WordDrillHost {
    Q_OBJECT

public:
    static constexpr int kTopHeight = 241;
    static constexpr int kCardWidth = 554;
    static constexpr int kCardHeight = 161;
    static constexpr int kPenStep = 4;
    static constexpr int kBeforeWordMs = WordDrill::kBeforeWordMs;

    TWordPanel(LessonData& dm, StudyState& state, QWidget* parent = nullptr);

    // The data side of the word preview: the lesson's word list at its first
    // word. A running drill ends; otherwise nothing changes when the lesson
    // has no usable word database.
    void ShowWordList(const std::string& classPath);
    // Ends the preview and a running drill.
    void CloseWordList();
    // Ends a running drill at once, its sound too.
    void EndDrill();
    const WordDrill& Drill() const { return drill_; }

    void BtnWordStartClick();
    void BtnWordPauseClick();
    void BtnWordStopClick();
    void PWordRightTopResize();

    QWidget* PWordRightTop;
    QWidget* PanelWordShow;
    QWidget* WordCard;
    QLineEdit* WordEdit;
    QLineEdit* PhoneticEdit;
    QLineEdit* MeaningEdit;
    QLabel* CountLead;
    QLabel* WordTotal;
    QLabel* CountMiddle;
    QLabel* WordNumber;
    QLabel* CountTail;
    QLabel* RepeatLabel;
    QSpinBox* RepeatSpinner;
    QLabel* IntervalLabel;
    QSpinBox* IntervalSpinner;
    QPlainTextEdit* ExampleMemo;
    QWidget* PanelWordSet;
    QLabel* SpellingLabel;
    QLabel* ImagePen;
    QLineEdit* SpellingEdit;
    QPushButton* BtnWordStart;
    QPushButton* BtnWordPause;
    QPushButton* BtnWordStop;

signals:
    // One more pass of the drill through the lesson's words.
    void drillPassCompleted(int words);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildCard();
    QWidget* BuildCountLine();
    QWidget* BuildSettings();
    void BuildSpelling();
    void ShowRecord(int index);

    void ShowWord(int index) override;
    void RaisePen(bool raised) override;
    SoundStart PlaySound(const std::string& path) override;
    void StopSound() override;
    void StartWait(int ms) override;
    void CancelWait() override;
    void PassCompleted(int words) override;

    LessonData& dm_;
    StudyState& state_;
    WordDrill drill_;
    QTimer wait_;
    WordSound* sound_;
};

}  // namespace ov
