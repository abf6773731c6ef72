#include "ManualClock.h"
#include "ReadOnlyFolder.h"
#include "RecordingShell.h"
#include "ScriptedPrompter.h"
#include "TestMain.h"
#include "TestProgramFolder.h"

#include "app/SettingsPage.h"
#include "app/SingleInstance.h"
#include "app/MainWindow.h"
#include "data/Sqlite.h"
#include "document/DocumentStore.h"
#include "document/RichTextEditor.h"
#include "safety/DataSafety.h"
#include "safety/AutoBackupDialog.h"
#include "work/WorkBody.h"
#include "work/WorkListPage.h"

#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>

#include <unistd.h>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>

#include <unistd.h>

// The data safety group of the settings page in the main window: the restart after backup,
// restore and clearing, and the automatic backup on the minute tick.
class TestSafetyPage : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void successfulCommandRestartsOnce_data();
    void successfulCommandRestartsOnce();
    void failedCommandKeepsRunning();

    void autoBackupFollowsTheSchedule_data();
    void autoBackupFollowsTheSchedule();
    void autoBackupWaitsForAnOpenEditor();
    void autoBackupReloadsWhatIsStored();
    void failedAutoBackupKeepsThePagesLoaded();

    void settingsWindowFromThePage_data();
    void settingsWindowFromThePage();
    void leavingTheFolderBox_data();
    void leavingTheFolderBox();

    void undoBringsTheDataBack_data();
    void undoBringsTheDataBack();
    void autoBackupKeepsTheNewestOfItsOwn_data();
    void autoBackupKeepsTheNewestOfItsOwn();
    void leftoversOfAKilledCopyGoAtStart();
    void checkingABackupFromThePage();

private:
    void setStoredSettings(const QString &assignments, const QVariantList &params = {});
    void create();
    void type(const QString &text);
    QString storedBody(qint64 item);
    QString storedSetting(const QString &column);
    void tickAt(const QDateTime &now);
    QStringList backups(const QString &folder) const;
    // The program as it starts again after a restart.
    void startAgain();

    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<RecordingShell> m_shell;
    std::unique_ptr<ManualClock> m_clock;
    std::unique_ptr<MainWindow> m_window;
};

namespace {

const QDate kFriday(2024, 3, 15);

// The body of a work item as a backup file holds it.
QString bodyInBackup(const QString &backup, qint64 item)
{
    SqliteConnection db;
    if (!db.open(backup, databaseKey()))
        return {};
    SqliteStatement query(db, QStringLiteral("Select Content from TWork where ID=?"));
    QTextDocument document;
    if (query.bind({item}) && query.next())
        loadDocument(query.value(0).toByteArray(), document);
    return document.toPlainText();
}

} // namespace

void TestSafetyPage::init()
{
    m_folder = std::make_unique<TestProgramFolder>();
    QVERIFY(m_folder->isValid());
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_shell = std::make_unique<RecordingShell>();
    m_clock = std::make_unique<ManualClock>(QDateTime(kFriday, QTime(9, 0)));
    m_window = std::make_unique<MainWindow>();
}

void TestSafetyPage::cleanup()
{
    m_window.reset();
    m_clock.reset();
    m_shell.reset();
    m_prompter.reset();
    m_folder.reset();
}

void TestSafetyPage::setStoredSettings(const QString &assignments, const QVariantList &params)
{
    QVERIFY(m_folder->database().execute(QStringLiteral("Update TPara Set ") + assignments, params));
}

void TestSafetyPage::create()
{
    QVERIFY(m_window->startUp());
}

void TestSafetyPage::type(const QString &text)
{
    QTextCursor cursor = m_window->m_workPage->m_documentEditor->m_textEdit->textCursor();
    cursor.select(QTextCursor::Document);
    cursor.insertText(text);
}

QString TestSafetyPage::storedBody(qint64 item)
{
    QTextDocument document;
    workbody::load(m_folder->database(), item, document);
    return document.toPlainText();
}

