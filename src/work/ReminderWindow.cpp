#include "work/TfrmWorkHint.h"

#include "data/ProgramFolder.h"
#include "data/TDM.h"
#include "platform/Clock.h"
#include "data/Recordset.h"
#include "platform/Prompter.h"
#include "widgets/Picture.h"
#include "work/Reminders.h"
#include "work/TfrmEditAWork.h"

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

TfrmWorkHint::TfrmWorkHint(qint64 id)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , Image1(new QLabel(this))
    , lblTime(reminderLabel(Image1))
    , lblWork(reminderLabel(Image1))
    , sbDetail(new QToolButton(this))
    , TimerStop(new QTimer(this))
    , mnuSnooze(new QMenu(this))
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
    Image1->setPixmap(picture.pixmap(devicePixelRatioF()));
    Image1->setGeometry(rect());
    Image1->setToolTip(tr("鼠标单击关闭本提示"));

    // The labels lie on the picture, so their clicks and tooltips are the picture's.
    lblTime->setText(QStringLiteral("09-01-01 17:01"));
    lblTime->move(104, 32);
    lblTime->adjustSize();
    lblWork->setText(tr("迎接客户"));
    lblWork->setGeometry(104, 55, 177, 66);
    lblWork->setWordWrap(true);
    lblWork->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    // The button itself is drawn in the picture; this is the clickable area over it.
    sbDetail->setGeometry(112, 120, 89, 25);
    sbDetail->setAutoRaise(true);
    sbDetail->setCursor(Qt::PointingHandCursor);
    sbDetail->setStyleSheet(QStringLiteral("QToolButton { border: none; background: transparent; }"
                                           "QToolButton:hover { background: rgba(255, 255, 255, 40); border-radius: 6px; }"
                                           "QToolButton:pressed { background: rgba(0, 0, 0, 40); border-radius: 6px; }"));
    connect(sbDetail, &QToolButton::clicked, this, &TfrmWorkHint::sbDetailClick);

    // The picture's visible part, not its transparent margin, goes into the corner.
    const QRect area = screen()->availableGeometry();
    const QRect shown = mask().boundingRect();
    move(area.right() - shown.right(), area.bottom() - kBottomGap - shown.bottom());

    const std::pair<const char *, int> laters[] = {{QT_TR_NOOP("5分钟后再提醒"), 5},
                                                   {QT_TR_NOOP("10分钟后再提醒"), 10},
                                                   {QT_TR_NOOP("30分钟后再提醒"), 30},
                                                   {QT_TR_NOOP("1小时后再提醒"), 60}};
    for (const auto &[caption, minutes] : laters)
        mnuSnooze->addAction(tr(caption), this, [this, minutes = minutes] { snooze(minutes); });

    TimerStop->setInterval(kStopIntervalMs);
    connect(TimerStop, &QTimer::timeout, this, &TfrmWorkHint::TimerStopTimer);
    TimerStop->start();
}

bool TfrmWorkHint::ReadyData()
{
    Recordset work;
    if (!work.open(QStringLiteral("Select Title,TimeHint from TWork where ID=?"), {m_id}) || work.isEmpty()) {
        platform::prompter().message(tr("报警提示过程中，读取数据库发生错误！"), platform::Prompter::Icon::Error);
        return false;
    }
    lblTime->setText(work.dateTime(QStringLiteral("TimeHint")).toString(QStringLiteral("yy-MM-dd HH:mm")));
    lblTime->adjustSize();
    lblWork->setText(work.text(QStringLiteral("Title")));
    return true;
}

void TfrmWorkHint::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_alert == Alert::NotStarted)
        startAlert();
}

// A sound that cannot be played leaves the window silent: a reminder must never turn into
// an error box. Without a file there is nothing to try; without a sound device the sound
// component "plays" without a word.
void TfrmWorkHint::startAlert()
{
    const QString path = alertSoundPath();
    if (!QFileInfo(path).isFile()) {
        m_alert = Alert::Ended;
        return;
    }
    MediaPlayer1 = new QSoundEffect(this);
    MediaPlayer1->setSource(QUrl::fromLocalFile(path));
    MediaPlayer1->setLoopCount(QSoundEffect::Infinite);
    MediaPlayer1->play();
    m_alert = Alert::Sounding;
}

void TfrmWorkHint::endAlert()
{
    if (MediaPlayer1)
        MediaPlayer1->stop();
    m_alert = Alert::Ended;
}

// Stopping rather than toggling: a toggle would resume the alert at the next tick, and
// an unattended reminder would then sound again every minute.
void TfrmWorkHint::TimerStopTimer()
{
    endAlert();
    TimerStop->stop();
}

void TfrmWorkHint::sbDetailClick()
{
    // Out of the way while the editor is open: it is always on top.
    hide();
    endAlert();
    ShowWorkEditor(m_id, QString());
    close();
}

void TfrmWorkHint::snooze(int minutes)
{
    const QDateTime time = snoozeReminder(TDM::instance(), qint32(m_id), minutes, platform::clock().now());
    if (!time.isValid()) {
        platform::prompter().message(tr("设置再次提醒时，写入数据库发生错误！"), platform::Prompter::Icon::Error);
        return;
    }
    endAlert();
    emit snoozed(m_id, time);
    close();
}

void TfrmWorkHint::contextMenuEvent(QContextMenuEvent *event)
{
    mnuSnooze->exec(event->globalPos());
}

void TfrmWorkHint::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        close();
    else
        QWidget::mouseReleaseEvent(event);
}

TfrmWorkHint *ShowWorkReminder(qint64 id)
{
    auto *window = new TfrmWorkHint(id);
    window->ReadyData();
    window->show();
    return window;
}
