#include "ManualClock.h"
#include "ScriptedPrompter.h"
#include "TestMain.h"
#include "TestProgramFolder.h"

#include "data/Recordset.h"
#include "document/RichTextEditor.h"
#include "work/WorkItemEditor.h"
#include "work/WorkBody.h"

#include <QUuid>

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimeEdit>
#include <QTimer>

// The work item editor on its own program folder, opened at 14:37 on 10 December 2026.
class TestWorkItemEditor : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void presetTypeForNewItems_data();
    void presetTypeForNewItems();
    void newItemIsStoredAsEntered();
    void existingItemLoads();
    void unknownStoredTypeMustBeChosenAgain();
    void savingResetsTheShownReminder();
    void uncheckedDateIsCleared();
    void missingSubjectIsAskedFor();
    void failedWriteKeepsTheWindow();
    void cancelLeavesNoRow();
    void subjectIsLimitedInCharacters_data();
    void subjectIsLimitedInCharacters();
    void emptyUpdateTimeIsBlank();
    void bodyOpensAtItsTop();
    void blankFieldsWhileUnchecked();
    void unreadableItemOpensNothing();
    void repeatRowWritesTheRule_data();
    void repeatRowWritesTheRule();
    void repeatRowKeepsWhatItCannotShow_data();
    void repeatRowKeepsWhatItCannotShow();
    void repeatNeedsADayToCountFrom();
    void repeatRowSitsBelowTheReminder();
    void finishingCreatesTheNextOccurrence_data();
    void finishingCreatesTheNextOccurrence();
    void finishingAgainCreatesNoSecondCopy();
    void finishingWithABadRuleStoresTheItemAlone();

private:
    QString column(qint64 id, const QString &name);
    // Opens the item, sets its state as the user picks it, and saves.
    void saveWithState(qint64 id, int stateIndex);

    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<ManualClock> m_clock;
};

void TestWorkItemEditor::init()
{
    m_folder = std::make_unique<TestProgramFolder>();
    Database &dm = m_folder->database();
    QVERIFY(dm.execute(QStringLiteral("Delete from TWorkClass")));
    QVERIFY(dm.execute(QStringLiteral("Insert into TWorkClass (Title, OrderIdx) values ('客户拜访', 1), ('办公事务', 2), ('办公用品采购', 3)")));
    QVERIFY(dm.execute(QStringLiteral("Delete from TWork")));
    QVERIFY(dm.execute(QStringLiteral(
        "Insert into TWork (ID, Title, WorkType, FinStu, ZY, TimeStart, TimeEnd, LastUpTime, UseTimeHint, TimeHint, HasHinted) values "
        "(1, '季度总结', '办公', 2, 1, '2026-12-01 00:00:00', NULL, '2026-12-05 16:20:00', 1, '2026-12-11 08:30:00', 1), "
        "(2, '旧类型的事务', '已删除的类型', 1, 0, NULL, NULL, '2026-12-05 16:20:00', 0, '1899-12-30 00:00:00', 0)")));
    QTextDocument body;
    body.setPlainText(QStringLiteral("总结的正文"));
    QCOMPARE(workbody::save(dm, 1, body), workbody::SaveResult::Saved);
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_clock = std::make_unique<ManualClock>(QDateTime(QDate(2026, 12, 10), QTime(14, 37, 12)));
}

void TestWorkItemEditor::cleanup()
{
    m_clock.reset();
    m_prompter.reset();
    m_folder.reset();
}

QString TestWorkItemEditor::column(qint64 id, const QString &name)
{
    return m_folder->database().queryValue(QStringLiteral("Select %1 from TWork where ID=?").arg(name), {id});
}

void TestWorkItemEditor::presetTypeForNewItems_data()
{
    QTest::addColumn<QString>("preset");
    QTest::addColumn<QString>("selected");

    QTest::newRow("present") << "办公事务" << "办公事务";
    QTest::newRow("absent: the first type") << "私人事务" << "客户拜访";
    QTest::newRow("only a prefix is not enough") << "办公" << "客户拜访";
    QTest::newRow("none") << "" << "客户拜访";
}

