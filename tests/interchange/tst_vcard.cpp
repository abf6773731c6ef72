#include "ScriptedPrompter.h"
#include "TestMain.h"
#include "TestProgramFolder.h"
#include "WhenModal.h"

#include "crm/ClientListPage.h"
#include "crm/ContactEditor.h"
#include "data/Recordset.h"
#include "desk/AddressBookTab.h"
#include "interchange/ContactCards.h"
#include "util/Gbk.h"
#include "widgets/ContactPickDialog.h"
#include "widgets/DataGrid.h"

#include <QAction>
#include <QBuffer>
#include <QComboBox>
#include <QElapsedTimer>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>

using Columns = QMap<QString, QString>;

namespace {

QByteArray crlf(QByteArray text)
{
    return text.replace("\n", "\r\n");
}

ContactCard everyField()
{
    ContactCard contact;
    contact.name = QStringLiteral("欧阳娜娜");
    contact.company = QStringLiteral("上海华信贸易有限公司");
    contact.department = QStringLiteral("采购部;华东\\区");
    contact.job = QStringLiteral("经理, 主管");
    contact.officePhone = QStringLiteral("021-60000103");
    contact.mobilePhone = QStringLiteral("13900000001");
    contact.homePhone = QStringLiteral("021-50001234");
    contact.fax = QStringLiteral("021-60000102");
    contact.qq = QStringLiteral("10002001");
    contact.aliAccount = QStringLiteral("ouyang_ali");
    contact.taobaoAccount = QStringLiteral("欧阳淘宝");
    contact.alipayAccount = QStringLiteral("ouyang@example.com");
    contact.email = QStringLiteral("ouyang@example.com");
    contact.birthday = QDate(1985, 2, 28);
    contact.address = QStringLiteral("上海市浦东新区张杨路1288号;3楼");
    contact.hobbies = QStringLiteral("羽毛球、喝茶");
    // Long enough to be folded many times, with a Chinese character across every fold.
    contact.notes = QStringLiteral("第一行: a,b;c\\d\n第二行") + QString(100, QChar(0x4E2D)) + QStringLiteral("x");
    contact.mainContact = true;
    return contact;
}

QList<ContactCard> readBack(const QByteArray &file, QString *error = nullptr)
{
    QBuffer buffer;
    buffer.setData(file);
    buffer.open(QIODevice::ReadOnly);
    ContactCardImport import{ContactList::addressBook()};
    const bool read = import.read(buffer);
    if (error)
        *error = import.errorText();
    return read ? import.contacts() : QList<ContactCard>();
}

// The command of the grid's right-click menu with this caption; the menu is closed again.
QAction *menuCommand(DataGrid *grid, const QString &caption)
{
    emit grid->contextMenuRequested(QPoint(20, 20));
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    if (!menu)
        return nullptr;
    QAction *found = nullptr;
    for (QAction *action : menu->actions()) {
        if (action->text() == caption)
            found = action;
    }
    menu->close();
    return found;
}

} // namespace

class TestVCard : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void phoneCardsImportFieldByField_data();
    void phoneCardsImportFieldByField();
    void exportThenImportKeepsEveryField_data();
    void exportThenImportKeepsEveryField();
    void linesAreFoldedWithinOctetsAndCharacters();
    void halfASurrogatePairStaysInItsOwnValue();
    void storedContactsAreMarked_data();
    void storedContactsAreMarked();
    void damagedFilesStoreNothing_data();
    void damagedFilesStoreNothing();
    void randomAndMutatedInputIsReadOrRefused();

    void addressBookImportsPickedCardsIntoChosenCategory();
    void addressBookExportsSelectedOrAllContacts();
    void clientContactsGoOutWithTheClientAndComeBack();
    void longNotesSurviveTheContactEditor();

private:
    QString writeFile(const QString &name, const QByteArray &bytes);
    int rowCount(const QString &table);
    Columns storedRow(const QString &table, const QString &name);

    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<QTemporaryDir> m_files;
};

