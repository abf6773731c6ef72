#include "TestMain.h"
#include "WhenModal.h"

#include "platform/WidgetPrompter.h"

#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>

using platform::Prompter;

// The real dialogs behind the prompter seam, driven as the user does.
class TestWidgetPrompter : public QObject
{
    Q_OBJECT

private slots:
    void messageBoxShowsItsWholeCaption_data();
    void messageBoxShowsItsWholeCaption();
    void informationCarriesTheProgramPicture_data();
    void informationCarriesTheProgramPicture();
    void openingATypedNameWithoutSuffix();

private:
    platform::WidgetPrompter m_prompter;
};

void TestWidgetPrompter::messageBoxShowsItsWholeCaption_data()
{
    QTest::addColumn<QString>("caption");
    QTest::newRow("long caption, short text") << QStringLiteral("请输入数值的比例范围与说明文字标题");
    QTest::newRow("program title") << QStringLiteral("Kelan [ZorvikOribel]");
}

void TestWidgetPrompter::messageBoxShowsItsWholeCaption()
{
    QFETCH(QString, caption);
    int width = 0;
    whenModal<QMessageBox>(this, [&](QMessageBox *box) {
        width = box->width();
        box->button(QMessageBox::Ok)->click();
    });

    m_prompter.message(QStringLiteral("好"), Prompter::Icon::Error, caption);

    QFont bold = QApplication::font();
    bold.setBold(true);
    QVERIFY(width > QFontMetrics(bold).horizontalAdvance(caption));
}

void TestWidgetPrompter::informationCarriesTheProgramPicture_data()
{
    QTest::addColumn<int>("icon");
    QTest::addColumn<bool>("programPicture");
    QTest::newRow("success") << int(Prompter::Icon::Information) << true;
    QTest::newRow("warning keeps its sign") << int(Prompter::Icon::Warning) << false;
    QTest::newRow("error keeps its sign") << int(Prompter::Icon::Error) << false;
}

void TestWidgetPrompter::informationCarriesTheProgramPicture()
{
    QFETCH(int, icon);
    QFETCH(bool, programPicture);
    QPixmap picture(64, 64);
    picture.fill(QColor(200, 10, 10));
    QApplication::setWindowIcon(QIcon(picture));
    QImage shown;
    whenModal<QMessageBox>(this, [&](QMessageBox *box) {
        shown = box->iconPixmap().toImage();
        box->button(QMessageBox::Ok)->click();
    });

    m_prompter.message(QStringLiteral("备份数据成功！"), Prompter::Icon(icon), std::nullopt);

    QVERIFY(!shown.isNull());
    const QColor centre = shown.pixelColor(shown.width() / 2, shown.height() / 2);
    QCOMPARE(centre == QColor(200, 10, 10), programPicture);
    QApplication::setWindowIcon(QIcon());
}

void TestWidgetPrompter::openingATypedNameWithoutSuffix()
{
    QTemporaryDir folder;
    QFile backup(folder.filePath(QStringLiteral("周一.WBK")));
    QVERIFY(backup.open(QIODevice::WriteOnly));
    backup.close();
    QSize dialogSize;
    whenModal<QFileDialog>(this, [&](QFileDialog *dialog) {
        dialogSize = dialog->size();
        auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        QVERIFY(name);
        name->setText(QStringLiteral("周一"));
        QTest::keyClick(name, Qt::Key_Return);
    });

    Prompter::FileRequest request;
    request.title = QStringLiteral("选择文件还原数据库");
    request.folder = folder.path();
    request.filter = QStringLiteral("ZorvikOribel备份文件(*WBK)");
    request.defaultSuffix = QStringLiteral("WBK");
    const std::optional<QString> chosen = m_prompter.openFileName(request);

    QCOMPARE(chosen.value_or(QString()), backup.fileName());
    // Wide enough for the name, size, type and date columns.
    QVERIFY(dialogSize.width() >= 800 && dialogSize.height() >= 500);
}

PANDREL_TEST_MAIN(TestWidgetPrompter)
#include "tst_widgetprompter.moc"
