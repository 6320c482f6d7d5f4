#pragma once

#include <QDBusConnection>
#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>

#include <memory>

class QMenu;

// The tray icon, made as soon as a tray can show it. Qt chooses once per process, at its
// first question, between a StatusNotifierItem and an XEmbed icon. In a Wayland session
// only the former can appear, and the desktop's StatusNotifierWatcher may start after
// us, so there the icon is made only once a watcher with a host is on the session bus.
class TrayIcon : public QObject
{
    Q_OBJECT

public:
    static inline const QString watcherService = QStringLiteral("org.kde.StatusNotifierWatcher");

    // `waitForHost`: make the icon only once a StatusNotifierWatcher reports a host.
    explicit TrayIcon(bool waitForHost, QDBusConnection bus = QDBusConnection::sessionBus(), QObject *parent = nullptr);
    ~TrayIcon() override;

    void setToolTip(const QString &text);
    void setIcon(const QIcon &icon);
    void setContextMenu(QMenu *menu);
    void show();
    // Whether a tray shows the icon.
    bool isAvailable() const;
    // The icon; null until a tray can show it.
    QSystemTrayIcon *icon() const { return m_icon.get(); }

Q_SIGNALS:
    void activated(QSystemTrayIcon::ActivationReason reason);

private Q_SLOTS:
    void checkHost();

private:
    void create();

    QDBusConnection m_bus;
    std::unique_ptr<QSystemTrayIcon> m_icon;
    QString m_toolTip;
    QIcon m_image;
    QPointer<QMenu> m_menu;
    bool m_shown = false;
};
