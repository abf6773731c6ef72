#pragma once

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QList>
#include <QPainter>
#include <QPixmap>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <QTimer>
#include <QWidget>

class Shots
{
public:
    explicit Shots(const QString &folder) : m_folder(folder) { QDir().mkpath(folder); }

    // A shaped window is taken as the screen shows it: nothing outside its shape.
    void take(QWidget &widget, const QString &name)
    {
        const QString path = QDir(m_folder).filePath(name + QStringLiteral(".png"));
        QPixmap picture = widget.grab();
        if (!widget.mask().isEmpty()) {
            QPixmap shaped(picture.size());
            shaped.setDevicePixelRatio(picture.devicePixelRatio());
            shaped.fill(Qt::transparent);
            QPainter painter(&shaped);
            painter.setClipRegion(widget.mask());
            painter.drawPixmap(0, 0, picture);
            painter.end();
            picture = shaped;
        }
        if (picture.save(path))
            m_written.append(path);
        else
            m_failed.append(path);
    }

    // Shows the window, takes it as the user would see it, and hides it again.
    void showAndTake(QWidget &window, const QString &name)
    {
        window.show();
        QCoreApplication::processEvents();
        take(window, name);
        window.hide();
    }

    // Takes the next modal window that opens (a message box, a file dialog), then closes it
    // as Esc would: for windows that a call runs modally.
    void takeNextModal(const QString &name)
    {
        auto *poll = new QTimer;
        QObject::connect(poll, &QTimer::timeout, [this, poll, name] {
            QWidget *window = QApplication::activeModalWidget();
            if (!window)
                return;
            poll->stop();
            poll->deleteLater();
            QCoreApplication::processEvents();
            take(*window, name);
            window->close();
        });
        poll->start(20);
    }

    int report() const
    {
        QTextStream out(stdout);
        for (const QString &path : m_written)
            out << path << '\n';
        for (const QString &path : m_failed)
            out << "could not write " << path << '\n';
        return m_failed.isEmpty() ? 0 : 1;
    }

private:
    QString m_folder;
    QStringList m_written;
    QStringList m_failed;
};

// A set of pictures of one area. Each area's file registers its set with a static
// ShotSet, so adding an area touches no other file.
struct ShotSet {
    using Function = void (*)(Shots &);
    ShotSet(const char *name, Function shoot);
    const char *name;
    Function shoot;
};
const QList<ShotSet> &shotSets();
