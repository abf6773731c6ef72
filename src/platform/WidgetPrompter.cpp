#include "platform/WidgetPrompter.h"

#include "platform/ModalDialog.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QGridLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QMessageBox>
#include <QSpacerItem>
#include <QStyle>
#include <QTreeView>

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

// Qt's own file dialog opens too narrow for its name, size, type and date columns.
constexpr QSize kFileDialogSize(860, 520);

std::optional<QString> chosenFile(QFileDialog &dialog)
{
    dialog.resize(dialog.size().expandedTo(kFileDialogSize));
    // The name takes the room left; size, type and date show whole.
    if (auto *details = dialog.findChild<QTreeView *>()) {
        QHeaderView *header = details->header();
        header->setSectionResizeMode(QHeaderView::ResizeToContents);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
    }
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

// A message box is as wide as its text, so a short text would cut a longer caption: the
// box is widened until the caption fits beside the title bar's buttons.
void fitCaption(QMessageBox &box)
{
    auto *layout = qobject_cast<QGridLayout *>(box.layout());
    if (!layout)
        return;
    QFont captionFont = box.font();
    captionFont.setBold(true);
    constexpr int kTitleBarButtons = 120;
    const int width = QFontMetrics(captionFont).horizontalAdvance(box.windowTitle()) + kTitleBarButtons;
    layout->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), layout->rowCount(), 0, 1,
                    layout->columnCount());
}

} // namespace

void WidgetPrompter::message(const QString &text, Icon icon, const std::optional<QString> &title)
{
    static const QMessageBox::Icon icons[] = {QMessageBox::Information, QMessageBox::Warning, QMessageBox::Critical};
    // Qt fills an empty caption with the program's name: a space keeps it blank.
    const QString caption = !title ? applicationTitle() : title->isEmpty() ? QStringLiteral(" ") : *title;
    QMessageBox box(icons[int(icon)], caption, text, QMessageBox::Ok);
    // Reports of success and other plain information carry the program's own picture.
    const QIcon programIcon = QApplication::windowIcon();
    if (icon == Icon::Information && !programIcon.isNull())
        box.setIconPixmap(programIcon.pixmap(box.style()->pixelMetric(QStyle::PM_MessageBoxIconSize)));
    fitCaption(box);
    execModal(box);
}

bool WidgetPrompter::confirm(const QString &text)
{
    QMessageBox box(QMessageBox::Warning, applicationTitle(), text, QMessageBox::Yes | QMessageBox::No);
    fitCaption(box);
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
    // A name typed without its suffix still finds the file, as the save dialog's does.
    dialog.setDefaultSuffix(request.defaultSuffix);
    return chosenFile(dialog);
}

std::optional<QString> WidgetPrompter::saveFileName(const FileRequest &request)
{
    QFileDialog dialog(nullptr, request.title, startPath(request), request.filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.confirmOverwrite)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (request.chosenFilter && !request.chosenFilter->isEmpty())
        dialog.selectNameFilter(*request.chosenFilter);
    std::optional<QString> path = chosenFile(dialog);
    if (path && request.chosenFilter)
        *request.chosenFilter = dialog.selectedNameFilter();
    return path;
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
