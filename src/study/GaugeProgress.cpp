#include "study/GaugeProgress.h"

#include <QCoreApplication>
#include <QProgressBar>

namespace ov {

void GaugeProgress::SetMinimum(int value) { bar_->setMinimum(value); }

void GaugeProgress::SetMaximum(int value) { bar_->setMaximum(value); }

void GaugeProgress::SetPosition(int value) {
    bar_->setValue(value);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

int GaugeProgress::Maximum() const { return bar_->maximum(); }

}  // namespace ov
