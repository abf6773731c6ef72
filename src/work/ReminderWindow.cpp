#include "work/ReminderWindow.h"

#include "data/ProgramFolder.h"
#include "data/Database.h"
#include "platform/Clock.h"
#include "data/Recordset.h"
#include "platform/Prompter.h"
#include "widgets/Picture.h"
#include "work/Reminders.h"
#include "work/WorkItemEditor.h"

#include <QBitmap>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QSoundEffect>
#include <QTimer>
#include <QToolButton>

namespace {

constexpr QSize kWindowSize(511, 289);
// The historical gap above the bottom edge, kept now that the bottom edge is the
// available area's, above any panel.
constexpr int kBottomGap = 20;
constexpr int kStopIntervalMs = 30'000;
const QColor kTransparentColor(255, 0, 0);

QLabel *reminderLabel(QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::NoTextInteraction); // clicks go on to the window
    QFont font;
    font.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("Noto Serif CJK SC"),
                      QStringLiteral("Noto Sans CJK SC")});
    font.setPixelSize(16);
    font.setBold(true);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::red);
    label->setPalette(palette);
    return label;
}

QString alertSoundPath()
{
    return programFolder() + QStringLiteral("Images/DOGHINT1.WAV");
}

} // namespace

ReminderWindow::ReminderWindow(qint64 id)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_pictureLabel(new QLabel(this))
    , m_timeLabel(reminderLabel(m_pictureLabel))
    , m_subjectLabel(reminderLabel(m_pictureLabel))
    , m_detailButton(new QToolButton(this))
    , m_alertStopTimer(new QTimer(this))
    , m_snoozeMenu(new QMenu(this))
    , m_id(id)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("报警提示"));
    setFixedSize(kWindowSize);

    // The shape comes from the picture at one device pixel per logical pixel: a mask is in
    // logical pixels, and the drawing's cut-out lies on whole ones, so the sharper picture
    // for the screen fills the same shape exactly.
    const Picture picture = Picture::drawing(QStringLiteral(":/pictures/workhint.svg"));
    setMask(picture.pixmap(1.0).createMaskFromColor(kTransparentColor, Qt::MaskInColor));
    m_pictureLabel->setPixmap(picture.pixmap(devicePixelRatioF()));
    m_pictureLabel->setGeometry(rect());
    m_pictureLabel->setToolTip(tr("鼠标单击关闭本提示"));

    // The labels lie on the picture, so their clicks and tooltips are the picture's.
    m_timeLabel->setText(QStringLiteral("09-01-01 17:01"));
    m_timeLabel->move(104, 32);
    m_timeLabel->adjustSize();
    m_subjectLabel->setText(tr("迎接客户"));
    m_subjectLabel->setGeometry(104, 55, 177, 66);
    m_subjectLabel->setWordWrap(true);
    m_subjectLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    // The button itself is drawn in the picture; this is the clickable area over it.
    m_detailButton->setGeometry(112, 120, 89, 25);
    m_detailButton->setAutoRaise(true);
    m_detailButton->setCursor(Qt::PointingHandCursor);
    m_detailButton->setStyleSheet(QStringLiteral("QToolButton { border: none; background: transparent; }"
                                           "QToolButton:hover { background: rgba(255, 255, 255, 40); border-radius: 6px; }"
                                           "QToolButton:pressed { background: rgba(0, 0, 0, 40); border-radius: 6px; }"));
    connect(m_detailButton, &QToolButton::clicked, this, &ReminderWindow::openItemInEditor);

    // The picture's visible part, not its transparent margin, goes into the corner.
    const QRect area = screen()->availableGeometry();
    const QRect shown = mask().boundingRect();
    move(area.right() - shown.right(), area.bottom() - kBottomGap - shown.bottom());

    const std::pair<const char *, int> laters[] = {{QT_TR_NOOP("5分钟后再提醒"), 5},
                                                   {QT_TR_NOOP("10分钟后再提醒"), 10},
                                                   {QT_TR_NOOP("30分钟后再提醒"), 30},
                                                   {QT_TR_NOOP("1小时后再提醒"), 60}};
    for (const auto &[caption, minutes] : laters)
        m_snoozeMenu->addAction(tr(caption), this, [this, minutes = minutes] { snooze(minutes); });

    m_alertStopTimer->setInterval(kStopIntervalMs);
    connect(m_alertStopTimer, &QTimer::timeout, this, &ReminderWindow::alertStopTick);
    m_alertStopTimer->start();
}

bool ReminderWindow::loadItem()
{
    Recordset work;
    if (!work.open(QStringLiteral("Select Title,TimeHint from TWork where ID=?"), {m_id}) || work.isEmpty()) {
        platform::prompter().message(tr("报警提示过程中，读取数据库发生错误！"), platform::Prompter::Icon::Error);
        return false;
    }
    m_timeLabel->setText(work.dateTime(QStringLiteral("TimeHint")).toString(QStringLiteral("yy-MM-dd HH:mm")));
    m_timeLabel->adjustSize();
    m_subjectLabel->setText(work.text(QStringLiteral("Title")));
    return true;
}

void ReminderWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_alert == Alert::NotStarted)
        startAlert();
}

// A sound that cannot be played leaves the window silent: a reminder must never turn into
// an error box. Without a file there is nothing to try; without a sound device the sound
// component "plays" without a word.
void ReminderWindow::startAlert()
{
    const QString path = alertSoundPath();
    if (!QFileInfo(path).isFile()) {
        m_alert = Alert::Ended;
        return;
    }
    m_alertSound = new QSoundEffect(this);
    m_alertSound->setSource(QUrl::fromLocalFile(path));
    m_alertSound->setLoopCount(QSoundEffect::Infinite);
    m_alertSound->play();
    m_alert = Alert::Sounding;
}

void ReminderWindow::endAlert()
{
    if (m_alertSound)
        m_alertSound->stop();
    m_alert = Alert::Ended;
}

// Stopping rather than toggling: a toggle would resume the alert at the next tick, and
// an unattended reminder would then sound again every minute.
void ReminderWindow::alertStopTick()
{
    endAlert();
    m_alertStopTimer->stop();
}

void ReminderWindow::openItemInEditor()
{
    // Out of the way while the editor is open: it is always on top.
    hide();
    endAlert();
    editWorkItem(m_id, QString());
    close();
}

void ReminderWindow::snooze(int minutes)
{
    const QDateTime time = snoozeReminder(Database::instance(), qint32(m_id), minutes, platform::clock().now());
    if (!time.isValid()) {
        platform::prompter().message(tr("设置再次提醒时，写入数据库发生错误！"), platform::Prompter::Icon::Error);
        return;
    }
    endAlert();
    emit snoozed(m_id, time);
    close();
}

void ReminderWindow::contextMenuEvent(QContextMenuEvent *event)
{
    m_snoozeMenu->exec(event->globalPos());
}

void ReminderWindow::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        close();
    else
        QWidget::mouseReleaseEvent(event);
}

ReminderWindow *popUpReminder(qint64 id)
{
    auto *window = new ReminderWindow(id);
    window->loadItem();
    window->show();
    return window;
}
