#pragma once

#include "speech/ReadingFeedback.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QThread>

#include <atomic>
#include <memory>
#include <optional>

namespace ov {

class SentenceWord;
class SoundInfoPanel;

// Which words of the sentence(s) the pupil just compared came through in the
// recording. The analysis runs on a worker thread, which also loads the
// recogniser the first time; the window never waits. Missed words get a wavy
// underline and the info panel's count shows how many were heard, until
// Clear. Starting again or clearing abandons an analysis under way.
class ReadingCheck : public QObject {
    Q_OBJECT

public:
    explicit ReadingCheck(SoundInfoPanel& info, QObject* parent = nullptr);
    ~ReadingCheck() override;

    void Start(const QList<SentenceWord*>& words, const QString& recording);
    void Clear();
    // An analysis was started and has not ended or been abandoned.
    bool Busy() const { return busy_; }

signals:
    // The feedback shown, once per finished analysis.
    void judged(const ov::ReadingFeedback& feedback);

private:
    void Show(int generation, const std::optional<ReadingFeedback>& result);

    SoundInfoPanel& info_;
    QList<QPointer<SentenceWord>> words_;
    QThread thread_;
    QObject* worker_;
    // The analysis whose result is still wanted; older ones stop at their next step.
    std::shared_ptr<std::atomic<int>> wanted_;
    bool busy_ = false;
};

}  // namespace ov
