#include "ManualClock.h"

ManualClock::ManualClock(const QDateTime &start)
    : m_now(start)
{
    platform::setClock(this);
}

ManualClock::~ManualClock()
{
    platform::setClock(nullptr);
}
