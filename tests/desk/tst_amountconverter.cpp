#include "RecordingShell.h"
#include "ScriptedPrompter.h"
#include "TestMain.h"
#include "TestProgramFolder.h"

#include "app/SettingsPage.h"
#include "app/MainWindow.h"
#include "desk/AmountConverter.h"

#include <QClipboard>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

// The converter as the user works it: keys typed into the masked amount box.
class TestAmountConverter : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();

    void emptyBoxReadsAsBlanks();
    void convertsWhatIsTyped_data();
    void convertsWhatIsTyped();
    void maskAdmitsDigitsOnly();
    void copyPutsResultOnClipboard();
    void severalOpenOnTopAndGoWhenClosed();
    void settingsButtonOpensConverter();
};

namespace {

// Types `integer` from the first place and `decimals` after the point, as a user does.
void typeAmount(AmountConverter &window, const QString &integer, const QString &decimals = {})
{
    window.m_amountEdit->setFocus();
    window.m_amountEdit->setCursorPosition(0);
    QTest::keyClicks(window.m_amountEdit, integer);
    if (!decimals.isEmpty()) {
        window.m_amountEdit->setCursorPosition(13);
        QTest::keyClicks(window.m_amountEdit, decimals);
    }
}

} // namespace

void TestAmountConverter::cleanup()
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (qobject_cast<AmountConverter *>(window))
            delete window;
    }
}

void TestAmountConverter::emptyBoxReadsAsBlanks()
{
    AmountConverter window;
    QCOMPARE(window.windowTitle(), QStringLiteral("金额大写转换器"));
    QCOMPARE(window.amountText(), QStringLiteral("            .  "));

    window.m_convertButton->click();

    QCOMPARE(window.m_capitalsEdit->text(), QStringLiteral("零圆"));
}

void TestAmountConverter::convertsWhatIsTyped_data()
{
    QTest::addColumn<QString>("integer");
    QTest::addColumn<QString>("decimals");
    QTest::addColumn<QString>("capitals");

    QTest::newRow("123 and 45") << "123" << "45" << "壹佰贰拾叁圆肆角伍分";
    QTest::newRow("spaces typed are passed over") << "1 2 3" << "" << "壹佰贰拾叁圆";
    QTest::newRow("5 without decimals") << "5" << "" << "伍圆";
    QTest::newRow("decimals only") << "" << "05" << "伍分";
    QTest::newRow("largest amount") << "999999999999" << "99"
                                    << "玖仟玖佰玖拾玖亿玖仟玖佰玖拾玖万玖仟玖佰玖拾玖圆玖角玖分";
}

void TestAmountConverter::convertsWhatIsTyped()
{
    QFETCH(QString, integer);
    QFETCH(QString, decimals);
    QFETCH(QString, capitals);
    AmountConverter window;
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    typeAmount(window, integer, decimals);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_T, Qt::AltModifier);

    QTRY_COMPARE(window.m_capitalsEdit->text(), capitals); // the mnemonic presses the button visibly first
}

void TestAmountConverter::maskAdmitsDigitsOnly()
{
    AmountConverter window;
    typeAmount(window, QStringLiteral("-1a2,3"), QStringLiteral("x5"));

    QCOMPARE(window.amountText(), QStringLiteral("123         .5 "));
    window.m_convertButton->click();
    QCOMPARE(window.m_capitalsEdit->text(), QStringLiteral("壹佰贰拾叁圆伍角"));
}

void TestAmountConverter::copyPutsResultOnClipboard()
{
    AmountConverter window;
    typeAmount(window, QStringLiteral("20304"), QStringLiteral("07"));
    window.m_convertButton->click();

    window.m_copyButton->click();

    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("贰万零叁佰零肆圆零柒分"));
    QCOMPARE(window.m_capitalsEdit->selectedText(), window.m_capitalsEdit->text());
}

void TestAmountConverter::severalOpenOnTopAndGoWhenClosed()
{
    QPointer<AmountConverter> first = openAmountConverter();
    QPointer<AmountConverter> second = openAmountConverter();
    QVERIFY(first && second && first != second);
    QVERIFY(first->isVisible() && second->isVisible());
    // Each steps away from the last, not hidden exactly behind it.
    QPointer<AmountConverter> third = openAmountConverter();
    QCOMPARE(second->pos(), first->pos() + QPoint(24, 24));
    QCOMPARE(third->pos(), second->pos() + QPoint(24, 24));
    third->close();
    QVERIFY(!first->isModal());
    QVERIFY(first->windowFlags().testFlag(Qt::WindowStaysOnTopHint));

    first->m_exitButton->click();
    QTest::keyClick(second.data(), Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    QVERIFY(!first);
    QVERIFY(!second);
}

void TestAmountConverter::settingsButtonOpensConverter()
{
    TestProgramFolder folder;
    QVERIFY(folder.isValid());
    ScriptedPrompter prompter;
    RecordingShell shell;
    MainWindow main;
    QVERIFY(main.startUp());
    QCOMPARE(main.m_settingsPage->m_amountConverterButton->text(), QStringLiteral("金额大写转换"));

    main.m_settingsPage->m_amountConverterButton->click();
    main.m_settingsPage->m_amountConverterButton->click();

    int open = 0;
    for (QWidget *window : QApplication::topLevelWidgets())
        open += qobject_cast<AmountConverter *>(window) && window->isVisible() ? 1 : 0;
    QCOMPARE(open, 2);
}

PANDREL_TEST_MAIN(TestAmountConverter)
#include "tst_amountconverter.moc"
