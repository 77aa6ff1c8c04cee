#pragma once

#include <QString>

#include <memory>
#include <optional>

class QSettings;

namespace ov {

// The program's stored values (ShowStyle, NewFolder, OldFolder) live in an INI
// file of the organisation "Orvane" in the user's configuration folder.
std::unique_ptr<QSettings> OpenOrvaneSettings();

// The opening style that follows the stored one: the cycle runs 1..16 and
// starts again at 1 after 16, when nothing is stored, or when the stored text
// is not a number of that cycle.
int NextShowStyle(const QString& stored);

// Advances the stored ShowStyle and returns the style to animate with; nothing
// when the settings cannot be written, so the window opens without animation.
std::optional<int> AdvanceShowStyle(QSettings& settings);

// The letter folders under Resources: the one opened last and the one before.
struct FolderLetters {
    QString newFolder;
    QString oldFolder;
};

FolderLetters ReadFolderLetters(QSettings& settings);
bool WriteFolderLetters(QSettings& settings, const FolderLetters& letters);

// The catalogue code of the lesson the pupil opened last (LastLesson); empty
// before the first. It is written through at once, so a player that is killed
// still offers the lesson at its next start.
QString ReadLastLesson(QSettings& settings);
bool WriteLastLesson(QSettings& settings, const QString& code);

}  // namespace ov
