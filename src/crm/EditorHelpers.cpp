#include "crm/EditorHelpers.h"

#include "data/Recordset.h"
#include "data/Database.h"

#include <QComboBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

void offerUsedValues(QComboBox *box, const QString &table, const QString &column)
{
    QStringList values;
    Database::instance().appendNonEmptyValues(
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

QHBoxLayout *editorButtons(QDialog *editor, QPushButton *save, QPushButton *cancel,
                           const std::function<bool()> &saveData)
{
    for (QPushButton *button : {save, cancel})
        button->setAutoDefault(false);
    QObject::connect(save, &QPushButton::clicked, editor, [editor, saveData] {
        if (saveData())
            editor->accept();
    });
    QObject::connect(cancel, &QPushButton::clicked, editor, &QDialog::reject);
    auto *row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(save);
    row->addWidget(cancel);
    return row;
}

bool setColumns(Recordset &row, std::initializer_list<std::pair<const char *, QVariant>> values)
{
    for (const auto &[column, value] : values) {
        if (!row.set(QLatin1String(column), value))
            return false;
    }
    return true;
}