QString TestSafetyPage::storedSetting(const QString &column)
{
    return m_folder->database().queryValue(QStringLiteral("Select %1 from TPara").arg(column));
}

void TestSafetyPage::tickAt(const QDateTime &now)
{
    m_clock->set(now);
    m_window->minuteTick();
}

QStringList TestSafetyPage::backups(const QString &folder) const
{
    return QDir(folder).entryList({QStringLiteral("*.WBK")}, QDir::Files, QDir::Name);
}

void TestSafetyPage::startAgain()
{
    m_window.reset();
    QVERIFY(m_folder->database().open());
    m_window = std::make_unique<MainWindow>();
    create();
}

void TestSafetyPage::successfulCommandRestartsOnce_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("backup") << "backup";
    QTest::newRow("restore") << "restore";
    QTest::newRow("clearing") << "clear";
}

void TestSafetyPage::successfulCommandRestartsOnce()
{
    QFETCH(QString, command);
    SingleInstance claim(m_folder->path());
    QVERIFY(claim.claim());
    m_window->setSingleInstance(&claim);
    const QString backup = m_folder->filePath(QStringLiteral("Bak/earlier.WBK"));
    QVERIFY(backupDatabase(m_folder->database(), backup));
    create();
    const qint64 item = m_window->m_workPage->documentOwner();
    QVERIFY(item > 0);
    const QString bodyBefore = storedBody(item);
    type(QStringLiteral("重启前没有保存的内容"));
    QSignalSpy closed(m_window.get(), &MainWindow::closed);
    bool databaseHeld = true;
    bool claimHeld = true;
    m_shell->onRestart([&] {
        databaseHeld = Database::instance().isOpen();
        claimHeld = SingleInstance(m_folder->path()).otherCopyRunning();
    });

    if (command == QLatin1String("backup")) {
        m_prompter->answerText(m_folder->filePath(QStringLiteral("Bak/20240315.WBK")));
        m_window->m_settingsPage->m_backupButton->click();
    } else if (command == QLatin1String("restore")) {
        m_prompter->answerText(backup);
        m_window->m_settingsPage->m_restoreButton->click();
    } else {
        m_window->m_settingsPage->m_clearDataButton->click();
    }

    QCOMPARE(m_shell->calls().filter(QStringLiteral("restart")), QStringList{"restart"});
    QVERIFY2(!databaseHeld, "the new copy started while the old one held the database");
    QVERIFY2(!claimHeld, "the new copy would be told that a copy is running");
    QCOMPARE(closed.count(), 1);
    QVERIFY(m_prompter->lastShown().endsWith(QStringLiteral("软件将自动退出并重新启动本软件。")));
    QVERIFY(m_folder->database().open());
    if (command == QLatin1String("backup")) {
        // The unsaved typing was saved first, into the database and into the backup.
        QCOMPARE(storedBody(item), QStringLiteral("重启前没有保存的内容"));
        QCOMPARE(bodyInBackup(m_folder->filePath(QStringLiteral("Bak/20240315.WBK")), item),
                 QStringLiteral("重启前没有保存的内容"));
    } else if (command == QLatin1String("restore")) {
        QCOMPARE(storedBody(item), bodyBefore); // not overwritten by the closing copy
    } else {
        QCOMPARE(m_folder->database().queryValue(QStringLiteral("Select count(*) from TWork")), QStringLiteral("0"));
    }
}

void TestSafetyPage::failedCommandKeepsRunning()
{
    create();
    m_window->show();
    const int listed = m_window->m_workPage->workItems().count();
    m_prompter->answerText(QStringLiteral("/dev/full"));

    m_window->m_settingsPage->m_backupButton->click();

    QCOMPARE(m_prompter->shown(), QStringList{QStringLiteral("确认目标位置可读写！")});
    QVERIFY(m_shell->calls().filter(QStringLiteral("restart")).isEmpty());
    QVERIFY(m_window->isVisible());
    QVERIFY(m_folder->database().isOpen());
    QCOMPARE(m_window->m_workPage->workItems().count(), listed); // the pages show the data again
}

