#pragma once

#include "platform/Clock.h"

// A clock that stands still until the test moves it.
class ManualClock final : public platform::Clock
{
public:
    explicit ManualClock(const QDateTime &start = QDateTime(QDate(2024, 3, 15), QTime(9, 0)));
    ~ManualClock() override;

    QDateTime now() const override { return m_now; }
    void set(const QDateTime &now) { m_now = now; }
    void advanceSeconds(qint64 seconds) { m_now = m_now.addSecs(seconds); }

private:
    QDateTime m_now;
};
