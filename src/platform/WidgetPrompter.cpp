#include "platform/WidgetPrompter.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace platform {

namespace {

QWidget *owner()
{
    return QApplication::activeWindow();
}

QString dialogTitle()
{
    return applicationTitle();
}

QString startPath(const Prompter::FileRequest &request)
{
    if (request.fileName.isEmpty())
        return request.folder;
    if (QFileInfo(request.fileName).isAbsolute() || request.folder.isEmpty())
        return request.fileName;
    return QDir(request.folder).filePath(request.fileName);
}

std::optional<QString> chosen(const QString &path)
{
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

} // namespace

void WidgetPrompter::message(const QString &text, Icon icon, const std::optional<QString> &title)
{
    // Qt fills an empty caption with the program's name: a space keeps it blank.
    const QString caption = !title ? dialogTitle() : title->isEmpty() ? QStringLiteral(" ") : *title;
    switch (icon) {
    case Icon::Information: QMessageBox::information(owner(), caption, text); break;
    case Icon::Warning: QMessageBox::warning(owner(), caption, text); break;
    case Icon::Error: QMessageBox::critical(owner(), caption, text); break;
    }
}

bool WidgetPrompter::confirm(const QString &text)
{
    return QMessageBox::warning(owner(), dialogTitle(), text, QMessageBox::Yes | QMessageBox::No)
           != QMessageBox::No;
}

std::optional<QString> WidgetPrompter::inputText(const QString &title, const QString &label,
                                                 const QString &initial)
{
    bool ok = false;
    const QString text = QInputDialog::getText(owner(), title, label, QLineEdit::Normal, initial, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

std::optional<QString> WidgetPrompter::inputPassword(const QString &title, const QString &label)
{
    bool ok = false;
    const QString text = QInputDialog::getText(owner(), title, label, QLineEdit::Password, {}, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

std::optional<QString> WidgetPrompter::openFileName(const FileRequest &request)
{
    return chosen(QFileDialog::getOpenFileName(owner(), request.title, startPath(request), request.filter));
}

std::optional<QString> WidgetPrompter::saveFileName(const FileRequest &request)
{
    QFileDialog dialog(owner(), request.title, startPath(request), request.filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.confirmOverwrite)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

std::optional<QString> WidgetPrompter::existingFolder(const QString &title, const QString &start)
{
    return chosen(QFileDialog::getExistingDirectory(owner(), title, start));
}

std::optional<QColor> WidgetPrompter::color(const QColor &initial)
{
    const QColor picked = QColorDialog::getColor(initial, owner());
    if (!picked.isValid())
        return std::nullopt;
    return picked;
}

std::optional<QFont> WidgetPrompter::font(const QFont &initial)
{
    bool ok = false;
    const QFont picked = QFontDialog::getFont(&ok, initial, owner());
    if (!ok)
        return std::nullopt;
    return picked;
}

} // namespace platform
