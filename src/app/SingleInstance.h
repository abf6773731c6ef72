#pragma once

#include <QLocalServer>
#include <QString>

// Tells whether another copy of the program runs on the same program folder, and makes this
// copy findable by the next one. Copies on other program folders do not see each other.
class SingleInstance
{
public:
    explicit SingleInstance(const QString &programFolder);

    bool otherCopyRunning() const;
    // Becomes the copy that later starts find; false while another copy still holds that role.
    bool claim();

    // Shows the running-copy message when another copy runs, then claims; start-up goes on
    // either way (a restart after a backup begins while the old copy is still closing).
    void warnAndClaim();
    // Gives the claim up, so that a copy started next finds none running.
    void release();

private:
    QString m_name;
    QLocalServer m_server;
};
