#pragma once

#include <QList>
#include <QWidget>

#include <map>
#include <vector>

#include "present/StudyFunctions.h"

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
    void ArrangeOperationButtons(const std::vector<TOperationButton>& shown);
    QPushButton* Button(TOperationButton button) const { return buttons_.at(button); }
    const QList<QPushButton*>& OperationButtons() const { return operationButtons_; }

    QPushButton* BtnStart;
    QPushButton* BtnStop;
    QPushButton* BtnStudySing;
    QPushButton* BtnPrior;
    QPushButton* BtnNext;
    QPushButton* BtnRecord;
    QPushButton* BtnPlay;
    QPushButton* BtnCompare;
    QPushButton* BtnStat;
    QPushButton* BtnResult;
    QPushButton* BtnExit;

signals:
    // An operation button was pressed.
    void triggered(TOperationButton button);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QPushButton* AddButton(TOperationButton button, const char* name, const QString& caption);

    std::map<TOperationButton, QPushButton*> buttons_;
    QList<QPushButton*> operationButtons_;
};

}  // namespace ov
