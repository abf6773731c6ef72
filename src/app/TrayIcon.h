#pragma once

#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>

// The icon in the desktop's notification area, with its menu. Desktops without such an
// area (GNOME without an extension, the offscreen platform) have no icon to add.
class TrayIcon : public QObject
{
    Q_OBJECT
public:
    explicit TrayIcon(const QIcon &icon, QObject *parent = nullptr);

    bool available() const { return m_available; }
    // Lets a test stand in a notification area where the platform has none, or take it away.
    void setAvailable(bool available) { m_available = available; }

    // True when the icon is shown afterwards.
    bool AddIcon();
    bool RemoveIcon();
    bool isShown() const { return m_icon.isVisible(); }

    QMenu *mnuPop() { return &m_menu; }
    QAction *mnuFormStu;
    QAction *N12;

signals:
    void toggleRequested();
    void exitRequested();

private:
    QSystemTrayIcon m_icon;
    QMenu m_menu;
    bool m_available;
};
