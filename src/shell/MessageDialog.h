#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace ov {

// The player's one message dialog: a hint (kind 0, "确定") or a question
// (kind 1, "确定" and "取消") on a 264 x 135 client area, taller only when the
// text needs more lines than fit above the buttons.
class MessageDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 264;
    static constexpr int kClientHeight = 135;
    static constexpr int kOkResult = 1;
    static constexpr int kCancelResult = 2;

    explicit MessageDialog(QWidget* parent = nullptr);

    // Caption, text and buttons for one message of the given kind.
    void Prepare(const QString& caption, const QString& text, int kind);

    QLabel* ImageHint;
    QLabel* ImageQuestion;
    QLabel* lbHint;
    QPushButton* BtnOK;
    QPushButton* BtnCancel;
    QWidget* PanelClose;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void PlaceButtons(int kind);
    void FitText(const QString& text);
    // Grows the dialog downwards until the whole text shows above the buttons.
    void MakeRoomForText();

    int FGrowth = 0;
};

}  // namespace ov
