#include "platform/WebEngineSandbox.h"

#include <QByteArray>
#include <QtGlobal>
#include <unistd.h>

namespace platform {

void allowWebPagesForAdministrator()
{
    if (::geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
}

} // namespace platform
