#pragma once

#include <QStringList>
#include <QWidget>

class QLabel;
class QPushButton;

namespace ov {

// What the content area shows until the first lesson opens: where to begin,
// the lesson the pupil opened last, or, on a computer without courseware,
// how a teacher adds some.
class StartScreen : public QWidget {
    Q_OBJECT

public:
    explicit StartScreen(QWidget* parent = nullptr);

    // Asks the pupil to pick a lesson on the left. `lastLesson` (textbook,
    // unit and lesson, top down) is offered to open again when not empty.
    void AskForLesson(const QStringList& lastLesson = {});
    // There is no lesson to pick at all.
    void TellNoCourseware();

    QLabel* Heading;
    QLabel* Guide;
    QWidget* ResumeBox;
    QLabel* ResumeWhere;
    QPushButton* BtnResume;

signals:
    void resumeClicked();
};

}  // namespace ov
