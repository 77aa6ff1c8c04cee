#pragma once

#include <QString>

namespace ov {

// The caption of the main window and the title of the splash.
inline QString ApplicationTitle() { return QStringLiteral("朗悦行教材(电脑)学习机"); }

}  // namespace ov
