#pragma once

#include <QString>

class QWidget;

namespace ov {

// Plays a word's Flash movie in a movie control hidden on host and waits,
// handling the window's events, until the movie has stopped or played its
// length (frame count / frame rate) once loaded, and never more than that
// length and a second. False when the movie cannot be played (the control
// has told the pupil).
bool PlayWordMovie(const QString& path, QWidget* host);

}  // namespace ov
