#include "platform/Clock.h"

namespace platform {

namespace {

class SystemClock final : public Clock
{
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

Clock *installed = nullptr;

} // namespace

Clock &clock()
{
    static SystemClock system;
    return installed ? *installed : system;
}

void setClock(Clock *replacement)
{
    installed = replacement;
}

} // namespace platform
