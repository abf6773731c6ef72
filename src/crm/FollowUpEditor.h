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
class TfrmClientTrackEdit : public QDialog
{
    Q_OBJECT
    // First, so the controls built in the constructor find it constructed.
    Recordset m_track;

public:
    // `id` -1 makes a new follow-up of the client.
    TfrmClientTrackEdit(qint64 clientId, qint64 id, QWidget *parent = nullptr);

    // False (after saying why) when the editor cannot be shown.
    bool ReadyData();
    bool ReadyTrackStep();
    bool SaveData();
    bool saved() const { return result() == QDialog::Accepted; }
    // The progress step the follow-up is on; -1 while none is chosen.
    qint64 chosenStepId() const { return m_stepId; }

    // Picks goods from the catalogue into the boxes.
    void sbSelSalerClick();

    QLineEdit *EditGoodsName;
    QToolButton *sbSelSaler;
    QLineEdit *EditStyle;
    QLineEdit *EditQty;
    QComboBox *cmbUnit;
    QLineEdit *EditPrice;
    QLineEdit *EditTotal;
    QComboBox *cmbStep;
    QLineEdit *EditRate;
    QLineEdit *EditStepTotal;
    QPlainTextEdit *EditDesp;
    QDateTimeEdit *dtRec;
    QPushButton *cmdSave;
    QPushButton *cmdCancel;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *buildFields();
    void EditQtyChange();
    void EditPriceChange();
    void computeAmount();
    void computeStep();

    qint64 m_clientId;
    qint64 m_id;
    TrackStepModel m_model;
    qint64 m_stepId = -1;
};

// Opens the editor modally; true when the follow-up was saved.
bool ShowFollowUpEditor(qint64 clientId, qint64 id);
