#pragma once

#include <QDialog>
#include <QList>
#include <QStringList>
#include <optional>

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

// The window that lists the contacts found in a card file before any is stored: one row
// with a tick each, those already stored marked "已存在" and left unticked, and where the
// list has categories the one to store them in.
class ContactPickDialog : public QDialog
{
    Q_OBJECT
public:
    // `rows`: name, telephone numbers and company of each contact; `stored` marks those already
    // stored. `categories` empty: the contacts go to a list without categories.
    ContactPickDialog(const QList<QStringList> &rows, const QList<bool> &stored, const QStringList &categories = {},
                      int category = -1, QWidget *parent = nullptr);

    QList<int> tickedRows() const;
    void setAllTicked(bool ticked);
    // The index into the categories given; -1 without categories.
    int chosenCategory() const;

    QLabel *m_countLabel;
    QTableWidget *m_table;
    QPushButton *m_tickAllButton;
    QPushButton *m_tickNoneButton;
    QComboBox *m_categoryCombo;
    QPushButton *m_importButton;
    QPushButton *m_cancelButton;

private:
    void showTickedCount();
};

// The file dialogs of card files. Saving offers vCard 4.0 first and 3.0 for older phones.
std::optional<QString> askContactCardFileToOpen();
struct ContactCardFileChoice {
    QString path;
    bool forOlderPhones = false; // vCard 3.0
};
std::optional<ContactCardFileChoice> askContactCardFileToSave(const QString &proposedName);
// Opens the pick window modally; true when the user confirmed.
bool pickContacts(ContactPickDialog &window);
// The rows a list's command acts on: those the user selected, when more than one; else all.
class DataGrid;
QList<int> selectedOrAllRows(const DataGrid &grid);
