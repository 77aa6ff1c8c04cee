#pragma once

#include "store/ClassZip.h"

class QProgressBar;

namespace ov {

// Shows the unpacking on the side panel's bar. Each step lets the window
// repaint, but the pupil's clicks wait until the lesson is unpacked.
class GaugeProgress : public ProgressSink {
public:
    explicit GaugeProgress(QProgressBar* bar) : bar_(bar) {}

    void SetMinimum(int value) override;
    void SetMaximum(int value) override;
    void SetPosition(int value) override;
    int Maximum() const override;

private:
    QProgressBar* bar_;
};

}  // namespace ov
