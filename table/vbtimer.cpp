#include "table/vbtimer.h"

VbTimer::VbTimer(bool enabled, Int16 interval, QObject* parent)
    : QObject(parent), enabled_(enabled), interval_(interval)
{
    // The pacing that a player sees is a few hundred milliseconds; coarse timers would show.
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &VbTimer::Timer);
    rearm();
}

void VbTimer::setInterval(Int16 milliseconds)
{
    interval_ = milliseconds;
    rearm();
}

void VbTimer::setEnabled(bool enabled)
{
    enabled_ = enabled;
    rearm();
}

void VbTimer::rearm()
{
    if (enabled_ && interval_ > 0)
        timer_.start(interval_);
    else
        timer_.stop();
}
