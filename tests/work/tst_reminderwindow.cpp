#include "ScriptedPrompter.h"
#include "TestMain.h"
#include "TestProgramFolder.h"

#include "work/WorkItemEditor.h"
#include "work/WorkTypesDialog.h"
#include "work/ReminderWindow.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QScreen>
#include <QSoundEffect>
#include <QTimer>
#include <QToolButton>
#include <QtEndian>

// Each case: its own program folder with no alert sound unless the case writes one, and
// scripted prompts. Reminder windows are opened through popUpReminder, as the main
// window's tick opens them.
class TestReminderWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void showsTimeAndSubject_data();
    void showsTimeAndSubject();
    void unreadableItemKeepsSampleTexts_data();
    void unreadableItemKeepsSampleTexts();
    void sitsBorderlessOnTopAboveTheBottomRightCorner();
    void pictureShapesTheWindow();
    void clickCloses_data();
    void clickCloses();
    void alertLoopsUntilTheFirstStopTick();
    void missingSoundGivesSilentWindow();
    void detailOpensTheItemThenCloses();
    void answersWhileADialogIsOpen_data();
    void answersWhileADialogIsOpen();

private:
    Database &dm() { return m_folder->database(); }
    qint64 addWork(const QString &title, const QVariant &timeHint);
    // Opens a reminder for the item and returns its window.
    ReminderWindow *openReminder(qint64 id);
    // A tenth of a second of silence as a valid 16-bit PCM WAVE file.
    void writeAlertSound();

    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<ScriptedPrompter> m_prompter;
};

namespace {

const QString readError = QStringLiteral("报警提示过程中，读取数据库发生错误！");

QList<ReminderWindow *> openReminders()
{
    QList<ReminderWindow *> reminders;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (auto *reminder = qobject_cast<ReminderWindow *>(window))
            reminders.append(reminder);
    }
    return reminders;
}

// True when every pixel of `area` is shown by the window's shape.
bool wholeOnPicture(const QWidget &window, const QRect &area)
{
    return QRegion(area).subtracted(window.mask()).isEmpty();
}

} // namespace

void TestReminderWindow::init()
{
    m_folder = std::make_unique<TestProgramFolder>();
    QVERIFY(m_folder->isValid());
    m_prompter = std::make_unique<ScriptedPrompter>();
}

void TestReminderWindow::cleanup()
{
    qDeleteAll(openReminders());
    m_prompter.reset();
    m_folder.reset();
}

qint64 TestReminderWindow::addWork(const QString &title, const QVariant &timeHint)
{
    const bool added = dm().execute(
        QStringLiteral("Insert into TWork (Title, FinStu, UseTimeHint, TimeHint, HasHinted) values (?, 1, 1, ?, 1)"),
        {title, timeHint});
    return added ? dm().queryValue(QStringLiteral("Select max(ID) from TWork")).toLongLong() : -1;
}

ReminderWindow *TestReminderWindow::openReminder(qint64 id)
{
    const QList<ReminderWindow *> before = openReminders();
    popUpReminder(id);
    for (ReminderWindow *reminder : openReminders()) {
        if (!before.contains(reminder))
            return reminder;
    }
    return nullptr;
}

void TestReminderWindow::writeAlertSound()
{
    constexpr quint32 sampleRate = 44100;
    const QByteArray samples(int(sampleRate / 10) * 2, '\0');
    QByteArray wave;
    const auto add32 = [&wave](quint32 value) { wave.append(reinterpret_cast<const char *>(&value), 4); };
    const auto add16 = [&wave](quint16 value) { wave.append(reinterpret_cast<const char *>(&value), 2); };
    wave.append("RIFF");
    add32(qToLittleEndian(quint32(36 + samples.size())));
    wave.append("WAVEfmt ");
    add32(qToLittleEndian(quint32(16)));
    add16(qToLittleEndian(quint16(1)));      // PCM
    add16(qToLittleEndian(quint16(1)));      // mono
    add32(qToLittleEndian(sampleRate));
    add32(qToLittleEndian(sampleRate * 2));  // bytes per second
    add16(qToLittleEndian(quint16(2)));      // bytes per frame
    add16(qToLittleEndian(quint16(16)));     // bits per sample
    wave.append("data");
    add32(qToLittleEndian(quint32(samples.size())));
    wave.append(samples);

    QFile file(m_folder->filePath(QStringLiteral("Images/DOGHINT1.WAV")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(wave), qint64(wave.size()));
}

void TestReminderWindow::showsTimeAndSubject_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("timeHint");
    QTest::addColumn<QString>("shownTime");

    QTest::newRow("afternoon, 24-hour clock") << "拜访华信" << "2026-12-02 17:05:00" << "26-12-02 17:05";
    QTest::newRow("just after midnight") << "月度总结" << "2009-01-01 00:01:00" << "09-01-01 00:01";
    QTest::newRow("quotes and percent in the subject") << "O'Neil's 100%_完成" << "2030-06-30 08:30:00"
                                                        << "30-06-30 08:30";
    QTest::newRow("no reminder time") << "无时间" << QString() << QString();
}

