#include "ManualClock.h"
#include "RadicaleServer.h"
#include "ScriptedPrompter.h"
#include "TestMain.h"
#include "TestProgramFolder.h"

#include "data/Database.h"
#include "sync/SyncAccountStore.h"
#include "sync/SyncController.h"
#include "sync/SyncSettingsDialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QProcess>
#include <QSslCertificate>
#include <QTemporaryDir>

// The settings window "同步设置", the stored account and the timed syncs, against radicale.
class TestSyncSettings : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void testConnectionListsCollectionsAndSaveStoresThem();
    void connectionProblemsAreToldInTheWindow_data();
    void connectionProblemsAreToldInTheWindow();
    void syncNowShowsTheOutcome();
    void timerSyncsWhenTheIntervalHasPassed();
    void windowRendersWhole();
    void untrustedCertificateNeedsTheUsersYes_data();
    void untrustedCertificateNeedsTheUsersYes();

private:
    RadicaleServer m_server;
    QString m_taskList;
    QString m_addressBook;
};

void TestSyncSettings::initTestCase()
{
    QVERIFY(m_server.start());
    m_taskList = m_server.makeTaskList(QStringLiteral("工作事务"));
    m_addressBook = m_server.makeAddressBook(QStringLiteral("通讯录"));
    QVERIFY(!m_taskList.isEmpty() && !m_addressBook.isEmpty());
}

namespace {

void fillAccount(SyncSettingsDialog &window, const QString &server, const QString &password)
{
    window.m_serverEdit->setText(server);
    window.m_userEdit->setText(RadicaleServer::user());
    window.m_passwordEdit->setText(password);
}

} // namespace

void TestSyncSettings::testConnectionListsCollectionsAndSaveStoresThem()
{
    TestProgramFolder folder;
    ScriptedPrompter prompter;
    SyncController controller(folder.database());
    SyncSettingsDialog window(folder.database(), controller);
    window.loadAccount();
    QCOMPARE(window.m_lastSyncLabel->text(), QStringLiteral("从未同步"));
    fillAccount(window, m_server.url(), RadicaleServer::password());
    window.m_testButton->click();
    QCOMPARE(prompter.lastShown(), QStringLiteral("连接成功：找到 1 个任务列表、1 个通讯录。"));
    QCOMPARE(window.m_taskListCombo->currentText(), QStringLiteral("工作事务"));
    QCOMPARE(window.m_addressBookCombo->currentText(), QStringLiteral("通讯录"));
    window.m_intervalCombo->setCurrentIndex(1);
    window.m_saveButton->click();
    QCOMPARE(window.result(), int(QDialog::Accepted));

    const StoredSyncAccount stored = syncaccount::load(folder.database());
    QCOMPARE(stored.account.taskListUrl, m_taskList);
    QCOMPARE(stored.account.addressBookUrl, m_addressBook);
    QCOMPARE(stored.syncMinutes, 15);
    QCOMPARE(stored.account.password, RadicaleServer::password());
    // No secret store offscreen: the password stays in the encrypted database, and the window says so.
    QCOMPARE(stored.passwordPlace, StoredSyncAccount::PasswordPlace::Database);
    SyncSettingsDialog again(folder.database(), controller);
    again.loadAccount();
    QVERIFY(again.m_passwordPlaceLabel->text().contains(QStringLiteral("数据库")));
    QCOMPARE(again.m_taskListCombo->currentData().toString(), m_taskList);
    QCOMPARE(again.m_intervalCombo->currentText(), QStringLiteral("每15分钟"));
}

void TestSyncSettings::connectionProblemsAreToldInTheWindow_data()
{
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("refusePlainHttp");
    QTest::addColumn<QString>("message");
    QTest::newRow("wrong password") << QString() << "wrong-one" << false << "连接失败：用户名或密码不正确";
    QTest::newRow("no address") << "   " << "Hidden-Pass-1" << false << "请输入正确的服务器地址";
    QTest::newRow("plain HTTP elsewhere, refused") << "http://dav.example.invalid/" << "Hidden-Pass-2" << true
                                                  << "服务器地址以 http 开头，不加密";
}

