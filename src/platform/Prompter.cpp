#include "platform/Prompter.h"

#include "platform/WidgetPrompter.h"

namespace platform {

namespace {
Prompter *installed = nullptr;
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

} // namespace platform
