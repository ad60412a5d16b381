#include "ui/timer.h"

namespace ui {

TimerControl::TimerControl(QObject* parent) : QObject(parent)
{
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &TimerControl::Timer);
}

void TimerControl::SetEnabled(bool enabled)
{
    enabled_ = enabled;
    Restart();
}

void TimerControl::SetInterval(int milliseconds)
{
    interval_ = milliseconds;
    Restart();
}

// Either change starts a new period from now, as a parent choosing another
// period expects.
void TimerControl::Restart()
{
    if (enabled_ && interval_ > 0)
        timer_.start(interval_);
    else
        timer_.stop();
}

}  // namespace ui
