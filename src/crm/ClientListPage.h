#pragma once

#include "data/Recordset.h"

#include <QWidget>
#include <optional>

class CategoryTree;
class DataGrid;
class FollowUpChartPanel;
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
    Recordset m_contacts;
    Recordset m_activities;
    Recordset m_followUps;

public:
    enum DetailPage { ContactPage, ActivityPage, FollowUpPage };

    explicit ClientListPage(QWidget *parent = nullptr);

    // Rebuilds the category tree, which selects the first category and lists its clients.
    bool loadTree();
    // Lists the clients filed under exactly this category code.
    bool loadClients(const QString &code);
    // Loads one detail list of a client; other page numbers do nothing.
    bool loadClientDetail(qint64 clientId, int page);
    // Brings the current client's detail page to the front with record `id` current.
    void showDetailRecord(int page, qint64 id);

    void addClient();
    void editCurrentClient();
    void deleteCurrentClient();
    void addDetailRecord();
    void editCurrentDetailRecord();
    void deleteCurrentDetailRecord();
    // The detail lists' print and spreadsheet commands: the page in front, or nothing while
    // its list is not loaded.
    void printShownDetail();
    void exportShownDetail();
    // The client's selected contacts, or all of them, to a card file; contacts from one, picked.
    void exportContactCards();
    void importContactCards();

    Recordset &clients() { return m_clients; }
    Recordset &contacts() { return m_contacts; }
    Recordset &activities() { return m_activities; }
    Recordset &followUps() { return m_followUps; }

    CategoryTree *m_categoryTree;
    QPushButton *m_addRootButton;
    QPushButton *m_addSubcategoryButton;
    QPushButton *m_renameCategoryButton;
    QPushButton *m_deleteCategoryButton;
    DataGrid *m_clientGrid;
    QPushButton *m_findClientButton;
    QPushButton *m_addClientButton;
    QPushButton *m_editClientButton;
    QPushButton *m_deleteClientButton;
    QTabWidget *m_detailTabs;
    DataGrid *m_contactGrid;
    DataGrid *m_activityGrid;
    DataGrid *m_followUpGrid;
    QToolButton *m_addDetailButton;
    QToolButton *m_editDetailButton;
    QToolButton *m_deleteDetailButton;
    QSplitter *m_splitter;
    // "图表": the follow-up charts beside the list, built the first time they are asked for.
    QToolButton *m_chartToggle;
    FollowUpChartPanel *m_followUpChart = nullptr;
    void showFollowUpChart(bool shown);

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
    std::optional<qint64> m_followUpStep; // the step a chart's bar narrowed the list to
    QList<int> m_sizesBeforeChart;
};
