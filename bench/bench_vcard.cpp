// Import and export of 20 000 address-book contacts as a vCard file, against bare loops that
// read or write the same lines and insert (and index) or select the same rows. Prints the medians of both
// times and their ratio, in wall time and in the CPU time of this thread (which other work
// on a busy machine disturbs less).
#include "DataGenerator.h"

#include "data/Database.h"
#include "data/DbDates.h"
#include "data/Recordset.h"
#include "data/SearchIndex.h"
#include "data/Sqlite.h"
#include "interchange/ContactCards.h"

#include <sqlcipher/sqlite3.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>
#include <ctime>
#include <vector>

namespace {

const int kContacts = 20000;
const int kRounds = 7;
const char kList[] = "Select * from TLinker where ClassID=? Order by Linker collate PINYIN, ID";

ContactCard generatedContact(int i)
{
    static const QStringList surnames{"王", "李", "张", "刘", "陈", "杨", "赵", "黄", "周", "吴", "欧阳"};
    static const QStringList given{"伟", "芳", "娜", "秀英", "敏", "静", "丽", "强", "磊", "军", "洋", "勇"};
    ContactCard contact;
    contact.name = surnames.at(i % surnames.size()) + given.at(i / 7 % given.size()) + QString::number(i % 97);
    contact.job = i % 3 ? QStringLiteral("销售经理") : QStringLiteral("采购主管");
    contact.officePhone = QStringLiteral("010-6500%1").arg(i % 10000, 4, 10, QChar('0'));
    contact.mobilePhone = QStringLiteral("139%1").arg(i, 8, 10, QChar('0'));
    if (i % 4 == 0)
        contact.homePhone = QStringLiteral("021-5%1").arg(i % 10000000, 7, 10, QChar('0'));
    contact.qq = QString::number(10000000 + i);
    contact.email = QStringLiteral("user%1@example.com").arg(i);
    contact.birthday = i % 5 ? QDate(1970, 1, 1).addDays(i % 15000) : QDate();
    contact.address = QStringLiteral("北京市朝阳区建国路%1号，国贸大厦%2层").arg(i % 500).arg(i % 40);
    contact.hobbies = i % 2 ? QStringLiteral("羽毛球、喝茶") : QString();
    contact.notes = i % 3 ? QStringLiteral("老客户介绍，报价需经部门经理审批；\n周末不打扰。") : QString();
    return contact;
}

QList<QByteArray> linesOf(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    QList<QByteArray> lines;
    while (!file.atEnd())
        lines.append(file.readLine());
    return lines;
}

// The floor of an import: every line read, every row inserted with its values ready and put in
// the search index the cheapest way there is, as the import does.
void bareImport(SqliteConnection &connection, const QString &path, const std::vector<QVariantList> &rows)
{
    sqlite3 *db = connection.handle();
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    qint64 bytes = 0;
    while (!file.atEnd())
        bytes += file.readLine().size();
    sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    {
        // Ends before the commit, turning the index's insert trigger back on, as the import does.
        searchindex::BulkInsertion indexing(connection, searchindex::Kind::AddressBookEntry);
        sqlite3_stmt *insert = nullptr;
        sqlite3_prepare_v2(db,
                           "Insert into TLinker (ClassID,Linker,Job,Tele,MobileCode,HomeTele,Fax,QICQ,WW,ZFBCode,ALWW,EMail,"
                           "Birthday,Address,Fancy,Desp) Values(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)",
                           -1, &insert, nullptr);
        for (const QVariantList &row : rows) {
            sqlite3_reset(insert);
            sqlite3_bind_int64(insert, 1, row.at(0).toLongLong());
            for (int i = 1; i < row.size(); ++i) {
                const QByteArray text = row.at(i).toString().toUtf8();
                sqlite3_bind_text(insert, i + 1, text.constData(), int(text.size()), SQLITE_TRANSIENT);
            }
            sqlite3_step(insert);
            indexing.add(sqlite3_last_insert_rowid(db));
        }
        sqlite3_finalize(insert);
    }
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    Q_UNUSED(bytes);
}

// The floor of an export: the list's rows selected, the same lines written.
void bareExport(sqlite3 *db, qint64 category, const QString &path, const QList<QByteArray> &lines)
{
    benchdata::readAllRows(db, QString::fromLatin1(kList), {category});
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    for (const QByteArray &line : lines)
        file.write(line);
}

double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// Wall and CPU time of one part of a round.
struct Stopwatch {
    QElapsedTimer wall;
    double cpuStart = 0;
    void start()
    {
        cpuStart = threadCpuMs();
        wall.start();
    }
    void stopInto(std::vector<double> &wallMs, std::vector<double> &cpuMs) const
    {
        wallMs.push_back(double(wall.nsecsElapsed()) / 1e6);
        cpuMs.push_back(threadCpuMs() - cpuStart);
    }
};

void report(QTextStream &out, const char *what, double measured, double bare)
{
    out << "  " << what << QString::number(measured, 'f', 1) << " ms against " << QString::number(bare, 'f', 1)
        << " ms bare  (" << QString::number(measured / bare, 'f', 2) << "x, goal <= 1.3x)\n";
}

} // namespace

