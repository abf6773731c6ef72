#pragma once

#include <QString>

#include <initializer_list>

class QComboBox;
class QWidget;

// Offers in an editable list every value of `column` stored in `table`, each once, in
// pinyin order, keeping the text already in the box.
void offerUsedValues(QComboBox *box, const QString &table, const QString &column);

// Tab (and Enter, through EnterAsTab) visits the boxes in this order; call once they are all
// in their window.
void setTabChain(std::initializer_list<QWidget *> boxes);
