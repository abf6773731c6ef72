#include "crm/EditorHelpers.h"

#include "data/TDM.h"

#include <QComboBox>
#include <QWidget>

void offerUsedValues(QComboBox *box, const QString &table, const QString &column)
{
    QStringList values;
    TDM::instance().GetDataBySQLToItems(
        QStringLiteral("Select distinct %1 from %2 Where %1<>'' Order by %1 collate PINYIN").arg(column, table), values,
        true);
    const QString typed = box->currentText();
    box->clear();
    box->addItems(values);
    box->setEditText(typed);
}

void setTabChain(std::initializer_list<QWidget *> boxes)
{
    QWidget *previous = nullptr;
    for (QWidget *box : boxes) {
        if (previous)
            QWidget::setTabOrder(previous, box);
        previous = box;
    }
}