void TestSafetyPage::autoBackupFollowsTheSchedule_data()
{
    QTest::addColumn<QString>("schedule");
    QTest::addColumn<QString>("folder");      // under the case's folder; "" for the program's Bak
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("runningBefore");  // the backups until the first tick have been taken
    QTest::addColumn<QList<QDateTime>>("ticks");
    QTest::addColumn<QStringList>("made");    // the file each tick made, "" for none

    const QDate monday(2024, 3, 18);
    auto at = [](QDate day, int hour, int minute) { return QDateTime(day, QTime(hour, minute, 5)); };
    QTest::newRow("daily 12:30: only the scheduled minute")
        << "0,12:30" << "auto" << true << true
        << QList<QDateTime>{at(kFriday, 12, 29), at(kFriday, 12, 30), at(kFriday, 12, 31)}
        << QStringList{"", "2024031512.WBK", ""};
    QTest::newRow("folder with a final separator")
        << "0,12:30" << "auto/" << true << true << QList<QDateTime>{at(kFriday, 12, 30)} << QStringList{"2024031512.WBK"};
    QTest::newRow("the program's Bak, made when missing")
        << "0,12:30" << "" << true << true << QList<QDateTime>{at(kFriday, 12, 30)} << QStringList{"2024031512.WBK"};
    QTest::newRow("Mondays 09:00")
        << "1,0,09:00" << "auto" << true << true
        << QList<QDateTime>{at(monday, 8, 59), at(monday, 9, 0), at(monday, 15, 0), at(monday.addDays(1), 9, 0)}
        << QStringList{"", "2024031809.WBK", "", ""};
    QTest::newRow("missing folder: nothing, no message")
        << "0,12:30" << "missing" << true << false << QList<QDateTime>{at(kFriday, 12, 30)} << QStringList{""};
    QTest::newRow("switched off")
        << "0,12:30" << "auto" << false << false << QList<QDateTime>{at(kFriday, 12, 30)} << QStringList{""};
    QTest::newRow("missed while not running: taken at the first tick, once")
        << "0,12:30" << "auto" << true << false << QList<QDateTime>{at(kFriday, 9, 0), at(kFriday, 9, 1)}
        << QStringList{"2024031509.WBK", ""};
    QTest::newRow("missed while the machine slept: taken on waking, once")
        << "0,12:30" << "auto" << true << true
        << QList<QDateTime>{at(kFriday, 12, 0), at(kFriday, 14, 10), at(kFriday, 14, 11)}
        << QStringList{"", "2024031514.WBK", ""};
    QTest::newRow("unreadable schedule: no backup")
        << "1,x" << "auto" << true << false << QList<QDateTime>{at(kFriday, 12, 30)} << QStringList{""};
}

void TestSafetyPage::autoBackupFollowsTheSchedule()
{
    QFETCH(QString, schedule);
    QFETCH(QString, folder);
    QFETCH(bool, enabled);
    QFETCH(bool, runningBefore);
    QFETCH(QList<QDateTime>, ticks);
    QFETCH(QStringList, made);
    const QString path = folder.isEmpty() ? m_folder->filePath(QStringLiteral("Bak")) : m_folder->filePath(folder);
    if (folder.isEmpty())
        QVERIFY(QDir(path).removeRecursively());
    else if (folder != QLatin1String("missing"))
        QVERIFY(QDir().mkpath(path));
    if (runningBefore) {
        QFile earlier(QDir(path).filePath(QStringLiteral("2024010112.WBK")));
        QVERIFY(QDir().mkpath(path) && earlier.open(QIODevice::WriteOnly));
        QVERIFY(earlier.setFileTime(ticks.first().addSecs(-60), QFileDevice::FileModificationTime));
    }
    setStoredSettings(QStringLiteral("AutoBak=?, AutoBakPath=?, AutoBakType=?"), {enabled ? 1 : 0, folder.isEmpty() ? QString() : path, schedule});
    create();
    QCOMPARE(m_window->m_settingsPage->m_autoBackupFolderEdit->text(), path);

    QStringList before = backups(path);
    for (int tick = 0; tick < ticks.size(); ++tick) {
        tickAt(ticks.at(tick));
        const QStringList now = backups(path);
        QStringList added = now;
        for (const QString &old : before)
            added.removeAll(old);
        QCOMPARE(added.join(','), made.at(tick));
        before = now;
    }
    for (const QString &file : backups(path)) {
        if (file != QLatin1String("2024010112.WBK"))
            QVERIFY(isProgramDatabase(QDir(path).filePath(file)));
    }
    QVERIFY(m_prompter->shown().isEmpty());
    QVERIFY(m_folder->database().isOpen());
}

