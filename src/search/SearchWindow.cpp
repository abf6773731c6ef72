#include "search/SearchWindow.h"

#include "data/Database.h"
#include "search/SearchIndexUpkeep.h"
#include "search/SearchQuery.h"
#include "widgets/RichTextDelegate.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kKindRole = Qt::UserRole;
constexpr int kIdRole = Qt::UserRole + 1;
constexpr int kShownPerKind = 200;
// Results follow the typing once it pauses this long, so that each key does not search.
constexpr int kTypingPauseMs = 150;

} // namespace

SearchWindow::SearchWindow(Database &database, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_database(database)
    , m_queryEdit(new QLineEdit(this))
    , m_results(new QTreeWidget(this))
    , m_statusLabel(new QLabel(this))
{
    setWindowTitle(tr("全部查找"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_queryEdit->setPlaceholderText(tr("输入要查找的文字、号码或姓名的拼音首字母，多个词用空格分开"));
    m_queryEdit->setClearButtonEnabled(true);
    m_queryEdit->installEventFilter(this);

    m_results->setColumnCount(2);
    m_results->setHeaderLabels({tr("标题"), tr("内容")});
    m_results->setItemDelegate(new RichTextDelegate(m_results));
    m_results->setRootIsDecorated(true);
    m_results->setUniformRowHeights(true);
    m_results->header()->setStretchLastSection(true);
    m_results->setColumnWidth(0, 220);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_queryEdit);
    layout->addWidget(m_results, 1);
    layout->addWidget(m_statusLabel);

    m_pause.setSingleShot(true);
    m_pause.setInterval(kTypingPauseMs);
    connect(&m_pause, &QTimer::timeout, this, &SearchWindow::searchNow);
    connect(m_queryEdit, &QLineEdit::textChanged, this, [this] { m_pause.start(); });
    connect(m_results, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem *item) { openItem(item); });
    resize(760, 500);
}

void SearchWindow::searchNow()
{
    m_pause.stop();
    m_results->clear();
    const QString query = m_queryEdit->text();
    if (query.trimmed().isEmpty()) {
        m_statusLabel->clear();
        return;
    }
    search::Found found = search::find(m_database.connection(), query, kShownPerKind);
    // An index that cannot answer is built anew rather than left to answer wrongly.
    if (found.failed && rebuildSearchIndex(m_database, this))
        found = search::find(m_database.connection(), query, kShownPerKind);
    if (found.failed) {
        m_statusLabel->setText(tr("查找失败：全部查找的索引已损坏，且无法重建。"));
        return;
    }
    int total = 0;
    QTreeWidgetItem *group = nullptr;
    for (const search::Hit &hit : found.hits) {
        if (!group || group->data(0, kKindRole).toInt() != int(hit.kind)) {
            const int count = found.totals[int(hit.kind) - 1];
            total += count;
            const QString caption = count > kShownPerKind
                                        ? tr("%1（%2条，列出最近的%3条）").arg(search::kindCaption(hit.kind)).arg(count).arg(kShownPerKind)
                                        : tr("%1（%2条）").arg(search::kindCaption(hit.kind)).arg(count);
            group = new QTreeWidgetItem(m_results, {caption});
            group->setData(0, kKindRole, int(hit.kind));
            group->setFirstColumnSpanned(true);
            QFont bold = group->font(0);
            bold.setBold(true);
            group->setFont(0, bold);
            group->setExpanded(true);
        }
        auto *item = new QTreeWidgetItem(group, {hit.title, QString()});
        item->setData(0, kKindRole, int(hit.kind));
        item->setData(0, kIdRole, hit.recordId);
        item->setData(0, RichTextDelegate::kHtmlRole, hit.titleHtml);
        item->setData(1, RichTextDelegate::kHtmlRole, hit.snippet);
    }
    if (total == 0) {
        m_statusLabel->setText(tr("没有找到“%1”。").arg(query.trimmed()));
        return;
    }
    m_statusLabel->setText(tr("共找到%1条。").arg(total));
    m_results->setCurrentItem(m_results->topLevelItem(0)->child(0));
}

void SearchWindow::openItem(QTreeWidgetItem *item)
{
    if (item && item->parent())
        emit openRequested(searchindex::Kind(item->data(0, kKindRole).toInt()), item->data(0, kIdRole).toLongLong());
}

void SearchWindow::openCurrent()
{
    if (m_pause.isActive())
        searchNow();
    openItem(m_results->currentItem());
}

bool SearchWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_queryEdit && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            openCurrent();
            return true;
        }
        if (key == Qt::Key_Down && m_results->currentItem()) {
            m_results->setFocus();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

SearchWindow *openSearchWindow(Database &database, QWidget *owner)
{
    auto *window = new SearchWindow(database, owner);
    window->show();
    window->activateWindow();
    window->queryEdit()->setFocus();
    return window;
}
