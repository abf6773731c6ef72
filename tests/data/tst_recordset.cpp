#include "TestMain.h"
#include "TestProgramFolder.h"

#include "data/DbDates.h"
#include "data/Recordset.h"
#include "widgets/RecordsetModel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTemporaryDir>

// Every case works on TLinkerClass and TLinker, emptied and filled with a few known rows.
class TestRecordset : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void navigatesLoadedRows();
    void readsTypedFields();
    void setValueReadsBackAsStored_data();
    void setValueReadsBackAsStored();
    void appendPostsNewRowWithItsId();
    void cancelDropsPendingWork();
    void editWritesOnlyChangedFields();
    void editOnEmptyRecordsetStartsNewRow();
    void failedPostKeepsTheEdit();
    void movingOnPostsTheEdit();
    void deleteRemovesCurrentRow();
    void sortOrdersLoadedRows_data();
    void sortOrdersLoadedRows();
    void locateFindsRowById();
    void joinedFieldsAreNotWritten();
    void blobGoesToAndFromFile();
    void modelFollowsTheRecordset();

private:
    std::unique_ptr<TestProgramFolder> m_folder;
    Database &database() { return m_folder->database(); }
    QStringList namesInTable();
};

void TestRecordset::init()
{
    m_folder = std::make_unique<TestProgramFolder>();
    QVERIFY(m_folder->isValid());
    QVERIFY(database().execute(QStringLiteral("Delete from TLinker")));
    QVERIFY(database().execute(QStringLiteral("Delete from TLinkerClass")));
    QVERIFY(database().execute(QStringLiteral("Insert into TLinkerClass (ID, TitleName) values (1, '同事'), (2, '朋友')")));
    QVERIFY(database().execute(QStringLiteral(
        "Insert into TLinker (ID, ClassID, Linker, Job, Birthday) values "
        "(10, 1, '张伟', '经理', '1985-06-01'), (11, 1, '李娜', NULL, '1899-12-30'), "
        "(12, 2, '王芳', '会计', '1990-12-24'), (13, 1, 'Anna', '助理', NULL)")));
}

void TestRecordset::cleanup()
{
    m_folder.reset();
}

QStringList TestRecordset::namesInTable()
{
    QStringList names;
    database().queryColumn(QStringLiteral("Select Linker from TLinker Order by ID"), names);
    return names;
}

void TestRecordset::navigatesLoadedRows()
{
    Recordset rs(database());
    QSignalSpy moved(&rs, &Recordset::currentChanged);
    QVERIFY(rs.open(QStringLiteral("Select * from TLinker Order by ID")));
    QCOMPARE(rs.count(), 4);
    QCOMPARE(rs.position(), 0);

    QStringList visited;
    for (rs.first(); !rs.eof(); rs.next())
        visited.append(rs.text(QStringLiteral("linker"))); // field names ignore case
    QCOMPARE(visited, (QStringList{QStringLiteral("张伟"), QStringLiteral("李娜"), QStringLiteral("王芳"),
                                   QStringLiteral("Anna")}));
    QCOMPARE(rs.position(), 3);
    QVERIFY(rs.prior());
    QCOMPARE(rs.integer(QStringLiteral("ID")), 12);
    QVERIFY(!rs.moveTo(4));
    QVERIFY(moved.count() >= 4);

    QVERIFY(rs.open(QStringLiteral("Select * from TLinker where ID < 0")));
    QVERIFY(rs.isEmpty());
    QVERIFY(rs.eof());
    QCOMPARE(rs.position(), -1);
    QVERIFY(rs.value(QStringLiteral("Linker")).isNull());
}

void TestRecordset::readsTypedFields()
{
    Recordset rs(database());
    QVERIFY(rs.open(QStringLiteral("Select ID, Linker, Birthday, ClassID * 1.5 as Ratio, Job from TLinker Order by ID")));

    QCOMPARE(rs.integer(QStringLiteral("ID")), 10);
    QCOMPARE(rs.number(QStringLiteral("Ratio")), 1.5);
    QCOMPARE(rs.dateTime(QStringLiteral("Birthday")), QDateTime(QDate(1985, 6, 1), QTime(0, 0)));
    QVERIFY(rs.boolean(QStringLiteral("ID")));
    QVERIFY(!rs.hasField(QStringLiteral("Fancy")));
    QVERIFY(rs.value(QStringLiteral("Fancy")).isNull());

    rs.next();
    QVERIFY(rs.isNull(QStringLiteral("Job")));
    QCOMPARE(rs.text(QStringLiteral("Job")), QString());
    QVERIFY(dbdates::isEmpty(rs.value(QStringLiteral("Birthday"))));
}

