#pragma once

#include <QString>

#include <functional>
#include <initializer_list>
#include <utility>

class QComboBox;
class QDialog;
class QHBoxLayout;
class QPushButton;
class Recordset;
class QVariant;
class QWidget;

// Offers in an editable list every value of `column` stored in `table`, each once, in
// pinyin order, keeping the text already in the box.
void offerUsedValues(QComboBox *box, const QString &table, const QString &column);

// Tab (and Enter, through moveFocusOnEnter) visits the boxes in this order; call once they are all
// in their window.
void setTabChain(std::initializer_list<QWidget *> boxes);

// The row of an editor's two buttons, right-aligned: `save` closes the editor as accepted
// once `saveData` succeeds, `cancel` (and Esc) closes it without saving. Neither is the
// default button, so Enter moves between the boxes.
QHBoxLayout *editorButtons(QDialog *editor, QPushButton *save, QPushButton *cancel,
                           const std::function<bool()> &saveData);

// Sets each column of the row being edited; false as soon as one cannot be set.
bool setColumns(Recordset &row, std::initializer_list<std::pair<const char *, QVariant>> values);

