#include "present/PictureItem.h"

#include <QImageReader>
#include <QMouseEvent>
#include <QPainter>

namespace ov {

TPictureItem::TPictureItem(QWidget* parent, const TRImage& record) : QLabel(parent), record_(record) {
    const std::string& name = record.Key.empty() ? record.Name : record.Key;
    setAccessibleName(QString::fromStdString(name));
}

bool TPictureItem::LoadPicture(const QString& path) {
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    if (!reader.canRead()) return false;
    path_ = path;
    picture_ = QImage();
    decoded_ = false;
    update();
    return true;
}

const QImage& TPictureItem::Picture() const {
    if (!decoded_) {
        QImageReader reader(path_);
        reader.setDecideFormatFromContent(true);
        picture_ = reader.read();
        decoded_ = true;
    }
    return picture_;
}

void TPictureItem::paintEvent(QPaintEvent*) {
    if (Picture().isNull()) return;
    QPainter painter(this);
    // Page positions are device-independent: on a high-density screen the
    // picture is scaled up, and smoothly rather than in blocks.
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(0, 0, picture_);
}

void TPictureItem::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
    event->accept();
}

}  // namespace ov
