#pragma once

#include <QWidget>

class FolderList;
class QPushButton;

// The tab of favourite folders: a list of described folders, opened in the desktop's file
// browser by a double click, and kept with the folder editor.
class FolderTab : public QWidget
{
    Q_OBJECT
public:
    explicit FolderTab(QWidget *parent = nullptr);

    // Reloads the list in description order; false (after saying so) keeps the former items.
    bool loadFolders();

    void addFolder();
    void editSelectedFolder();
    void deleteSelectedFolder();
    void openSelectedFolder();

    FolderList *m_folderList;
    QPushButton *m_addButton;
    QPushButton *m_editButton;
    QPushButton *m_deleteButton;
    QPushButton *m_openButton;
};
