#pragma once

#include <QWidget>

#include <utility>
#include <vector>

#include "lesson/LessonRecords.h"

class QPushButton;
class QVBoxLayout;

namespace ov {

// The column of study-function buttons in their four groups; it shows once a
// lesson is open. The button in use is the checked one.
class FunctionColumn : public QWidget {
    Q_OBJECT

public:
    static constexpr int kWidth = 164;

    explicit FunctionColumn(QWidget* parent = nullptr);

    // The buttons that open a study function, with the function each opens
    // (the word preview has its own panel and is not among them).
    const std::vector<std::pair<QPushButton*, TOVRule>>& FunctionButtons() const { return functionButtons_; }
    // The button of a study function; none for a function without one.
    QPushButton* Button(TOVRule kind) const;

    QPushButton* BtnWordRepare;

private:
    void AddHeading(const QString& text);
    QPushButton* AddButton(const char* name, const QString& caption);

    QVBoxLayout* layout_;
    std::vector<std::pair<QPushButton*, TOVRule>> functionButtons_;
};

}  // namespace ov
