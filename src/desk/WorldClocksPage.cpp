#include "desk/WorldClocksPage.h"

#include "desk/WorldClocks.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "widgets/AnalogClock.h"
#include "widgets/DataGrid.h"
#include "widgets/Picture.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const char kStartTime[] = "00:00:00";

QLabel *centredLabel(const QString &text, bool bold = false)
{
    auto *label = new QLabel(text);
    label->setAlignment(Qt::AlignCenter);
    if (bold) {
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
    }
    return label;
}

// A clock with its caption and digital time under it.
QWidget *clockCell(AnalogClock *clock, QLabel *caption, QLabel *time)
{
    auto *cell = new QWidget;
    auto *layout = new QVBoxLayout(cell);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(2);
    layout->addWidget(clock, 1);
    layout->addWidget(caption);
    layout->addWidget(time);
    return cell;
}

void showTime(AnalogClock *clock, QLabel *label, const QTime &time)
{
    clock->setTime(time);
    label->setText(clockText(time));
}

void colourTime(QLabel *label, const QTime &time)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, workingHoursColor(time));
    label->setPalette(palette);
}

} // namespace

WorldClocksPage::WorldClocksPage(QWidget *parent)
    : QWidget(parent)
    , m_placeGrid(new DataGrid(m_places))
    , m_placeClock(new AnalogClock)
    , m_placeNameLabel(centredLabel(tr("开罗"), true))
    , m_placeTimeLabel(centredLabel(QLatin1String(kStartTime)))
{
    auto *clocksAndLegend = new QVBoxLayout;
    clocksAndLegend->addWidget(buildFixedClocks(), 1);
    auto *workLegend = new QLabel(tr("09:00:00~17:00:00   蓝色 > 上班时间"));
    workLegend->setStyleSheet(QStringLiteral("color: blue"));
    auto *restLegend = new QLabel(tr("18:00:00~07:00:00   黑色 > 非上班时间"));
    restLegend->setStyleSheet(QStringLiteral("color: black"));
    auto *legend = new QHBoxLayout;
    legend->addStretch(1);
    legend->addWidget(workLegend);
    legend->addSpacing(40);
    legend->addWidget(restLegend);
    legend->addStretch(1);
    clocksAndLegend->addLayout(legend);

    auto *layout = new QHBoxLayout(this);
    layout->addLayout(clocksAndLegend, 3);
    layout->addWidget(buildPlaceGroup(), 1);

    connect(&m_places, &Recordset::currentChanged, this, &WorldClocksPage::placeChosen);
}

QWidget *WorldClocksPage::buildFixedClocks()
{
    auto *box = new QWidget;
    auto *grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    const QList<FixedCity> &cities = fixedCities();
    for (int i = 0; i < cities.size(); ++i) {
        auto *clock = new AnalogClock;
        auto *time = centredLabel(QLatin1String(kStartTime));
        m_fixedClocks.append(clock);
        m_fixedTimeLabels.append(time);
        grid->addWidget(clockCell(clock, centredLabel(cities.at(i).caption, true), time), i / 4, i % 4);
    }
    return box;
}

QWidget *WorldClocksPage::buildPlaceGroup()
{
    m_placeGrid->setColumns({GridColumn{.field = QStringLiteral("AddName"), .title = tr("地区名称")}});
    m_placeGrid->view()->horizontalHeader()->setStretchLastSection(true);

    auto *group = new QGroupBox(tr("其他地区/城市时间"));
    auto *layout = new QVBoxLayout(group);
    layout->addWidget(m_placeGrid, 1);
    m_placeClock->setMinimumSize(150, 150);
    layout->addWidget(clockCell(m_placeClock, m_placeNameLabel, m_placeTimeLabel), 1);
    group->setMinimumWidth(220);
    return group;
}

bool WorldClocksPage::loadPlaces()
{
    if (m_places.open(QStringLiteral("Select * from TTimeZone Order by AddName collate PINYIN")))
        return true;
    platform::prompter().message(tr("读取地区时区信息发生错误！"), platform::Prompter::Icon::Error);
    return false;
}

void WorldClocksPage::clockTick()
{
    const QDateTime now = platform::clock().now();
    const QList<FixedCity> &cities = fixedCities();
    for (int i = 0; i < cities.size(); ++i) {
        const QTime time = cityTime(now, cities.at(i).zone).time();
        showTime(m_fixedClocks.at(i), m_fixedTimeLabels.at(i), time);
        colourTime(m_fixedTimeLabels.at(i), time);
    }
    if (showPlace())
        colourTime(m_placeTimeLabel, m_placeClock->time());
}

void WorldClocksPage::placeChosen()
{
    showPlace(); // the colour follows at the next tick
}

bool WorldClocksPage::showPlace()
{
    if (m_places.position() < 0)
        return false;
    m_placeNameLabel->setText(m_places.text(QStringLiteral("AddName")));
    const QByteArray zone = m_places.text(QStringLiteral("ZoneName")).toLatin1();
    showTime(m_placeClock, m_placeTimeLabel,
             placeTime(platform::clock().now(), zone, m_places.number(QStringLiteral("AddTimes"))).time());
    return true;
}

void WorldClocksPage::loadFaces(const QString &path)
{
    const Picture face = Picture::replaceableFile(path, QStringLiteral(":/pictures/Images/Clock1.bmp"),
                                                  QStringLiteral(":/pictures/Clock1.svg"));
    for (AnalogClock *clock : m_fixedClocks)
        clock->setFace(face);
    m_placeClock->setFace(face);
}
