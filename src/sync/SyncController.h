#pragma once

#include "sync/SyncEngine.h"

#include <QDateTime>
#include <QNetworkAccessManager>
#include <QObject>
#include <QTimer>

class Database;

// Runs the syncs of the stored account: by hand, and every 5, 15 or 60 minutes as the account
// says. One sync at a time; while one runs the window keeps answering, and the status line
// follows it.
class SyncController : public QObject
{
    Q_OBJECT
public:
    explicit SyncController(Database &db, QObject *parent = nullptr);

    bool isRunning() const { return m_running; }
    // A sync with the stored account now. Not ok, with a message, when none is set up or one
    // is running already.
    SyncOutcome syncNow();
    // The minute tick: a sync when the account's interval has passed since the last one.
    void tick();
    void setTimeout(int milliseconds) { m_timeout = milliseconds; }
    QNetworkAccessManager &network() { return m_network; }

signals:
    void started();
    void progress(const QString &line);
    void finished(const SyncOutcome &outcome);

private:
    Database &m_db;
    QNetworkAccessManager m_network;
    QTimer m_minuteTimer;
    int m_timeout = 30000;
    bool m_running = false;
    QDateTime m_lastAttempt;
};
