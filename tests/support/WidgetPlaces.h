#pragma once

#include <QCoreApplication>
#include <QStringList>
#include <QWidget>

// Every visible widget of `page` but `except`, by class, place on the page and size: what a
// change of layout would move. Compare two lists to show that nothing moved.
inline QStringList visibleWidgetPlaces(const QWidget &page, const QWidget *except = nullptr)
{
    QStringList shown;
    for (const QWidget *widget : page.findChildren<QWidget *>()) {
        const QPoint at = widget->mapTo(&page, QPoint());
        if (widget->isVisible() && widget != except)
            shown.append(QStringLiteral("%1 %2,%3 %4x%5")
                             .arg(QString::fromLatin1(widget->metaObject()->className()))
                             .arg(at.x())
                             .arg(at.y())
                             .arg(widget->width())
                             .arg(widget->height()));
    }
    return shown;
}

// True when `control` takes no room on `page`: hiding it moves no other widget.
inline bool takesNoRoom(QWidget &page, QWidget *control)
{
    const QStringList shown = visibleWidgetPlaces(page, control);
    control->hide();
    QCoreApplication::processEvents();
    const bool same = visibleWidgetPlaces(page, control) == shown;
    control->show();
    QCoreApplication::processEvents();
    return same;
}