void TestRecordset::setValueReadsBackAsStored_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QVariant>("stored");

    QTest::newRow("text") << QVariant(QStringLiteral("总经理助理")) << QVariant(QStringLiteral("总经理助理"));
    QTest::newRow("empty text") << QVariant(QString()) << QVariant(QString());
    QTest::newRow("int") << QVariant(42) << QVariant(qlonglong(42));
    QTest::newRow("large integer") << QVariant(qlonglong(1) << 40) << QVariant(qlonglong(1) << 40);
    QTest::newRow("bool") << QVariant(true) << QVariant(qlonglong(1));
    QTest::newRow("real") << QVariant(2.5) << QVariant(2.5);
    QTest::newRow("date") << QVariant(QDate(1992, 2, 29)) << QVariant(QStringLiteral("1992-02-29"));
    QTest::newRow("bytes with a zero") << QVariant(QByteArray("a\0b", 3)) << QVariant(QByteArray("a\0b", 3));
    QTest::newRow("null") << QVariant() << QVariant();
}

// Every cell of the row keeps its value when one of them changes, and cancel brings the row
// back as it was loaded.
void TestRecordset::setValueReadsBackAsStored()
{
    QFETCH(QVariant, value);
    QFETCH(QVariant, stored);
    Recordset rs(database());
    QVERIFY(rs.open(QStringLiteral("Select ID, Linker, Job, Birthday, ClassID from TLinker Order by ID")));
    QVERIFY(rs.set(QStringLiteral("Job"), value));

    const QVariant read = rs.value(QStringLiteral("Job"));
    QCOMPARE(read.typeId(), stored.typeId());
    QCOMPARE(read, stored);
    QCOMPARE(rs.textAt(rs.position(), rs.fieldIndex(QStringLiteral("Job"))), stored.toString());
    QCOMPARE(rs.textAt(rs.position(), 0), QStringLiteral("10"));
    QCOMPARE(rs.integer(QStringLiteral("ID")), 10);
    QCOMPARE(rs.text(QStringLiteral("Linker")), QStringLiteral("张伟"));
    QCOMPARE(rs.text(QStringLiteral("Birthday")), QStringLiteral("1985-06-01"));
    QCOMPARE(rs.integer(QStringLiteral("ClassID")), 1);

    rs.cancel();
    QCOMPARE(rs.text(QStringLiteral("Job")), QStringLiteral("经理"));
}

void TestRecordset::appendPostsNewRowWithItsId()
{
    Recordset rs(database());
    QVERIFY(rs.open(QStringLiteral("Select * from TLinker where ClassID = ?"), {2}));
    rs.append();
    QCOMPARE(rs.state(), Recordset::State::Insert);
    QCOMPARE(rs.count(), 2);
    QVERIFY(rs.set(QStringLiteral("ClassID"), 2));
    QVERIFY(rs.set(QStringLiteral("Linker"), QStringLiteral("赵敏")));
    QVERIFY(rs.set(QStringLiteral("Birthday"), QDate(1992, 2, 29)));

    QVERIFY2(rs.post(), qPrintable(rs.lastError()));

    QCOMPARE(rs.state(), Recordset::State::Browse);
    const qint64 id = rs.integer(QStringLiteral("ID"));
    QVERIFY(id > 13);
    QCOMPARE(database().queryValue(QStringLiteral("Select Linker || '/' || Birthday from TLinker where ID = ?"), {id}),
             QStringLiteral("赵敏/1992-02-29"));
}

void TestRecordset::cancelDropsPendingWork()
{
    Recordset rs(database());
    QVERIFY(rs.open(QStringLiteral("Select * from TLinker Order by ID")));
    rs.append();
    rs.set(QStringLiteral("Linker"), QStringLiteral("临时"));
    rs.cancel();
    QCOMPARE(rs.count(), 4);
    QCOMPARE(rs.position(), 3);

    rs.first();
    rs.edit();
    rs.set(QStringLiteral("Linker"), QStringLiteral("改名"));
    rs.cancel();

    QCOMPARE(rs.text(QStringLiteral("Linker")), QStringLiteral("张伟"));
    QCOMPARE(namesInTable().first(), QStringLiteral("张伟"));
    QCOMPARE(namesInTable().size(), 4);
}