void TestSyncSettings::connectionProblemsAreToldInTheWindow()
{
    QFETCH(QString, server);
    QFETCH(QString, password);
    QFETCH(bool, refusePlainHttp);
    QFETCH(QString, message);
    TestProgramFolder folder;
    ScriptedPrompter prompter;
    if (refusePlainHttp)
        prompter.answerNo();
    SyncController controller(folder.database());
    SyncSettingsDialog window(folder.database(), controller);
    window.loadAccount();
    fillAccount(window, server.isNull() ? m_server.url() : server, password);
    QVERIFY(!window.testConnection());
    QVERIFY2(prompter.lastShown().startsWith(message), qPrintable(prompter.lastShown()));
    QVERIFY(!prompter.lastShown().contains(password));
    QCOMPARE(window.m_taskListCombo->count(), 1); // only "（不同步）"
}

void TestSyncSettings::syncNowShowsTheOutcome()
{
    TestProgramFolder folder;
    ScriptedPrompter prompter;
    ManualClock clock(QDateTime(QDate(2024, 3, 15), QTime(9, 0)));
    SyncController controller(folder.database());
    QStringList lines;
    connect(&controller, &SyncController::progress, this, [&lines](const QString &line) { lines.append(line); });
    SyncSettingsDialog window(folder.database(), controller);
    window.loadAccount();
    fillAccount(window, m_server.url(), RadicaleServer::password());
    QVERIFY(window.testConnection());
    window.m_syncNowButton->click();
    QCOMPARE(window.m_lastSyncLabel->text(), QStringLiteral("2024-03-15 09:00"));
    QVERIFY2(window.m_lastResultLabel->text().startsWith(QStringLiteral("上传 ")), qPrintable(window.m_lastResultLabel->text()));
    QCOMPARE(window.m_lastErrorLabel->text(), QStringLiteral("无"));
    QVERIFY(!lines.isEmpty());
}

void TestSyncSettings::timerSyncsWhenTheIntervalHasPassed()
{
    TestProgramFolder folder;
    ManualClock clock(QDateTime(QDate(2024, 3, 15), QTime(9, 0)));
    StoredSyncAccount stored;
    stored.account.serverUrl = m_server.url();
    stored.account.userName = RadicaleServer::user();
    stored.account.password = RadicaleServer::password();
    stored.account.addressBookUrl = m_addressBook;
    stored.syncMinutes = 15;
    QVERIFY(syncaccount::save(folder.database(), stored));
    SyncController controller(folder.database());
    int syncs = 0;
    connect(&controller, &SyncController::finished, this, [&syncs] { ++syncs; });

    controller.tick(); // never synced: at once
    QCOMPARE(syncs, 1);
    clock.advanceSeconds(14 * 60);
    controller.tick();
    QCOMPARE(syncs, 1);
    clock.advanceSeconds(60);
    controller.tick();
    QCOMPARE(syncs, 2);
    // By hand only: the timer leaves it alone.
    stored.syncMinutes = 0;
    QVERIFY(syncaccount::save(folder.database(), stored));
    clock.advanceSeconds(3600);
    controller.tick();
    QCOMPARE(syncs, 2);
}

