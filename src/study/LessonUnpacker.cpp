#include "study/LessonUnpacker.h"

#include "store/ClassZip.h"

namespace ov {
namespace {

// The unpacker's side of the bar, on the worker thread: every change crosses
// to the bar's thread as a queued signal.
class QueuedBar : public ProgressSink {
public:
    explicit QueuedBar(LessonUnpacker& unpacker) : unpacker_(unpacker) {}

    void SetMinimum(int value) override {
        minimum_ = value;
        emit unpacker_.RangeChanged(minimum_, maximum_);
    }
    void SetMaximum(int value) override {
        maximum_ = value;
        emit unpacker_.RangeChanged(minimum_, maximum_);
    }
    void SetPosition(int value) override { emit unpacker_.PositionChanged(value); }
    int Maximum() const override { return maximum_; }

private:
    LessonUnpacker& unpacker_;
    int minimum_ = 0;
    int maximum_ = 100;
};

}  // namespace

LessonUnpacker::LessonUnpacker(QObject* parent) : QObject(parent) {}

LessonUnpacker::~LessonUnpacker() { Join(); }

void LessonUnpacker::Start(const std::string& package, const std::string& destination) {
    if (running_) return;
    Join();
    running_ = true;
    worker_ = std::thread([this, package, destination] {
        QueuedBar bar(*this);
        TClassZip zip;
        zip.LeaveBarFull = true;
        const bool whole = zip.Unpack(package, destination, &bar);
        // One call on this object's thread: no receiver of Finished can see
        // it running still, nor between the end and the receivers' answers.
        QMetaObject::invokeMethod(this, [this, whole] { Done(whole); }, Qt::QueuedConnection);
    });
}

void LessonUnpacker::Done(bool whole) {
    Join();
    running_ = false;
    emit Finished(whole);
}

void LessonUnpacker::Join() {
    if (worker_.joinable()) worker_.join();
}

}  // namespace ov
