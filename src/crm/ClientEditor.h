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
class ClientEditor : public QDialog
{
    Q_OBJECT
    // First, so the controls built in the constructor find it constructed.
    Recordset m_client;

public:
    // The category is the one a new client is filed under; an existing client keeps its own
    // unless another is chosen.
    ClientEditor(const QString &categoryCode, const QString &categoryName, QWidget *parent = nullptr);
    ~ClientEditor() override;

    // Loads the client with this ID; -1 (or an ID that matches no row) starts a new client.
    bool loadRecord(qint64 id);
    bool saveRecord();
    bool saved() const { return result() == QDialog::Accepted; }
    qint64 savedId() const { return m_savedId; }
    QString categoryCode() const { return m_categoryCode; }

    void openWebChat();
    void chooseCategory();
    void defaultCodeFromName();

    QLineEdit *m_nameEdit;
    QLineEdit *m_codeEdit;
    QComboBox *m_typeCombo;
    QComboBox *m_sourceCombo;
    QLineEdit *m_mobilePhoneEdit;
    QLineEdit *m_addressEdit;
    QLineEdit *m_postCodeEdit;
    QLineEdit *m_phoneEdit;
    QLineEdit *m_faxEdit;
    QLineEdit *m_emailEdit;
    QLineEdit *m_qqEdit;
    QToolButton *m_webChatButton;
    QLineEdit *m_aliAccountEdit;
    QLineEdit *m_taobaoAccountEdit;
    QLineEdit *m_alipayAccountEdit;
    QLineEdit *m_homePageEdit;
    QLineEdit *m_taxNumberEdit;
    QLineEdit *m_bankEdit;
    QLineEdit *m_bankAccountEdit;
    QDateTimeEdit *m_recordTimeEdit;
    QLineEdit *m_categoryEdit;
    QToolButton *m_chooseCategoryButton;
    QPlainTextEdit *m_notesEdit;
    QPushButton *m_saveButton;
    QPushButton *m_cancelButton;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *buildFields();

    QString m_categoryCode;
    qint64 m_savedId = -1;
};

// Opens the client editor modally; true when the client was saved. `savedId` receives the
// stored client's ID.
bool editClient(const QString &categoryCode, const QString &categoryName, qint64 id,
                      qint64 *savedId = nullptr);
