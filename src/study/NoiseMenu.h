#pragma once

#include <QString>

#include <filesystem>

class QMenu;

namespace ov {

class PageView;

// The caption of the menu item that ends the scene sound.
inline const QString kNoNoiseCaption = QStringLiteral("无场景音");

// Fills the menu with "无场景音" and one item per scene-sound file of the
// folder, by name, the caption being the name up to its first "."; each item
// carries its file's full path as data. Sub-folders are not offered, and the
// menu stays empty when the folder is missing or holds no file. The process's
// current folder is left alone.
void BuildNoiseMenu(const std::filesystem::path& folder, QMenu& menu);

// Chooses the scene sound of an item: stops the lesson and scene sounds, then
// plays folder/name.wav in a loop, where name is the caption up to its first
// "("; when that file does not exist, the listed file itself. "无场景音"
// leaves the scene sound off.
void NoiseMenuClick(PageView& box, const std::filesystem::path& folder, const QString& caption,
                    const QString& listedFile);

// The volume spinner runs from -50 to 50: the scene sound's 0 to 1000.
int NoiseValueFor(int spinnerValue);
// The speed spinner runs from -30 to 30: the speech speed 70 to 130 percent.
int SoundSpeedFor(int spinnerValue);

}  // namespace ov
