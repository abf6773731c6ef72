#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <optional>

namespace platform {

// Every message box, question, input box and file, folder, colour or font dialog goes
// through the current Prompter, so tests can script the answers and read back what was shown.
// The program's own dialogs open through platform::execModal (ModalDialog.h): modal to the
// window they come from, so a reminder that pops up meanwhile can still be clicked.
class Prompter
{
public:
    enum class Icon { Information, Warning, Error };

    struct FileRequest {
        QString title;
        QString folder;          // initial folder
        QString fileName;        // proposed name (save) or empty
        QString filter;          // "description (*.ext)" lists separated by ";;"
        QString defaultSuffix;   // added when the user types a name without one
        bool confirmOverwrite = true;
        // When set: the filter shown first, and afterwards the one the user chose (save only).
        QString *chosenFilter = nullptr;
    };

    virtual ~Prompter() = default;

    // Without a title the box shows the application title; an empty title shows none.
    virtual void message(const QString &text, Icon icon = Icon::Information,
                         const std::optional<QString> &title = std::nullopt) = 0;
    // A warning with Yes and No; true unless the user answers No.
    virtual bool confirm(const QString &text) = 0;
    virtual std::optional<QString> inputText(const QString &title, const QString &label,
                                             const QString &initial = {}) = 0;
    virtual std::optional<QString> inputPassword(const QString &title, const QString &label) = 0;
    virtual std::optional<QString> openFileName(const FileRequest &request) = 0;
    virtual std::optional<QString> saveFileName(const FileRequest &request) = 0;
    virtual std::optional<QString> existingFolder(const QString &title, const QString &start) = 0;
    virtual std::optional<QColor> color(const QColor &initial) = 0;
    virtual std::optional<QFont> font(const QFont &initial) = 0;
};

// The process-wide prompter: the widget implementation unless a test installed another.
Prompter &prompter();

// The title of message boxes that have none of their own. Kept apart from Qt's application
// display name, which Qt would append to every window's caption.
void setApplicationTitle(const QString &title);
QString applicationTitle();
// Installs `replacement` (not owned); nullptr restores the widget prompter.
void setPrompter(Prompter *replacement);

} // namespace platform