void TestVCard::init()
{
    m_folder = std::make_unique<TestProgramFolder>();
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_files = std::make_unique<QTemporaryDir>();
}

void TestVCard::cleanup()
{
    m_prompter.reset();
    m_folder.reset();
    m_files.reset();
}

QString TestVCard::writeFile(const QString &name, const QByteArray &bytes)
{
    const QString path = m_files->filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return path;
}

int TestVCard::rowCount(const QString &table)
{
    return m_folder->database().queryValue(QStringLiteral("Select count(*) from ") + table).toInt();
}

Columns TestVCard::storedRow(const QString &table, const QString &name)
{
    Recordset row;
    row.open(QStringLiteral("Select * from %1 where Linker=?").arg(table), {name});
    Columns columns;
    for (int column = 0; column < row.fieldCount(); ++column) {
        const QString field = row.fieldName(column);
        if (field != QLatin1String("ID") && !row.text(field).isEmpty())
            columns.insert(field, row.text(field));
    }
    return columns;
}

// What phones and mail programs write, stored in the address book's first category and read
// back column by column.
void TestVCard::phoneCardsImportFieldByField_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<Columns>("stored");

    QTest::newRow("2.1, quoted-printable GB2312, two mobiles, a photo")
        << crlf("BEGIN:VCARD\nVERSION:2.1\n"
                "N;CHARSET=GB2312;ENCODING=QUOTED-PRINTABLE:=D5=C5;=C8=FD;;;\n"
                "FN;CHARSET=GB2312;ENCODING=QUOTED-PRINTABLE:=D5=C5=C8=FD\n"
                "TEL;CELL:13812345678\nTEL;CELL;PREF:139-8765-4321\nTEL;WORK;VOICE:010-62345678\n"
                "NOTE;CHARSET=GB2312;ENCODING=QUOTED-PRINTABLE:=B5=DA=D2=BB=D0=D0=0D=0A=\n=B5=DA=B6=FE=D0=D0\n"
                "X-QQ:10001\n"
                "PHOTO;ENCODING=BASE64;JPEG:/9j/4AAQSkZJRgABAQEASABIAAD\n /2wBDAAYEBQYFBAYGBQYHBwYIChAKCgkJChQODwwQFxQYGBcU\n\n"
                "END:VCARD\n")
        << Columns{{"ClassID", "1"}, {"Linker", "张三"}, {"MobileCode", "13812345678"}, {"Tele", "010-62345678"},
                   {"QICQ", "10001"}, {"Birthday", "1899-12-30"},
                   {"Desp", "第一行\n第二行\n移动电话：139-8765-4321"}};
    QTest::newRow("3.0, folded lines, grouped properties, escapes")
        << crlf("BEGIN:VCARD\nVERSION:3.0\nFN:李四\nN:李;四;;;\n"
                "ORG:北京星光科技有限公司;销售部\nTITLE:销售经理\n"
                "item1.TEL;type=pref:+86 138 0013 8000\nitem1.X-ABLabel:_$!<Mobile>!$_\n"
                "TEL;TYPE=WORK,VOICE:010-8888\n 9999\n"
                "EMAIL;TYPE=INTERNET:lisi@examp\n le.com\n"
                "ADR;TYPE=WORK:;;中关村大街1号;海淀区;北京市;100080;中国\n"
                "NOTE:老客户\\, 喜欢喝茶\\;周末\\n不打扰\nIMPP:x-wechat:lisi_wx\nX-UNKNOWN-THING:ignored\n"
                "END:VCARD\n")
        << Columns{{"ClassID", "1"}, {"Linker", "李四"}, {"Job", "销售经理"}, {"MobileCode", "+86 138 0013 8000"},
                   {"Tele", "010-88889999"}, {"EMail", "lisi@example.com"}, {"Address", "中国北京市海淀区中关村大街1号"},
                   {"Birthday", "1899-12-30"},
                   {"Desp", "老客户, 喜欢喝茶;周末\n不打扰\n邮编：100080\n微信：lisi_wx\n单位：北京星光科技有限公司\n部门：销售部"}};
    QTest::newRow("4.0, birthday without a year")
        << crlf("BEGIN:VCARD\nVERSION:4.0\nFN:Wang Wu\nN:Wang;Wu;;;\nBDAY:--0415\nGENDER:M\n"
                "TEL;VALUE=uri;TYPE=\"voice,home\":tel:+86-21-5555-1234\nIMPP:x-qq:123456\nHOBBY:篮球\n"
                "EMAIL:wangwu@example.com\nEND:VCARD\n")
        << Columns{{"ClassID", "1"}, {"Linker", "Wang Wu"}, {"HomeTele", "+86-21-5555-1234"}, {"QICQ", "123456"},
                   {"Fancy", "篮球"}, {"EMail", "wangwu@example.com"}, {"Birthday", "1904-04-15"}, {"Desp", "性别：男"}};
    QTest::newRow("3.0, Big5 without a formatted name")
        << crlf("BEGIN:VCARD\nVERSION:3.0\nN;CHARSET=BIG5:\xB3\xAF;\xA4\x6A\xA4\xE5;;;\nTEL;TYPE=FAX:2345 6789\n"
                "BDAY:1970-01-02\nEND:VCARD\n")
        << Columns{{"ClassID", "1"}, {"Linker", "陳大文"}, {"Fax", "2345 6789"}, {"Birthday", "1970-01-02"}};
    QTest::newRow("values beyond their boxes")
        << crlf("BEGIN:VCARD\nVERSION:4.0\nFN:欧阳上官诸葛东方皇甫尉迟公孙\n"
                "EMAIL:a.very.long.address.for.a.box@example.com\nNOTE:原有备注\nEND:VCARD\n")
        << Columns{{"ClassID", "1"}, {"Linker", "欧阳上官诸葛东方皇甫"}, {"EMail", "a.very.long.address.for.a.box@"},
                   {"Birthday", "1899-12-30"},
                   {"Desp", "原有备注\n姓名：欧阳上官诸葛东方皇甫尉迟公孙\n电子邮件：a.very.long.address.for.a.box@example.com"}};
}

