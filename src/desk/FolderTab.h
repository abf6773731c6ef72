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
    bool ReadyCustPath();

    void Button7Click();
    void Button8Click();
    void Button9Click();
    void cmdOpenFolderClick();

    FolderList *ListFolder;
    QPushButton *Button7;
    QPushButton *Button8;
    QPushButton *Button9;
    QPushButton *cmdOpenFolder;
};
