#include "app/TrayIcon.h"

TrayIcon::TrayIcon(const QIcon &icon, QObject *parent)
    : QObject(parent)
    , m_icon(icon)
    , m_available(QSystemTrayIcon::isSystemTrayAvailable())
{
    mnuFormStu = m_menu.addAction(tr("显示/隐藏(&H)"), this, &TrayIcon::toggleRequested);
    m_menu.addSeparator();
    N12 = m_menu.addAction(tr("退出 Zorvik[Oribel]"), this, &TrayIcon::exitRequested);
    m_icon.setToolTip(tr("Zorvik [Oribel]"));
    m_icon.setContextMenu(&m_menu);
    connect(&m_icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::DoubleClick)
            emit toggleRequested();
    });
}

bool TrayIcon::AddIcon()
{
    if (m_available)
        m_icon.show();
    return isShown();
}

bool TrayIcon::RemoveIcon()
{
    m_icon.hide();
    return !isShown();
}