void TestVCard::phoneCardsImportFieldByField()
{
    QFETCH(QByteArray, file);
    QFETCH(Columns, stored);
    QBuffer buffer(&file);
    buffer.open(QIODevice::ReadOnly);
    ContactCardImport import{ContactList::addressBook()};
    QVERIFY2(import.read(buffer), qPrintable(import.errorText()));
    QCOMPARE(import.contacts().size(), 1);

    QVERIFY(import.store({0}, 1));

    QCOMPARE(storedRow(QStringLiteral("TLinker"), stored.value(QStringLiteral("Linker"))), stored);
}

void TestVCard::exportThenImportKeepsEveryField_data()
{
    QTest::addColumn<bool>("olderPhones");
    QTest::addColumn<QDate>("birthday");
    QTest::newRow("4.0") << false << QDate(1985, 2, 28);
    QTest::newRow("3.0") << true << QDate(1985, 2, 28);
    QTest::newRow("4.0, no year") << false << QDate(kBirthdayYearUnknown, 2, 29);
    QTest::newRow("3.0, no year") << true << QDate(kBirthdayYearUnknown, 2, 29);
    QTest::newRow("no birthday") << false << QDate();
}

void TestVCard::exportThenImportKeepsEveryField()
{
    QFETCH(bool, olderPhones);
    QFETCH(QDate, birthday);
    ContactCard contact = everyField();
    contact.birthday = birthday;
    const QString path = m_files->filePath(QStringLiteral("out.vcf"));
    QString error;
    ContactCard plain;
    plain.name = QStringLiteral("Zhang San");
    QVERIFY(writeContactCardFile(path, {contact, plain},
                                 olderPhones ? VCardVersion::V3 : VCardVersion::V4, error));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray written = file.readAll();
    QVERIFY(written.startsWith(olderPhones ? "BEGIN:VCARD\r\nVERSION:3.0\r\n" : "BEGIN:VCARD\r\nVERSION:4.0\r\n"));

    const QList<ContactCard> read = readBack(written);

    QCOMPARE(read.size(), 2);
    const ContactCard &back = read.first();
    QCOMPARE(back.name, contact.name);
    QCOMPARE(back.company, contact.company);
    QCOMPARE(back.department, contact.department);
    QCOMPARE(back.job, contact.job);
    QCOMPARE(back.officePhone, contact.officePhone);
    QCOMPARE(back.mobilePhone, contact.mobilePhone);
    QCOMPARE(back.homePhone, contact.homePhone);
    QCOMPARE(back.fax, contact.fax);
    QCOMPARE(back.qq, contact.qq);
    QCOMPARE(back.aliAccount, contact.aliAccount);
    QCOMPARE(back.taobaoAccount, contact.taobaoAccount);
    QCOMPARE(back.alipayAccount, contact.alipayAccount);
    QCOMPARE(back.email, contact.email);
    QCOMPARE(back.birthday, contact.birthday);
    QCOMPARE(back.address, contact.address);
    QCOMPARE(back.hobbies, contact.hobbies);
    QCOMPARE(back.notes, contact.notes);
    QCOMPARE(back.mainContact, contact.mainContact);
    QCOMPARE(back.extras, contact.extras);
    QCOMPARE(read.at(1).name, QStringLiteral("Zhang San"));
}