void TestWorkItemEditor::presetTypeForNewItems()
{
    QFETCH(QString, preset);
    QFETCH(QString, selected);
    WorkItemEditor window(-1, preset);

    QVERIFY(window.loadRecord());

    QCOMPARE(window.m_typeCombo->currentText(), selected);
    QCOMPARE(window.m_stateCombo->currentIndex(), 0);
    QCOMPARE(window.m_updateTimeEdit->dateTime(), m_clock->now());
    QVERIFY(!window.m_reminderCheck->isChecked());
}

void TestWorkItemEditor::newItemIsStoredAsEntered()
{
    WorkItemEditor window(-1, QStringLiteral("办公事务"));
    QVERIFY(window.loadRecord());
    window.m_subjectEdit->setText(QStringLiteral("准备年会"));
    window.m_priorityCombo->setCurrentIndex(1);
    window.m_reminderCheck->setChecked(true);
    window.m_reminderDateEdit->setDate(QDate(2026, 12, 20));
    window.m_reminderTimeEdit->setTime(QTime(9, 0));
    window.m_bodyEditor->m_textEdit->setPlainText(QStringLiteral("场地、节目、礼品"));
    m_clock->advanceSeconds(300); // the save happens a little later than the opening

    QVERIFY(window.saveRecord());

    const QString id = m_folder->database().queryValue(QStringLiteral("Select max(ID) from TWork"));
    QCOMPARE(column(id.toLongLong(), QStringLiteral("Title || '|' || WorkType || '|' || FinStu || '|' || ZY")),
             QStringLiteral("准备年会|办公事务|1|1"));
    QCOMPARE(column(id.toLongLong(), QStringLiteral("UseTimeHint || '|' || TimeHint || '|' || HasHinted")),
             QStringLiteral("1|2026-12-20 09:00:00|0"));
    QCOMPARE(column(id.toLongLong(), QStringLiteral("LastUpTime")), QStringLiteral("2026-12-10 14:42:12"));
    QCOMPARE(column(id.toLongLong(), QStringLiteral("TimeStart is null and TimeEnd is null")), QStringLiteral("1"));
    // Calendar files and servers tell items apart by their UIDs.
    QCOMPARE(column(id.toLongLong(), QStringLiteral("length(UID) || '|' || (Select count(*) from TWork w where w.UID=TWork.UID)")),
             QStringLiteral("36|1"));
    QTextDocument stored;
    workbody::load(m_folder->database(), id.toLongLong(), stored);
    QCOMPARE(stored.toPlainText(), QStringLiteral("场地、节目、礼品"));
}

void TestWorkItemEditor::existingItemLoads()
{
    WorkItemEditor window(1, QString());
    QVERIFY(window.loadRecord());

    QCOMPARE(window.m_subjectEdit->text(), QStringLiteral("季度总结"));
    QCOMPARE(window.m_typeCombo->currentText(), QStringLiteral("办公事务")); // first type starting with the stored one
    QCOMPARE(window.m_stateCombo->currentIndex(), 1);
    QCOMPARE(window.m_priorityCombo->currentIndex(), 1);
    QVERIFY(window.m_startCheck->isChecked());
    QCOMPARE(window.m_startDateEdit->date(), QDate(2026, 12, 1));
    QVERIFY(!window.m_endCheck->isChecked());
    QCOMPARE(window.m_endDateEdit->date(), QDate(2026, 12, 10));
    QVERIFY(window.m_reminderCheck->isChecked());
    QCOMPARE(window.m_reminderDateEdit->date(), QDate(2026, 12, 11));
    QCOMPARE(window.m_reminderTimeEdit->time(), QTime(8, 30));
    QCOMPARE(window.m_updateTimeEdit->dateTime(), QDateTime(QDate(2026, 12, 5), QTime(16, 20)));
    QCOMPARE(window.m_bodyEditor->m_textEdit->toPlainText(), QStringLiteral("总结的正文"));
}

