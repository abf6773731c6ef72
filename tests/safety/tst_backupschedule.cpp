#include "ScriptedPrompter.h"
#include "TestMain.h"

#include "safety/BackupSchedule.h"
#include "safety/AutoBackupDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimeEdit>
#include <QTimer>
#include <QToolButton>

// The automatic backup's schedule text, its file names and its settings window.
class TestBackupSchedule : public QObject
{
    Q_OBJECT

private slots:
    void schedulesReadAndWrite_data();
    void schedulesReadAndWrite();
    void unreadableSchedulesAreRefused_data();
    void unreadableSchedulesAreRefused();
    void lastScheduledMoment_data();
    void lastScheduledMoment();
    void fileNameHasOneSeparator_data();
    void fileNameHasOneSeparator();
    void backupTakenSinceCountsOnlyItsOwnNames_data();
    void backupTakenSinceCountsOnlyItsOwnNames();

    void windowShowsTheSchedule_data();
    void windowShowsTheSchedule();
    void windowSavesOnlyAUsableFolder_data();
    void windowSavesOnlyAUsableFolder();
    void folderChooserFillsThePath();
    void cancelHandsNothingBack();
};

void TestBackupSchedule::schedulesReadAndWrite_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("weekly");
    QTest::addColumn<int>("weekday");
    QTest::addColumn<QTime>("time");

    QTest::newRow("daily") << "0,12:30" << false << 4 << QTime(12, 30);
    QTest::newRow("daily at midnight") << "0,00:00" << false << 4 << QTime(0, 0);
    QTest::newRow("Fridays") << "1,4,16:00" << true << 4 << QTime(16, 0);
    QTest::newRow("Mondays") << "1,0,09:05" << true << 0 << QTime(9, 5);
    QTest::newRow("Sundays late") << "1,6,23:59" << true << 6 << QTime(23, 59);
}

void TestBackupSchedule::schedulesReadAndWrite()
{
    QFETCH(QString, text);
    QFETCH(bool, weekly);
    QFETCH(int, weekday);
    QFETCH(QTime, time);

    const std::optional<BackupSchedule> schedule = parseBackupSchedule(text);

    QVERIFY(schedule);
    QCOMPARE(schedule->weekly, weekly);
    QCOMPARE(schedule->weekday, weekday);
    QCOMPARE(schedule->time, time);
    QCOMPARE(formatBackupSchedule(*schedule), text);
}

void TestBackupSchedule::unreadableSchedulesAreRefused_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("empty") << "";
    QTest::newRow("kind only") << "1";
    QTest::newRow("weekly without a day") << "1,16:00";
    QTest::newRow("weekday not a digit") << "1,x,16:00";
    QTest::newRow("weekday out of range") << "1,7,16:00";
    QTest::newRow("no time") << "0,";
    QTest::newRow("not a time") << "0,25:61";
}

void TestBackupSchedule::unreadableSchedulesAreRefused()
{
    QFETCH(QString, text);
    QVERIFY(!parseBackupSchedule(text));
}

void TestBackupSchedule::lastScheduledMoment_data()
{
    QTest::addColumn<QString>("schedule");
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QDateTime>("moment");

    const QDate friday(2024, 3, 15);
    QTest::newRow("daily, in the minute") << "0,12:30" << QDateTime(friday, QTime(12, 30, 40)) << QDateTime(friday, QTime(12, 30));
    QTest::newRow("daily, before it: yesterday's") << "0,12:30" << QDateTime(friday, QTime(12, 29, 59))
                                                  << QDateTime(friday.addDays(-1), QTime(12, 30));
    QTest::newRow("weekly, that day") << "1,4,16:00" << QDateTime(friday, QTime(16, 0)) << QDateTime(friday, QTime(16, 0));
    QTest::newRow("weekly, that day earlier: a week ago") << "1,4,16:00" << QDateTime(friday, QTime(15, 0))
                                                         << QDateTime(friday.addDays(-7), QTime(16, 0));
    QTest::newRow("weekly, Monday's from a Friday") << "1,0,09:00" << QDateTime(friday, QTime(8, 0))
                                                   << QDateTime(QDate(2024, 3, 11), QTime(9, 0));
    QTest::newRow("weekly, Sunday's from a Monday") << "1,6,22:00" << QDateTime(QDate(2024, 3, 18), QTime(1, 0))
                                                   << QDateTime(QDate(2024, 3, 17), QTime(22, 0));
}

void TestBackupSchedule::lastScheduledMoment()
{
    QFETCH(QString, schedule);
    QFETCH(QDateTime, now);
    QFETCH(QDateTime, moment);
    QCOMPARE(lastScheduledBackup(*parseBackupSchedule(schedule), now), moment);
}

void TestBackupSchedule::fileNameHasOneSeparator_data()
{
    QTest::addColumn<QString>("folder");
    QTest::newRow("without a final separator") << "/srv/备份";
    QTest::newRow("with a final separator") << "/srv/备份/";
}

void TestBackupSchedule::fileNameHasOneSeparator()
{
    QFETCH(QString, folder);
    QCOMPARE(autoBackupPath(folder, QDateTime(QDate(2024, 3, 15), QTime(12, 30))), QStringLiteral("/srv/备份/2024031512.WBK"));
}

void TestBackupSchedule::backupTakenSinceCountsOnlyItsOwnNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("taken");

    QTest::newRow("the program's own") << "2024031509.WBK" << true;
    QTest::newRow("a user's file of ten characters") << "mybackup01.WBK" << false;
    QTest::newRow("the undo copy") << "撤销前的数据.WBK" << false;
}

