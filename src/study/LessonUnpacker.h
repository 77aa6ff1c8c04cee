#pragma once

#include <QObject>

#include <string>
#include <thread>

namespace ov {

// Unpacks a lesson's class package on a worker thread, so the window goes on
// painting and answering while a large lesson is written. Its signals reach
// their receivers on the thread this object lives on.
class LessonUnpacker : public QObject {
    Q_OBJECT

public:
    explicit LessonUnpacker(QObject* parent = nullptr);
    // Waits for an unpacking under way: its files must not be written into a
    // folder the window is no longer there to clean.
    ~LessonUnpacker() override;

    // From Start() until Finished() has been delivered.
    bool Running() const { return running_; }
    // Ignored while running. The bar ends full on success; emptying it is the
    // receiver's affair.
    void Start(const std::string& package, const std::string& destination);

signals:
    void RangeChanged(int minimum, int maximum);
    void PositionChanged(int position);
    void Finished(bool whole);

private:
    void Done(bool whole);
    void Join();

    std::thread worker_;
    bool running_ = false;
};

}  // namespace ov
