#include "widgets/DataGrid.h"

#include "data/Recordset.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QDateTime>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

DataGrid::DataGrid(Recordset &recordset, QWidget *parent)
    : QWidget(parent)
    , m_model(recordset)
    , m_view(new QTableView)
{
    m_view->setModel(&m_model);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    m_view->setWordWrap(false);
    m_view->verticalHeader()->setVisible(false);
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 6);
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->horizontalHeader()->setHighlightSections(false);
    m_view->horizontalHeader()->setSectionsClickable(true);
    m_view->horizontalHeader()->setSortIndicatorShown(false);
    m_view->viewport()->installEventFilter(this);
    m_view->installEventFilter(this);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_view);

    connect(m_view->horizontalHeader(), &QHeaderView::sectionClicked, this, &DataGrid::sortByColumn);
    connect(m_view, &QTableView::doubleClicked, this, [this](const QModelIndex &index) { emit rowActivated(index.row()); });
    connect(m_view, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { emit contextMenuRequested(m_view->viewport()->mapToGlobal(pos)); });
    connect(m_view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                if (current.isValid() && current.row() != this->recordset().position())
                    this->recordset().moveTo(current.row());
            });
    connect(&recordset, &Recordset::currentChanged, this, &DataGrid::followRecordset);
    connect(&recordset, &Recordset::reset, this, [this] {
        // A reload drops the marker; the re-ordering by a title click keeps it.
        if (!m_sorting) {
            m_sortColumn = -1;
            m_view->horizontalHeader()->setSortIndicatorShown(false);
        }
        followRecordset(this->recordset().position());
    });
}

void DataGrid::setColumns(const QList<GridColumn> &columns)
{
    m_model.setColumns(columns);
    applyColumnLayout();
}

void DataGrid::applyColumnLayout()
{
    const QFontMetrics metrics = m_view->horizontalHeader()->fontMetrics();
    const QFontMetrics cells = m_view->fontMetrics();
    const int cellMargins = 2 * (m_view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1) + 8;
    const QDateTime widest(QDate(2088, 12, 28), QTime(23, 58, 58));
    for (int c = 0; c < columns().size(); ++c) {
        const GridColumn &column = columns().at(c);
        m_view->setColumnHidden(c, !column.visible);
        // Titles and dates are never cut off, whatever width the column was given.
        int fit = metrics.horizontalAdvance(column.title) + 16;
        if (!column.dateFormat.isEmpty())
            fit = std::max(fit, cells.horizontalAdvance(widest.toString(column.dateFormat)) + cellMargins);
        m_view->setColumnWidth(c, std::max(column.width, fit));
    }
}

void DataGrid::setColorizer(RecordsetModel::Colorizer colorizer)
{
    m_model.setColorizer(std::move(colorizer));
    m_view->viewport()->update();
}

void DataGrid::sortByColumn(int column)
{
    if (column < 0 || column >= columns().size() || recordset().isEmpty())
        return;
    m_sorting = true;
    const bool sorted = recordset().sort(columns().at(column).field + QStringLiteral(" ASC"));
    m_sorting = false;
    if (!sorted)
        return;
    m_sortColumn = column;
    // The marker is the descending arrow, as users of this list know it.
    m_view->horizontalHeader()->setSortIndicatorShown(true);
    m_view->horizontalHeader()->setSortIndicator(column, Qt::DescendingOrder);
    emit titleClicked(column);
}

void DataGrid::followRecordset(int row)
{
    if (row < 0) {
        m_view->selectionModel()->clearSelection();
        return;
    }
    const QModelIndex current = m_view->currentIndex();
    if (current.row() == row && m_view->selectionModel()->isRowSelected(row, {}))
        return;
    const int column = current.isValid() ? current.column() : 0;
    m_view->selectionModel()->setCurrentIndex(m_model.index(row, column),
                                              QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_view->scrollTo(m_model.index(row, column));
}

bool DataGrid::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view->viewport() && event->type() == QEvent::MouseButtonPress)
        emit pressed();
    if (watched == m_view && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && recordset().position() >= 0) {
            emit rowActivated(recordset().position());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
