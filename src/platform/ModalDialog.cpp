#include "platform/ModalDialog.h"

#include <QApplication>
#include <QDialog>

namespace platform {

int execModal(QDialog &dialog)
{
    if (!dialog.parentWidget()) {
        if (QWidget *owner = QApplication::activeWindow())
            dialog.setParent(owner, dialog.windowFlags() | Qt::Dialog);
    }
    dialog.setWindowModality(Qt::WindowModal);
    return dialog.exec();
}

} // namespace platform
