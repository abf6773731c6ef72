#pragma once

#include <QDialog>

class QPushButton;
class QTableWidget;

// Offers a fixed grid of symbols; choosing one puts it on the clipboard for the caller to paste.
class SpecialCharacterDialog : public QDialog
{
    Q_OBJECT
public:
    explicit SpecialCharacterDialog(QWidget *parent = nullptr);

    // Puts the selected cell's symbol on the clipboard and closes; an empty cell does nothing.
    void chooseSelectedCharacter();
    bool chosen() const { return m_chosen; }

    QTableWidget *m_characterGrid;
    QPushButton *m_chooseButton;
    QPushButton *m_exitButton;

private:
    bool m_chosen = false;
};

// The modal picker; true when a symbol was chosen, which is then the clipboard's text.
bool pickSpecialCharacter();
