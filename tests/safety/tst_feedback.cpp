#include "RecordingShell.h"
#include "ScriptedPrompter.h"
#include "TestMain.h"

#include "safety/FeedbackDialog.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrlQuery>

// The feedback window hands a mailto: address to the desktop; the recording shell keeps it.
class TestFeedback : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void theExampleMail();
    void textArrivesWhole_data();
    void textArrivesWhole();
    void tooLongIsRefused();
    void noMailProgramIsSaid();
    void keys();

private:
    // Subject and body as the mail program reads them from the handed address.
    std::pair<QString, QString> handedMail() const;

    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<RecordingShell> m_shell;
    std::unique_ptr<FeedbackDialog> m_window;
};

void TestFeedback::init()
{
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_shell = std::make_unique<RecordingShell>();
    m_window = std::make_unique<FeedbackDialog>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void TestFeedback::cleanup()
{
    m_window.reset();
    m_shell.reset();
    m_prompter.reset();
}

std::pair<QString, QString> TestFeedback::handedMail() const
{
    const QUrl mail(m_shell->lastCall().mid(QStringLiteral("url ").size()), QUrl::StrictMode);
    const QUrlQuery query(mail);
    return {query.queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded),
            query.queryItemValue(QStringLiteral("body"), QUrl::FullyDecoded)};
}

void TestFeedback::theExampleMail()
{
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Zorvik[Oribel] BUG/建议提交"));
    QCOMPARE(QApplication::focusWidget(), m_window->m_bodyEdit);
    QTest::keyClicks(m_window->m_bodyEdit, QStringLiteral("abc"));

    m_window->m_submitButton->click();

    QCOMPARE(m_shell->calls(), QStringList{QStringLiteral(
                                   "url mailto:support@zorvik.cn?subject=ZorvikOribelBUG%2F%E5%BB%BA%E8%AE%AE"
                                   "%E6%8F%90%E4%BA%A4&body=abc")});
    QVERIFY(m_window->isVisible()); // the window stays open
    QVERIFY(m_prompter->shown().isEmpty());
}

void TestFeedback::textArrivesWhole_data()
{
    QTest::addColumn<QString>("subject");
    QTest::addColumn<QString>("body");
    QTest::addColumn<QString>("receivedBody");

    QTest::newRow("separators of the address") << "问题 & 建议" << "a=1&b=2?c#d+e%20f" << "a=1&b=2?c#d+e%20f";
    QTest::newRow("lines end in CRLF") << "多行" << "第一行\n第二行\r\n第三行" << "第一行\r\n第二行\r\n第三行";
    QTest::newRow("edited subject") << "打印预览时出错" << "详见附件" << "详见附件";
}

void TestFeedback::textArrivesWhole()
{
    QFETCH(QString, subject);
    QFETCH(QString, body);
    QFETCH(QString, receivedBody);
    m_window->m_subjectEdit->setText(subject);
    m_window->m_bodyEdit->setPlainText(body);

    m_window->m_submitButton->click();

    QCOMPARE(handedMail(), std::make_pair(subject, receivedBody));
}

void TestFeedback::tooLongIsRefused()
{
    m_window->m_bodyEdit->setPlainText(QString(700, QChar(0x95EE))); // 问: nine characters each, encoded
    m_window->m_submitButton->click();
    QCOMPARE(handedMail().second.size(), 700);

    m_window->m_bodyEdit->setPlainText(QString(900, QChar(0x95EE)));
    m_window->m_submitButton->click();

    QCOMPARE(m_shell->calls().size(), 1);
    QCOMPARE(m_prompter->shown(), QStringList{QStringLiteral("提交的内容太长，邮件程序无法完整接收，请删减后再提交！")});
    QCOMPARE(m_window->m_bodyEdit->toPlainText().size(), 900); // nothing is lost
}

void TestFeedback::noMailProgramIsSaid()
{
    m_shell->failLaunches();
    m_window->m_bodyEdit->setPlainText(QStringLiteral("打印预览太小"));
    m_window->m_submitButton->click();

    QCOMPARE(m_shell->calls().size(), 1);
    QCOMPARE(m_prompter->shown().size(), 1);
    QVERIFY2(m_prompter->lastShown().startsWith(QStringLiteral("系统中没有找到邮件程序")), qPrintable(m_prompter->lastShown()));
    QCOMPARE(m_window->m_bodyEdit->toPlainText(), QStringLiteral("打印预览太小")); // nothing is lost
}

void TestFeedback::keys()
{
    m_window->m_subjectEdit->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), m_window->m_bodyEdit);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(m_window->m_bodyEdit->toPlainText(), QStringLiteral("\n"));

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(!m_window->isVisible());
}

PANDREL_TEST_MAIN(TestFeedback)
#include "tst_feedback.moc"
