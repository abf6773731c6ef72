#pragma once

#include "platform/Prompter.h"

namespace platform {

// Prompter on Qt's standard dialogs, each modal to the window it was opened from.
class WidgetPrompter final : public Prompter
{
public:
    void message(const QString &text, Icon icon, const std::optional<QString> &title) override;
    bool confirm(const QString &text) override;
    std::optional<QString> inputText(const QString &title, const QString &label,
                                     const QString &initial) override;
    std::optional<QString> inputPassword(const QString &title, const QString &label) override;
    std::optional<QString> openFileName(const FileRequest &request) override;
    std::optional<QString> saveFileName(const FileRequest &request) override;
    std::optional<QString> existingFolder(const QString &title, const QString &start) override;
    std::optional<QColor> color(const QColor &initial) override;
    std::optional<QFont> font(const QFont &initial) override;
};

} // namespace platform
