#include "desk/FolderList.h"

#include "data/Recordset.h"

#include <QHeaderView>
#include <QKeyEvent>

namespace {

constexpr int kFolderRole = Qt::UserRole;

Folder folderOf(const QTreeWidgetItem *item)
{
    return {item->data(0, kFolderRole).toInt(), item->text(0), item->text(1)};
}

} // namespace

FolderList::FolderList(const QString &nameCaption, const QString &pathCaption, const QIcon &icon,
                       QWidget *parent)
    : QTreeWidget(parent)
    , m_icon(icon)
{
    setColumnCount(2);
    setHeaderLabels({nameCaption, pathCaption});
    header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    setColumnWidth(0, 300);
    setColumnWidth(1, 500);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(this, &QTreeWidget::itemDoubleClicked, this, &FolderList::folderDoubleClicked);
}

bool FolderList::load(const QString &sql, const QString &nameField, const QString &pathField)
{
    Recordset rows;
    if (!rows.open(sql))
        return false;
    clear();
    const int id = rows.fieldIndex(QStringLiteral("ID"));
    const int name = rows.fieldIndex(nameField);
    const int path = rows.fieldIndex(pathField);
    QList<QTreeWidgetItem *> items;
    for (int row = 0; row < rows.count(); ++row) {
        auto *item = new QTreeWidgetItem({rows.textAt(row, name), rows.textAt(row, path)});
        item->setData(0, kFolderRole, rows.valueAt(row, id).toInt());
        item->setIcon(0, m_icon);
        item->setToolTip(1, item->text(1));
        items.append(item);
    }
    addTopLevelItems(items);
    setCurrentItem(nullptr);
    clearSelection();
    return true;
}

std::optional<Folder> FolderList::selectedFolder() const
{
    const QList<QTreeWidgetItem *> selected = selectedItems();
    if (selected.isEmpty())
        return std::nullopt;
    return folderOf(selected.constFirst());
}

void FolderList::removeSelected()
{
    qDeleteAll(selectedItems());
}

QList<Folder> FolderList::folders() const
{
    QList<Folder> all;
    for (int i = 0; i < topLevelItemCount(); ++i)
        all.append(folderOf(topLevelItem(i)));
    return all;
}

void FolderList::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit enterPressed();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}
