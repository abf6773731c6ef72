#include "desk/CalendarPage.h"

#include "platform/Clock.h"
#include "widgets/LunarCalendar.h"
#include "widgets/LunarMonthView.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStringList>
#include <QStyle>
#include <QVBoxLayout>

namespace {

constexpr int StepDays = 30;

QString weekdayName(const QDate &date)
{
    static const QString names = QStringLiteral("一二三四五六日");
    return QStringLiteral("星期") + names.at(date.dayOfWeek() - 1);
}

} // namespace

QString calendarBarText(const QDate &date)
{
    const QString lunar = lunarDateText(date);
    if (lunar.isEmpty())
        return QString();
    QStringList parts{QStringLiteral("%1年%2月%3日 %4").arg(date.year()).arg(date.month()).arg(date.day()).arg(weekdayName(date)),
                      QStringLiteral("农历") + lunar};
    const DayAnnotation day = annotateDay(date);
    if (!day.note.isEmpty())
        parts << day.note;
    return parts.join(QStringLiteral("　"));
}

QString lunarMonthsText(int year, int month)
{
    const QDate first(year, month, 1);
    QStringList parts;
    LunarDate previous;
    for (QDate date = first; date.month() == month; date = date.addDays(1)) {
        const LunarDate lunar = lunarDate(date);
        if (!lunar.isValid())
            return QString();
        if (parts.isEmpty() || lunar.month != previous.month || lunar.leapMonth != previous.leapMonth) {
            const QString name = lunarMonthName(lunar.month, lunar.leapMonth);
            parts << (lunar.cycleYear == previous.cycleYear
                          ? name
                          : QStringLiteral("%1年（%2年）%3").arg(ganzhiYearName(lunar.cycleYear), zodiacName(lunar.cycleYear), name));
        }
        previous = lunar;
    }
    return parts.join(QStringLiteral(" · "));
}

CalendarPage::CalendarPage(QWidget *parent)
    : QWidget(parent)
    , LssCalendar1(new LunarMonthView)
    , spinYear(new QSpinBox)
    , cmbMonth(new QComboBox)
    , BitBtn1(new QPushButton(tr("上一月")))
    , BitBtn3(new QPushButton(tr("转到今天")))
    , BitBtn2(new QPushButton(tr("下一月")))
    , lblLunarMonths(new QLabel)
    , lblSelectedDay(new QLabel)
{
    spinYear->setRange(LssCalendar1->minimumDate().year(), LssCalendar1->maximumDate().year());
    spinYear->setSuffix(tr(" 年"));
    spinYear->setAccelerated(true);
    for (int month = 1; month <= 12; ++month)
        cmbMonth->addItem(tr("%1 月").arg(month));
    BitBtn1->setIcon(style()->standardIcon(QStyle::SP_ArrowLeft));
    BitBtn2->setIcon(style()->standardIcon(QStyle::SP_ArrowRight));
    BitBtn2->setLayoutDirection(Qt::RightToLeft); // the arrow after the text

    spinYear->setMinimumWidth(spinYear->fontMetrics().horizontalAdvance(QStringLiteral("20000 年")) + 30);
    QFont titleFont = lblLunarMonths->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.3);
    titleFont.setBold(true);
    lblLunarMonths->setFont(titleFont);
    lblLunarMonths->setAlignment(Qt::AlignCenter);
    // A narrow window clips the title rather than growing for it.
    lblLunarMonths->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    QFont barFont = lblSelectedDay->font();
    barFont.setPointSizeF(barFont.pointSizeF() * 1.15);
    lblSelectedDay->setFont(barFont);
    lblSelectedDay->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblSelectedDay->setStyleSheet(QStringLiteral("QLabel { background: #f8f4ea; border-top: 1px solid #e2dccb; padding: 6px 10px; }"));
    setFocusProxy(LssCalendar1);

    auto *top = new QHBoxLayout;
    top->addWidget(spinYear);
    top->addWidget(cmbMonth);
    top->addWidget(lblLunarMonths, 1);
    top->addWidget(BitBtn1);
    top->addWidget(BitBtn3);
    top->addWidget(BitBtn2);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 0);
    layout->addLayout(top);
    layout->addWidget(LssCalendar1, 1);
    layout->addWidget(lblSelectedDay);
    setTabOrder(LssCalendar1, spinYear);
    setTabOrder(spinYear, cmbMonth);
    setTabOrder(cmbMonth, BitBtn1);
    setTabOrder(BitBtn1, BitBtn3);
    setTabOrder(BitBtn3, BitBtn2);

    connect(BitBtn1, &QPushButton::clicked, this, &CalendarPage::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &CalendarPage::BitBtn2Click);
    connect(BitBtn3, &QPushButton::clicked, this, &CalendarPage::BitBtn3Click);
    connect(LssCalendar1, &QCalendarWidget::currentPageChanged, this, &CalendarPage::pageShown);
    connect(LssCalendar1, &QCalendarWidget::selectionChanged, this, &CalendarPage::selectionChanged);
    connect(spinYear, &QSpinBox::valueChanged, this, &CalendarPage::jumpToChosenMonth);
    connect(cmbMonth, &QComboBox::currentIndexChanged, this, &CalendarPage::jumpToChosenMonth);

    BitBtn3Click();
    pageShown(LssCalendar1->yearShown(), LssCalendar1->monthShown());
    selectionChanged();
}

QDate CalendarPage::currentDate() const
{
    return LssCalendar1->currentDate();
}

void CalendarPage::setCurrentDate(const QDate &date)
{
    LssCalendar1->setCurrentDate(date);
}

void CalendarPage::BitBtn3Click()
{
    const QDate today = platform::clock().now().date();
    LssCalendar1->setToday(today);
    setCurrentDate(today);
}

void CalendarPage::BitBtn1Click()
{
    setCurrentDate(currentDate().addDays(-StepDays));
}

void CalendarPage::BitBtn2Click()
{
    setCurrentDate(currentDate().addDays(StepDays));
}

void CalendarPage::pageShown(int year, int month)
{
    const QSignalBlocker yearBlocker(spinYear);
    const QSignalBlocker monthBlocker(cmbMonth);
    spinYear->setValue(year);
    cmbMonth->setCurrentIndex(month - 1);
    lblLunarMonths->setText(lunarMonthsText(year, month));
}

void CalendarPage::jumpToChosenMonth()
{
    // The same day of the chosen month, or its last day when it is shorter.
    const QDate first(spinYear->value(), cmbMonth->currentIndex() + 1, 1);
    setCurrentDate(first.addDays(qMin(currentDate().day(), first.daysInMonth()) - 1));
}

void CalendarPage::selectionChanged()
{
    lblSelectedDay->setText(calendarBarText(currentDate()));
}
