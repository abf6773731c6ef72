#include "sync/SyncController.h"

#include "platform/Clock.h"
#include "sync/SyncAccountStore.h"

#include <QCoreApplication>

SyncController::SyncController(Database &db, QObject *parent)
    : QObject(parent)
    , m_db(db)
{
    m_minuteTimer.setInterval(60000);
    connect(&m_minuteTimer, &QTimer::timeout, this, &SyncController::tick);
    m_minuteTimer.start();
}

SyncOutcome SyncController::syncNow()
{
    SyncOutcome outcome;
    if (m_running) {
        outcome.error = QCoreApplication::translate("Sync", "正在同步，请稍候。");
        return outcome;
    }
    const StoredSyncAccount stored = syncaccount::load(m_db);
    if (!stored.isSetUp()) {
        outcome.error = QCoreApplication::translate("Sync", "还没有设置同步服务器和要同步的任务列表或通讯录。");
        return outcome;
    }
    m_running = true;
    emit started();
    SyncEngine engine(m_db, m_network);
    engine.setTimeout(m_timeout);
    engine.setProgress([this](const QString &line) { emit progress(line); });
    outcome = engine.run(stored.account);
    syncaccount::recordOutcome(m_db, outcome, platform::clock().now());
    m_running = false;
    emit finished(outcome);
    return outcome;
}

void SyncController::tick()
{
    if (m_running)
        return;
    const StoredSyncAccount stored = syncaccount::load(m_db);
    if (!stored.isSetUp() || stored.syncMinutes <= 0)
        return;
    // A sync that failed waits its interval too, so a server that is down is not asked every minute.
    const QDateTime now = platform::clock().now();
    const QDateTime last = stored.lastSync;
    if (last.isValid() && last.secsTo(now) < qint64(stored.syncMinutes) * 60 && last <= now)
        return;
    if (!m_lastAttempt.isNull() && m_lastAttempt.secsTo(now) < qint64(stored.syncMinutes) * 60 && m_lastAttempt <= now)
        return;
    m_lastAttempt = now;
    syncNow();
}
