#pragma once

#include "lesson/LessonRecords.h"

#include <QImage>
#include <QLabel>

namespace ov {

// A picture of a lesson page: drawn at its natural size from the top left,
// cut off by the control's bounds, never stretched. It owns its image record.
// Files are recognised by their content (JPEG, BMP, GIF, PNG), whatever their
// names say, and decoded when first needed: a page shows its first screen
// without decoding the pictures further down.
class TPictureItem : public QLabel {
    Q_OBJECT

public:
    TPictureItem(QWidget* parent, const TRImage& record);

    TRImage& Record() { return record_; }
    const TRImage& Record() const { return record_; }

    // Replaces the picture from a file; false (and the old picture kept) when
    // the file is missing or holds no picture the program can read.
    bool LoadPicture(const QString& path);
    // The decoded picture, null when there is none or it cannot be decoded.
    const QImage& Picture() const;

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    TRImage record_;
    QString path_;
    mutable QImage picture_;
    mutable bool decoded_ = true;
};

}  // namespace ov
