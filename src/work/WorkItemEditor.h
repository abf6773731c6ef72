#pragma once

#include "data/Recordset.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QDateTimeEdit;
class QLineEdit;
class QLabel;
class QPushButton;
class QSpinBox;
class QTimeEdit;
class QToolButton;
class RichTextEditor;

// The editor of one work item: subject, type, state, priority, dates, reminder and body.
class WorkItemEditor : public QDialog
{
    Q_OBJECT
    // First, so the controls built in the constructor find it constructed.
    Recordset m_work;

public:
    // `id` -1 (or one that matches no row) makes a new item; `presetType` is the type to
    // select for a new item.
    WorkItemEditor(qint64 id, const QString &presetType, QWidget *parent = nullptr);

    bool loadRecord();
    bool saveRecord();
    bool saved() const { return !m_cancelled; }
    // Reapplies the blank-field rule: unchecked date boxes and an empty update time show nothing.
    void applyDateDisplay();

    QLineEdit *m_subjectEdit;
    QComboBox *m_typeCombo;
    QToolButton *m_editTypesButton;
    QComboBox *m_stateCombo;
    QCheckBox *m_startCheck;
    QDateEdit *m_startDateEdit;
    QCheckBox *m_endCheck;
    QDateEdit *m_endDateEdit;
    QComboBox *m_priorityCombo;
    QDateTimeEdit *m_updateTimeEdit;
    RichTextEditor *m_bodyEditor;
    QCheckBox *m_reminderCheck;
    QDateEdit *m_reminderDateEdit;
    QTimeEdit *m_reminderTimeEdit;
    QPushButton *m_saveButton;
    QPushButton *m_cancelButton;
    // The repeat row: the kind, "每 N …", the weekdays of a weekly rule, the day of a monthly
    // one, the end, and the rule in words.
    QComboBox *m_repeatCombo;
    QSpinBox *m_intervalSpin;
    QList<QCheckBox *> m_weekdayChecks; // Monday first
    QComboBox *m_monthlyCombo;
    QComboBox *m_endCombo;
    QDateEdit *m_untilDateEdit;
    QSpinBox *m_countSpin;
    QLabel *m_repeatSentence;

    // The rule the item is saved with; empty for none.
    QString repeatRule() const { return m_repeatRule; }

private:
    void fillWorkTypes();
    QWidget *buildFields();
    QLayout *buildRepeatRow();
    void showRepeatRule(const QString &rule);
    // A repeat control or the item's date changed: the rule is written again from the row.
    void repeatChanged();
    void updateRepeatControls();
    QDate repeatAnchor() const;

    qint64 m_id;
    QString m_presetType;
    bool m_cancelled = true;
    bool m_hasUpdateTime = true; // false: the item's update time is empty and shows blank
    QString m_repeatRule;
    QString m_keptRule;          // a stored rule the row cannot show, kept as it stands
    bool m_showingRule = false;  // the row is being set from a rule, not by the user
};

// Opens the editor modally; true when the user saved the item.
bool editWorkItem(qint64 id, const QString &presetType);
