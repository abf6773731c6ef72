#pragma once

#include <QWidget>

class QLabel;
class QMenu;
class QSoundEffect;
class QTimer;
class QToolButton;

// The reminder of one work item: a borderless, always-on-top picture in the bottom-right
// corner of the screen with the reminder time and the subject, and an alert sound that
// loops until the first stop tick. A click on it closes it; its detail area opens the item
// in the editor. It deletes itself when closed.
class ReminderWindow : public QWidget
{
    Q_OBJECT
public:
    explicit ReminderWindow(qint64 id);

    // Shows the item's reminder time and subject; when the item cannot be read, says so and
    // keeps the sample texts.
    bool loadItem();
    // The 30-second tick: ends the alert for good, so it never comes back while the
    // window stays open.
    void alertStopTick();
    // Hides the window and silences it, opens the item in the editor, and closes once the
    // editor is done.
    void openItemInEditor();

    // Closes the window and brings the reminder back `minutes` from now.
    void snooze(int minutes);

    QLabel *m_pictureLabel;
    QLabel *m_timeLabel;
    QLabel *m_subjectLabel;
    QToolButton *m_detailButton;
    QTimer *m_alertStopTimer;
    // The right-click menu: later reminders, leaving the picture's own clicks as they are.
    QMenu *m_snoozeMenu;

signals:
    void snoozed(qint64 id, const QDateTime &time);

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    enum class Alert { NotStarted, Sounding, Ended };

    void startAlert();
    void endAlert();

    qint64 m_id;
    Alert m_alert = Alert::NotStarted;
    QSoundEffect *m_alertSound = nullptr; // made only when there is a sound file to play
};

// Opens a reminder window for the work item and returns it at once; several may be open.
ReminderWindow *popUpReminder(qint64 id);