void TestWorkItemEditor::unknownStoredTypeMustBeChosenAgain()
{
    WorkItemEditor window(2, QString());
    QVERIFY(window.loadRecord());
    QCOMPARE(window.m_typeCombo->currentIndex(), -1);

    QVERIFY(!window.saveRecord());

    QCOMPARE(m_prompter->lastShown(), QStringLiteral("请务必指定事务分类，以便在后期事务教多时进行分类过滤查询！"));
    QCOMPARE(column(2, QStringLiteral("WorkType")), QStringLiteral("已删除的类型"));
}

void TestWorkItemEditor::savingResetsTheShownReminder()
{
    WorkItemEditor window(1, QString());
    QVERIFY(window.loadRecord());

    QVERIFY(window.saveRecord());

    QCOMPARE(column(1, QStringLiteral("HasHinted || '|' || TimeHint")), QStringLiteral("0|2026-12-11 08:30:00"));
}

void TestWorkItemEditor::uncheckedDateIsCleared()
{
    WorkItemEditor window(1, QString());
    QVERIFY(window.loadRecord());
    window.m_startCheck->setChecked(false);
    window.m_reminderCheck->setChecked(false);

    QVERIFY(window.saveRecord());

    QCOMPARE(column(1, QStringLiteral("TimeStart is null")), QStringLiteral("1"));
    QCOMPARE(column(1, QStringLiteral("UseTimeHint || '|' || TimeHint")), QStringLiteral("0|1899-12-30 00:00:00"));
}

void TestWorkItemEditor::missingSubjectIsAskedFor()
{
    WorkItemEditor window(-1, QString());
    QVERIFY(window.loadRecord());

    QVERIFY(!window.saveRecord());

    QCOMPARE(m_prompter->lastShown(), QStringLiteral("请务必输入事务主题，如果内容较简介，则主题可直接作为事务的内容！"));
    QCOMPARE(m_folder->database().queryValue(QStringLiteral("Select count(*) from TWork")), QStringLiteral("2"));
}

void TestWorkItemEditor::failedWriteKeepsTheWindow()
{
    QVERIFY(m_folder->database().execute(QStringLiteral(
        "Create trigger refuse before insert on TWork begin select raise(abort, 'refused'); end")));
    WorkItemEditor window(-1, QString());
    QVERIFY(window.loadRecord());
    window.m_subjectEdit->setText(QStringLiteral("存不进去的事务"));

    window.m_saveButton->click();

    QCOMPARE(m_prompter->lastShown(), QStringLiteral("存储数据发生错误！"));
    QVERIFY(!window.saved());
    QCOMPARE(window.result(), 0); // still open
    QVERIFY(m_folder->database().execute(QStringLiteral("Drop trigger refuse")));
    window.m_saveButton->click(); // corrected, saved now
    QVERIFY(window.saved());
    QCOMPARE(m_folder->database().queryValue(QStringLiteral("Select count(*) from TWork where Title='存不进去的事务'")),
             QStringLiteral("1"));
}

void TestWorkItemEditor::cancelLeavesNoRow()
{
    QTimer::singleShot(0, [] {
        auto *window = qobject_cast<WorkItemEditor *>(QApplication::activeModalWidget());
        QVERIFY(window);
        window->m_subjectEdit->setText(QStringLiteral("不保存"));
        QTest::keyClick(window, Qt::Key_Escape);
    });

    QVERIFY(!editWorkItem(-1, QString()));

    QCOMPARE(m_folder->database().queryValue(QStringLiteral("Select count(*) from TWork")), QStringLiteral("2"));
}

void TestWorkItemEditor::subjectIsLimitedInCharacters_data()
{
    QTest::addColumn<QString>("pasted");
    QTest::newRow("Chinese") << QString(60, QChar(0x4E8B));
    QTest::newRow("ASCII") << QString(60, QLatin1Char('a'));
}

void TestWorkItemEditor::subjectIsLimitedInCharacters()
{
    QFETCH(QString, pasted);
    WorkItemEditor window(-1, QString());
    QVERIFY(window.loadRecord());
    window.show();
    window.m_subjectEdit->setFocus();

    QApplication::clipboard()->setText(pasted);
    window.m_subjectEdit->paste();
    QTest::keyClicks(window.m_subjectEdit, QStringLiteral("xyz"));

    QCOMPARE(window.m_subjectEdit->text(), pasted.left(50));
    window.m_saveButton->click();
    QCOMPARE(m_folder->database().queryValue(QStringLiteral("Select Title from TWork Order by ID desc LIMIT 1")), pasted.left(50));
}

