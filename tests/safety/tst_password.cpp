#include "TestMain.h"

#include "safety/PasswordHash.h"
#include "safety/TfrmPassInput.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

class TestPassword : public QObject
{
    Q_OBJECT

private slots:
    void storedPasswordsVerify_data();
    void storedPasswordsVerify();
    void hashesAreSalted();
    void promptAnswersWithTheFieldHoweverClosed_data();
    void promptAnswersWithTheFieldHoweverClosed();
};

void TestPassword::storedPasswordsVerify_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("matches");
    const QString hashed = hashPassword(QStringLiteral("Mi码2026"));

    QTest::newRow("hash, right") << hashed << "Mi码2026" << true;
    QTest::newRow("hash, other case") << hashed << "mi码2026" << false;
    QTest::newRow("hash, empty answer") << hashed << "" << false;
    QTest::newRow("older plain value, right") << "abc'123" << "abc'123" << true;
    QTest::newRow("older plain value, other case") << "abc'123" << "ABC'123" << false;
    QTest::newRow("no password, empty answer") << "" << "" << true;
    QTest::newRow("no password, any answer") << "" << "x" << false;
    QTest::newRow("damaged hash") << "pbkdf2-sha256$0$$" << "" << false;
}

void TestPassword::storedPasswordsVerify()
{
    QFETCH(QString, stored);
    QFETCH(QString, answer);
    QFETCH(bool, matches);
    QCOMPARE(passwordMatches(stored, answer), matches);
}

void TestPassword::hashesAreSalted()
{
    const QString first = hashPassword(QStringLiteral("同一个密码"));
    const QString second = hashPassword(QStringLiteral("同一个密码"));

    QVERIFY(first != second);
    QVERIFY(!first.contains(QStringLiteral("同一个密码")));
    QVERIFY(hashPassword(QString()).isEmpty());
}

void TestPassword::promptAnswersWithTheFieldHoweverClosed_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("cancel");

    QTest::newRow("confirmed") << "秘密" << false;
    QTest::newRow("cancelled with text") << "秘密" << true;
    QTest::newRow("cancelled empty") << "" << true;
}

void TestPassword::promptAnswersWithTheFieldHoweverClosed()
{
    QFETCH(QString, typed);
    QFETCH(bool, cancel);
    QString title;
    QTimer::singleShot(0, [&] {
        auto *window = qobject_cast<TfrmPassInput *>(QApplication::activeModalWidget());
        QVERIFY(window);
        title = window->windowTitle();
        QCOMPARE(window->EditPass->echoMode(), QLineEdit::Password);
        window->EditPass->insert(typed);
        (cancel ? window->cmdCancel : window->cmdEnsure)->click();
    });

    const QString answer = InputPassword(QStringLiteral("请输入登陆密码："), QStringLiteral("请输入登陆密码："));

    QCOMPARE(answer, typed);
    QCOMPARE(title, QStringLiteral("请输入登陆密码："));
}

PANDREL_TEST_MAIN(TestPassword)
#include "tst_password.moc"
