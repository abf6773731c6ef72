#include "app/TrayIcon.h"

TrayIcon::TrayIcon(const QIcon &icon, QObject *parent)
    : QObject(parent)
    , m_icon(icon)
{
    m_showHideAction = m_menu.addAction(tr("显示/隐藏(&H)"), this, &TrayIcon::toggleRequested);
    m_searchAction = m_menu.addAction(tr("全部查找(&F)"), this, &TrayIcon::searchRequested);
    m_menu.addSeparator();
    m_exitAction = m_menu.addAction(tr("退出 Zorvik[Oribel]"), this, &TrayIcon::exitRequested);
    m_icon.setToolTip(tr("Zorvik [Oribel]"));
    m_icon.setContextMenu(&m_menu);
    connect(&m_icon, &QSystemTrayIcon::activated, this, &TrayIcon::activated);
}

bool TrayIcon::available() const
{
    return m_forced.value_or(QSystemTrayIcon::isSystemTrayAvailable());
}

bool TrayIcon::addIcon()
{
    if (available())
        m_icon.show();
    return isShown();
}

bool TrayIcon::removeIcon()
{
    m_icon.hide();
    return !isShown();
}