void TestWorkItemEditor::emptyUpdateTimeIsBlank()
{
    auto blank = [](const QDateTimeEdit *picker) {
        return picker->palette().color(QPalette::Disabled, QPalette::Text).alpha() == 0 && !picker->isEnabled();
    };
    QVERIFY(m_folder->database().execute(QStringLiteral("Update TWork Set LastUpTime=NULL where ID=1")));
    WorkItemEditor emptyTime(1, QString());
    QVERIFY(emptyTime.loadRecord());
    WorkItemEditor withTime(2, QString());
    QVERIFY(withTime.loadRecord());

    QVERIFY(blank(emptyTime.m_updateTimeEdit));
    QVERIFY(!blank(withTime.m_updateTimeEdit));
}

void TestWorkItemEditor::bodyOpensAtItsTop()
{
    QTextDocument body;
    body.setPlainText(QStringLiteral("第一行\n").repeated(300));
    QCOMPARE(workbody::save(m_folder->database(), 1, body), workbody::SaveResult::Saved);
    WorkItemEditor window(1, QString());
    QVERIFY(window.loadRecord());

    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QCOMPARE(window.m_bodyEditor->m_textEdit->verticalScrollBar()->value(), 0);
    QCOMPARE(window.m_bodyEditor->m_textEdit->textCursor().position(), 0);
}

void TestWorkItemEditor::blankFieldsWhileUnchecked()
{
    auto blank = [](const QDateTimeEdit *picker) {
        return !picker->isEnabled() && picker->palette().color(QPalette::Disabled, QPalette::Text).alpha() == 0;
    };
    WorkItemEditor window(1, QString());
    QVERIFY(window.loadRecord());
    QVERIFY(!blank(window.m_startDateEdit));
    QCOMPARE(window.m_startDateEdit->text(), QStringLiteral("2026-12-01"));
    QVERIFY(blank(window.m_endDateEdit));

    window.m_reminderCheck->setChecked(false);

    QVERIFY(blank(window.m_reminderDateEdit));
    QVERIFY(blank(window.m_reminderTimeEdit));
    window.m_startCheck->setChecked(false);
    QVERIFY(blank(window.m_startDateEdit));
    window.m_startCheck->setChecked(true);
    QVERIFY(!blank(window.m_startDateEdit));
}

void TestWorkItemEditor::unreadableItemOpensNothing()
{
    QVERIFY(m_folder->database().execute(QStringLiteral("Drop table TWork")));

    QVERIFY(!editWorkItem(1, QString()));

    QCOMPARE(m_prompter->lastShown(), QStringLiteral("读取数据库发生错误"));
    QVERIFY(!QApplication::activeModalWidget());
}

void TestWorkItemEditor::saveWithState(qint64 id, int stateIndex)
{
    WorkItemEditor window(id, QString());
    QVERIFY(window.loadRecord());
    window.m_stateCombo->setCurrentIndex(stateIndex);
    window.m_saveButton->click();
    QVERIFY(window.saved());
}

void TestWorkItemEditor::repeatRowWritesTheRule_data()
{
    QTest::addColumn<QDate>("start");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("interval");
    QTest::addColumn<QList<int>>("weekdays");
    QTest::addColumn<int>("monthlyBy");
    QTest::addColumn<int>("ending");
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QString>("sentence");

    // The ending: 0 never, 1 up to 2027-06-30, 2 five times.
    QTest::newRow("every second week, two days, up to a day")
        << QDate(2027, 6, 4) << 3 << 2 << QList<int>{0, 4} << 0 << 1
        << "FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,FR;UNTIL=20270630T000000" << "每2周的周一、周五，到2027年6月30日";
    QTest::newRow("lunar yearly") << QDate(2027, 9, 15) << 6 << 1 << QList<int>{} << 0 << 0
                                  << "RSCALE=CHINESE;FREQ=YEARLY;BYMONTH=8;BYMONTHDAY=15;SKIP=BACKWARD" << "每年农历八月十五";
    QTest::newRow("monthly on the last Friday, five times") << QDate(2027, 1, 29) << 4 << 1 << QList<int>{} << 1 << 2
                                                            << "FREQ=MONTHLY;BYDAY=-1FR;COUNT=5" << "每月最后一个周五，共5次";
    QTest::newRow("working days") << QDate(2027, 1, 4) << 2 << 1 << QList<int>{} << 0 << 0
                                  << "FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR" << "每个工作日";
    QTest::newRow("no repeat") << QDate(2027, 1, 4) << 0 << 1 << QList<int>{} << 0 << 0 << "" << "";
}

