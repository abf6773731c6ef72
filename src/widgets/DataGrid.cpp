#include "widgets/DataGrid.h"

#include "data/Recordset.h"

#include <QDateTime>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionHeader>
#include <QTableView>
#include <QVBoxLayout>

#include <array>
#include <cmath>

namespace {

// The footer row: one header-like cell under each shown column, in line with the columns
// however they are sized or scrolled.
class FooterRow final : public QWidget
{
public:
    FooterRow(QTableView *view, const RecordsetModel &model)
        : QWidget(view)
        , m_view(view)
        , m_model(model)
    {
        setObjectName(QStringLiteral("footerRow"));
        QHeaderView *header = view->horizontalHeader();
        const auto repaint = [this] { update(); };
        connect(header, &QHeaderView::sectionResized, this, repaint);
        connect(header, &QHeaderView::sectionMoved, this, repaint);
        connect(view->horizontalScrollBar(), &QScrollBar::valueChanged, this, repaint);
        connect(&model, &QAbstractItemModel::modelReset, this, repaint);
        connect(&model, &QAbstractItemModel::rowsInserted, this, repaint);
        connect(&model, &QAbstractItemModel::rowsRemoved, this, repaint);
        connect(&model, &QAbstractItemModel::dataChanged, this, repaint);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        const QHeaderView *header = m_view->horizontalHeader();
        for (int column = 0; column < m_model.columnCount(); ++column) {
            if (header->isSectionHidden(column))
                continue;
            QStyleOptionHeader option;
            option.initFrom(this);
            option.rect = QRect(header->sectionViewportPosition(column), 0, header->sectionSize(column), height());
            option.section = column;
            option.text = m_model.footerText(column);
            const GridColumn &definition = m_model.columns().at(column);
            option.textAlignment = definition.footer == GridColumn::Footer::Text
                ? Qt::AlignCenter
                : definition.alignment;
            style()->drawControl(QStyle::CE_Header, &option, &painter, this);
        }
    }

private:
    QTableView *m_view;
    const RecordsetModel &m_model;
};

// Qt sizes every title in bold, for headers that embolden the title of a selected column.
// These never do (highlighting is off), and measuring in bold would load a second face of the
// Chinese font, several megabytes, for nothing.
class PlainHeader final : public QHeaderView
{
public:
    explicit PlainHeader(QWidget *parent)
        : QHeaderView(Qt::Horizontal, parent)
    {
        setSectionsClickable(true);
    }

protected:
    QSize sectionSizeFromContents(int logicalIndex) const override
    {
        ensurePolished();
        QStyleOptionHeader option;
        initStyleOption(&option);
        option.section = logicalIndex;
        option.text = model()->headerData(logicalIndex, orientation(), Qt::DisplayRole).toString();
        if (isSortIndicatorShown())
            option.sortIndicator = QStyleOptionHeader::SortDown;
        return style()->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), this);
    }
};

// The table view with room under its rows for the footer row, above the horizontal scroll bar.
class FooterTableView final : public QTableView
{
public:
    void setFooter(QWidget *footer)
    {
        m_footer = footer;
        updateGeometries();
    }

protected:
    void updateGeometries() override
    {
        QTableView::updateGeometries();
        if (!m_footer)
            return;
        const int height = verticalHeader()->defaultSectionSize();
        QMargins margins = viewportMargins();
        if (margins.bottom() != height) {
            margins.setBottom(height);
            setViewportMargins(margins);
        }
        const QRect rows = viewport()->geometry();
        m_footer->setGeometry(rows.left(), rows.bottom() + 1, rows.width(), height);
    }

private:
    QWidget *m_footer = nullptr;
};

} // namespace

DataGrid::DataGrid(Recordset &recordset, QWidget *parent)
    : QWidget(parent)
    , m_model(recordset)
    , m_view(new FooterTableView)
{
    m_view->setHorizontalHeader(new PlainHeader(m_view));
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
            fitNumberColumns();
        }
        followRecordset(this->recordset().position());
    });
}

void DataGrid::setColumns(const QList<GridColumn> &columns)
{
    m_model.setColumns(columns);
    applyColumnLayout();
    if (m_model.hasFooter() && !m_footer) {
        m_footer = new FooterRow(m_view, m_model);
        static_cast<FooterTableView *>(m_view)->setFooter(m_footer);
        m_footer->show();
    }
}

int DataGrid::cellMargins() const
{
    return 2 * (m_view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1) + 8;
}

int DataGrid::layoutWidth(int c) const
{
    const GridColumn &column = columns().at(c);
    const QDateTime widest(QDate(2088, 12, 28), QTime(23, 58, 58));
    // Titles and dates are never cut off, whatever width the column was given.
    int fit = m_view->horizontalHeader()->fontMetrics().horizontalAdvance(column.title) + 16;
    if (!column.dateFormat.isEmpty())
        fit = std::max(fit, m_view->fontMetrics().horizontalAdvance(widest.toString(column.dateFormat)) + cellMargins());
    return std::max(column.width, fit);
}

void DataGrid::applyColumnLayout()
{
    for (int c = 0; c < columns().size(); ++c) {
        m_view->setColumnHidden(c, !columns().at(c).visible);
        m_view->setColumnWidth(c, layoutWidth(c));
    }
    fitNumberColumns();
}

void DataGrid::fitNumberColumns()
{
    // Numbers cut short read as other numbers, so their columns take the widest value loaded,
    // sums included; no wider than the pane, where the scroll bar takes over.
    const QFontMetricsF cells(m_view->font());
    // A list loaded before it is first laid out has no width yet; half the screen stands in.
    const int pane = isVisible() ? m_view->viewport()->width() : screen()->availableGeometry().width() / 2;
    // Laying out every text of a long list takes a tenth of a second. Numbers are made of
    // ASCII digits and signs, which fonts do not kern: their characters' advances add up.
    std::array<qreal, 128> advances;
    advances.fill(-1);
    const auto width = [&cells, &advances](const QString &text) {
        qreal sum = 0;
        for (const QChar character : text) {
            if (character.unicode() >= advances.size())
                return cells.horizontalAdvance(text);
            qreal &advance = advances[character.unicode()];
            if (advance < 0)
                advance = cells.horizontalAdvance(character);
            sum += advance;
        }
        return sum;
    };
    for (int c = 0; c < columns().size(); ++c) {
        const GridColumn &column = columns().at(c);
        const bool number = column.decimals >= 0 || column.footer == GridColumn::Footer::Sum
            || column.alignment.testFlag(Qt::AlignRight);
        if (!column.visible || !number)
            continue;
        qreal widest = cells.horizontalAdvance(footerText(c));
        for (int row = 0; row < m_model.rowCount(); ++row)
            widest = std::max(widest, width(cellText(row, c)));
        const int base = layoutWidth(c);
        m_view->setColumnWidth(c, std::max(base, std::min(int(std::ceil(widest)) + cellMargins(), pane)));
    }
}

QList<GridColumn> DataGrid::shownColumns() const
{
    QList<GridColumn> shown = columns();
    for (int c = 0; c < shown.size(); ++c) {
        if (shown.at(c).visible)
            shown[c].width = m_view->columnWidth(c);
    }
    return shown;
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