void TestRecordset::editWritesOnlyChangedFields()
{
    Recordset first(database());
    Recordset second(database());
    QVERIFY(first.open(QStringLiteral("Select * from TLinker where ID = 10")));
    QVERIFY(second.open(QStringLiteral("Select * from TLinker where ID = 10")));
    // Another window changes a different field in the meantime; it must survive.
    second.edit();
    second.set(QStringLiteral("Job"), QStringLiteral("总监"));
    QVERIFY(second.post());

    first.edit();
    first.set(QStringLiteral("Linker"), QStringLiteral("张伟强"));
    QVERIFY(first.post());

    QCOMPARE(database().queryValue(QStringLiteral("Select Linker || '/' || Job from TLinker where ID = 10")),
             QStringLiteral("张伟强/总监"));
}

void TestRecordset::editOnEmptyRecordsetStartsNewRow()
{
    QVERIFY(database().execute(QStringLiteral("Delete from TLinkerClass")));
    Recordset rs(database());
    QVERIFY(rs.open(QStringLiteral("Select * from TLinkerClass LIMIT 1")));

    rs.edit();
    rs.set(QStringLiteral("TitleName"), QStringLiteral("客户"));
    QVERIFY(rs.post());

    QCOMPARE(database().queryValue(QStringLiteral("Select count(*) || TitleName from TLinkerClass")), QStringLiteral("1客户"));
}

void TestRecordset::failedPostKeepsTheEdit()
{
    Recordset rs(database());
    QVERIFY(rs.open(QStringLiteral("Select * from TLinkerClass")));
    rs.append();
    rs.set(QStringLiteral("ID"), 1); // taken already
    rs.set(QStringLiteral("TitleName"), QStringLiteral("重复"));

    QVERIFY(!rs.post());

    QVERIFY(!rs.lastError().isEmpty());
    QCOMPARE(rs.state(), Recordset::State::Insert);
    QCOMPARE(rs.text(QStringLiteral("TitleName")), QStringLiteral("重复"));
    rs.set(QStringLiteral("ID"), 99);
    QVERIFY(rs.post());

    // A table that went away cannot take an edit either.
    QVERIFY(database().execute(QStringLiteral("Drop table TLinkerClass")));
    rs.set(QStringLiteral("TitleName"), QStringLiteral("无处可写"));
    QVERIFY(!rs.post());
    QCOMPARE(rs.state(), Recordset::State::Edit);
}

void TestRecordset::movingOnPostsTheEdit()
{
    Recordset rs(database());
    QVERIFY(rs.open(QStringLiteral("Select * from TLinker Order by ID")));
    rs.set(QStringLiteral("Job"), QStringLiteral("董事长")); // starts the edit by itself

    QVERIFY(rs.next());

    QCOMPARE(rs.state(), Recordset::State::Browse);
    QCOMPARE(database().queryValue(QStringLiteral("Select Job from TLinker where ID = 10")), QStringLiteral("董事长"));
}

void TestRecordset::deleteRemovesCurrentRow()
{
    Recordset rs(database());
    QVERIFY(rs.open(QStringLiteral("Select * from TLinker Order by ID")));
    rs.moveTo(1);

    QVERIFY(rs.deleteCurrent());

    QCOMPARE(rs.count(), 3);
    QCOMPARE(rs.text(QStringLiteral("Linker")), QStringLiteral("王芳"));
    QCOMPARE(namesInTable(), (QStringList{QStringLiteral("张伟"), QStringLiteral("王芳"), QStringLiteral("Anna")}));
    rs.last();
    QVERIFY(rs.deleteCurrent());
    QCOMPARE(rs.position(), 1);
}

void TestRecordset::sortOrdersLoadedRows_data()
{
    QTest::addColumn<QString>("order");
    QTest::addColumn<QList<int>>("ids");

    QTest::newRow("text in pinyin order") << "Linker ASC" << QList<int>{13, 11, 12, 10};
    QTest::newRow("without direction") << "Linker" << QList<int>{13, 11, 12, 10};
    QTest::newRow("descending") << "Linker DESC" << QList<int>{10, 12, 11, 13};
    QTest::newRow("NULL first") << "Job ASC" << QList<int>{11, 12, 10, 13}; // 会计 经理 助理
    QTest::newRow("numbers by value") << "ClassID desc" << QList<int>{12, 10, 11, 13};
}

