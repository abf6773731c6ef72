#pragma once

#include "data/Recordset.h"

#include <QDialog>

class DataGrid;
class QPushButton;

// Maintains the work types offered by the type drop-downs: add, rename, delete and move them
// up or down in the list's order.
class WorkTypesDialog : public QDialog
{
    Q_OBJECT
    // Declared before the controls: the grid is built over it.
    Recordset m_types;

public:
    explicit WorkTypesDialog(QWidget *parent = nullptr);

    // Loads the types in list order; false (after saying so) when they cannot be read.
    bool loadTypes();

    void addType();
    void renameType();
    void deleteType();
    void moveTypeUp();
    void moveTypeDown();

    Recordset &types() { return m_types; }

    DataGrid *m_typeGrid;
    QPushButton *m_addButton;
    QPushButton *m_renameButton;
    QPushButton *m_deleteButton;
    QPushButton *m_moveUpButton;
    QPushButton *m_moveDownButton;
    QPushButton *m_exitButton;

private:
    // Moves the current type one place towards `step` (-1 up, +1 down) by shifting its
    // position and its neighbour's the opposite way.
    void moveCurrent(int step);
};

// The modal work-type window; callers refill their type drop-downs afterwards.
void editWorkTypes();

// Appends the titles of the work types, in their order, to `items` (empty titles left out):
// what the type drop-downs offer.
void appendWorkTypeTitles(QStringList &items);