void TestBackupSchedule::backupTakenSinceCountsOnlyItsOwnNames()
{
    QFETCH(QString, name);
    QFETCH(bool, taken);
    QTemporaryDir folder;
    QFile file(folder.filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();

    QCOMPARE(autoBackupTakenSince(folder.path(), QDateTime::currentDateTime().addSecs(-60)), taken);
}

void TestBackupSchedule::windowShowsTheSchedule_data()
{
    QTest::addColumn<QString>("schedule");
    QTest::addColumn<bool>("weekly");
    QTest::addColumn<int>("weekday");
    QTest::addColumn<QTime>("dayTime");
    QTest::addColumn<QTime>("weekTime");
    QTest::addColumn<QString>("saved");

    // The picker of the other kind keeps its designed time.
    QTest::newRow("daily") << "0,07:45" << false << 4 << QTime(7, 45) << QTime(16, 0) << "0,07:45";
    QTest::newRow("weekly") << "1,2,18:10" << true << 2 << QTime(12, 30) << QTime(18, 10) << "1,2,18:10";
    QTest::newRow("unreadable: as designed") << "1,x" << false << 4 << QTime(12, 30) << QTime(16, 0) << "0,12:30";
}

void TestBackupSchedule::windowShowsTheSchedule()
{
    QFETCH(QString, schedule);
    QFETCH(bool, weekly);
    QFETCH(int, weekday);
    QFETCH(QTime, dayTime);
    QFETCH(QTime, weekTime);
    QFETCH(QString, saved);
    AutoBackupDialog window;

    window.loadValues(true, QStringLiteral("/tmp"), schedule);

    QCOMPARE(window.windowTitle(), QStringLiteral("自动备份设置"));
    QCOMPARE(window.m_weeklyRadio->isChecked(), weekly);
    QCOMPARE(window.m_dailyRadio->isChecked(), !weekly);
    QCOMPARE(window.m_weekdayCombo->currentText(), window.m_weekdayCombo->itemText(weekday));
    QCOMPARE(window.m_dailyTimeEdit->time(), dayTime);
    QCOMPARE(window.m_weeklyTimeEdit->time(), weekTime);
    QCOMPARE(window.scheduleText(), saved);
    QCOMPARE(window.m_weekdayCombo->itemText(6), QStringLiteral("星期日"));
}

void TestBackupSchedule::windowSavesOnlyAUsableFolder_data()
{
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QString>("folder"); // "existing": a folder that exists
    QTest::addColumn<bool>("saved");

    QTest::newRow("on, existing folder") << true << "existing" << true;
    QTest::newRow("off, existing folder") << false << "existing" << true;
    QTest::newRow("off, no folder") << false << "" << true;
    QTest::newRow("on, no folder") << true << "" << false;
    QTest::newRow("on, missing folder") << true << "/没有/这个文件夹" << false;
    QTest::newRow("off, missing folder") << false << "/没有/这个文件夹" << false;
}

void TestBackupSchedule::windowSavesOnlyAUsableFolder()
{
    QFETCH(bool, enabled);
    QFETCH(QString, folder);
    QFETCH(bool, saved);
    QTemporaryDir existing;
    ScriptedPrompter prompter;
    AutoBackupDialog window;
    window.loadValues(enabled, folder == QLatin1String("existing") ? existing.path() : folder, QStringLiteral("0,12:30"));
    window.show();

    window.m_saveButton->click();

    QCOMPARE(window.saved(), saved);
    QCOMPARE(window.isVisible(), !saved);
    QCOMPARE(prompter.shown(), saved ? QStringList() : QStringList{QStringLiteral("数据备份路径未指定正确！")});
}

void TestBackupSchedule::folderChooserFillsThePath()
{
    ScriptedPrompter prompter;
    AutoBackupDialog window;
    window.loadValues(true, QStringLiteral("/旧的"), QStringLiteral("0,12:30"));
    prompter.answerCancel();
    prompter.answerText(QStringLiteral("/新的/备份"));

    window.m_chooseFolderButton->click();
    QCOMPARE(window.m_folderEdit->text(), QStringLiteral("/旧的"));
    QTest::mouseDClick(window.m_folderEdit, Qt::LeftButton);

    QCOMPARE(window.m_folderEdit->text(), QStringLiteral("/新的/备份"));
    QCOMPARE(prompter.shown(), QStringList(2, QStringLiteral("选择自动备份数据存储文件夹")));
}

void TestBackupSchedule::cancelHandsNothingBack()
{
    bool enabled = true;
    QString folder = QStringLiteral("/tmp");
    QString schedule = QStringLiteral("0,12:30");
    int keep = 0;
    QTimer::singleShot(0, [] {
        auto *window = qobject_cast<AutoBackupDialog *>(QApplication::activeModalWidget());
        QVERIFY(window);
        window->m_enabledCheck->setChecked(false);
        window->m_weeklyRadio->setChecked(true);
        window->m_keepSpin->setValue(5);
        QTest::keyClick(window, Qt::Key_Escape);
    });

    QVERIFY(!editAutoBackupSettings(enabled, folder, schedule, keep));

    QVERIFY(enabled);
    QCOMPARE(folder, QStringLiteral("/tmp"));
    QCOMPARE(schedule, QStringLiteral("0,12:30"));
    QCOMPARE(keep, 0);
}

PANDREL_TEST_MAIN(TestBackupSchedule)
#include "tst_backupschedule.moc"
