#include "work/StateColorGroup.h"

#include "platform/Prompter.h"

#include <QEvent>
#include <QGridLayout>
#include <QLineEdit>
#include <QToolButton>

namespace {

QLineEdit *sample(const QString &text)
{
    auto *box = new QLineEdit(text);
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::NoFocus);
    return box;
}

QToolButton *pickButton()
{
    auto *button = new QToolButton;
    button->setText(QStringLiteral("…"));
    button->setToolTip(QObject::tr("设置颜色"));
    return button;
}

QColor textColor(const QLineEdit *box)
{
    return box->palette().color(QPalette::Text);
}

} // namespace

StateColorGroup::StateColorGroup(QWidget *parent)
    : QGroupBox(tr("事务状态颜色设置"), parent)
    , m_pendingSampleEdit(sample(tr("未处理")))
    , m_inProgressSampleEdit(sample(tr("正在处理")))
    , m_doneSampleEdit(sample(tr("已完成")))
    , m_abandonedSampleEdit(sample(tr("已废弃")))
    , m_pendingColorButton(pickButton())
    , m_inProgressColorButton(pickButton())
    , m_doneColorButton(pickButton())
    , m_abandonedColorButton(pickButton())
{
    auto *grid = new QGridLayout(this);
    const std::array<QToolButton *, 4> buttons{m_pendingColorButton, m_inProgressColorButton, m_doneColorButton, m_abandonedColorButton};
    for (int i = 0; i < 4; ++i) {
        QLineEdit *box = samples()[size_t(i)];
        box->installEventFilter(this);
        grid->addWidget(box, i / 2, (i % 2) * 2);
        grid->addWidget(buttons[size_t(i)], i / 2, (i % 2) * 2 + 1);
        connect(buttons[size_t(i)], &QToolButton::clicked, this, [this, i] { pickColor(i + 1); });
    }
}

std::array<QLineEdit *, 4> StateColorGroup::samples() const
{
    return {m_pendingSampleEdit, m_inProgressSampleEdit, m_doneSampleEdit, m_abandonedSampleEdit};
}

std::array<QColor, 4> StateColorGroup::colors() const
{
    std::array<QColor, 4> result;
    for (size_t i = 0; i < 4; ++i)
        result[i] = textColor(samples()[i]);
    return result;
}

void StateColorGroup::setColors(const std::array<QColor, 4> &colors)
{
    for (size_t i = 0; i < 4; ++i) {
        QPalette palette = samples()[i]->palette();
        palette.setColor(QPalette::Text, colors[i]);
        samples()[i]->setPalette(palette);
    }
}

void StateColorGroup::pickColor(int state)
{
    QLineEdit *box = samples()[size_t(state - 1)];
    const std::optional<QColor> chosen = platform::prompter().color(textColor(box));
    if (!chosen)
        return;
    std::array<QColor, 4> updated = colors();
    updated[size_t(state - 1)] = *chosen;
    setColors(updated);
    emit colorsChanged();
}

bool StateColorGroup::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        const std::array<QLineEdit *, 4> boxes = samples();
        for (size_t i = 0; i < 4; ++i) {
            if (watched == boxes[i])
                pickColor(int(i) + 1);
        }
    }
    return QGroupBox::eventFilter(watched, event);
}
