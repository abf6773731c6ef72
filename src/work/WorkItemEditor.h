#pragma once

#include "data/Recordset.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QDateTimeEdit;
class QLineEdit;
class QPushButton;
class QTimeEdit;
class QToolButton;
class RichTextEditor;

// The editor of one work item: subject, type, state, priority, dates, reminder and body.
class TfrmEditAWork : public QDialog
{
    Q_OBJECT
    // First, so the controls built in the constructor find it constructed.
    Recordset m_work;

public:
    // `id` -1 (or one that matches no row) makes a new item; `presetType` is the type to
    // select for a new item.
    TfrmEditAWork(qint64 id, const QString &presetType, QWidget *parent = nullptr);

    bool ReadyData();
    bool SaveData();
    bool saved() const { return !m_cancelled; }
    // Reapplies the blank-field rule: unchecked date boxes and an empty update time show nothing.
    void applyDateDisplay();

    QLineEdit *EditTitle;
    QComboBox *cmbWorkType;
    QToolButton *sbEditWorkType;
    QComboBox *cmbFInStu;
    QCheckBox *chkStart;
    QDateEdit *dtStart;
    QCheckBox *chkEnd;
    QDateEdit *dtEnd;
    QComboBox *cmbZY;
    QDateTimeEdit *dtRec;
    RichTextEditor *editor;
    QCheckBox *chkDateHInt;
    QDateEdit *dtDateHInt;
    QTimeEdit *dtTImeHint;
    QPushButton *cmdSave;
    QPushButton *cmdCancel;

private:
    void fillWorkTypes();
    QWidget *buildFields();

    qint64 m_id;
    QString m_presetType;
    bool m_cancelled = true;
    bool m_hasUpdateTime = true; // false: the item's update time is empty and shows blank
};

// Opens the editor modally; true when the user saved the item.
bool ShowWorkEditor(qint64 id, const QString &presetType);
