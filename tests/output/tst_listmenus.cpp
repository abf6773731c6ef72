#include "RecordingShell.h"
#include "ScriptedPrompter.h"
#include "TestMain.h"
#include "TestProgramFolder.h"

#include "crm/ClientListPage.h"
#include "desk/AddressBookTab.h"
#include "widgets/DataGrid.h"
#include "work/WorkListPage.h"

#include <QMenu>
#include <QTabWidget>
#include <QProcess>
#include <QTemporaryDir>

// The right-click menus of the six lists: their print and spreadsheet commands, and what
// each sends.
class TestListMenus : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void menusOfferPrintAndExport_data();
    void menusOfferPrintAndExport();
    void detailCommandsNeedALoadedList();
    void workListExportsWhatItShows();

private:
    // Opens the grid's menu as a right click does, and returns its commands' captions; the
    // export command is run when asked.
    QStringList openMenu(DataGrid *grid, bool runExport);

    QTemporaryDir m_home;
    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<RecordingShell> m_shell;
};

void TestListMenus::initTestCase()
{
    // The workbook goes to the documents folder of the home folder: never the real one.
    qputenv("HOME", QFile::encodeName(m_home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.filePath(QStringLiteral(".config"))));
}

void TestListMenus::init()
{
    m_folder = std::make_unique<TestProgramFolder>();
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_shell = std::make_unique<RecordingShell>();
}

void TestListMenus::cleanup()
{
    m_shell.reset();
    m_prompter.reset();
    m_folder.reset();
}

QStringList TestListMenus::openMenu(DataGrid *grid, bool runExport)
{
    emit grid->contextMenuRequested(QPoint(20, 20));
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    if (!menu)
        return {};
    QStringList captions;
    QAction *exportCommand = nullptr;
    for (QAction *action : menu->actions()) {
        if (action->isSeparator())
            continue;
        captions.append(action->text());
        if (action->text().contains(QStringLiteral("Excel")))
            exportCommand = action;
    }
    menu->close();
    if (runExport && exportCommand)
        exportCommand->trigger();
    return captions;
}

void TestListMenus::menusOfferPrintAndExport_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QStringList>("commands"); // the last two of the menu
    QTest::addColumn<QString>("title");

    QTest::newRow("work list") << "work" << QStringList{"打印", "发送到Excel"} << "事务档案";
    QTest::newRow("clients") << "clients" << QStringList{"发送到&Excel", "打印(&P)"} << "客户资料";
    QTest::newRow("a client's contacts") << "contacts" << QStringList{"打印", "发送到Excel"} << "联系人";
    QTest::newRow("a client's activities") << "activities" << QStringList{"打印", "发送到Excel"} << "联系活动";
    QTest::newRow("a client's follow-ups") << "follow-ups" << QStringList{"打印", "发送到Excel"} << "跟踪记录";
    QTest::newRow("address book") << "address book" << QStringList{"打印", "发送到Excel"} << "联系人档案";
}

void TestListMenus::menusOfferPrintAndExport()
{
    QFETCH(QString, list);
    QFETCH(QStringList, commands);
    QFETCH(QString, title);
    WorkListPage work;
    ClientListPage clients;
    AddressBookTab addressBook;
    DataGrid *grid = nullptr;
    if (list == QLatin1String("work")) {
        work.loadList();
        grid = work.m_workGrid;
    } else if (list == QLatin1String("address book")) {
        addressBook.loadCategories();
        grid = addressBook.m_contactGrid;
    } else {
        QVERIFY(clients.loadTree());
        const QStringList pages{"clients", "contacts", "activities", "follow-ups"};
        const int page = int(pages.indexOf(list)) - 1;
        if (page >= 0)
            clients.m_detailTabs->setCurrentIndex(page);
        grid = page < 0 ? clients.m_clientGrid : qobject_cast<DataGrid *>(clients.m_detailTabs->currentWidget());
    }
    QVERIFY(grid);
    QVERIFY(grid->recordset().isOpen());

    const QStringList captions = openMenu(grid, true);

    QCOMPARE(captions.mid(captions.size() - 2), commands);
    QCOMPARE(m_prompter->shown(), QStringList());
    QCOMPARE(m_shell->calls().size(), 1);
    QVERIFY2(m_shell->lastCall().startsWith(QStringLiteral("open %1/Documents/%2 ").arg(m_home.path(), title)),
             qPrintable(m_shell->lastCall()));
}

void TestListMenus::detailCommandsNeedALoadedList()
{
    ClientListPage clients;
    QVERIFY(clients.loadTree());
    clients.m_detailTabs->setCurrentIndex(ClientListPage::ActivityPage);
    clients.activities().close();

    clients.printShownDetail();
    clients.exportShownDetail();

    QCOMPARE(m_prompter->shown(), QStringList());
    QCOMPARE(m_shell->calls(), QStringList());
}

// The state and priority columns show names; the workbook has the same names, not the
// stored codes.
void TestListMenus::workListExportsWhatItShows()
{
    WorkListPage work;
    work.loadList();
    DataGrid *grid = work.m_workGrid;
    QVERIFY(grid->recordset().count() > 0);
    int state = -1;
    int priority = -1;
    for (int column = 0; column < grid->shownColumns().size(); ++column) {
        if (grid->shownColumns().at(column).field == QLatin1String("FinStu"))
            state = column;
        if (grid->shownColumns().at(column).field == QLatin1String("ZY"))
            priority = column;
    }
    QVERIFY(state >= 0 && priority >= 0);
    QStringList shown;
    for (int row = 0; row < grid->recordset().count(); ++row)
        shown << grid->cellText(row, state) << grid->cellText(row, priority);

    openMenu(grid, true);

    const QString path = m_shell->lastCall().mid(QStringLiteral("open ").size());
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"),
                  QStringLiteral("import sys, openpyxl\n"
                                 "ws = openpyxl.load_workbook(sys.argv[1]).active\n"
                                 "print('\\n'.join('%s:%s' % (type(c.value).__name__, c.value) for r in ws.iter_rows(min_row=3) for c in r if c.value is not None))\n"),
                  path});
    QVERIFY(python.waitForFinished(30000));
    const QStringList cells = QString::fromUtf8(python.readAllStandardOutput()).split('\n');
    for (const QString &text : shown) {
        if (!text.trimmed().isEmpty())
            QVERIFY2(cells.contains(QStringLiteral("str:") + text), qPrintable(text + QStringLiteral(" not exported:\n") + cells.join('\n')));
    }
}

PANDREL_TEST_MAIN(TestListMenus)
#include "tst_listmenus.moc"
