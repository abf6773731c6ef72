#pragma once

#include "data/Recordset.h"

#include <QWidget>

class DataGrid;
class QGroupBox;
class QPushButton;

// The address book tab: the contact categories on the left, the contacts of the current
// category on the right, each kept with its own buttons.
class AddressBookTab : public QWidget
{
    Q_OBJECT
    // First, so the grids built in the constructor find them constructed.
    Recordset m_classes;
    Recordset m_linkers;

public:
    explicit AddressBookTab(QWidget *parent = nullptr);

    // Loads the categories in name order and the contacts of the first; false (after saying
    // so) when they cannot be read.
    bool ReaduLinker();
    // Shows the contacts of the current category.
    void dsLinkClassAfterScroll();

    void Button11Click();
    void Button12Click();
    void Button13Click();
    void Button14Click();
    void Button15Click();
    void Button16Click();

    Recordset &dsLinkClass() { return m_classes; }
    Recordset &dsLinker() { return m_linkers; }

    DataGrid *DBGridEh8;
    QPushButton *Button11;
    QPushButton *Button12;
    QPushButton *Button13;
    QGroupBox *grpLinkers;
    DataGrid *DBGridEh7;
    QPushButton *Button14;
    QPushButton *Button15;
    QPushButton *Button16;

private:
    QWidget *buildClassPane();
    QWidget *buildLinkerPane();
    qint64 currentClassId() const;
};