void TestSafetyPage::autoBackupWaitsForAnOpenEditor()
{
    QVERIFY(QDir().mkpath(m_folder->filePath(QStringLiteral("auto"))));
    setStoredSettings(QStringLiteral("AutoBak=1, AutoBakPath=?, AutoBakType='0,12:30'"), {m_folder->filePath(QStringLiteral("auto"))});
    create();
    QDialog editor;
    editor.setModal(true);
    editor.show();

    tickAt(QDateTime(kFriday, QTime(12, 30)));
    QVERIFY(backups(m_folder->filePath(QStringLiteral("auto"))).isEmpty());
    editor.close();
    tickAt(QDateTime(kFriday, QTime(12, 31)));

    QCOMPARE(backups(m_folder->filePath(QStringLiteral("auto"))), QStringList{"2024031512.WBK"});
}

void TestSafetyPage::autoBackupReloadsWhatIsStored()
{
    setStoredSettings(QStringLiteral("AutoBak=0, AutoBakType='0,12:30'"));
    create();
    const qint64 item = m_window->m_workPage->documentOwner();
    const int listed = m_window->m_workPage->workItems().count();
    m_window->m_settingsPage->m_autoBackupCheck->click(); // ticked, and nothing saves the settings
    type(QStringLiteral("备份前输入的正文"));

    tickAt(QDateTime(kFriday, QTime(12, 30)));

    const QString file = m_folder->filePath(QStringLiteral("Bak/2024031512.WBK"));
    QVERIFY(QFile::exists(file));
    QVERIFY(!m_window->m_settingsPage->m_autoBackupCheck->isChecked()); // as stored
    QCOMPARE(storedSetting(QStringLiteral("AutoBak")), QStringLiteral("0"));
    QCOMPARE(m_window->m_workPage->workItems().count(), listed);
    QCOMPARE(storedBody(item), QStringLiteral("备份前输入的正文"));
    QCOMPARE(bodyInBackup(file, item), QStringLiteral("备份前输入的正文"));
}

void TestSafetyPage::failedAutoBackupKeepsThePagesLoaded()
{
    const ReadOnlyFolder locked(m_folder->filePath(QStringLiteral("locked")));
    if (!locked.isReadOnly())
        QSKIP("this machine cannot make a folder read-only for the superuser");
    setStoredSettings(QStringLiteral("AutoBak=1, AutoBakPath=?, AutoBakType='0,12:30'"), {locked.path()});
    create();
    const int listed = m_window->m_workPage->workItems().count();

    tickAt(QDateTime(kFriday, QTime(12, 30)));

    QCOMPARE(m_prompter->shown().size(), 1);
    QVERIFY(m_prompter->lastShown().startsWith(QStringLiteral("自动备份数据失败！\n")));
    QVERIFY(m_folder->database().isOpen());
    QCOMPARE(m_window->m_workPage->workItems().count(), listed);
    tickAt(QDateTime(kFriday, QTime(12, 31))); // that scheduled backup has had its attempt
    QCOMPARE(m_prompter->shown().size(), 1);
}

