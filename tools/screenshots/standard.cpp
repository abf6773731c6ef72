// Qt's own dialogs as the program shows them: in Chinese, with the program's captions.
#include "Shots.h"

#include "platform/Prompter.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QMessageBox>

namespace {

void shootStandardDialogs(Shots &shots)
{
    QMessageBox question(QMessageBox::Warning, platform::applicationTitle(), QStringLiteral("您确认删除选定的数据记录吗？"),
                         QMessageBox::Yes | QMessageBox::No);
    question.show();
    QCoreApplication::processEvents();
    shots.take(question, QStringLiteral("standard-question"));
    question.hide();

    QColorDialog color(Qt::darkCyan);
    color.show();
    QCoreApplication::processEvents();
    shots.take(color, QStringLiteral("standard-color"));
    color.hide();
}

const ShotSet standard("standard", shootStandardDialogs);

} // namespace
