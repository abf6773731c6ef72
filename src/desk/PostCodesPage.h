#pragma once

#include "data/Recordset.h"

#include <QWidget>

class DataGrid;
class QComboBox;
class QLineEdit;
class QPushButton;

// The " 邮政编码 " page: post codes and telephone area codes by (part of) an area name,
// searched in every province, or else by province.
class PostCodesPage : public QWidget
{
    Q_OBJECT
    // First, so the grid built in the constructor finds it constructed.
    Recordset m_postCodes;

public:
    explicit PostCodesPage(QWidget *parent = nullptr);

    // Fills the province box's list; its text stays as it was.
    void fillProvinces();
    // Runs the query of the two inputs into the grid; false (after saying so) on failure.
    bool queryPostCodes();

    Recordset &postCodes() { return m_postCodes; }

    QComboBox *m_provinceCombo;
    QLineEdit *m_areaEdit;
    QPushButton *m_queryButton;
    DataGrid *m_postCodeGrid;

private:
    void provinceChosen();
};

struct PostCodeQuery {
    QString sql;
    QVariantList params;
};
// The area text (matched literally anywhere in the name) comes first and searches every
// province; otherwise the province, when one is given; with neither every row. By post code.
PostCodeQuery buildPostCodeQuery(const QString &area, const QString &province);
