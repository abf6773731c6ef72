#include "platform/Shell.h"

#include "platform/DesktopShell.h"

#include <QStandardPaths>

namespace platform {

namespace {
Shell *installed = nullptr;
}

Shell &shell()
{
    static DesktopShell desktop;
    return installed ? *installed : desktop;
}

void setShell(Shell *replacement)
{
    installed = replacement;
}

QString defaultAutostartFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/autostart");
}

} // namespace platform
