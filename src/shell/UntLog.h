#pragma once

#include <QWidget>

namespace ov {

// The splash window shown while the player starts.
class TFrmLog : public QWidget {
    Q_OBJECT

public:
    static constexpr int kWidth = 692;
    static constexpr int kHeight = 405;

    TFrmLog();

    // Shows the window centred on the screen and returns only once it has
    // been painted on the screen, so a wait that follows shows it.
    void ShowPainted();

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace ov
