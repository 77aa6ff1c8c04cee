#pragma once

#include <QString>

#include <functional>

class QApplication;

namespace ov {

struct StartOptions {
    // Where the single-instance lock and socket live; empty: the user's runtime folder.
    QString instanceFolder;
    int splashMs = 3000;
    // Tells the pupil that another copy runs; by default an ownerless message box.
    std::function<void()> alreadyRunning;
};

// The player's run from the single-instance check to the end of the message
// loop; returns the process's exit code.
int RunPlayer(QApplication& app, StartOptions options = {});

}  // namespace ov
