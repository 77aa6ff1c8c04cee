#pragma once

#include <QFrame>
#include <QString>

namespace ov {

// A framed area naming a movie's file: what a movie's rectangle shows while
// the movie loads, and for good when it cannot be played.
class TMoviePlaceholder : public QFrame {
    Q_OBJECT

public:
    explicit TMoviePlaceholder(QWidget* parent);

    void SetFileName(const QString& path);

protected:
    void paintEvent(QPaintEvent* event) override;
    // Tells the pupil, once for this rectangle, that the movie `name` cannot
    // be played.
    void TellUnplayable(const QString& name);

private:
    QString fileName_;
    bool told_ = false;
};

}  // namespace ov
