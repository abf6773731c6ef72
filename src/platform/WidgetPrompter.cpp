#include "platform/WidgetPrompter.h"

#include "platform/ModalDialog.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace platform {

namespace {

QString startPath(const Prompter::FileRequest &request)
{
    if (request.fileName.isEmpty())
        return request.folder;
    if (QFileInfo(request.fileName).isAbsolute() || request.folder.isEmpty())
        return request.fileName;
    return QDir(request.folder).filePath(request.fileName);
}

std::optional<QString> chosenFile(QFileDialog &dialog)
{
    if (execModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

std::optional<QString> askText(const QString &title, const QString &label, const QString &initial,
                               QLineEdit::EchoMode mode)
{
    QInputDialog dialog;
    dialog.setWindowTitle(title);
    dialog.setLabelText(label);
    dialog.setTextEchoMode(mode);
    dialog.setTextValue(initial);
    if (execModal(dialog) != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

} // namespace

void WidgetPrompter::message(const QString &text, Icon icon, const std::optional<QString> &title)
{
    static const QMessageBox::Icon icons[] = {QMessageBox::Information, QMessageBox::Warning, QMessageBox::Critical};
    // Qt fills an empty caption with the program's name: a space keeps it blank.
    const QString caption = !title ? applicationTitle() : title->isEmpty() ? QStringLiteral(" ") : *title;
    QMessageBox box(icons[int(icon)], caption, text, QMessageBox::Ok);
    execModal(box);
}

bool WidgetPrompter::confirm(const QString &text)
{
    QMessageBox box(QMessageBox::Warning, applicationTitle(), text, QMessageBox::Yes | QMessageBox::No);
    return execModal(box) != QMessageBox::No;
}

std::optional<QString> WidgetPrompter::inputText(const QString &title, const QString &label,
                                                 const QString &initial)
{
    return askText(title, label, initial, QLineEdit::Normal);
}

std::optional<QString> WidgetPrompter::inputPassword(const QString &title, const QString &label)
{
    return askText(title, label, QString(), QLineEdit::Password);
}

std::optional<QString> WidgetPrompter::openFileName(const FileRequest &request)
{
    QFileDialog dialog(nullptr, request.title, startPath(request), request.filter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return chosenFile(dialog);
}

std::optional<QString> WidgetPrompter::saveFileName(const FileRequest &request)
{
    QFileDialog dialog(nullptr, request.title, startPath(request), request.filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.confirmOverwrite)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    return chosenFile(dialog);
}

std::optional<QString> WidgetPrompter::existingFolder(const QString &title, const QString &start)
{
    QFileDialog dialog(nullptr, title, start);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    return chosenFile(dialog);
}

std::optional<QColor> WidgetPrompter::color(const QColor &initial)
{
    QColorDialog dialog(initial);
    if (execModal(dialog) != QDialog::Accepted || !dialog.selectedColor().isValid())
        return std::nullopt;
    return dialog.selectedColor();
}

std::optional<QFont> WidgetPrompter::font(const QFont &initial)
{
    QFontDialog dialog(initial);
    if (execModal(dialog) != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedFont();
}

} // namespace platform
