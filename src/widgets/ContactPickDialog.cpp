#include "widgets/ContactPickDialog.h"

#include "data/Recordset.h"
#include "platform/ModalDialog.h"
#include "platform/Prompter.h"
#include "widgets/DataGrid.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const char *const kCardFilter = QT_TRANSLATE_NOOP("ContactPickDialog", "名片文件 vCard 4.0 (*.vcf)");
const char *const kOlderCardFilter = QT_TRANSLATE_NOOP("ContactPickDialog", "名片文件 vCard 3.0，旧手机 (*.vcf)");

QString tr(const char *text)
{
    return QCoreApplication::translate("ContactPickDialog", text);
}

QString documentsFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

} // namespace

ContactPickDialog::ContactPickDialog(const QList<QStringList> &rows, const QList<bool> &stored,
                                     const QStringList &categories, int category, QWidget *parent)
    : QDialog(parent)
    , m_countLabel(new QLabel)
    , m_table(new QTableWidget(int(rows.size()), 4))
    , m_tickAllButton(new QPushButton(tr("全选(&A)")))
    , m_tickNoneButton(new QPushButton(tr("全不选(&N)")))
    , m_categoryCombo(new QComboBox)
    , m_importButton(new QPushButton(tr("导入(&I)")))
    , m_cancelButton(new QPushButton(tr("取消(&X)")))
{
    setWindowTitle(tr("从名片文件导入"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    m_table->setHorizontalHeaderLabels({tr("姓名"), tr("电话"), tr("单位"), tr("状态")});
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->verticalHeader()->hide();
    m_table->setWordWrap(false);
    for (int row = 0; row < rows.size(); ++row) {
        const QStringList &contact = rows.at(row);
        const bool known = stored.value(row);
        auto *name = new QTableWidgetItem(contact.value(0));
        name->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        name->setCheckState(known ? Qt::Unchecked : Qt::Checked);
        m_table->setItem(row, 0, name);
        m_table->setItem(row, 1, new QTableWidgetItem(contact.value(1)));
        m_table->setItem(row, 2, new QTableWidgetItem(contact.value(2)));
        for (int column = 0; column < 3; ++column)
            m_table->item(row, column)->setToolTip(contact.value(column)); // shown whole where the cell cuts it
        m_table->setItem(row, 3, new QTableWidgetItem(known ? tr("已存在") : QString()));
    }
    m_table->setColumnWidth(0, 130);
    m_table->setColumnWidth(1, 210);
    m_table->setColumnWidth(2, 170);
    m_table->horizontalHeader()->setStretchLastSection(true);
    connect(m_table, &QTableWidget::itemChanged, this, &ContactPickDialog::showTickedCount);

    m_categoryCombo->addItems(categories);
    m_categoryCombo->setCurrentIndex(category);
    for (QPushButton *button : {m_tickAllButton, m_tickNoneButton, m_importButton, m_cancelButton})
        button->setAutoDefault(false);
    m_importButton->setDefault(true);

    auto *ticks = new QHBoxLayout;
    ticks->addWidget(m_countLabel, 1);
    ticks->addWidget(m_tickAllButton);
    ticks->addWidget(m_tickNoneButton);
    auto *buttons = new QHBoxLayout;
    if (!categories.isEmpty()) {
        auto *label = new QLabel(tr("导入到分类："));
        label->setBuddy(m_categoryCombo);
        buttons->addWidget(label);
        buttons->addWidget(m_categoryCombo, 1);
    } else {
        m_categoryCombo->hide();
    }
    buttons->addStretch(1);
    buttons->addWidget(m_importButton);
    buttons->addWidget(m_cancelButton);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(ticks);
    layout->addWidget(m_table, 1);
    layout->addLayout(buttons);
    resize(680, 440);

    connect(m_tickAllButton, &QPushButton::clicked, this, [this] { setAllTicked(true); });
    connect(m_tickNoneButton, &QPushButton::clicked, this, [this] { setAllTicked(false); });
    connect(m_importButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    showTickedCount();
}

QList<int> ContactPickDialog::tickedRows() const
{
    QList<int> rows;
    for (int row = 0; row < m_table->rowCount(); ++row) {
        if (m_table->item(row, 0)->checkState() == Qt::Checked)
            rows.append(row);
    }
    return rows;
}

void ContactPickDialog::setAllTicked(bool ticked)
{
    const QSignalBlocker blocker(m_table);
    for (int row = 0; row < m_table->rowCount(); ++row)
        m_table->item(row, 0)->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
    m_table->viewport()->update();
    showTickedCount();
}

int ContactPickDialog::chosenCategory() const
{
    return m_categoryCombo->count() == 0 ? -1 : m_categoryCombo->currentIndex();
}

void ContactPickDialog::showTickedCount()
{
    const qsizetype ticked = tickedRows().size();
    m_countLabel->setText(tr("名片文件中有 %1 位联系人，已勾选 %2 位：").arg(m_table->rowCount()).arg(ticked));
    m_importButton->setEnabled(ticked > 0 && (m_categoryCombo->count() == 0 || m_categoryCombo->currentIndex() >= 0));
}

std::optional<QString> askContactCardFileToOpen()
{
    platform::Prompter::FileRequest request;
    request.title = tr("从名片文件导入");
    request.folder = documentsFolder();
    request.filter = tr("名片文件 (*.vcf *.vcard);;所有文件 (*)");
    return platform::prompter().openFileName(request);
}

std::optional<ContactCardFileChoice> askContactCardFileToSave(const QString &proposedName)
{
    QString chosen = tr(kCardFilter);
    platform::Prompter::FileRequest request;
    request.title = tr("导出为名片文件");
    request.folder = documentsFolder();
    request.fileName = proposedName + QStringLiteral(".vcf");
    request.filter = tr(kCardFilter) + QStringLiteral(";;") + tr(kOlderCardFilter);
    request.defaultSuffix = QStringLiteral("vcf");
    request.chosenFilter = &chosen;
    const std::optional<QString> path = platform::prompter().saveFileName(request);
    if (!path)
        return std::nullopt;
    return ContactCardFileChoice{*path, chosen == tr(kOlderCardFilter)};
}

bool pickContacts(ContactPickDialog &window)
{
    return platform::execModal(window) == QDialog::Accepted;
}

QList<int> selectedOrAllRows(const DataGrid &grid)
{
    QList<int> rows;
    for (const QModelIndex &index : grid.view()->selectionModel()->selectedRows())
        rows.append(index.row());
    if (rows.size() > 1) {
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    rows.clear();
    for (int row = 0; row < grid.recordset().count(); ++row)
        rows.append(row);
    return rows;
}
