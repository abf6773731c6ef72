#pragma once

#include "data/Recordset.h"
#include "work/Reminders.h"
#include "work/WorkListQuery.h"

#include <QColor>
#include <QWidget>
#include <array>

class DataGrid;
class RichTextEditor;
class WorkChartPanel;
class QCheckBox;
class QComboBox;
class QMenu;
class QPushButton;
class QSplitter;
class QToolButton;

// The work page: the filters, the list of work items coloured by state and priority, the
// quick state and priority changes; the right pane holds the item's document.
class WorkListPage : public QWidget
{
    Q_OBJECT
    // First, so the grid built in the constructor finds it constructed.
    Recordset m_work;

public:
    explicit WorkListPage(QWidget *parent = nullptr);

    // Reloads the list from the filters, then the reminder cache. False when the query fails
    // (the list is then empty).
    bool loadList();
    // Stores the editor's document, when changed, into the item it was loaded for, whatever
    // page is shown.
    void saveCurrentDocument();
    // The work page became the shown page (reloading the current item's document) or not.
    void setPageShown(bool shown);
    // The item whose document the editor shows; -1 for none.
    qint64 documentOwner() const { return m_owner; }
    // Refills the type filter from the work types, selecting "全部".
    void fillWorkTypes();
    WorkFilter filter() const;

    void setStateColors(const std::array<QColor, 4> &colors);
    QList<ReminderEntry> &reminders() { return m_reminders; }
    Recordset &workItems() { return m_work; }

    // The width of the list pane, as the splitter has it.
    int listWidth() const;
    void setListWidth(int width);

    void addWorkItem();
    void editCurrentWorkItem();
    // The item window for item `id`, then the list again with that item current.
    void editWorkItemOf(qint64 id);
    void deleteCurrentWorkItem();
    // The state menu items carry 1 to 4, the priority items 0 and 1.
    void changeItemState(int state);
    void changeItemPriority(int priority);
    // Puts back the body a description changed on the sync server replaced.
    void restoreBodyBeforeSync();
    void selectAllStates();
    // The listed items to a calendar file, and items from one.
    void exportToCalendar();
    void importFromCalendar();

    QComboBox *m_workTypeCombo;
    QToolButton *m_editTypesButton;
    QComboBox *m_priorityCombo;
    QCheckBox *m_pendingCheck;
    QCheckBox *m_inProgressCheck;
    QCheckBox *m_doneCheck;
    QCheckBox *m_abandonedCheck;
    QToolButton *m_allStatesButton;
    DataGrid *m_workGrid;
    QPushButton *m_addButton;
    QPushButton *m_editButton;
    QPushButton *m_deleteButton;
    QMenu *m_listMenu;
    QSplitter *m_splitter;
    RichTextEditor *m_documentEditor;
    // "图表": the work charts under the list, built the first time they are asked for.
    QToolButton *m_chartToggle;
    WorkChartPanel *m_workChart = nullptr;
    void showWorkChart(bool shown);

signals:
    // The user finished moving the splitter.
    void listWidthChanged();
    // A press in the list: the user is working.
    void listPressed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *buildFilters();
    QWidget *buildListPane();
    void buildMenu();
    void stateBoxClicked(QCheckBox *box);
    QList<QCheckBox *> stateBoxes() const;
    QWidget *buildDocumentPane();
    void loadCurrentDocument();

    QList<ReminderEntry> m_reminders;
    std::array<QColor, 4> m_stateColors;
    bool m_ctrlOnRelease = false; // Ctrl was held when a state box was released
    bool m_pageShown = true;
    qint64 m_owner = -1;
};