void TestVCard::linesAreFoldedWithinOctetsAndCharacters()
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    VCardWriter writer(buffer, VCardVersion::V4);
    writeContactCard(writer, everyField());
    QVERIFY(writer.finish());
    const QList<QByteArray> lines = buffer.data().split('\n');
    QCOMPARE(lines.last(), QByteArray());
    int folds = 0;
    for (const QByteArray &line : lines.mid(0, lines.size() - 1)) {
        QVERIFY2(line.endsWith('\r'), line.constData());
        QVERIFY2(line.size() - 1 <= 75, line.constData());
        QStringDecoder utf8(QStringDecoder::Utf8);
        utf8.decode(line);
        QVERIFY2(!utf8.hasError(), line.constData());
        folds += line.startsWith(' ');
    }
    QVERIFY(folds >= 3);
    QVERIFY(buffer.data().contains("\r\nTEL;TYPE=work,voice:021-60000103\r\n"));
    QVERIFY(buffer.data().contains("\r\nTEL;TYPE=cell:13900000001\r\n"));
    QVERIFY(buffer.data().contains("\r\nIMPP:x-qq:10002001\r\n"));
    QVERIFY(buffer.data().contains("\r\nORG:上海华信贸易有限公司;采购部\\;华东\\\\区\r\n"));
    QVERIFY(buffer.data().contains("\r\nBDAY:19850228\r\n"));
}

// A value that ends in half a surrogate pair (text cut by some other program) gets a
// replacement character of its own; the next value is written as it is.
void TestVCard::halfASurrogatePairStaysInItsOwnValue()
{
    ContactCard contact;
    contact.name = QStringLiteral("王") + QChar(0xD83D);
    contact.job = QStringLiteral("经理");
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    VCardWriter writer(buffer, VCardVersion::V4);
    writeContactCard(writer, contact);
    QVERIFY(writer.finish());
    QVERIFY2(buffer.data().contains("\r\nFN:王\xEF\xBF\xBD\r\n"), buffer.data().constData());
    QVERIFY2(buffer.data().contains("\r\nTITLE:经理\r\n"), buffer.data().constData());
}

