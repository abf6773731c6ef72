#pragma once

#include <QDialog>

class QPushButton;
class QTableWidget;

// Offers a fixed grid of symbols; choosing one puts it on the clipboard for the caller to paste.
class TfrmEspChar : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmEspChar(QWidget *parent = nullptr);

    // Puts the selected cell's symbol on the clipboard and closes; an empty cell does nothing.
    void cmdSaveClick();
    bool chosen() const { return m_chosen; }

    QTableWidget *grid;
    QPushButton *cmdSave;
    QPushButton *cmdCancel;

private:
    bool m_chosen = false;
};

// The modal picker; true when a symbol was chosen, which is then the clipboard's text.
bool ShowSpecialChars();
