#pragma once

#include <QDateTime>

namespace platform {

// The time of day as the program sees it. Timers call public tick functions, and tests
// call those directly with a clock they set.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

Clock &clock();
// Installs `replacement` (not owned); nullptr restores the system clock.
void setClock(Clock *replacement);

} // namespace platform
