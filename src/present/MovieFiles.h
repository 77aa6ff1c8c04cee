#pragma once

#include <QString>

namespace ov {

// Where the movie player's web files are: OV_RUFFLE_DIR, else beside an
// installed program (<exe dir>/../share/ovplayer/ruffle), else the build
// tree's copy. Empty when none of them holds the player.
QString RuffleFolder();

// A Chinese TrueType font for the device-font text of movies, and its family
// name. Ruffle cannot read font collections (.ttc), so the Song face of the
// Arphic package serves. Empty when it is not installed.
QString MovieFontFile();
QString MovieFontFamily();

// True when the file starts as a Flash movie does: uncompressed ("FWS"),
// zlib ("CWS") or LZMA ("ZWS"). Catches missing files and other formats
// before any web engine is started for them.
bool LooksLikeSwf(const QString& path);

}  // namespace ov
