#include "widgets/LunarMonthView.h"

#include "util/LunarCalendar.h"
#include "util/SolarTerms.h"

#include <QHeaderView>
#include <QPainter>
#include <QTableView>
#include <QTextCharFormat>

namespace {

const QColor Ink(0x1f, 0x1f, 0x1f);
const QColor WeekendInk(0xd0, 0x2b, 0x2b);
const QColor LunarInk(0x6b, 0x6b, 0x6b);
const QColor MonthStartInk(0x1d, 0x5f, 0xa8);
const QColor FestivalInk(0xd0, 0x2b, 0x2b);
const QColor TermInk(0x1c, 0x7c, 0x43);
const QColor HolidayInk(0xc4, 0x5a, 0x00);
const QColor TodayFill(0xff, 0xf1, 0xd6);
const QColor TodayEdge(0xe8, 0x7b, 0x00);
const QColor SelectedFill(0xe3, 0xee, 0xfb);
const QColor SelectedEdge(0x2f, 0x6f, 0xb3);
const QColor GridLine(0xe4, 0xe4, 0xe4);

constexpr int HeaderRowHeight = 30;

bool isWeekend(const QDate &date)
{
    return date.dayOfWeek() == Qt::Saturday || date.dayOfWeek() == Qt::Sunday;
}

QColor noteInk(DayAnnotation::Kind kind)
{
    switch (kind) {
    case DayAnnotation::Kind::Festival: return FestivalInk;
    case DayAnnotation::Kind::SolarTerm: return TermInk;
    case DayAnnotation::Kind::Holiday: return HolidayInk;
    case DayAnnotation::Kind::None: break;
    }
    return LunarInk;
}

QFont sizedFont(const QFont &base, int pixels, bool bold)
{
    QFont font = base;
    font.setPixelSize(qMax(pixels, 8));
    font.setBold(bold);
    return font;
}

} // namespace

DayAnnotation annotateDay(const QDate &date)
{
    DayAnnotation day;
    const LunarDate lunar = lunarDate(date);
    if (!lunar.isValid())
        return day;
    day.monthStart = lunar.day == 1;
    day.lunar = day.monthStart ? lunarMonthName(lunar.month, lunar.leapMonth) : lunarDayName(lunar.day);

    QStringList notes;
    const QString festival = lunarFestival(date);
    const int term = solarTermOn(date);
    const QString termName = solarTermName(term);
    const QString holiday = gregorianFestival(date);
    if (!festival.isEmpty())
        notes << festival;
    if (!termName.isEmpty())
        notes << termName;
    if (!holiday.isEmpty())
        notes << holiday;
    day.note = notes.join(QLatin1Char(' '));

    // 清明 and 冬至 are festivals as much as solar terms.
    const bool termIsFestival = termName == QStringLiteral("清明") || termName == QStringLiteral("冬至");
    if (!festival.isEmpty() || termIsFestival)
        day.kind = DayAnnotation::Kind::Festival;
    else if (term >= 0)
        day.kind = DayAnnotation::Kind::SolarTerm;
    else if (!holiday.isEmpty())
        day.kind = DayAnnotation::Kind::Holiday;
    return day;
}

LunarMonthView::LunarMonthView(QWidget *parent)
    : QCalendarWidget(parent)
{
    setLocale(QLocale(QLocale::Chinese, QLocale::China));
    setFirstDayOfWeek(Qt::Monday);
    setNavigationBarVisible(false);
    setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    setHorizontalHeaderFormat(QCalendarWidget::ShortDayNames);
    setGridVisible(false);
    setDateRange(QDate(1901, 1, 1), QDate(2099, 12, 31));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);

    QTextCharFormat weekendHeader;
    weekendHeader.setForeground(WeekendInk);
    setWeekdayTextFormat(Qt::Saturday, weekendHeader);
    setWeekdayTextFormat(Qt::Sunday, weekendHeader);
    QTextCharFormat header;
    header.setFontWeight(QFont::Bold);
    setHeaderTextFormat(header);

    // The weekday names need one line, not a sixth of the page like the day rows.
    if (auto *view = findChild<QTableView *>()) {
        view->verticalHeader()->setMinimumSectionSize(HeaderRowHeight);
        view->verticalHeader()->setSectionResizeMode(0, QHeaderView::Fixed);
        view->verticalHeader()->resizeSection(0, HeaderRowHeight);
    }
}