void TestVCard::storedContactsAreMarked_data()
{
    QTest::addColumn<QByteArray>("card");
    QTest::addColumn<bool>("stored");
    // The sample book holds 刘洋 with mobile 13800000101 and office 021-60002001.
    QTest::newRow("same name, mobile written another way") << QByteArray("FN:刘洋\nTEL;TYPE=cell:+86 138-0000-0101") << true;
    QTest::newRow("same name, office number as a work phone") << QByteArray("FN:刘洋\nTEL:021 6000 2001") << true;
    QTest::newRow("same name, another number") << QByteArray("FN:刘洋\nTEL:13911112222") << false;
    QTest::newRow("same name, no number") << QByteArray("FN:刘洋") << false;
    QTest::newRow("another name, same number") << QByteArray("FN:刘阳\nTEL:13800000101") << false;
}

void TestVCard::storedContactsAreMarked()
{
    QFETCH(QByteArray, card);
    QFETCH(bool, stored);
    QByteArray file = "BEGIN:VCARD\nVERSION:3.0\n" + card + "\nEND:VCARD\n";
    QBuffer buffer(&file);
    buffer.open(QIODevice::ReadOnly);
    ContactCardImport import{ContactList::addressBook()};
    QVERIFY(import.read(buffer));
    QCOMPARE(import.isStored(0), stored);
}

void TestVCard::damagedFilesStoreNothing_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<qint64>("sparseSize");
    QTest::addColumn<QString>("message");
    const QByteArray good = crlf("BEGIN:VCARD\nVERSION:3.0\nFN:王五\nTEL:13800001111\nEND:VCARD\n");
    QTest::newRow("not a card file") << QByteArray("Name,Phone\n王五,13800001111\n") << qint64(0) << "不是名片文件";
    QTest::newRow("empty") << QByteArray() << qint64(0) << "不是名片文件";
    QTest::newRow("cut inside the second card") << good + good.left(40) << qint64(0) << "不完整";
    QTest::newRow("binary") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << qint64(0) << "不是文本文件";
    QTest::newRow("a card of two megabytes")
        << good + "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:大\r\nNOTE:" + QByteArray(2 << 20, 'x') + "\r\nEND:VCARD\r\n" << qint64(0)
        << "超过 1024 KB";
    QTest::newRow("a gigabyte") << good << (qint64(1) << 30) << "太大";
}

void TestVCard::damagedFilesStoreNothing()
{
    QFETCH(QByteArray, file);
    QFETCH(qint64, sparseSize);
    QFETCH(QString, message);
    const QString path = writeFile(QStringLiteral("damaged.vcf"), file);
    if (sparseSize > 0)
        QVERIFY(QFile::resize(path, sparseSize)); // sparse: takes no room on the disk
    AddressBookTab book;
    QVERIFY(book.loadCategories());
    const int before = rowCount(QStringLiteral("TLinker"));
    m_prompter->answerText(path);
    bool picked = false;
    QObject watch; // ends the watch with this case: no window is expected to come
    whenModal<ContactPickDialog>(&watch, [&picked](ContactPickDialog *window) {
        picked = true;
        window->accept();
    });

    book.importContactCards();

    QVERIFY(!picked);
    QVERIFY2(m_prompter->lastShown().contains(message), qPrintable(m_prompter->lastShown()));
    QVERIFY(m_prompter->lastShown().endsWith(QStringLiteral("没有导入任何联系人。")));
    QCOMPARE(rowCount(QStringLiteral("TLinker")), before);
}

