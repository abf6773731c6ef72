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
class TfrmFindClient : public QWidget
{
    Q_OBJECT
    // Declared before the controls: the grids are built over them.
    Recordset m_byName;
    Recordset m_byDays;

public:
    using Locate = std::function<void(const QString &typeCode, qint64 id)>;
    // `locate` moves the client tab to a client (LocateAClient of the main window).
    explicit TfrmFindClient(Locate locate, QWidget *parent = nullptr);

    // Search by name or short code; an empty text does nothing.
    void ReadyData();
    // Search by the days since the last contact.
    void ReadyData1();
    // "定位该客户" of the page in front.
    void cmdLocateClientClick();

    Recordset &byName() { return m_byName; }
    Recordset &byDays() { return m_byDays; }

    QTabWidget *pages;
    QLineEdit *EditName;
    QPushButton *Button1;
    DataGrid *DBGridEh2;
    QPushButton *cmdLocateClient;
    QPushButton *Button3;
    QSpinBox *EditDays;
    QPushButton *Button5;
    DataGrid *DBGridEh1;
    QPushButton *Button2;
    QPushButton *Button4;

private:
    QWidget *buildNamePage();
    QWidget *buildDaysPage();
    void locateCurrent(const Recordset &results);
    void open(Recordset &results, const ClientQuery &query);

    Locate m_locate;
};

// Opens one more search window above `owner`; it is destroyed when closed.
TfrmFindClient *ShowFindClient(TfrmFindClient::Locate locate, QWidget *owner);
