#pragma once

#include <QPixmap>
#include <QWidget>

#include <filesystem>

namespace ov {

// A plain white strip of the lesson panel that may show a decorative
// picture, stretched over the whole strip or over a band at one side. The
// picture never makes the strip wider.
class TPictureStrip : public QWidget {
    Q_OBJECT

public:
    explicit TPictureStrip(QWidget* parent = nullptr);

    // A missing or unreadable file leaves the strip white. `bandWidth` 0
    // stretches the picture over the whole strip; otherwise it fills a band
    // that wide at the `side` edge (Qt::AlignLeft or Qt::AlignRight).
    void ShowPicture(const std::filesystem::path& file, int bandWidth = 0, Qt::Alignment side = Qt::AlignLeft);

    bool HasPicture() const { return !FPicture.isNull(); }
    // Where the picture is drawn, in the strip's coordinates.
    QRect PictureRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap FPicture;
    int FBandWidth = 0;
    Qt::Alignment FSide = Qt::AlignLeft;
};

}  // namespace ov
