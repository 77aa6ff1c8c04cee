#pragma once

#include <QObject>

#include <functional>

class QPushButton;
class QWidget;

namespace ov {

// The keys of a classroom: a presenter remote's Page Down / Page Up (and the
// arrows of a keyboard) turn the lesson page, Space starts and stops, F11
// toggles full screen for the projector. A key acts through the button it
// stands for, so it does what a click does, and nothing where that button is
// hidden or disabled. The focused control keeps the keys it needs: an edit, a
// spinner or a movie all of them, a list or tree its paging and arrows, a
// button its Space.
class ClassroomKeys : public QObject {
    Q_OBJECT

public:
    struct Buttons {
        QPushButton* priorPage;
        QPushButton* nextPage;
        QPushButton* start;
        QPushButton* stop;
    };

    // `onLessonPage`: a lesson page is showing. `running`: what "开始"
    // started is still going, so Space means "停止".
    ClassroomKeys(QWidget* window, Buttons buttons, std::function<bool()> onLessonPage,
                  std::function<bool()> running);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool KeyPressed(int key, bool repeated);

    QWidget* window_;
    Buttons buttons_;
    std::function<bool()> onLessonPage_;
    std::function<bool()> running_;
};

}  // namespace ov
