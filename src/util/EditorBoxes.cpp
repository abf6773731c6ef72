#include "util/EditorBoxes.h"

#include <QLineEdit>
#include <QWidget>

void showStartOfBoxes(QWidget *editor)
{
    for (QLineEdit *box : editor->findChildren<QLineEdit *>())
        box->setCursorPosition(0);
}
