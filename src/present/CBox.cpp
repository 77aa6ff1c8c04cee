#include "present/CBox.h"

#include "core/MessageHook.h"
#include "lesson/ChXMLA.h"
#include "present/RectShape.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

namespace ov {

TCBox::TCBox(QWidget* parent) : QScrollArea(parent), page_(new QWidget) {
    setFrameShape(QFrame::NoFrame);
    page_->setAutoFillBackground(true);
    QPalette white = page_->palette();
    white.setColor(QPalette::Window, Qt::white);
    page_->setPalette(white);
    setWidget(page_);
    dropCaret_ = new TRectShape(page_, QColor(0, 0, 255));
    dropCaret_->resize(1, 20);
    dropCaret_->hide();
    dragLabel_ = new QLabel(page_);
    dragLabel_->setAttribute(Qt::WA_TranslucentBackground);
    dragLabel_->setStyleSheet(QStringLiteral("color: #008000; background: transparent;"));
    dragLabel_->hide();
    qApp->installEventFilter(this);
}

TCBox::~TCBox() {
    qApp->removeEventFilter(this);
    ClearItems();
}

void TCBox::SetActive(bool value) {
    if (value == active_) return;
    if (value) {
        Activate();
    } else {
        Deactivate();
    }
}

void TCBox::Activate() {
    ShowMessageEx("提示", "未找到资源文件", 0);
}

void TCBox::Deactivate() {
    ClearItems();
    document_.reset();
    active_ = false;
}

void TCBox::SetStopAction(bool value) { stopAction_ = value; }

void TCBox::ClearItems() {
    for (auto it = pageItems_.crbegin(); it != pageItems_.crend(); ++it) delete it->Control;
    pageItems_.clear();
    for (const TBoxItem& item : overlays_) delete item.Control;
    overlays_.clear();
}

void TCBox::PlayMovies() {}
void TCBox::StopMovies() {}
void TCBox::ItemClick(QWidget*) {}
void TCBox::EditChange(TAnswerEdit*) {}
void TCBox::EditExit(TAnswerEdit*) {}
void TCBox::WordMouseDown(TTimerLabel*) {}
void TCBox::WordMouseMove(TTimerLabel*, int) {}
void TCBox::WordMouseUp(TTimerLabel*) {}

void TCBox::wheelEvent(QWheelEvent* event) {
    QScrollBar* bar = verticalScrollBar();
    bar->setValue(bar->value() + (event->angleDelta().y() >= 0 ? -10 : 10));
    event->accept();
}

bool TCBox::eventFilter(QObject* watched, QEvent* event) {
    return QScrollArea::eventFilter(watched, event);
}

}  // namespace ov
