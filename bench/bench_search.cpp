// 全部查找 over 100 000 work items with 2 KB Chinese bodies, 100 000 clients and their 300 000
// contacts and 300 000 activities: each query through the search against a bare MATCH loop over
// the same statements; the first 200 results; what the index adds to the file; and what the
// index adds to saving a work item's body.
//   bench_search [work items] [clients]   (smaller counts for a quick look)
#include "DataGenerator.h"

#include "data/Database.h"
#include "data/SearchIndex.h"
#include "document/DocumentStore.h"
#include "search/SearchQuery.h"
#include "util/SearchText.h"

#include <sqlcipher/sqlite3.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTextDocument>
#include <QTextStream>
#include <functional>
#include <vector>

namespace {

const int kRounds = 7;
const int kSaves = 200;
const int kBodyCharacters = 680; // about 2 KB in UTF-8
const QString kCharacters = QStringLiteral(
    "的一是在不了有和人这中大为上个国我以要他时来用们生到作地于出就分对成会可主发年动同工也能下过子说产种面而方后多定行学法所"
    "民得经十三之进着等部度家电力里如水化高自二理起小物现实加量都两体制机当使点从业本去把性好应开它合还因由其些然前外天政四日"
    "那社义事平形相全表间样与关各重新线内数正心反你明看原又么利比或但质气第向道命此变条只没结解问意建月公无系军很情者最立代想"
    "已通并提直题党程展五果料象员革位入常文总次品式活设及管特件长求老头基资边流路级少图山统接知较将组见计别她手角期根论运农指"
    "几九区强放决西被干做必战先回则任取据处队南给色光门即保治北造百规热领七海口东导器压志世金增争济阶油思术极交受联什认六共权"
    "收证改清己美再采转更单风切打白教速花带安场身车例真务具万每目至达走积示议声报斗完类八离华名确才科张信马节话米整空元况今集"
    "温传土许步群广石记需段研界拉林律叫且究观越织装影算低持音众书布复容儿须际商非验连断深难近矿千周委素技备半办青省列习响约支"
    "般史感劳便团往酸历市克何除消构府称太准精值号率族维划选标写存候毛亲快效斯院查江型眼王按格养易置派层片始却专状育厂京识适属"
    "圆包火住调满县局照参红细引听该铁价严，。、；：");

volatile qint64 sink = 0;

double millisecondsOf(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

// Words of two to four characters, used as a language uses its words: a few very often, most
// rarely (about Zipf's law), so that pairs of characters repeat as they do in real notes.
const QStringList &vocabulary()
{
    static const QStringList words = [] {
        QRandomGenerator random(1949);
        QStringList made;
        for (int i = 0; i < 6000; ++i) {
            QString word;
            for (int k = 2 + random.bounded(3); k > 0; --k)
                word += kCharacters.at(random.bounded(kCharacters.size() - 5)); // no punctuation inside
            made.append(word);
        }
        return made;
    }();
    return words;
}

QString chineseText(QRandomGenerator &random, int characters)
{
    const QStringList &words = vocabulary();
    QString text;
    text.reserve(characters + 8);
    while (text.size() < characters) {
        const double u = random.generateDouble();
        text += words.at(int(words.size() * u * u * u));
        if (random.bounded(8) == 0)
            text += random.bounded(3) == 0 ? QStringLiteral("。") : QStringLiteral("，");
    }
    text.truncate(characters);
    return text;
}

bool addWorkItemsWithBodies(Database &database, int count)
{
    QRandomGenerator random(20261211);
    return database.inTransaction([&] {
        for (int i = 0; i < count; ++i) {
            QTextDocument body;
            body.setPlainText(chineseText(random, kBodyCharacters));
            if (!database.execute(QStringLiteral("Insert into TWork (Title, WorkType, FinStu, ZY, Content) values (?, ?, ?, 0, ?)"),
                                  {chineseText(random, 12), QStringLiteral("工作"), 1 + i % 4, saveDocument(body)}))
                return false;
        }
        return true;
    });
}

// The bare loop: the same MATCH statement stepped through every document id, and the same
// rows read for the first `perKind` of each kind, with nothing made of them.
void bareSearch(SqliteConnection &connection, const QString &expression, int perKind)
{
    sqlite3 *db = connection.handle();
    sqlite3_stmt *match = nullptr;
    sqlite3_prepare_v2(db, "SELECT docid FROM SearchIndex WHERE SearchIndex MATCH ? ORDER BY docid DESC", -1, &match, nullptr);
    const QByteArray utf8 = expression.toUtf8();
    sqlite3_bind_text(match, 1, utf8.constData(), int(utf8.size()), SQLITE_STATIC);
    std::vector<qint64> shown;
    int counts[8]{};
    while (sqlite3_step(match) == SQLITE_ROW) {
        const qint64 docid = sqlite3_column_int64(match, 0);
        if (counts[docid >> searchindex::kKindShift]++ < perKind)
            shown.push_back(docid);
    }
    sqlite3_finalize(match);
    sqlite3_stmt *row = nullptr;
    sqlite3_prepare_v2(db, "SELECT Title, Body FROM SearchIndex WHERE docid=?", -1, &row, nullptr);
    for (const qint64 docid : shown) {
        sqlite3_bind_int64(row, 1, docid);
        if (sqlite3_step(row) == SQLITE_ROW)
            sink = sink + sqlite3_column_bytes(row, 0) + sqlite3_column_bytes(row, 1);
        sqlite3_reset(row);
    }
    sqlite3_finalize(row);
}

double medianSaveMs(Database &database, const QList<qint64> &ids)
{
    std::vector<double> times;
    QTextDocument document;
    for (const qint64 id : ids) {
        const QByteArray stored =
            database.queryValue(QStringLiteral("Select hex(Content) from TWork where ID=?"), {id}).toLatin1();
        loadDocument(QByteArray::fromHex(stored), document);
        document.setPlainText(document.toPlainText() + QStringLiteral("改"));
        times.push_back(millisecondsOf([&] {
            database.execute(QStringLiteral("Update TWork set Content=? where ID=?"), {saveDocument(document), id});
        }));
    }
    return benchdata::median(times);
}

qint64 vacuumedSize(Database &database)
{
    if (qEnvironmentVariableIsSet("OPTIMIZE"))
        database.execute(QStringLiteral("INSERT INTO SearchIndex(SearchIndex) VALUES('optimize')"));
    database.execute(QStringLiteral("VACUUM"));
    return QFileInfo(database.databasePath()).size();
}

} // namespace

int main(int argc, char **argv)
{
    benchdata::preferOffscreen();
    QApplication app(argc, argv);
    QTextStream out(stdout);
    const int workItems = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 100000;
    const int clients = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 100000;
    benchdata::ScratchProgram program;
    Database &database = program.database();
    QElapsedTimer filling;
    filling.start();
    if (!program.isReady() || !addWorkItemsWithBodies(database, workItems) || !benchdata::addClients(database, clients, 3)) {
        out << "could not fill the database: " << database.lastError() << '\n';
        return 1;
    }
    out << "filled " << workItems << " work items and " << clients << " clients (3 contacts and 3 activities each) in "
        << filling.elapsed() / 1000 << " s\n";

    const QStringList queries{QStringLiteral("合同"), QStringLiteral("公司 产品"), QStringLiteral("报价"),
                              QStringLiteral("张"),   QStringLiteral("联系人2"),   QStringLiteral("cssmyxgs12"),
                              QStringLiteral("6000"), QStringLiteral("经济发展速度")};
    out << "query            matches   search ms   bare ms   ratio   first 200 ms\n";
    for (const QString &query : queries) {
        const QString expression = searchtext::matchExpression(searchtext::queryRuns(query));
        std::vector<double> searchMs, bareMs, firstMs;
        int matches = 0;
        for (int round = 0; round < kRounds; ++round) {
            bareMs.push_back(millisecondsOf([&] { bareSearch(database.connection(), expression, 200); }));
            searchMs.push_back(millisecondsOf([&] {
                const search::Found found = search::find(database.connection(), query, 200);
                matches = 0;
                for (const int total : found.totals)
                    matches += total;
            }));
            firstMs.push_back(millisecondsOf([&] { sink = sink + search::find(database.connection(), query, 200 / 7 + 1).hits.size(); }));
        }
        const double s = benchdata::median(searchMs), b = benchdata::median(bareMs);
        out << QStringLiteral("%1 %2 %3 %4 %5 %6\n")
                   .arg(query, -16)
                   .arg(matches, 7)
                   .arg(s, 11, 'f', 2)
                   .arg(b, 9, 'f', 2)
                   .arg(s / b, 7, 'f', 2)
                   .arg(benchdata::median(firstMs), 14, 'f', 2);
    }

    QList<qint64> ids;
    QRandomGenerator pick(7);
    for (int i = 0; i < kSaves; ++i)
        ids.append(1 + pick.bounded(workItems));
    const double withIndex = medianSaveMs(database, ids);
    const QString plainBytes = database.queryValue(QStringLiteral(
        "Select sum(length(cast(Title as blob)) + length(cast(Body as blob)) + length(cast(Codes as blob))) from SearchIndex"));
    const qint64 sizeWith = vacuumedSize(database);
    database.execute(QStringLiteral("DROP TABLE SearchIndex"));
    database.open(); // without the index the connection has no triggers
    const double without = medianSaveMs(database, ids);
    const qint64 sizeWithout = vacuumedSize(database);
    out << QStringLiteral("saving a body: %1 ms with the index, %2 ms without, ratio %3\n")
               .arg(withIndex, 0, 'f', 3)
               .arg(without, 0, 'f', 3)
               .arg(withIndex / without, 0, 'f', 2);
    out << QStringLiteral("file: %1 MB with the index, %2 MB without; indexed plain text %3 MB; the index adds %4× the "
                          "plain text (its own copy of the text included)\n")
               .arg(sizeWith / 1e6, 0, 'f', 1)
               .arg(sizeWithout / 1e6, 0, 'f', 1)
               .arg(plainBytes.toDouble() / 1e6, 0, 'f', 1)
               .arg(double(sizeWith - sizeWithout) / plainBytes.toDouble(), 0, 'f', 2);
    return 0;
}
