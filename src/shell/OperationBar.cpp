#include "shell/OperationBar.h"

#include <QPushButton>

namespace ov {

OperationBar::OperationBar(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PanelBottomShowOperation"));
    BtnStart = AddButton("BtnStart", QStringLiteral("开始"));
    BtnStop = AddButton("BtnStop", QStringLiteral("停止"));
    BtnStudySing = AddButton("BtnStudySing", QStringLiteral("学唱"));
    BtnPiror = AddButton("BtnPiror", QStringLiteral("<<"));
    BtnNext = AddButton("BtnNext", QStringLiteral(">>"));
    BtnRecord = AddButton("BtnRecord", QStringLiteral("录音"));
    BtnPlay = AddButton("BtnPlay", QStringLiteral("播放"));
    BtnCompare = AddButton("BtnCompare", QStringLiteral("对比"));
    BtnStat = AddButton("BtnStat", QStringLiteral("统计"));
    BtnResult = AddButton("BtnResult", QStringLiteral("答案"));
    operationButtons_ = {BtnStart, BtnStop, BtnStudySing, BtnPiror, BtnNext,
                         BtnRecord, BtnPlay, BtnCompare, BtnStat, BtnResult};

    BtnExit = new QPushButton(QStringLiteral("退出"), this);
    BtnExit->setObjectName(QStringLiteral("BtnExit"));
    BtnExit->setFixedSize(kButtonWidth, kButtonHeight);
    BtnExit->setCursor(Qt::PointingHandCursor);
}

QPushButton* OperationBar::AddButton(const char* name, const QString& caption) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QString::fromLatin1(name));
    button->setFixedSize(kButtonWidth, kButtonHeight);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

void OperationBar::ArrangeOperationButtons(const QList<QPushButton*>& buttons) {
    for (QPushButton* button : operationButtons_) button->hide();
    int x = kFirstLeft;
    for (QPushButton* button : buttons) {
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
