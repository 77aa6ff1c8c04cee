#pragma once

#include <QList>
#include <QWidget>

class QPushButton;

namespace ov {

// The operation bar: the ten operation buttons of the study functions, shown
// from the left as each function needs them, and the exit button that keeps
// 25 px from the right edge.
class OperationBar : public QWidget {
    Q_OBJECT

public:
    static constexpr int kButtonWidth = 75;
    static constexpr int kButtonHeight = 25;
    static constexpr int kFirstLeft = 20;
    static constexpr int kGap = 20;
    static constexpr int kTop = 8;
    static constexpr int kExitRightGap = 25;

    explicit OperationBar(QWidget* parent = nullptr);

    // Hides every operation button, then shows the given ones left to right.
    void ArrangeOperationButtons(const QList<QPushButton*>& buttons);
    const QList<QPushButton*>& OperationButtons() const { return operationButtons_; }

    QPushButton* BtnStart;
    QPushButton* BtnStop;
    QPushButton* BtnStudySing;
    QPushButton* BtnPiror;
    QPushButton* BtnNext;
    QPushButton* BtnRecord;
    QPushButton* BtnPlay;
    QPushButton* BtnCompare;
    QPushButton* BtnStat;
    QPushButton* BtnResult;
    QPushButton* BtnExit;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QPushButton* AddButton(const char* name, const QString& caption);

    QList<QPushButton*> operationButtons_;
};

}  // namespace ov