void TestSafetyPage::settingsWindowFromThePage_data()
{
    QTest::addColumn<bool>("save");
    QTest::addColumn<bool>("byDoubleClick");

    QTest::newRow("saved from the button") << true << false;
    QTest::newRow("saved from a double click into the folder") << true << true;
    QTest::newRow("cancelled") << false << false;
}

void TestSafetyPage::settingsWindowFromThePage()
{
    QFETCH(bool, save);
    QFETCH(bool, byDoubleClick);
    const QString chosen = m_folder->filePath(QStringLiteral("Images"));
    setStoredSettings(QStringLiteral("AutoBak=1, AutoBakType='0,12:30'"));
    create();
    const QString shownBefore = m_window->m_settingsPage->m_autoBackupFolderEdit->text();
    QTimer::singleShot(0, [&] {
        auto *window = qobject_cast<AutoBackupDialog *>(QApplication::activeModalWidget());
        QVERIFY(window);
        QVERIFY(window->m_enabledCheck->isChecked());
        QCOMPARE(window->m_folderEdit->text(), shownBefore);
        QCOMPARE(window->m_keepSpin->value(), 30); // as stored for a new installation
        window->m_keepSpin->setValue(7);
        window->m_enabledCheck->setChecked(false);
        window->m_folderEdit->setText(chosen);
        window->m_weeklyRadio->setChecked(true);
        (save ? window->m_saveButton : window->m_cancelButton)->click();
    });

    if (byDoubleClick)
        QTest::mouseDClick(m_window->m_settingsPage->m_autoBackupFolderEdit, Qt::LeftButton);
    else
        m_window->m_settingsPage->m_autoBackupSettingsButton->click();

    QCOMPARE(m_window->m_settingsPage->m_autoBackupCheck->isChecked(), !save);
    QCOMPARE(m_window->m_settingsPage->m_autoBackupFolderEdit->text(), save ? chosen : shownBefore);
    QCOMPARE(storedSetting(QStringLiteral("AutoBakType")), save ? QStringLiteral("1,4,16:00") : QStringLiteral("0,12:30"));
    QCOMPARE(storedSetting(QStringLiteral("AutoBak")), save ? QStringLiteral("0") : QStringLiteral("1"));
    QCOMPARE(storedSetting(QStringLiteral("AutoBakPath")), save ? chosen : QString());
    QCOMPARE(storedSetting(QStringLiteral("AutoBakKeep")), save ? QStringLiteral("7") : QStringLiteral("30"));
}

void TestSafetyPage::leavingTheFolderBox_data()
{
    QTest::addColumn<QString>("typed"); // "existing": a folder that exists
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("message");

    QTest::newRow("existing folder") << "existing" << "existing" << "";
    QTest::newRow("empty box") << "" << "" << "";
    QTest::newRow("missing folder") << "/没有这个文件夹" << "unchanged" << "指定的自动备份数据存储路径不存在！";
}

void TestSafetyPage::leavingTheFolderBox()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QFETCH(QString, message);
    const QString existing = m_folder->filePath(QStringLiteral("Images"));
    setStoredSettings(QStringLiteral("AutoBakPath=?"), {m_folder->filePath(QStringLiteral("Bak"))});
    create();
    m_window->m_pageTabs->setCurrentIndex(MainWindow::SettingsPageIndex);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    QLineEdit *box = m_window->m_settingsPage->m_autoBackupFolderEdit;
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    box->insert(typed == QLatin1String("existing") ? existing : typed); // typed, or pasted

    m_window->m_settingsPage->m_usePasswordCheck->setFocus(); // leaving the box

    QCOMPARE(m_prompter->shown(), message.isEmpty() ? QStringList() : QStringList{message});
    const QString expected = stored == QLatin1String("existing")    ? existing
                             : stored == QLatin1String("unchanged") ? m_folder->filePath(QStringLiteral("Bak"))
                                                                    : stored;
    QCOMPARE(storedSetting(QStringLiteral("AutoBakPath")), expected);
    QCOMPARE(box->text(), typed == QLatin1String("existing") ? existing : typed);
}

