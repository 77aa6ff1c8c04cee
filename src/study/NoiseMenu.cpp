#include "study/NoiseMenu.h"

#include "present/PageSound.h"
#include "present/ScriptPlayer.h"
#include "present/PageView.h"

#include <QMenu>

#include <algorithm>
#include <system_error>
#include <vector>

namespace ov {

void BuildNoiseMenu(const std::filesystem::path& folder, QMenu& menu) {
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
        if (entry.is_regular_file(ec)) files.push_back(entry.path());
    if (files.empty()) return;
    std::sort(files.begin(), files.end());
    menu.addAction(kNoNoiseCaption);
    for (const auto& file : files) {
        const std::string name = file.filename().string();
        QAction* item = menu.addAction(QString::fromStdString(name.substr(0, name.find('.'))));
        item->setData(QString::fromStdString(file.string()));
    }
}

void NoiseMenuClick(PageView& box, const std::filesystem::path& folder, const QString& caption,
                    const QString& listedFile) {
    box.Sound().CloseAll();
    const QString name = caption.left(caption.indexOf(QLatin1Char('(')));
    if (name == kNoNoiseCaption) {
        box.SetNoiseName(QString());
    } else {
        const std::filesystem::path wave = folder / (name.toStdString() + ".wav");
        std::error_code ec;
        box.SetNoiseName(std::filesystem::exists(wave, ec) ? QString::fromStdString(wave.string()) : listedFile);
    }
    box.Sound().LoopScene();
}

int NoiseValueFor(int spinnerValue) { return spinnerValue * 10 + 500; }

int SoundSpeedFor(int spinnerValue) { return spinnerValue + 100; }

}  // namespace ov
