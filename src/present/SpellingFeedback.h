#pragma once

#include <QLabel>
#include <QString>

namespace ov {

class TAnswerEdit;

// The line under a wrong answer that shows the pupil's text against the
// expected one, letter by letter: right letters plain, wrong ones red, left
// out ones as grey underscores where they belong, extra ones red and struck
// through. It never says which letter was left out: the answer button does.
class SpellingFeedback : public QLabel {
    Q_OBJECT

public:
    SpellingFeedback(QWidget* page, const TAnswerEdit& edit, const QString& answer);

    // The edit it explains; compared, never followed, as the page may free it first.
    const TAnswerEdit* Edit() const { return edit_; }

private:
    const TAnswerEdit* edit_;
};

}  // namespace ov
