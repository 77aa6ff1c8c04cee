#pragma once

#include <QWidget>

class QToolButton;

namespace ov {

// The top bar: the program's mark and title on the sky gradient, and on the
// right the group TopButtons with the shop, home page, learning record, help
// and close buttons (and a minimise button, as the window has no frame of its
// own).
class TopBarPanel : public QWidget {
    Q_OBJECT

public:
    static constexpr int kHeight = 73;

    explicit TopBarPanel(QWidget* parent = nullptr);

    QWidget* TopButtons;
    QToolButton* ShopButton;
    QToolButton* HomeButton;
    QToolButton* RecordButton;
    QToolButton* HelpButton;
    QToolButton* BtnMinimise;
    QToolButton* CloseButton;

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace ov
