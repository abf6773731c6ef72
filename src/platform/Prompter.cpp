#include "platform/Prompter.h"

#include "platform/WidgetPrompter.h"

namespace platform {

namespace {
Prompter *installed = nullptr;
QString title;
}

Prompter &prompter()
{
    static WidgetPrompter standard;
    return installed ? *installed : standard;
}

void setPrompter(Prompter *replacement)
{
    installed = replacement;
}

void setApplicationTitle(const QString &text)
{
    title = text;
}

QString applicationTitle()
{
    return title;
}

} // namespace platform
