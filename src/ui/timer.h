#pragma once

#include <QObject>
#include <QTimer>

namespace ui {

// A timer that ticks every Interval milliseconds while enabled; an interval
// of 0 means it never ticks (a bare QTimer with interval 0 ticks on every
// pass of the event loop).
class TimerControl : public QObject {
    Q_OBJECT
public:
    explicit TimerControl(QObject* parent = nullptr);

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    int Interval() const { return interval_; }
    void SetInterval(int milliseconds);
    bool IsTicking() const { return timer_.isActive(); }

signals:
    void Timer();

private:
    void Restart();

    QTimer timer_;
    bool enabled_ = true;
    int interval_ = 0;
};

}  // namespace ui