void TestReminderWindow::showsTimeAndSubject()
{
    QFETCH(QString, title);
    QFETCH(QString, timeHint);
    QFETCH(QString, shownTime);

    ReminderWindow *reminder = openReminder(addWork(title, timeHint.isEmpty() ? QVariant() : QVariant(timeHint)));
    QVERIFY(reminder);
    QVERIFY(reminder->isVisible());
    QCOMPARE(reminder->m_timeLabel->text(), shownTime);
    QCOMPARE(reminder->m_subjectLabel->text(), title);
    QVERIFY(m_prompter->shown().isEmpty());
}

void TestReminderWindow::unreadableItemKeepsSampleTexts_data()
{
    QTest::addColumn<bool>("closeDatabase");

    QTest::newRow("no such item") << false;
    QTest::newRow("the query fails") << true;
}

void TestReminderWindow::unreadableItemKeepsSampleTexts()
{
    QFETCH(bool, closeDatabase);

    const qint64 id = addWork(QStringLiteral("拜访华信"), QStringLiteral("2026-12-02 17:05:00"));
    if (closeDatabase)
        dm().close();
    ReminderWindow *reminder = openReminder(closeDatabase ? id : id + 1);
    QVERIFY(reminder);
    QCOMPARE(m_prompter->shown(), QStringList{readError});
    QVERIFY(reminder->isVisible());
    QCOMPARE(reminder->m_timeLabel->text(), QStringLiteral("09-01-01 17:01"));
    QCOMPARE(reminder->m_subjectLabel->text(), QStringLiteral("迎接客户"));
}

