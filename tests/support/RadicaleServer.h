#pragma once

#include <QByteArray>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>

// Debian's radicale on 127.0.0.1 on a free port, with a storage folder and a password file of
// its own; stopped when the object goes. One user, whose collections the test makes.
class RadicaleServer
{
public:
    struct Tls {
        QString certificate;
        QString key;
    };

    RadicaleServer();
    ~RadicaleServer();

    // Starts (again, on the same port and storage, after stop()); false when it did not answer.
    bool start(const Tls &tls = {});
    void stop();

    QString url() const;  // "http://127.0.0.1:port/"
    quint16 port() const { return m_port; }
    static QString user() { return QStringLiteral("alice"); }
    static QString password() { return QStringLiteral("s3cret-Pass"); }

    // A task list or address book under the user's home; its URL, or empty on failure.
    QString makeTaskList(const QString &name);
    QString makeAddressBook(const QString &name);

    // A request as the user, answered synchronously: the status and the body.
    std::pair<int, QByteArray> request(const QByteArray &verb, const QString &url, const QByteArray &body = {},
                                       const QList<std::pair<QByteArray, QByteArray>> &headers = {});
    // The hrefs of the items in a collection.
    QStringList items(const QString &collectionUrl);

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    quint16 m_port = 0;
    bool m_tls = false;
};
