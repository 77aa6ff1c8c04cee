#include "present/PictureItem.h"

#include <QImageReader>
#include <QMouseEvent>
#include <QPainter>

namespace ov {

QImage ReadPicture(const QString& path) {
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    return reader.read();
}

TPictureItem::TPictureItem(QWidget* parent, const TRImage& record) : QLabel(parent), record_(record) {
    const std::string& name = record.Key.empty() ? record.Name : record.Key;
    setAccessibleName(QString::fromStdString(name));
}

bool TPictureItem::LoadPicture(const QString& path) {
    QImage picture = ReadPicture(path);
    if (picture.isNull()) return false;
    SetPicture(std::move(picture));
    return true;
}

void TPictureItem::SetPicture(QImage picture) {
    picture_ = std::move(picture);
    update();
}

void TPictureItem::paintEvent(QPaintEvent*) {
    if (picture_.isNull()) return;
    QPainter painter(this);
    painter.drawImage(0, 0, picture_);
}

void TPictureItem::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
    event->accept();
}

}  // namespace ov
