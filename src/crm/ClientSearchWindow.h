#pragma once

#include "data/Recordset.h"

#include <QWidget>
#include <functional>

struct ClientQuery;
class DataGrid;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;

// The client search window: finds clients across all categories by a part of their name or
// short code, or by the days since their last contact, and moves the client tab to one of
// them. Not modal; each window keeps its own results until it is closed.
class ClientSearchWindow : public QWidget
{
    Q_OBJECT
    // Declared before the controls: the grids are built over them.
    Recordset m_byName;
    Recordset m_byDays;

public:
    using Locate = std::function<void(const QString &typeCode, qint64 id)>;
    // `locate` moves the client tab to a client (locateClient of the main window).
    explicit ClientSearchWindow(Locate locate, QWidget *parent = nullptr);

    // Search by name or short code; an empty text does nothing.
    void searchByName();
    // Search by the days since the last contact.
    void searchByDays();
    // "定位该客户" of the page in front.
    void locateSelectedClient();

    Recordset &byName() { return m_byName; }
    Recordset &byDays() { return m_byDays; }

    QTabWidget *m_searchTabs;
    QLineEdit *m_nameEdit;
    QPushButton *m_nameSearchButton;
    DataGrid *m_nameResultsGrid;
    QPushButton *m_nameLocateButton;
    QPushButton *m_nameExitButton;
    QSpinBox *m_daysBox;
    QPushButton *m_daysSearchButton;
    DataGrid *m_daysResultsGrid;
    QPushButton *m_daysLocateButton;
    QPushButton *m_daysExitButton;

private:
    QWidget *buildNamePage();
    QWidget *buildDaysPage();
    void locateCurrent(const Recordset &results);
    void open(Recordset &results, const ClientQuery &query);

    Locate m_locate;
};

// Opens one more search window above `owner`; it is destroyed when closed. The first one
// leaves `button` (the one clicked) clear, later ones cascade from the lowest open.
ClientSearchWindow *openClientSearch(ClientSearchWindow::Locate locate, QWidget *owner,
                                     const QWidget *button = nullptr);