int main(int argc, char **argv)
{
    benchdata::preferOffscreen();
    QApplication app(argc, argv);
    QTextStream out(stdout);
    benchdata::ScratchProgram program;
    Database &database = program.database();
    if (!program.isReady() || !database.execute(QStringLiteral("Insert into TLinkerClass (TitleName) Values('导入')"))) {
        out << "cannot open the database: " << database.lastError() << '\n';
        return 1;
    }
    const qint64 category = database.connection().lastInsertId();
    sqlite3 *db = database.connection().handle();
    const ContactList book = ContactList::addressBook();

    QList<ContactCard> contacts;
    std::vector<QVariantList> rows;
    for (int i = 0; i < kContacts; ++i) {
        contacts.append(generatedContact(i));
        const ContactCard c = fitToBoxes(contacts.last(), book);
        rows.push_back({category, c.name, c.job, c.officePhone, c.mobilePhone, c.homePhone, c.fax, c.qq, c.taobaoAccount,
                        c.alipayAccount, c.aliAccount, c.email,
                        dbdates::toText(c.birthday.isValid() ? c.birthday : dbdates::zeroDate()), c.address, c.hobbies,
                        c.notes});
    }
    const QString source = program.filePath(QStringLiteral("phone.vcf"));
    const QString target = program.filePath(QStringLiteral("out.vcf"));
    QString error;
    if (!writeContactCardFile(source, contacts, VCardVersion::V4, error)) {
        out << "cannot write the cards: " << error << '\n';
        return 1;
    }
    QList<int> all;
    for (int i = 0; i < kContacts; ++i)
        all.append(i);
    const auto clear = [&] { database.execute(QStringLiteral("Delete from TLinker where ClassID=?"), {category}); };

    std::vector<double> importMs, bareImportMs, exportMs, bareExportMs;
    std::vector<double> importCpu, bareImportCpu, exportCpu, bareExportCpu;
    Stopwatch timer;
    QList<QByteArray> exportedLines;
    for (int round = 0; round < kRounds; ++round) {
        clear();
        timer.start();
        ContactCardImport import(book);
        if (!import.read(source) || !import.store(all, category)) {
            out << "the import failed: " << import.errorText() << '\n';
            return 1;
        }
        timer.stopInto(importMs, importCpu);

        timer.start();
        Recordset list;
        list.open(QString::fromLatin1(kList), {category});
        const auto [written, message] = ContactCardImport::exportRows(list, all, book, target, false);
        timer.stopInto(exportMs, exportCpu);
        if (!written || list.count() != kContacts) {
            out << "the export failed: " << message << '\n';
            return 1;
        }
        if (exportedLines.isEmpty())
            exportedLines = linesOf(target);

        timer.start();
        bareExport(db, category, target, exportedLines);
        timer.stopInto(bareExportMs, bareExportCpu);

        clear();
        timer.start();
        bareImport(database.connection(), source, rows);
        timer.stopInto(bareImportMs, bareImportCpu);
    }
    out << kContacts << " contacts, " << QFile(source).size() / 1024 << " KB of cards, median of " << kRounds << " rounds:\n";
    report(out, "import ", benchdata::median(importMs), benchdata::median(bareImportMs));
    report(out, "export ", benchdata::median(exportMs), benchdata::median(bareExportMs));
    out << "CPU time of this thread:\n";
    report(out, "import ", benchdata::median(importCpu), benchdata::median(bareImportCpu));
    report(out, "export ", benchdata::median(exportCpu), benchdata::median(bareExportCpu));
    return 0;
}
