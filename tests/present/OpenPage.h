#pragma once

#include <filesystem>
#include <string>

#include <QString>

#include "lesson/LessonRecords.h"
#include "present/PageView.h"
#include "support/TestFiles.h"

namespace ovtest {

// Writes a page into a lesson folder and activates the box on it, the way the
// study functions point a box at a decrypted page.
inline void OpenPage(ov::PageView& box, const std::filesystem::path& folder, const std::string& xml,
                     ov::TOVRule kind) {
    WriteFile(folder / "page.ovb", xml);
    const QString path = QString::fromStdString(folder.string());
    box.SetFilePath(path);
    box.SetImagePath(path);
    box.SetAudioPath(path + "/");
    box.SetFileName("page.ovb");
    box.SetRuleKind(kind);
    box.SetActive(true);
}

}  // namespace ovtest
