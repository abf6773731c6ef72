#pragma once

#include <QLocalServer>
#include <QString>

// Tells whether another copy of the program runs on the same program folder, and makes this
// copy findable by the next one. Copies on other program folders do not see each other.
// Every running copy answers, not only the first: after a restart the old copy may close
// while the new one runs on, and a third start must still find it.
class SingleInstance
{
public:
    explicit SingleInstance(const QString &programFolder);

    bool otherCopyRunning() const;
    // Makes this copy findable by later starts; false only when no place to listen was left.
    bool claim();

    // Shows the running-copy message when another copy runs, then claims; start-up goes on
    // either way.
    void warnAndClaim();
    // Gives the claim up: a copy that starts its successor does so first, so that the new
    // copy does not find it running.
    void release();

private:
    QString placeName(int place) const;

    QString m_name;
    QLocalServer m_server;
};
