#pragma once

#include <QIcon>
#include <QList>
#include <QPixmap>
#include <QRectF>

class QPainter;

namespace ov {

// The program has no picture files: the few pictures it shows are drawn here.

enum class TopBarPicture { Shop, Home, Record, Help, Minimise, Close };

QIcon TopBarIcon(TopBarPicture picture);

// The catalogue tree's pictures by level: textbook, grade, unit, lesson.
QList<QIcon> CatalogueIcons();

// Round hint ("i") or question ("?") mark of the message dialog.
QPixmap MessageMark(bool question, int size);

// The sky-blue gradient of the frame, from top-left to bottom-right.
void PaintSkyGradient(QPainter& painter, const QRectF& area);

// An open book, the program's mark, in white lines within `area`.
void PaintBookMark(QPainter& painter, const QRectF& area);

// A small badge of the program (mark and name) for the corner of the operation bar.
QPixmap ProgramBadge(QSize size);

// The program's mark on a square sky-blue tile, for the start screen.
QPixmap ProgramTile(int size);

}  // namespace ov
