#include "present/PageFont.h"

namespace ov {

QFont PageFont(const TXMLFont& font, const QFont& base) {
    QFont result = base;
    if (!font.Name.empty()) result.setFamily(QString::fromStdString(font.Name));
    if (font.Size > 0) result.setPixelSize((font.Size * 96 + 36) / 72);
    return result;
}

}  // namespace ov
