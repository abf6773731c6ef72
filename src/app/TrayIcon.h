#pragma once

#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>
#include <optional>

// The icon in the desktop's notification area, with its menu. Desktops without such an
// area (GNOME without an extension, the offscreen platform) have no icon to add.
class TrayIcon : public QObject
{
    Q_OBJECT
public:
    explicit TrayIcon(const QIcon &icon, QObject *parent = nullptr);

    // Asked afresh each time: a panel may start after the program does.
    bool available() const;
    // Lets a test stand in a notification area where the platform has none, or take it away.
    void setAvailable(bool available) { m_forced = available; }

    // True when the icon is shown afterwards.
    bool addIcon();
    bool removeIcon();
    bool isShown() const { return m_icon.isVisible(); }

    QMenu *trayMenu() { return &m_menu; }
    // The icon itself: its clicks arrive through activated(), as the desktop reports them.
    QSystemTrayIcon &systemIcon() { return m_icon; }
    QAction *m_showHideAction;
    QAction *m_searchAction;
    QAction *m_exitAction;

signals:
    // The menu's show/hide item.
    void toggleRequested();
    void searchRequested();
    void activated(QSystemTrayIcon::ActivationReason reason);
    void exitRequested();

private:
    QSystemTrayIcon m_icon;
    QMenu m_menu;
    std::optional<bool> m_forced;
};
