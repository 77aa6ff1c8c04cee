#pragma once

#include <QLineEdit>

namespace ov {

// A one-line answer edit of a lesson page: borderless, in a colour that tells
// the pupil whether it was never touched, is being answered or was left.
class TAnswerEdit : public QLineEdit {
    Q_OBJECT

public:
    // The toolkit's colour numbers $FAA3F3, $F0CAA6 and $AAECC5.
    static inline const QColor kUntouched{0xF3, 0xA3, 0xFA};
    static inline const QColor kClicked{0xA6, 0xCA, 0xF0};
    static inline const QColor kLeft{0xC5, 0xEC, 0xAA};

    TAnswerEdit(QWidget* parent, int id);

    int Id() const { return id_; }
    void SetColor(const QColor& color);
    QColor Color() const;
    // Whether the edit holds text the pupil typed, not a chosen picture's word
    // or what the page wrote; an edit the pupil emptied holds none.
    bool ShowsTyping() const { return !typed_.isEmpty() && typed_ == text(); }

signals:
    void clicked();
    void exited();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    int id_;
    QString typed_;
};

}  // namespace ov
