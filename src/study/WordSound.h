#pragma once

#include <QObject>
#include <QTimer>

#include <memory>
#include <string>

#include "audio/SoundLibrary.h"
#include "study/WordDrill.h"

class QWidget;

namespace ov {

class WordMovie;

// Plays the drill's word sound files one at a time and tells when one has
// played to its end. ".swf" files play as hidden movies on the host widget,
// everything else through the sound library, which has no signals and is
// asked on a timer.
class WordSound : public QObject {
    Q_OBJECT

public:
    explicit WordSound(QWidget* movieHost);
    ~WordSound() override;

    // Stops whatever plays first.
    WordDrillHost::SoundStart Play(const std::string& path);
    void Stop();

signals:
    void Finished();

private:
    void Poll();
    void MovieFinished();

    QWidget* movieHost_;
    QTimer poll_;
    SoundHandle channel_ = 0;
    std::unique_ptr<WordMovie> movie_;
};

}  // namespace ov
