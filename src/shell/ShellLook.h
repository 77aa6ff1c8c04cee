#pragma once

class QApplication;

namespace ov {

// Interface font, the substitutes for the lesson faces the courseware names,
// and the style sheet of every window of the player.
void ApplyShellLook(QApplication& app);

}  // namespace ov