// Random and damaged input is either read or refused with a message, within bounded time.
// The seed is fixed so that a failure can be replayed.
void TestVCard::randomAndMutatedInputIsReadOrRefused()
{
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    VCardWriter writer(out, VCardVersion::V4);
    writeContactCard(writer, everyField());
    writeContactCard(writer, everyField());
    QVERIFY(writer.finish());
    const QByteArray written = out.data()
        + crlf("BEGIN:VCARD\nVERSION:2.1\nN;CHARSET=GB2312;ENCODING=QUOTED-PRINTABLE:=D5=C5;=C8=FD=\n=C8=FD;;;\n"
               "item1.ADR;TYPE=\"a;b\":;;x\\;y;z\nPHOTO;ENCODING=BASE64:AAAA\n BBBB\n\nEND:VCARD\n");
    const QByteArray alphabet = "BEGIN:VCARDEND;=,\\\"\r\n \tQUOTED-PRINTABLE0123456789ABCDEF";
    QRandomGenerator random(20261211);
    const auto randomBytes = [&](qsizetype length, const QByteArray &from) {
        QByteArray bytes;
        for (qsizetype i = 0; i < length; ++i)
            bytes += from.isEmpty() ? char(random.bounded(256)) : from.at(random.bounded(int(from.size())));
        return bytes;
    };
    VCardReader::Limits limits;
    limits.cardBytes = 4096;
    limits.fileBytes = 1 << 20;
    limits.cards = 50;

    QElapsedTimer timer;
    timer.start();
    for (int round = 0; round < 2000; ++round) {
        QByteArray input;
        switch (round % 5) {
        case 0: input = randomBytes(random.bounded(600), {}); break;
        case 1: input = "BEGIN:VCARD\r\n" + randomBytes(random.bounded(600), alphabet); break;
        case 2: input = written.left(random.bounded(int(written.size()))); break;
        case 3:
            input = written;
            for (int flip = 0; flip < 12; ++flip)
                input[random.bounded(int(input.size()))] = char(random.bounded(256));
            break;
        case 4:
            for (const char c : written) {
                if ((c != '\n' && c != ':' && c != ';') || random.bounded(4) != 0)
                    input += c;
            }
            break;
        }
        QBuffer buffer(&input);
        buffer.open(QIODevice::ReadOnly);
        ContactCardImport import{ContactList::addressBook()};
        const QString replay = QStringLiteral("round %1").arg(round);
        if (import.read(buffer, limits)) {
            QVERIFY2(!import.contacts().isEmpty() && import.contacts().size() <= limits.cards, qPrintable(replay));
            for (const ContactCard &contact : import.contacts())
                QVERIFY2(gbkByteLength(fitToBoxes(contact, ContactList::addressBook()).name) <= 20, qPrintable(replay));
        } else {
            QVERIFY2(import.contacts().isEmpty() && !import.errorText().isEmpty(), qPrintable(replay));
        }
    }
    QVERIFY2(timer.elapsed() < 20'000, qPrintable(QStringLiteral("%1 ms").arg(timer.elapsed())));
}

// From the menu: the file, the pick window with one stored contact left unticked and one
// contact unticked by the user, another category; one message with the counts.
void TestVCard::addressBookImportsPickedCardsIntoChosenCategory()
{
    const QString path = writeFile(QStringLiteral("phone.vcf"),
                                   crlf("BEGIN:VCARD\nVERSION:3.0\nFN:刘洋\nTEL;TYPE=CELL:13800000101\nEND:VCARD\n"
                                        "BEGIN:VCARD\nVERSION:3.0\nFN:新朋友\nTEL:13712345678\nORG:某公司\nEND:VCARD\n"
                                        "BEGIN:VCARD\nVERSION:3.0\nFN:不要的\nEND:VCARD\n"
                                        "BEGIN:VCARD\nVERSION:3.0\nFN:另一位\nEND:VCARD\n"));
    AddressBookTab book;
    QVERIFY(book.loadCategories());
    Recordset &categories = book.categories();
    const int otherRow = (categories.position() + 1) % categories.count();
    const QString other = categories.valueAt(otherRow, categories.fieldIndex(QStringLiteral("TitleName"))).toString();
    const QString otherId = categories.valueAt(otherRow, categories.fieldIndex(QStringLiteral("ID"))).toString();
    const int before = rowCount(QStringLiteral("TLinker"));
    m_prompter->answerText(path);
    QStringList listed;
    whenModal<ContactPickDialog>(this, [&listed, other](ContactPickDialog *window) {
        for (int row = 0; row < window->m_table->rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < window->m_table->columnCount(); ++column)
                cells << window->m_table->item(row, column)->text();
            cells << (window->m_table->item(row, 0)->checkState() == Qt::Checked ? "ticked" : "");
            listed << cells.join('|');
        }
        window->m_table->item(2, 0)->setCheckState(Qt::Unchecked);
        window->m_categoryCombo->setCurrentText(other);
        window->m_importButton->click();
    });
    QAction *command = menuCommand(book.m_contactGrid, QStringLiteral("从名片文件导入…"));
    QVERIFY(command);

    command->trigger();

    QCOMPARE(listed, QStringList({"刘洋|13800000101||已存在|", "新朋友|13712345678|某公司||ticked", "不要的||||ticked",
                                  "另一位||||ticked"}));
    QCOMPARE(m_prompter->lastShown(), QStringLiteral("已从名片文件导入 2 位联系人。\n未导入 2 位（其中 1 位已存在）。"));
    QCOMPARE(rowCount(QStringLiteral("TLinker")), before + 2);
    QCOMPARE(storedRow(QStringLiteral("TLinker"), QStringLiteral("新朋友")).value(QStringLiteral("ClassID")), otherId);
    QCOMPARE(book.categories().text(QStringLiteral("TitleName")), other);
    QVERIFY(book.contacts().locate(m_folder->database().queryValue(QStringLiteral("Select ID from TLinker where Linker='另一位'")).toLongLong()));
}

