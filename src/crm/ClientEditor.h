#pragma once

#include "data/Recordset.h"

#include <QDialog>

class QComboBox;
class QDateTimeEdit;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

// The editor of one client's record.
class TfrmClientEdit : public QDialog
{
    Q_OBJECT
    // First, so the controls built in the constructor find it constructed.
    Recordset m_client;

public:
    // The category is the one a new client is filed under; an existing client keeps its own
    // unless another is chosen.
    TfrmClientEdit(const QString &categoryCode, const QString &categoryName, QWidget *parent = nullptr);

    // Loads the client with this ID; -1 (or an ID that matches no row) starts a new client.
    bool ReadyData(qint64 id);
    bool SaveData();
    bool saved() const { return result() == QDialog::Accepted; }
    qint64 savedId() const { return m_savedId; }
    QString categoryCode() const { return m_categoryCode; }

    void sbQQClick();
    void SpeedButton1Click();
    void EditNameExit();

    QLineEdit *EditName;
    QLineEdit *EditCode;
    QComboBox *cmbType;
    QComboBox *cmbComeFrom;
    QLineEdit *EditMobileCode;
    QLineEdit *EditAddress;
    QLineEdit *EditPostCode;
    QLineEdit *EditTele;
    QLineEdit *EditFax;
    QLineEdit *EditEMail;
    QLineEdit *EditQQ;
    QToolButton *sbQQ;
    QLineEdit *EditAL;
    QLineEdit *EditTB;
    QLineEdit *EditZFB;
    QLineEdit *EditHomtPage;
    QLineEdit *EditTaxno;
    QLineEdit *EditBank;
    QLineEdit *EditBankno;
    QDateTimeEdit *dtRec;
    QLineEdit *EditTypeCode;
    QToolButton *SpeedButton1;
    QPlainTextEdit *EditDesp;
    QPushButton *cmdReg;
    QPushButton *cmdClose;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *buildFields();

    QString m_categoryCode;
    qint64 m_savedId = -1;
};

// Opens the client editor modally; true when the client was saved. `savedId` receives the
// stored client's ID.
bool ShowClientEditor(const QString &categoryCode, const QString &categoryName, qint64 id,
                      qint64 *savedId = nullptr);
