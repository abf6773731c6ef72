#pragma once

#include "crm/FollowUpValues.h"
#include "data/Recordset.h"

#include <QDialog>

class QComboBox;
class QDateTimeEdit;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

// The editor of one sales follow-up: goods, quantity and price, the progress step, and the
// amount and virtual value computed from them as the user types.
class FollowUpEditor : public QDialog
{
    Q_OBJECT
    // First, so the controls built in the constructor find it constructed.
    Recordset m_followUp;

public:
    // `id` -1 makes a new follow-up of the client.
    FollowUpEditor(qint64 clientId, qint64 id, QWidget *parent = nullptr);

    // False (after saying why) when the editor cannot be shown.
    bool loadRecord();
    bool loadSteps();
    bool saveRecord();
    bool saved() const { return result() == QDialog::Accepted; }
    // The progress step the follow-up is on; -1 while none is chosen.
    qint64 chosenStepId() const { return m_stepId; }

    // Picks goods from the catalogue into the boxes.
    void chooseGoods();

    QLineEdit *m_goodsNameEdit;
    QToolButton *m_chooseGoodsButton;
    QLineEdit *m_specificationEdit;
    QLineEdit *m_quantityEdit;
    QComboBox *m_unitCombo;
    QLineEdit *m_priceEdit;
    QLineEdit *m_amountEdit;
    QComboBox *m_stepCombo;
    QLineEdit *m_rateEdit;
    QLineEdit *m_virtualValueEdit;
    QPlainTextEdit *m_notesEdit;
    QDateTimeEdit *m_recordTimeEdit;
    QPushButton *m_saveButton;
    QPushButton *m_cancelButton;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *buildFields();
    void quantityEdited();
    void priceEdited();
    void computeAmount();
    void computeStep();

    qint64 m_clientId;
    qint64 m_id;
    TrackStepModel m_model;
    qint64 m_stepId = -1;
};

// Opens the editor modally; true when the follow-up was saved.
bool editFollowUp(qint64 clientId, qint64 id);