void TestVCard::addressBookExportsSelectedOrAllContacts()
{
    AddressBookTab book;
    QVERIFY(book.loadCategories());
    const int listed = book.contacts().count();
    QVERIFY(listed >= 3);
    const QString path = m_files->filePath(QStringLiteral("book.vcf"));

    m_prompter->answerText(path);
    book.exportContactCards();
    QCOMPARE(m_prompter->fileRequests().last().filter,
             QStringLiteral("名片文件 vCard 4.0 (*.vcf);;名片文件 vCard 3.0，旧手机 (*.vcf)"));
    QCOMPARE(readBack([&] { QFile f(path); f.open(QIODevice::ReadOnly); return f.readAll(); }()).size(), listed);
    QCOMPARE(m_prompter->lastShown(), QStringLiteral("已将 %1 位联系人导出到名片文件。").arg(listed));

    // Two rows picked with the keyboard's Shift, as a user would.
    QTableView *view = book.m_contactGrid->view();
    view->selectionModel()->select(QItemSelection(view->model()->index(1, 0), view->model()->index(2, 0)),
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_prompter->answerText(path);
    book.exportContactCards();
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<ContactCard> two = readBack(file.readAll());
    QCOMPARE(two.size(), 2);
    QCOMPARE(two.at(0).name, book.contacts().valueAt(1, book.contacts().fieldIndex(QStringLiteral("Linker"))).toString());
    QCOMPARE(two.at(1).name, book.contacts().valueAt(2, book.contacts().fieldIndex(QStringLiteral("Linker"))).toString());

    // A folder that cannot be written: said so, nothing else happens.
    m_prompter->answerText(m_files->filePath(QStringLiteral("missing/folder/book.vcf")));
    book.exportContactCards();
    QVERIFY2(m_prompter->lastShown().startsWith(QStringLiteral("无法写入名片文件！")), qPrintable(m_prompter->lastShown()));
}

// A client's contacts carry the client as their company and come back into another client
// with department and main-contact mark; the company that is the client's own is not noted.
void TestVCard::clientContactsGoOutWithTheClientAndComeBack()
{
    ClientListPage page;
    QVERIFY(page.loadTree());
    page.m_detailTabs->setCurrentIndex(ClientListPage::ContactPage);
    const qint64 client = page.clients().integer(QStringLiteral("ID"));
    const int contacts = page.contacts().count();
    QVERIFY(contacts > 0);
    const QString path = m_files->filePath(QStringLiteral("client.vcf"));
    m_prompter->answerText(path);

    QAction *exportCommand = menuCommand(page.m_contactGrid, QStringLiteral("导出为名片文件（vCard）…"));
    QVERIFY(exportCommand);
    exportCommand->trigger();

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray written = file.readAll();
    const QString clientName = page.clients().text(QStringLiteral("ClientName"));
    QVERIFY(written.contains(("ORG:" + clientName + ";").toUtf8()));
    QVERIFY(!written.contains("BDAY"));

    // Into the same client: every contact is there already.
    ContactCardImport again(ContactList::clientContacts(client));
    QVERIFY(again.read(path));
    QCOMPARE(again.storedMarks(), QList<bool>(contacts, true));

    Database &database = m_folder->database();
    QVERIFY(database.execute(QStringLiteral("Insert into TClient (TypeCode,ClientName) Values('00010001','另一家公司')")));
    const qint64 other = database.connection().lastInsertId();
    ContactCardImport import(ContactList::clientContacts(other));
    QVERIFY(import.read(path));
    QList<int> all;
    for (int i = 0; i < contacts; ++i)
        all << i;
    QVERIFY(import.store(all));

    const QString first = page.contacts().valueAt(0, page.contacts().fieldIndex(QStringLiteral("Linker"))).toString();
    Recordset original;
    original.open(QStringLiteral("Select * from TCLinker where ClientID=? and Linker=?"), {client, first});
    Recordset copied;
    copied.open(QStringLiteral("Select * from TCLinker where ClientID=? and Linker=?"), {other, first});
    QCOMPARE(copied.count(), 1);
    for (const char *field : {"Linker", "IsMain", "Depart", "Job", "Tele", "MobileCode", "HomeTele", "Fax", "QICQ", "WW",
                              "ALWW", "ZFBCode", "EMail", "Address", "Fancy"})
        QCOMPARE(copied.text(QLatin1String(field)), original.text(QLatin1String(field)));
    const QString notes = original.text(QStringLiteral("Desp"));
    QCOMPARE(copied.text(QStringLiteral("Desp")), (notes.isEmpty() ? notes : notes + '\n') + QStringLiteral("单位：") + clientName);
}

// Notes that hold what did not fit the boxes may pass the notes box's own limit; opening the
// contact and saving it keeps them whole.
void TestVCard::longNotesSurviveTheContactEditor()
{
    const QString notes = QString(150, QChar(0x5907)) + QStringLiteral("\n住址：") + QString(60, QChar(0x8DEF));
    ContactCard contact;
    contact.name = QStringLiteral("备注很长");
    contact.notes = notes;
    const QString path = m_files->filePath(QStringLiteral("long.vcf"));
    QString error;
    QVERIFY(writeContactCardFile(path, {contact}, VCardVersion::V4, error));
    ContactCardImport import(ContactList::clientContacts(1));
    QVERIFY(import.read(path));
    QVERIFY(import.store({0}));
    const qint64 id = m_folder->database().queryValue(QStringLiteral("Select ID from TCLinker where Linker=?"), {contact.name}).toLongLong();

    ContactEditor editor(1);
    QVERIFY(editor.loadRecord(id));
    QCOMPARE(editor.m_notesEdit->toPlainText(), notes);
    QVERIFY(editor.saveRecord());

    QCOMPARE(m_folder->database().queryValue(QStringLiteral("Select Desp from TCLinker where ID=?"), {id}), notes);
}

PANDREL_TEST_MAIN(TestVCard)
#include "tst_vcard.moc"
