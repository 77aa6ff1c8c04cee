#pragma once

#include <QWidget>

#include <string>

#include "study/ClassShowState.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

namespace ov {

class SqliteQuery;
class TFrmDM;

// The word panel: the card with the word, its phonetic symbol and meaning,
// the count line, the example sentence, the spelling field and the drill
// that walks through the lesson's words aloud.
class TWordPanel : public QWidget {
    Q_OBJECT

public:
    static constexpr int kTopHeight = 241;
    static constexpr int kCardWidth = 554;
    static constexpr int kCardHeight = 161;
    static constexpr int kPenStep = 4;
    static constexpr int kBeforeWordMs = 1000;

    TWordPanel(TFrmDM& dm, TClassShowState& state, QWidget* parent = nullptr);

    // The data side of the word preview: the lesson's word list at its first
    // word. Nothing changes when the lesson has no usable word database.
    void ShowWordList(const std::string& classPath);
    // Ends the preview: the drill stops at its next check.
    void CloseWordList();

    void BtnWordStartClick();
    void BtnWordPauseClick();
    void BtnWordStopClick();
    void PWordRightTopResize();

    QWidget* PWordRightTop;
    QWidget* PanelWordShow;
    QWidget* RzPanelWordTopShow;
    QLineEdit* RzExpandEdit1;
    QLineEdit* RzExpandEdit2;
    QLineEdit* RzExpandEdit3;
    QLabel* RzLabel5;
    QLabel* RzLabel7;
    QLabel* RzLabel8;
    QLabel* RzLabel9;
    QLabel* RzLabel10;
    QLabel* RzLabel15;
    QSpinBox* SeSkinSpinEdit1;
    QLabel* RzLabel16;
    QSpinBox* SeSkinSpinEdit2;
    QPlainTextEdit* RzMemo1;
    QWidget* PanelWordSet;
    QLabel* RzLabel14;
    QLabel* ImagePen;
    QLineEdit* EdtWirteWord;
    QPushButton* BtnWordStart;
    QPushButton* BtnWordPause;
    QPushButton* BtnWordStop;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildCard();
    QWidget* BuildCountLine();
    QWidget* BuildSettings();
    void BuildSpelling();
    void ShowRecord();
    // Plays the word's sound files in order; false when the drill must end.
    bool PlayWordSounds(const std::string& word);
    SqliteQuery& Query();

    TFrmDM& dm_;
    TClassShowState& state_;
    std::string classPath_;
};

}  // namespace ov
