#pragma once

#include "table/vbtypes.h"

#include <QObject>
#include <QTimer>

// A timer as the game uses it: it ticks once after its interval while enabled, and an interval
// of 0 means stopped.
class VbTimer : public QObject
{
    Q_OBJECT
public:
    VbTimer(bool enabled, Int16 interval, QObject* parent);

    Int16 Interval() const { return interval_; }
    void setInterval(Int16 milliseconds);
    bool Enabled() const { return enabled_; }
    void setEnabled(bool enabled);
    bool isArmed() const { return timer_.isActive(); }

signals:
    void Timer();

private:
    void rearm();

    QTimer timer_;
    bool enabled_;
    Int16 interval_;
};
