#pragma once

#include <QPixmap>

namespace ov {

// The 32 x 32 pen beside the spelling field, drawn in the window's colours.
QPixmap PenPicture();

}  // namespace ov