void TestWorkItemEditor::repeatRowWritesTheRule()
{
    QFETCH(QDate, start);
    QFETCH(int, kind);
    QFETCH(int, interval);
    QFETCH(QList<int>, weekdays);
    QFETCH(int, monthlyBy);
    QFETCH(int, ending);
    QFETCH(QString, rule);
    QFETCH(QString, sentence);
    WorkItemEditor window(-1, QString());
    QVERIFY(window.loadRecord());
    window.m_subjectEdit->setText(QStringLiteral("例会"));
    window.m_startCheck->setChecked(true);
    window.m_startDateEdit->setDate(start);

    window.m_repeatCombo->setCurrentIndex(kind);
    window.m_intervalSpin->setValue(interval);
    for (int day = 0; day < 7; ++day) {
        if (window.m_weekdayChecks.at(day)->isVisible() || kind == 3)
            window.m_weekdayChecks.at(day)->setChecked(weekdays.contains(day));
    }
    window.m_monthlyCombo->setCurrentIndex(monthlyBy);
    window.m_endCombo->setCurrentIndex(ending);
    window.m_untilDateEdit->setDate(QDate(2027, 6, 30));
    window.m_countSpin->setValue(5);

    QCOMPARE(window.m_repeatSentence->text(), sentence);
    window.m_saveButton->click();
    QVERIFY(window.saved());
    QCOMPARE(m_folder->database().queryValue(QStringLiteral("Select ifnull(RRule, '<null>') from TWork where Title='例会'")),
             rule.isEmpty() ? QStringLiteral("<null>") : rule);

    WorkItemEditor again(m_folder->database().queryValue(QStringLiteral("Select ID from TWork where Title='例会'")).toLongLong(), QString());
    QVERIFY(again.loadRecord());
    QCOMPARE(again.m_repeatCombo->currentIndex(), kind);
    QCOMPARE(again.m_repeatSentence->text(), sentence);
}

void TestWorkItemEditor::repeatRowKeepsWhatItCannotShow_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QString>("sentence");
    QTest::newRow("set positions") << "FREQ=MONTHLY;BYDAY=MO;BYSETPOS=2,-1" << "FREQ=MONTHLY;BYDAY=MO;BYSETPOS=2,-1";
    QTest::newRow("named leap month") << "RSCALE=CHINESE;FREQ=YEARLY;BYMONTH=6L;BYMONTHDAY=15;SKIP=BACKWARD"
                                      << "RSCALE=CHINESE;FREQ=YEARLY;BYMONTH=6L;BYMONTHDAY=15;SKIP=BACKWARD";
    QTest::newRow("not a rule") << "FREQ=SOMETIMES" << "无法识别的重复规则：FREQ=SOMETIMES";
}

void TestWorkItemEditor::repeatRowKeepsWhatItCannotShow()
{
    QFETCH(QString, rule);
    QFETCH(QString, sentence);
    QVERIFY(m_folder->database().execute(QStringLiteral("Update TWork Set RRule=? where ID=1"), {rule}));
    WorkItemEditor window(1, QString());
    QVERIFY(window.loadRecord());
    QCOMPARE(window.m_repeatCombo->currentText(), QStringLiteral("其他规则"));
    QCOMPARE(window.m_repeatSentence->text(), sentence);

    // Other changes, a date among them, leave the rule as it stands.
    window.m_subjectEdit->setText(QStringLiteral("季度总结（改）"));
    window.m_startDateEdit->setDate(QDate(2026, 12, 3));
    window.m_saveButton->click();
    QVERIFY(window.saved());
    QCOMPARE(column(1, QStringLiteral("RRule")), rule);
    QCOMPARE(column(1, QStringLiteral("Title")), QStringLiteral("季度总结（改）"));
}

