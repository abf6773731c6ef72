#pragma once

#include "data/SearchIndex.h"

#include <QTimer>
#include <QWidget>

class QLabel;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;
class Database;

// 全部查找: one box over every page's records, results grouped by kind as the user types.
// Non-modal; each opened one is its own window.
class SearchWindow : public QWidget
{
    Q_OBJECT
public:
    explicit SearchWindow(Database &database, QWidget *parent = nullptr);

    QLineEdit *queryEdit() const { return m_queryEdit; }
    QTreeWidget *results() const { return m_results; }
    // Runs the search for what the box holds now, without waiting for the typing to pause.
    void searchNow();

signals:
    void openRequested(searchindex::Kind kind, qint64 recordId);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void openItem(QTreeWidgetItem *item);
    void openCurrent();

    Database &m_database;
    QLineEdit *m_queryEdit;
    QTreeWidget *m_results;
    QLabel *m_statusLabel;
    QTimer m_pause;
};

// Opens a new search window over `owner`, its own window, shown and active.
SearchWindow *openSearchWindow(Database &database, QWidget *owner);
