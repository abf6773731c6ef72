#pragma once

#include "data/Recordset.h"

#include <QDialog>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The editor of one goods item of the catalogue.
class TfrmGoodsEdit : public QDialog
{
    Q_OBJECT
    // First, so the controls built in the constructor find it constructed.
    Recordset m_goods;

public:
    // `typeCode`: the category the item is filed under when saved.
    explicit TfrmGoodsEdit(const QString &typeCode, QWidget *parent = nullptr);

    // `id` -1 (or one that matches no row) begins a new item. False (after saying so) when
    // the item cannot be read.
    bool ReadyData(qint64 id);
    bool SaveData();
    bool saved() const { return result() == QDialog::Accepted; }
    const Recordset &goods() const { return m_goods; }

    QLineEdit *EditGoodsName;
    QLineEdit *EditGoodsCode;
    QLineEdit *EditGoodsStyle;
    QLineEdit *EditUnit;
    QLineEdit *EditPrice;
    QPlainTextEdit *EditDesp;
    QPushButton *cmdReg;
    QPushButton *cmdClose;

private:
    void EditGoodsNameExit();

    QString m_typeCode;
};

// Opens the editor modally; true when the item was saved, its ID then in `savedId` if given.
bool ShowGoodsEditor(const QString &typeCode, qint64 id, qint64 *savedId = nullptr);