void TestReminderWindow::sitsBorderlessOnTopAboveTheBottomRightCorner()
{
    ReminderWindow *first = openReminder(addWork(QStringLiteral("甲"), QStringLiteral("2026-12-02 17:05:00")));
    ReminderWindow *second = openReminder(addWork(QStringLiteral("乙"), QStringLiteral("2026-12-02 17:06:00")));
    QVERIFY(first && second);

    QCOMPARE(first->windowTitle(), QStringLiteral("报警提示"));
    QVERIFY(first->windowFlags().testFlag(Qt::FramelessWindowHint));
    QVERIFY(first->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(!first->isModal());
    const QRect area = first->screen()->availableGeometry();
    QCOMPARE(first->size(), QSize(511, 289));
    // The card itself, not the picture's transparent margin, sits in the corner.
    const QRect card = first->mask().boundingRect().translated(first->pos());
    QCOMPARE(card.bottomRight(), QPoint(area.right(), area.bottom() - 20));
    // Several reminders stay open together, one on the other.
    QVERIFY(second->isVisible() && first->isVisible());
    QCOMPARE(second->geometry(), first->geometry());
}

void TestReminderWindow::pictureShapesTheWindow()
{
    ReminderWindow *reminder = openReminder(addWork(QStringLiteral("整理本月客户回访记录并提交报表给经理审阅"),
                                                   QStringLiteral("2026-12-28 23:59:00")));
    QVERIFY(reminder);
    const QRegion shape = reminder->mask();

    // The picture's red background is cut away at every corner.
    for (const QPoint corner : {QPoint(0, 0), QPoint(510, 0), QPoint(0, 288), QPoint(510, 288)})
        QVERIFY2(!shape.contains(corner), qPrintable(QStringLiteral("(%1, %2)").arg(corner.x()).arg(corner.y())));
    // What the window shows lies wholly on the picture.
    QVERIFY(wholeOnPicture(*reminder, reminder->m_timeLabel->geometry()));
    QVERIFY(wholeOnPicture(*reminder, reminder->m_subjectLabel->geometry()));
    QVERIFY(wholeOnPicture(*reminder, reminder->m_detailButton->geometry()));
}

void TestReminderWindow::clickCloses_data()
{
    QTest::addColumn<QString>("target");

    QTest::newRow("picture") << "pictureLabel";
    QTest::newRow("time") << "timeLabel";
    QTest::newRow("subject") << "subjectLabel";
}

void TestReminderWindow::clickCloses()
{
    QFETCH(QString, target);

    writeAlertSound();
    QPointer<ReminderWindow> reminder = openReminder(addWork(QStringLiteral("拜访华信"), QStringLiteral("2026-12-02 17:05:00")));
    QVERIFY(reminder);
    const QMap<QString, QWidget *> targets{
        {"pictureLabel", reminder->m_pictureLabel}, {"timeLabel", reminder->m_timeLabel}, {"subjectLabel", reminder->m_subjectLabel}};
    QWidget *clicked = targets.value(target);
    // On the picture: a point of the card clear of the labels and the detail area.
    const QPoint point = clicked == reminder->m_pictureLabel ? QPoint(50, 150) : clicked->rect().center();
    QVERIFY(reminder->mask().contains(clicked->mapTo(reminder.data(), point)));

    QTest::mouseClick(clicked, Qt::LeftButton, {}, point);
    QTRY_VERIFY(reminder.isNull());
}

void TestReminderWindow::alertLoopsUntilTheFirstStopTick()
{
    writeAlertSound();
    ReminderWindow *reminder = openReminder(addWork(QStringLiteral("拜访华信"), QStringLiteral("2026-12-02 17:05:00")));
    QVERIFY(reminder);
    auto *sound = reminder->findChild<QSoundEffect *>();
    QVERIFY(sound);
    QVERIFY(sound->isPlaying());
    QCOMPARE(sound->source(), QUrl::fromLocalFile(m_folder->filePath(QStringLiteral("Images/DOGHINT1.WAV"))));
    QCOMPARE(sound->loopCount(), int(QSoundEffect::Infinite));

    reminder->alertStopTick();
    QVERIFY(!sound->isPlaying());
    // The next tick leaves it quiet: the alert does not come back every minute.
    reminder->alertStopTick();
    QVERIFY(!sound->isPlaying());
    QVERIFY(reminder->isVisible());
    QVERIFY(m_prompter->shown().isEmpty());
}

void TestReminderWindow::missingSoundGivesSilentWindow()
{
    ReminderWindow *reminder = openReminder(addWork(QStringLiteral("拜访华信"), QStringLiteral("2026-12-02 17:05:00")));
    QVERIFY(reminder);
    QVERIFY(reminder->isVisible());
    QVERIFY(!reminder->findChild<QSoundEffect *>()); // nothing to play, nothing tried
    QVERIFY(m_prompter->shown().isEmpty());
}

void TestReminderWindow::detailOpensTheItemThenCloses()
{
    writeAlertSound();
    QPointer<ReminderWindow> reminder = openReminder(addWork(QStringLiteral("拜访华信"), QStringLiteral("2026-12-02 17:05:00")));
    QVERIFY(reminder);

    QString editedTitle;
    bool hiddenAndQuiet = false;
    QTimer::singleShot(0, this, [&] {
        auto *editor = qobject_cast<WorkItemEditor *>(QApplication::activeModalWidget());
        if (!editor)
            return;
        editedTitle = editor->m_subjectEdit->text();
        const auto *sound = reminder ? reminder->findChild<QSoundEffect *>() : nullptr;
        hiddenAndQuiet = sound && !reminder->isVisible() && !sound->isPlaying();
        editor->close();
    });
    QTest::mouseClick(reminder->m_detailButton, Qt::LeftButton);

    QCOMPARE(editedTitle, QStringLiteral("拜访华信"));
    QVERIFY(hiddenAndQuiet);
    QTRY_VERIFY(reminder.isNull());
}

void TestReminderWindow::answersWhileADialogIsOpen_data()
{
    QTest::addColumn<QString>("dialog");
    QTest::newRow("work types window") << "work types";
    QTest::newRow("item editor") << "item editor";
    QTest::newRow("message box") << "message box";
}

void TestReminderWindow::answersWhileADialogIsOpen()
{
    QFETCH(QString, dialog);
    QWidget mainWindow;
    mainWindow.resize(400, 300);
    mainWindow.show();
    QApplication::setActiveWindow(&mainWindow);
    QVERIFY(QTest::qWaitForWindowActive(&mainWindow));
    const qint64 id = addWork(QStringLiteral("拜访华信"), QStringLiteral("2026-12-02 17:05:00"));
    bool dialogWasOpen = false;
    bool closedByClick = false;
    QTimer::singleShot(0, this, [&] {
        QWidget *open = QApplication::activeModalWidget();
        dialogWasOpen = open != nullptr;
        QPointer<ReminderWindow> reminder = openReminder(id);
        if (!open || !reminder)
            return;
        // A click as the desktop delivers it, through the window: a blocked window drops it.
        QTest::mouseClick(reminder->windowHandle(), Qt::LeftButton, {}, QPoint(50, 150));
        closedByClick = reminder.isNull() || !reminder->isVisible();
        open->close();
    });

    if (dialog == QLatin1String("work types")) {
        editWorkTypes();
    } else if (dialog == QLatin1String("item editor")) {
        editWorkItem(id, QString());
    } else {
        platform::setPrompter(nullptr); // the real message box
        platform::prompter().message(QStringLiteral("存储参数发生错误！"), platform::Prompter::Icon::Error);
        platform::setPrompter(m_prompter.get());
    }

    QVERIFY(dialogWasOpen);
    QVERIFY(closedByClick);
}

PANDREL_TEST_MAIN(TestReminderWindow)
#include "tst_reminderwindow.moc"