void TestSyncSettings::windowRendersWhole()
{
    TestProgramFolder folder;
    ScriptedPrompter prompter;
    StoredSyncAccount stored;
    stored.account.serverUrl = m_server.url();
    stored.account.userName = RadicaleServer::user();
    stored.account.password = RadicaleServer::password();
    stored.account.taskListUrl = m_taskList;
    QVERIFY(syncaccount::save(folder.database(), stored));
    SyncOutcome failed;
    failed.error = QStringLiteral("无法连接同步服务器：Connection refused 本机数据没有改动。已完成的部分已保存，其余在下次同步时继续。");
    syncaccount::recordOutcome(folder.database(), failed, QDateTime(QDate(2024, 3, 15), QTime(9, 0)));
    SyncController controller(folder.database());
    SyncSettingsDialog window(folder.database(), controller);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.loadAccount();
    QTest::qWait(50);
    QVERIFY(window.m_lastErrorLabel->text().startsWith(QStringLiteral("2024-03-15 09:00 无法连接")));
    for (QLabel *label : window.findChildren<QLabel *>()) {
        if (label->isVisible() && label->wordWrap())
            QVERIFY2(label->height() >= label->heightForWidth(label->width()), qPrintable(label->text()));
    }
    for (QWidget *child : window.findChildren<QWidget *>()) {
        if (child->isVisible() && child->parentWidget())
            QVERIFY2(child->parentWidget()->rect().contains(child->geometry()), qPrintable(child->metaObject()->className()));
    }
    for (QPushButton *button : window.findChildren<QPushButton *>())
        QVERIFY2(button->width() >= button->sizeHint().width(), qPrintable(button->text()));
    const QString shot = qEnvironmentVariable("PANDREL_SHOT_DIR");
    if (!shot.isEmpty())
        window.grab().save(shot + QStringLiteral("/sync-settings.png"));
}

void TestSyncSettings::untrustedCertificateNeedsTheUsersYes_data()
{
    QTest::addColumn<bool>("accept");
    QTest::newRow("accepted") << true;
    QTest::newRow("refused") << false;
}

void TestSyncSettings::untrustedCertificateNeedsTheUsersYes()
{
    QFETCH(bool, accept);
    QTemporaryDir keys;
    const QString certificate = keys.filePath(QStringLiteral("cert.pem"));
    const QString key = keys.filePath(QStringLiteral("key.pem"));
    QCOMPARE(QProcess::execute(QStringLiteral("openssl"),
                               {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"), QStringLiteral("rsa:2048"),
                                QStringLiteral("-nodes"), QStringLiteral("-keyout"), key, QStringLiteral("-out"), certificate,
                                QStringLiteral("-days"), QStringLiteral("1"), QStringLiteral("-subj"), QStringLiteral("/CN=127.0.0.1")}),
             0);
    RadicaleServer secure;
    QVERIFY(secure.start({certificate, key}));
    QVERIFY(!secure.makeTaskList(QStringLiteral("tasks")).isEmpty());
    const QList<QSslCertificate> certificates = QSslCertificate::fromPath(certificate);
    QCOMPARE(certificates.size(), 1);
    const QString fingerprint = QString::fromLatin1(certificates.first().digest(QCryptographicHash::Sha256).toHex(':').toUpper());

    TestProgramFolder folder;
    ScriptedPrompter prompter;
    accept ? prompter.answerYes() : prompter.answerNo();
    SyncController controller(folder.database());
    SyncSettingsDialog window(folder.database(), controller);
    window.loadAccount();
    fillAccount(window, secure.url(), RadicaleServer::password());
    QCOMPARE(window.testConnection(), accept);
    QVERIFY2(prompter.shown().first().contains(fingerprint), qPrintable(prompter.shown().first()));
    if (!accept) {
        QCOMPARE(prompter.shown().size(), 1);
        return;
    }
    window.m_saveButton->click();
    StoredSyncAccount stored = syncaccount::load(folder.database());
    const QString trusted = QStringLiteral("127.0.0.1:%1 %2").arg(secure.port()).arg(fingerprint);
    QCOMPARE(stored.account.trustedCertificates, QStringList{trusted});
    QVERIFY(controller.syncNow().ok);
    // Accepted for that server only: the same certificate on another port is asked about again.
    stored.account.trustedCertificates = {QStringLiteral("127.0.0.1:%1 %2").arg(secure.port() + 1).arg(fingerprint)};
    QVERIFY(syncaccount::save(folder.database(), stored));
    const SyncOutcome refused = controller.syncNow();
    QVERIFY(!refused.ok);
    QCOMPARE(refused.failure, DavReply::Failure::Certificate);
    QVERIFY(refused.error.contains(QStringLiteral("证书不受系统信任")));
}

PANDREL_TEST_MAIN(TestSyncSettings)
#include "tst_syncsettings.moc"