void TestRecordset::sortOrdersLoadedRows()
{
    QFETCH(QString, order);
    QFETCH(QList<int>, ids);
    Recordset rs(database());
    QVERIFY(rs.open(QStringLiteral("Select * from TLinker Order by ID")));
    rs.moveTo(2); // 王芳 stays current wherever she moves

    QVERIFY(rs.sort(order));

    QList<int> sorted;
    for (int row = 0; row < rs.count(); ++row)
        sorted.append(rs.valueAt(row, rs.fieldIndex(QStringLiteral("ID"))).toInt());
    QCOMPARE(sorted, ids);
    QCOMPARE(rs.integer(QStringLiteral("ID")), 12);
    QVERIFY(!rs.sort(QStringLiteral("NoSuchField ASC")));
}

void TestRecordset::locateFindsRowById()
{
    Recordset rs(database());
    QVERIFY(rs.open(QStringLiteral("Select * from TLinker Order by ID")));

    QVERIFY(rs.locate(12));
    QCOMPARE(rs.text(QStringLiteral("Linker")), QStringLiteral("王芳"));
    QVERIFY(!rs.locate(999));
    QCOMPARE(rs.position(), 2);
}

void TestRecordset::joinedFieldsAreNotWritten()
{
    Recordset rs(database());
    QVERIFY(rs.open(QStringLiteral("Select TLinker.*, TLinkerClass.TitleName from TLinker "
                                   "join TLinkerClass on TLinkerClass.ID = TLinker.ClassID Order by TLinker.ID")));
    QCOMPARE(rs.updateTable(), QStringLiteral("TLinker"));
    rs.set(QStringLiteral("TitleName"), QStringLiteral("不该写入"));
    rs.set(QStringLiteral("Fancy"), QStringLiteral("钓鱼"));

    QVERIFY2(rs.post(), qPrintable(rs.lastError()));

    QCOMPARE(database().queryValue(QStringLiteral("Select Fancy from TLinker where ID = 10")), QStringLiteral("钓鱼"));
    QCOMPARE(database().queryValue(QStringLiteral("Select TitleName from TLinkerClass where ID = 1")), QStringLiteral("同事"));
}

void TestRecordset::blobGoesToAndFromFile()
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("in.bin"));
    const QString out = dir.filePath(QStringLiteral("out.bin"));
    QByteArray bytes(70000, '\0');
    for (int i = 0; i < bytes.size(); ++i)
        bytes[i] = char(i * 7);
    QFile file(in);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();

    Recordset rs(database());
    QVERIFY(rs.open(QStringLiteral("Select * from TCustomInfo where ID < 0")));
    rs.append();
    QVERIFY(rs.blobFromFile(QStringLiteral("Content"), in));
    QVERIFY(rs.post());
    const qint64 id = rs.integer(QStringLiteral("ID"));

    Recordset again(database());
    QVERIFY(again.open(QStringLiteral("Select * from TCustomInfo where ID = ?"), {id}));
    QVERIFY(again.blobToFile(QStringLiteral("Content"), out));
    QFile written(out);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), bytes);
    QVERIFY(!again.blobFromFile(QStringLiteral("Content"), dir.filePath(QStringLiteral("missing.bin"))));
}

void TestRecordset::modelFollowsTheRecordset()
{
    Recordset rs(database());
    RecordsetModel model(rs);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QVERIFY(rs.open(QStringLiteral("Select ID, Linker, ClassID from TLinker Order by ID")));
    QCOMPARE(model.rowCount(), 4);
    QCOMPARE(model.columnCount(), 3);
    QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Linker"));
    QCOMPARE(model.index(1, 1).data().toString(), QStringLiteral("李娜"));

    rs.append();
    rs.set(QStringLiteral("Linker"), QStringLiteral("新人"));
    QCOMPARE(model.rowCount(), 5);
    QCOMPARE(model.index(4, 1).data().toString(), QStringLiteral("新人"));
    rs.cancel();
    QCOMPARE(model.rowCount(), 4);
    rs.first();
    QVERIFY(rs.deleteCurrent());
    QVERIFY(rs.sort(QStringLiteral("Linker")));
    QCOMPARE(model.index(0, 1).data().toString(), QStringLiteral("Anna"));
    rs.close();
    QCOMPARE(model.rowCount(), 0);
}

PANDREL_TEST_MAIN(TestRecordset)
#include "tst_recordset.moc"