void TestSafetyPage::undoBringsTheDataBack_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("confirmed");

    QTest::newRow("after restoring the wrong backup") << "restore" << true;
    QTest::newRow("after clearing by mistake") << "clear" << true;
    QTest::newRow("No to the question") << "clear" << false;
}

void TestSafetyPage::undoBringsTheDataBack()
{
    QFETCH(QString, command);
    QFETCH(bool, confirmed);
    Database &dm = m_folder->database();
    const QString backup = m_folder->filePath(QStringLiteral("Bak/earlier.WBK"));
    QVERIFY(dm.execute(QStringLiteral("Delete from TWork where ID > 5")));
    QVERIFY(backupDatabase(dm, backup));
    QVERIFY(dm.execute(QStringLiteral("Delete from TWork where ID > 5")));
    QVERIFY(dm.execute(QStringLiteral("Update TWork Set Title='撤销前的标题' where ID=1")));
    const QString before = dm.queryValue(QStringLiteral("Select count(*) || Title from TWork where ID=1"));
    auto workItems = [&] { return dm.queryValue(QStringLiteral("Select count(*) || '/' || ifnull(max(Title), '') from TWork where ID=1 or ID>5")); };
    const QString ours = workItems();
    create();
    QVERIFY(!m_window->m_settingsPage->m_undoButton->isEnabled()); // nothing to undo yet
    if (command == QLatin1String("restore")) {
        m_prompter->answerText(backup);
        m_window->m_settingsPage->m_restoreButton->click();
    } else {
        m_window->m_settingsPage->m_clearDataButton->click();
    }
    QCOMPARE(m_shell->calls().filter(QStringLiteral("restart")).size(), 1);
    startAgain();
    const QString replaced = workItems();
    QVERIFY(replaced != ours);
    QVERIFY(m_window->m_settingsPage->m_undoButton->isEnabled());
    const qsizetype shownBefore = m_prompter->shown().size();
    confirmed ? m_prompter->answerYes() : m_prompter->answerNo();

    m_window->m_settingsPage->m_undoButton->click();

    const QStringList shown = m_prompter->shown().mid(shownBefore);
    QCOMPARE(shown.size(), confirmed ? 2 : 1); // asked once
    QVERIFY(shown.first().startsWith(QStringLiteral("撤销上次恢复/清除：")));
    QCOMPARE(m_shell->calls().filter(QStringLiteral("restart")).size(), confirmed ? 2 : 1);
    if (!confirmed) {
        QCOMPARE(workItems(), replaced);
        return;
    }
    QVERIFY(shown.last().endsWith(QStringLiteral("软件将自动退出并重新启动本软件。")));
    startAgain();
    QCOMPARE(workItems(), ours);
    QCOMPARE(dm.queryValue(QStringLiteral("Select count(*) || Title from TWork where ID=1")), before);
    // What the command made is kept in turn: the undo can itself be undone.
    QVERIFY(m_window->m_settingsPage->m_undoButton->isEnabled());
    QVERIFY(isProgramDatabase(undoFilePath()));
}

void TestSafetyPage::autoBackupKeepsTheNewestOfItsOwn_data()
{
    QTest::addColumn<int>("keep");
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<QStringList>("left"); // of the program's own backups, "2024031512.WBK" the new one

    QTest::newRow("keep 2") << 2 << false << QStringList{"2024031411.WBK", "2024031512.WBK"};
    QTest::newRow("keep 0 keeps all")
        << 0 << false << QStringList{"2024031309.WBK", "2024031410.WBK", "2024031411.WBK", "2024031512.WBK"};
    QTest::newRow("read-only folder: the copy fails, nothing goes")
        << 1 << true << QStringList{"2024031309.WBK", "2024031410.WBK", "2024031411.WBK"};
}

