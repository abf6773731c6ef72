#include "desk/CalendarPage.h"

#include "platform/Clock.h"
#include "util/LunarCalendar.h"
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
    , m_monthView(new LunarMonthView)
    , m_yearBox(new QSpinBox)
    , m_monthCombo(new QComboBox)
    , m_backButton(new QPushButton(tr("上一月")))
    , m_todayButton(new QPushButton(tr("转到今天")))
    , m_forwardButton(new QPushButton(tr("下一月")))
    , m_lunarMonthsLabel(new QLabel)
    , m_selectedDayLabel(new QLabel)
{
    m_yearBox->setRange(m_monthView->minimumDate().year(), m_monthView->maximumDate().year());
    m_yearBox->setSuffix(tr(" 年"));
    m_yearBox->setAccelerated(true);
    for (int month = 1; month <= 12; ++month)
        m_monthCombo->addItem(tr("%1 月").arg(month));
    m_backButton->setIcon(style()->standardIcon(QStyle::SP_ArrowLeft));
    m_forwardButton->setIcon(style()->standardIcon(QStyle::SP_ArrowRight));
    m_forwardButton->setLayoutDirection(Qt::RightToLeft); // the arrow after the text

    m_yearBox->setMinimumWidth(m_yearBox->fontMetrics().horizontalAdvance(QStringLiteral("20000 年")) + 30);
    QFont titleFont = m_lunarMonthsLabel->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.3);
    titleFont.setBold(true);
    m_lunarMonthsLabel->setFont(titleFont);
    m_lunarMonthsLabel->setAlignment(Qt::AlignCenter);
    // A narrow window clips the title rather than growing for it.
    m_lunarMonthsLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    QFont barFont = m_selectedDayLabel->font();
    barFont.setPointSizeF(barFont.pointSizeF() * 1.15);
    m_selectedDayLabel->setFont(barFont);
    m_selectedDayLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_selectedDayLabel->setStyleSheet(QStringLiteral("QLabel { background: #f8f4ea; border-top: 1px solid #e2dccb; padding: 6px 10px; }"));
    setFocusProxy(m_monthView);

    auto *top = new QHBoxLayout;
    top->addWidget(m_yearBox);
    top->addWidget(m_monthCombo);
    top->addWidget(m_lunarMonthsLabel, 1);
    top->addWidget(m_backButton);
    top->addWidget(m_todayButton);
    top->addWidget(m_forwardButton);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 0);
    layout->addLayout(top);
    layout->addWidget(m_monthView, 1);
    layout->addWidget(m_selectedDayLabel);
    setTabOrder(m_monthView, m_yearBox);
    setTabOrder(m_yearBox, m_monthCombo);
    setTabOrder(m_monthCombo, m_backButton);
    setTabOrder(m_backButton, m_todayButton);
    setTabOrder(m_todayButton, m_forwardButton);

    connect(m_backButton, &QPushButton::clicked, this, &CalendarPage::stepBack);
    connect(m_forwardButton, &QPushButton::clicked, this, &CalendarPage::stepForward);
    connect(m_todayButton, &QPushButton::clicked, this, &CalendarPage::goToToday);
    connect(m_monthView, &QCalendarWidget::currentPageChanged, this, &CalendarPage::pageShown);
    connect(m_monthView, &QCalendarWidget::selectionChanged, this, &CalendarPage::selectionChanged);
    connect(m_yearBox, &QSpinBox::valueChanged, this, &CalendarPage::jumpToChosenMonth);
    connect(m_monthCombo, &QComboBox::currentIndexChanged, this, &CalendarPage::jumpToChosenMonth);

    goToToday();
    pageShown(m_monthView->yearShown(), m_monthView->monthShown());
    selectionChanged();
}

QDate CalendarPage::currentDate() const
{
    return m_monthView->currentDate();
}

void CalendarPage::setCurrentDate(const QDate &date)
{
    m_monthView->setCurrentDate(date);
}

void CalendarPage::goToToday()
{
    const QDate today = platform::clock().now().date();
    m_monthView->setToday(today);
    setCurrentDate(today);
}

void CalendarPage::stepBack()
{
    setCurrentDate(currentDate().addDays(-StepDays));
}

void CalendarPage::stepForward()
{
    setCurrentDate(currentDate().addDays(StepDays));
}

void CalendarPage::pageShown(int year, int month)
{
    const QSignalBlocker yearBlocker(m_yearBox);
    const QSignalBlocker monthBlocker(m_monthCombo);
    m_yearBox->setValue(year);
    m_monthCombo->setCurrentIndex(month - 1);
    m_lunarMonthsLabel->setText(lunarMonthsText(year, month));
}

void CalendarPage::jumpToChosenMonth()
{
    // The same day of the chosen month, or its last day when it is shorter.
    const QDate first(m_yearBox->value(), m_monthCombo->currentIndex() + 1, 1);
    setCurrentDate(first.addDays(qMin(currentDate().day(), first.daysInMonth()) - 1));
}

void CalendarPage::selectionChanged()
{
    m_selectedDayLabel->setText(calendarBarText(currentDate()));
}
