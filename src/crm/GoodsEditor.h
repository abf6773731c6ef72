#pragma once

#include "data/Recordset.h"

#include <QDialog>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The editor of one goods item of the catalogue.
class GoodsEditor : public QDialog
{
    Q_OBJECT
    // First, so the controls built in the constructor find it constructed.
    Recordset m_goods;

public:
    // `typeCode`: the category the item is filed under when saved.
    explicit GoodsEditor(const QString &typeCode, QWidget *parent = nullptr);
    ~GoodsEditor() override;

    // `id` -1 (or one that matches no row) begins a new item. False (after saying so) when
    // the item cannot be read.
    bool loadRecord(qint64 id);
    bool saveRecord();
    bool saved() const { return result() == QDialog::Accepted; }
    const Recordset &goods() const { return m_goods; }

    QLineEdit *m_nameEdit;
    QLineEdit *m_codeEdit;
    QLineEdit *m_specificationEdit;
    QLineEdit *m_unitEdit;
    QLineEdit *m_priceEdit;
    QPlainTextEdit *m_descriptionEdit;
    QPushButton *m_saveButton;
    QPushButton *m_cancelButton;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void defaultCodeFromName();

    QString m_typeCode;
};

// Opens the editor modally; true when the item was saved, its ID then in `savedId` if given.
bool editGoods(const QString &typeCode, qint64 id, qint64 *savedId = nullptr);
