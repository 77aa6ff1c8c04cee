#pragma once

#include <QColor>
#include <QWidget>

namespace ov {

// A rectangle shape: a white fill inside a one-pixel pen, like the frames of a
// lesson page and the drop caret of word dragging.
class TRectShape : public QWidget {
    Q_OBJECT

public:
    TRectShape(QWidget* parent, QColor pen);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor pen_;
};

}  // namespace ov
