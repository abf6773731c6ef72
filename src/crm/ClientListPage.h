#pragma once

#include "data/Recordset.h"

#include <QWidget>

class CategoryTree;
class DataGrid;
class QPushButton;
class QSplitter;
class QTabWidget;
class QToolButton;

// The client page: the client category tree, the clients of the selected category, and the
// selected client's contacts, contact activities and follow-ups.
class ClientListPage : public QWidget
{
    Q_OBJECT
    // First, so the grids built in the constructor find them constructed.
    Recordset m_clients;
    Recordset m_linkers;
    Recordset m_linkRecs;
    Recordset m_tracks;

public:
    enum DetailPage { LinkerPage, LinkRecPage, TrackPage };

    explicit ClientListPage(QWidget *parent = nullptr);

    // Rebuilds the category tree, which selects the first category and lists its clients.
    bool ReadyTree();
    // Lists the clients filed under exactly this category code.
    bool ReadyList(const QString &code);
    // Loads one detail list of a client; other page numbers do nothing.
    bool ReadyAClientDetail(qint64 clientId, int page);

    void cmdAddClientClick();
    void cmdEditClientClick();
    void cmdDeleteClientClick();
    void SBAddNewClick();
    void SBEditClick();
    void SBDeleteClick();
    // The detail lists' print and spreadsheet commands: the page in front, or nothing while
    // its list is not loaded.
    void MenuItem4Click();
    void MenuItem6Click();

    Recordset &dsClient() { return m_clients; }
    Recordset &dsLinker() { return m_linkers; }
    Recordset &dsLinkRec() { return m_linkRecs; }
    Recordset &dsTrack() { return m_tracks; }

    CategoryTree *TreeView1;
    QPushButton *cmdAddRoot;
    QPushButton *cndAddSon;
    QPushButton *cmdEdit;
    QPushButton *cmdDelete;
    DataGrid *DBGridEh2;
    QPushButton *cmdFindClient;
    QPushButton *cmdAddClient;
    QPushButton *cmdEditClient;
    QPushButton *cmdDeleteClient;
    QTabWidget *pcDetail;
    DataGrid *DBGridEh3;
    DataGrid *DBGridEh4;
    DataGrid *DBGridEh5;
    QToolButton *SBAddNew;
    QToolButton *SBEdit;
    QToolButton *SBDelete;
    QSplitter *splitter;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *buildTreePane();
    QWidget *buildListPane();
    QWidget *buildDetailPane();
    QWidget *buildSideBar();
    void buildMenus();
    DataGrid *shownDetail(QString &title) const;
    void loadDetails();
    void closeDetails();
    // The client whose details are shown; -1 when the list is empty.
    qint64 currentClient() const;
    QString selectedCode() const;
    Recordset &detailList(int page);
    bool editDetail(int page, qint64 clientId, qint64 id);
    void reloadDetail(int page, qint64 locateId);
    void stampLastLink();

    bool m_listLoaded = false;
};
