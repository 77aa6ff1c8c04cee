#pragma once

#include "lesson/UntRule.h"

#include <QImage>
#include <QLabel>

namespace ov {

// Reads a picture by its content (JPEG, BMP, GIF, PNG), whatever its name
// says; a null image when the file is missing or unreadable.
QImage ReadPicture(const QString& path);

// A picture of a lesson page: drawn at its natural size from the top left,
// cut off by the control's bounds, never stretched. It owns its image record.
class TPictureItem : public QLabel {
    Q_OBJECT

public:
    TPictureItem(QWidget* parent, const TRImage& record);

    TRImage& Record() { return record_; }
    const TRImage& Record() const { return record_; }

    // Replaces the picture from a file; false (and the old picture kept) when
    // the file cannot be read.
    bool LoadPicture(const QString& path);
    void SetPicture(QImage picture);
    const QImage& Picture() const { return picture_; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    TRImage record_;
    QImage picture_;
};

}  // namespace ov
