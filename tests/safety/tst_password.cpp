#include "ScriptedPrompter.h"
#include "TestMain.h"
#include "TestProgramFolder.h"

#include "safety/PasswordHash.h"
#include "safety/PasswordDialog.h"
#include "safety/PasswordChangeDialog.h"

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
    void changingThePassword_data();
    void changingThePassword();
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
        auto *window = qobject_cast<PasswordDialog *>(QApplication::activeModalWidget());
        QVERIFY(window);
        title = window->windowTitle();
        QCOMPARE(window->m_passwordEdit->echoMode(), QLineEdit::Password);
        window->m_passwordEdit->insert(typed);
        (cancel ? window->m_cancelButton : window->m_okButton)->click();
    });

    const QString answer = askPassword(QStringLiteral("请输入登陆密码："), QStringLiteral("请输入登陆密码："));

    QCOMPARE(answer, typed);
    QCOMPARE(title, QStringLiteral("请输入登陆密码："));
}

void TestPassword::changingThePassword_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("old");
    QTest::addColumn<QString>("fresh");
    QTest::addColumn<QString>("ensure");
    QTest::addColumn<QString>("message");  // empty: changed, the window closes
    QTest::addColumn<QStringList>("fieldsAfter"); // old, new, ensure when the window stays

    const QString hashed = hashPassword(QStringLiteral("旧密码Ab"));
    QTest::newRow("new installation") << "" << "" << "甲乙123" << "甲乙123" << "" << QStringList();
    QTest::newRow("right old password") << hashed << "旧密码Ab" << "新的 pass" << "新的 pass" << "" << QStringList();
    QTest::newRow("older plain value") << "abc'1" << "abc'1" << "xyz" << "xyz" << "" << QStringList();
    QTest::newRow("empty new password") << hashed << "旧密码Ab" << "" << "" << "" << QStringList();
    QTest::newRow("wrong old password: only it is emptied")
        << hashed << "旧密码ab" << "新" << "新" << "要修改密码，必须输入正确的原密码！" << QStringList{"", "新", "新"};
    QTest::newRow("new passwords differ: both emptied")
        << hashed << "旧密码Ab" << "新1" << "新2" << "新密码与确认输入的新密码不一致！" << QStringList{"旧密码Ab", "", ""};
}

void TestPassword::changingThePassword()
{
    QFETCH(QString, stored);
    QFETCH(QString, old);
    QFETCH(QString, fresh);
    QFETCH(QString, ensure);
    QFETCH(QString, message);
    QFETCH(QStringList, fieldsAfter);
    TestProgramFolder folder;
    ScriptedPrompter prompter;
    QVERIFY(folder.database().execute(QStringLiteral("Update TPara Set LogPass=?"), {stored}));
    PasswordChangeDialog window;
    window.show();
    window.m_oldPasswordEdit->setText(old);
    window.m_newPasswordEdit->setText(fresh);
    window.m_confirmPasswordEdit->setText(ensure);

    window.m_okButton->click();

    const QString now = folder.database().queryValue(QStringLiteral("Select LogPass from TPara"));
    QCOMPARE(window.windowTitle(), QStringLiteral("参数修改密码设置"));
    if (message.isEmpty()) {
        QVERIFY(prompter.shown().isEmpty());
        QVERIFY(!window.isVisible());
        QVERIFY(passwordMatches(now, fresh));
        QCOMPARE(now.startsWith(QLatin1String("pbkdf2-sha256$")), !fresh.isEmpty()); // kept as a hash only
    } else {
        QCOMPARE(prompter.shown(), QStringList{message});
        QVERIFY(window.isVisible());
        QCOMPARE(now, stored);
        QCOMPARE((QStringList{window.m_oldPasswordEdit->text(), window.m_newPasswordEdit->text(), window.m_confirmPasswordEdit->text()}), fieldsAfter);
    }
}

PANDREL_TEST_MAIN(TestPassword)
#include "tst_password.moc"