void LunarMonthView::setCurrentDate(const QDate &date)
{
    setSelectedDate(date);
}

void LunarMonthView::setToday(const QDate &today)
{
    m_today = today;
    updateCells();
}

const DayAnnotation &LunarMonthView::annotation(const QDate &date) const
{
    auto found = m_annotations.constFind(date);
    if (found == m_annotations.constEnd())
        found = m_annotations.insert(date, annotateDay(date));
    return *found;
}

void LunarMonthView::paintCell(QPainter *painter, const QRect &rect, QDate date) const
{
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->fillRect(rect, Qt::white);
    painter->setPen(GridLine);
    painter->drawLine(rect.bottomLeft(), rect.bottomRight());

    const bool inMonth = date.year() == yearShown() && date.month() == monthShown();
    const bool isToday = date == m_today;
    const bool isSelected = date == selectedDate();
    const QRectF box = QRectF(rect).adjusted(2.5, 2.5, -2.5, -2.5);
    if (isToday || isSelected) {
        painter->setPen(QPen(isSelected ? SelectedEdge : TodayEdge, 2));
        painter->setBrush(isToday ? TodayFill : SelectedFill);
        painter->drawRoundedRect(box, 6, 6);
    }
    if (isToday) {
        const int badge = qBound(14, rect.height() / 4, 20);
        const QRectF corner(box.right() - badge - 2, box.top() + 2, badge, badge);
        painter->setPen(Qt::NoPen);
        painter->setBrush(TodayEdge);
        painter->drawRoundedRect(corner, 3, 3);
        painter->setPen(Qt::white);
        painter->setFont(sizedFont(font(), badge - 4, true));
        painter->drawText(corner, Qt::AlignCenter, tr("今"));
    }
    if (!inMonth)
        painter->setOpacity(0.35);

    const DayAnnotation &day = annotation(date);
    const int numberSize = qMin(rect.height() * 32 / 100, rect.width() * 26 / 100);
    const int smallSize = qMax(11, numberSize * 60 / 100);
    const bool roomForBoth = rect.height() >= numberSize + 2 * smallSize + 14;
    const int lines = roomForBoth && !day.note.isEmpty() ? 2 : 1;
    const int blockHeight = numberSize + lines * (smallSize + 3);
    int top = rect.top() + (rect.height() - blockHeight) / 2;

    painter->setFont(sizedFont(font(), numberSize, true));
    painter->setPen(isWeekend(date) ? WeekendInk : Ink);
    painter->drawText(QRect(rect.left(), top, rect.width(), numberSize + 2), Qt::AlignCenter, QString::number(date.day()));
    top += numberSize + 3;

    painter->setFont(sizedFont(font(), smallSize, false));
    const auto drawSmall = [&](const QString &text, const QColor &ink) {
        painter->setPen(ink);
        const QRect line(rect.left() + 2, top, rect.width() - 4, smallSize + 3);
        painter->drawText(line, Qt::AlignCenter, painter->fontMetrics().elidedText(text, Qt::ElideRight, line.width()));
        top += smallSize + 3;
    };
    const QColor lunarInk = day.monthStart ? MonthStartInk : LunarInk;
    if (lines == 2) {
        drawSmall(day.lunar, lunarInk);
        drawSmall(day.note, noteInk(day.kind));
    } else if (!day.note.isEmpty()) {
        drawSmall(day.note, noteInk(day.kind));
    } else {
        drawSmall(day.lunar, lunarInk);
    }
    painter->restore();
}