void TestSafetyPage::autoBackupKeepsTheNewestOfItsOwn()
{
    QFETCH(int, keep);
    QFETCH(bool, readOnly);
    QFETCH(QStringList, left);
    const QString folder = m_folder->filePath(QStringLiteral("auto"));
    const QStringList own{"2024031309.WBK", "2024031410.WBK", "2024031411.WBK"};
    const QStringList users{"20240313.WBK", "我的2024031309.WBK", "2024031308.wbk", "说明.txt"};
    QVERIFY(QDir().mkpath(folder));
    for (const QString &name : own + users) {
        QFile file(QDir(folder).filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(name.toUtf8());
    }
    std::optional<ReadOnlyFolder> locked;
    if (readOnly) {
        locked.emplace(folder);
        if (!locked->isReadOnly())
            QSKIP("this machine cannot make a folder read-only for the superuser");
    }
    setStoredSettings(QStringLiteral("AutoBak=1, AutoBakPath=?, AutoBakType='0,12:30', AutoBakKeep=?"), {folder, keep});
    create();

    tickAt(QDateTime(kFriday, QTime(12, 30)));

    QStringList expected = left + users;
    expected.sort();
    QStringList found = QDir(folder).entryList(QDir::Files);
    found.sort();
    QCOMPARE(found, expected);
    if (readOnly)
        QVERIFY(m_prompter->lastShown().startsWith(QStringLiteral("自动备份数据失败！\n")));
    else
        QVERIFY(m_prompter->shown().isEmpty());
}

void TestSafetyPage::leftoversOfAKilledCopyGoAtStart()
{
    const QString autoFolder = m_folder->filePath(QStringLiteral("auto"));
    QVERIFY(QDir().mkpath(autoFolder));
    const QStringList leftovers{"db/DOZA.dat.restore", "db/DOZA.dat.restore.part", "Bak/20240315.WBK.part",
                                "Bak/撤销前的数据.WBK.part", "auto/2024031512.WBK.part"};
    const QStringList kept{"db/DOZA.dat.part", "db/other.restore", "Bak/20240315.WBK", "Bak/笔记.part",
                           "Bak/20240315.wbk.part", "auto/2024031512.WBK", "Images/x.WBK.part", "2024031512.WBK.part"};
    for (const QString &name : leftovers + kept) {
        QFile file(m_folder->filePath(name));
        QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(name));
        file.write("part");
    }
    setStoredSettings(QStringLiteral("AutoBakPath=?"), {autoFolder});
    // A restore killed after keeping the database as the undo under a second name, before
    // replacing it.
    const QString undo = m_folder->filePath(QStringLiteral("Bak/撤销前的数据.WBK"));
    QVERIFY(::link(QFile::encodeName(m_folder->databasePath()).constData(), QFile::encodeName(undo).constData()) == 0);

    create();

    for (const QString &name : leftovers)
        QVERIFY2(!QFile::exists(m_folder->filePath(name)), qPrintable(name));
    for (const QString &name : kept)
        QVERIFY2(QFile::exists(m_folder->filePath(name)), qPrintable(name));
    QVERIFY(!QFile::exists(undo));
    QVERIFY(!m_window->m_settingsPage->m_undoButton->isEnabled());
    QVERIFY(m_folder->database().isOpen());
    QVERIFY(isProgramDatabase(m_folder->databasePath()));
}

void TestSafetyPage::checkingABackupFromThePage()
{
    const QString backup = m_folder->filePath(QStringLiteral("Bak/20240301.WBK"));
    QVERIFY(backupDatabase(m_folder->database(), backup));
    create();
    m_prompter->answerText(backup);

    m_window->m_settingsPage->m_checkBackupButton->click();

    QCOMPARE(m_prompter->shown().size(), 1);
    QVERIFY2(m_prompter->lastShown().startsWith(QStringLiteral("这个备份文件可以用来还原数据。")), qPrintable(m_prompter->lastShown()));
    QVERIFY(m_shell->calls().filter(QStringLiteral("restart")).isEmpty());
    QVERIFY(m_folder->database().isOpen());
}

PANDREL_TEST_MAIN(TestSafetyPage)
#include "tst_safetypage.moc"
