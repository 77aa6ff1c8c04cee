#include "shell/OperationBar.h"

#include <QPushButton>

namespace ov {

OperationBar::OperationBar(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PanelBottomShowOperation"));
    using B = TOperationButton;
    BtnStart = AddButton(B::Start, "BtnStart", QStringLiteral("开始"));
    BtnStop = AddButton(B::Stop, "BtnStop", QStringLiteral("停止"));
    BtnStudySing = AddButton(B::StudySing, "BtnStudySing", QStringLiteral("学唱"));
    BtnPrior = AddButton(B::Prior, "BtnPrior", QStringLiteral("<<"));
    BtnNext = AddButton(B::Next, "BtnNext", QStringLiteral(">>"));
    BtnRecord = AddButton(B::Record, "BtnRecord", QStringLiteral("录音"));
    BtnPlay = AddButton(B::Play, "BtnPlay", QStringLiteral("播放"));
    BtnCompare = AddButton(B::Compare, "BtnCompare", QStringLiteral("对比"));
    BtnStat = AddButton(B::Stat, "BtnStat", QStringLiteral("统计"));
    BtnResult = AddButton(B::Result, "BtnResult", QStringLiteral("答案"));

    BtnExit = new QPushButton(QStringLiteral("退出"), this);
    BtnExit->setObjectName(QStringLiteral("BtnExit"));
    BtnExit->setFixedSize(kButtonWidth, kButtonHeight);
    BtnExit->setCursor(Qt::PointingHandCursor);
}

QPushButton* OperationBar::AddButton(TOperationButton which, const char* name, const QString& caption) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QString::fromLatin1(name));
    button->setFixedSize(kButtonWidth, kButtonHeight);
    button->setCursor(Qt::PointingHandCursor);
    connect(button, &QPushButton::clicked, this, [this, which] { emit triggered(which); });
    buttons_[which] = button;
    operationButtons_.append(button);
    return button;
}

void OperationBar::ArrangeOperationButtons(const std::vector<TOperationButton>& shown) {
    for (QPushButton* button : operationButtons_) button->hide();
    int x = kFirstLeft;
    for (TOperationButton which : shown) {
        QPushButton* button = Button(which);
        button->move(x, kTop);
        button->show();
        x += button->width() + kGap;
    }
}

void OperationBar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    BtnExit->move(width() - BtnExit->width() - kExitRightGap, kTop);
}

}  // namespace ov
