#pragma once

#include <QWidget>

namespace ov {

// The splash window shown while the player starts.
class SplashWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr int kWidth = 692;
    static constexpr int kHeight = 405;

    SplashWindow();

    void ShowCentred();

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace ov