void TestWorkItemEditor::repeatNeedsADayToCountFrom()
{
    WorkItemEditor window(-1, QString());
    QVERIFY(window.loadRecord());
    QVERIFY(!window.m_startCheck->isChecked());

    window.m_repeatCombo->setCurrentIndex(3); // 每周

    // Today, a Thursday, is the start and the ticked day.
    QVERIFY(window.m_startCheck->isChecked());
    QCOMPARE(window.m_startDateEdit->date(), QDate(2026, 12, 10));
    QVERIFY(window.m_weekdayChecks.at(3)->isChecked());
    QCOMPARE(window.m_repeatSentence->text(), QStringLiteral("每周的周四"));
}

void TestWorkItemEditor::repeatRowSitsBelowTheReminder()
{
    WorkItemEditor window(1, QString());
    QVERIFY(window.loadRecord());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const auto top = [&](QWidget *widget) { return widget->mapTo(&window, QPoint(0, 0)).y(); };
    QVERIFY(top(window.m_repeatCombo) > top(window.m_reminderCheck) + window.m_reminderCheck->height() / 2);
    QVERIFY(top(window.m_repeatSentence) + window.m_repeatSentence->height() <= window.height());
    QCOMPARE(top(window.m_saveButton), top(window.m_reminderDateEdit) + (window.m_reminderDateEdit->height() - window.m_saveButton->height()) / 2);
    QCOMPARE(window.m_saveButton->text(), QStringLiteral("保存(&S)"));
}

void TestWorkItemEditor::finishingCreatesTheNextOccurrence_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QDateTime>("finishedAt");
    QTest::addColumn<QString>("next");        // TimeStart, TimeEnd, TimeHint, RRule of the new item
    QTest::addColumn<int>("items");

    // Item 1 starts on Tuesday 2026-12-01, has no end and is reminded on 2026-12-11 at 08:30.
    const QDateTime onTime(QDate(2026, 12, 2), QTime(10, 0));
    QTest::newRow("weekly, on time") << "FREQ=WEEKLY;BYDAY=TU" << onTime
                                     << "2026-12-08 00:00:00||2026-12-18 08:30:00|FREQ=WEEKLY;BYDAY=TU" << 3;
    QTest::newRow("weekly, finished late") << "FREQ=WEEKLY;BYDAY=TU" << QDateTime(QDate(2026, 12, 23), QTime(10, 0))
                                           << "2026-12-29 00:00:00||2027-01-08 08:30:00|FREQ=WEEKLY;BYDAY=TU" << 3;
    QTest::newRow("late on an occurrence's day") << "FREQ=WEEKLY;BYDAY=TU" << QDateTime(QDate(2026, 12, 15), QTime(23, 0))
                                                 << "2026-12-15 00:00:00||2026-12-25 08:30:00|FREQ=WEEKLY;BYDAY=TU" << 3;
    QTest::newRow("count goes down") << "FREQ=DAILY;INTERVAL=2;COUNT=3" << onTime
                                     << "2026-12-03 00:00:00||2026-12-13 08:30:00|FREQ=DAILY;INTERVAL=2;COUNT=2" << 3;
    QTest::newRow("lunar: the 8th of the 12th month") << "RSCALE=CHINESE;FREQ=YEARLY;BYMONTH=12;BYMONTHDAY=8;SKIP=BACKWARD" << onTime
                                                      << "2027-01-15 00:00:00||2027-01-25 08:30:00|"
                                                         "RSCALE=CHINESE;FREQ=YEARLY;BYMONTH=12;BYMONTHDAY=8;SKIP=BACKWARD" << 3;
    QTest::newRow("count used up") << "FREQ=DAILY;COUNT=1" << onTime << "" << 2;
    QTest::newRow("until passed") << "FREQ=DAILY;UNTIL=20261205" << QDateTime(QDate(2026, 12, 6), QTime(9, 0)) << "" << 2;
}

