#include "present/PictureStrip.h"

#include <QPainter>

namespace ov {

TPictureStrip::TPictureStrip(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    setPalette(QPalette(Qt::white));
}

void TPictureStrip::ShowPicture(const std::filesystem::path& file, int bandWidth, Qt::Alignment side) {
    FBandWidth = bandWidth;
    FSide = side;
    if (std::filesystem::is_regular_file(file)) FPicture.load(QString::fromStdString(file.string()));
    update();
}

QRect TPictureStrip::PictureRect() const {
    if (FBandWidth <= 0) return rect();
    const int left = FSide == Qt::AlignRight ? width() - FBandWidth : 0;
    return QRect(left, 0, FBandWidth, height()).intersected(rect());
}

void TPictureStrip::paintEvent(QPaintEvent*) {
    if (FPicture.isNull()) return;
    QPainter(this).drawPixmap(PictureRect(), FPicture);
}

}  // namespace ov