void TestWorkItemEditor::finishingCreatesTheNextOccurrence()
{
    QFETCH(QString, rule);
    QFETCH(QDateTime, finishedAt);
    QFETCH(QString, next);
    QFETCH(int, items);
    Database &dm = m_folder->database();
    QVERIFY(dm.execute(QStringLiteral("Update TWork Set RRule=?, UID='first-occurrence', WorkType='办公事务' where ID=1"), {rule}));
    m_clock->set(finishedAt);

    saveWithState(1, 2); // 已完成

    QCOMPARE(column(1, QStringLiteral("FinStu")), QStringLiteral("3"));
    QCOMPARE(dm.queryValue(QStringLiteral("Select count(*) from TWork")), QString::number(items));
    if (next.isEmpty())
        return;
    const qint64 id = dm.queryValue(QStringLiteral("Select max(ID) from TWork")).toLongLong();
    QCOMPARE(dm.queryValue(QStringLiteral("Select TimeStart || '|' || ifnull(TimeEnd, '') || '|' || TimeHint || '|' || RRule "
                                          "from TWork where ID=?"), {id}),
             next);
    QCOMPARE(dm.queryValue(QStringLiteral("Select Title || WorkType || FinStu || ZY || UseTimeHint || HasHinted from TWork where ID=?"), {id}),
             QStringLiteral("季度总结办公事务1110"));
    QTextDocument body;
    workbody::load(dm, id, body);
    QCOMPARE(body.toPlainText(), QStringLiteral("总结的正文"));
    const QString uid = column(id, QStringLiteral("UID"));
    QVERIFY(!QUuid::fromString(uid).isNull());
    QVERIFY(uid != column(1, QStringLiteral("UID")));
}

void TestWorkItemEditor::finishingAgainCreatesNoSecondCopy()
{
    Database &dm = m_folder->database();
    QVERIFY(dm.execute(QStringLiteral("Update TWork Set RRule='FREQ=WEEKLY;BYDAY=TU', WorkType='办公事务' where ID=1")));
    saveWithState(1, 2);
    QCOMPARE(dm.queryValue(QStringLiteral("Select count(*) from TWork where Title='季度总结'")), QStringLiteral("2"));

    // On 2026-12-10 the next Tuesday not past is 12-15. Set back, then finished again a week
    // later: that occurrence is there already.
    saveWithState(1, 0);
    m_clock->set(m_clock->now().addDays(7));
    saveWithState(1, 2);
    QCOMPARE(dm.queryValue(QStringLiteral("Select count(*) from TWork where Title='季度总结'")), QStringLiteral("2"));

    // Finishing the next one goes on with the series.
    const qint64 next = dm.queryValue(QStringLiteral("Select max(ID) from TWork")).toLongLong();
    saveWithState(next, 2);
    QCOMPARE(dm.queryValue(QStringLiteral("Select group_concat(substr(TimeStart, 1, 10)) from (Select TimeStart from TWork "
                                          "where Title='季度总结' Order by ID)")),
             QStringLiteral("2026-12-01,2026-12-15,2026-12-22"));
}

void TestWorkItemEditor::finishingWithABadRuleStoresTheItemAlone()
{
    Database &dm = m_folder->database();
    QVERIFY(dm.execute(QStringLiteral("Update TWork Set RRule='FREQ=SOMETIMES', WorkType='办公事务' where ID=1")));

    saveWithState(1, 2);

    QCOMPARE(m_prompter->lastShown(), QStringLiteral("无法识别的重复规则：FREQ=SOMETIMES\r没有生成下一次的事务。"));
    QCOMPARE(column(1, QStringLiteral("FinStu")), QStringLiteral("3"));
    QCOMPARE(column(1, QStringLiteral("RRule")), QStringLiteral("FREQ=SOMETIMES"));
    QCOMPARE(dm.queryValue(QStringLiteral("Select count(*) from TWork")), QStringLiteral("2"));
}

PANDREL_TEST_MAIN(TestWorkItemEditor)
#include "tst_workitemeditor.moc"
