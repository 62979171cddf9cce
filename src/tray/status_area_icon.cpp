#include "tray/status_area_icon.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QSystemTrayIcon>
#include <QTimer>

namespace quillet {

StatusAreaIcon::StatusAreaIcon(QObject* parent) : QObject(parent), m_icon(new QSystemTrayIcon(this)) {
    connect(m_icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        switch (reason) {
            case QSystemTrayIcon::Context:
                emit notified(m_id, CTrayIcon::kRightButtonUp);
                break;
            case QSystemTrayIcon::DoubleClick:
                emit notified(m_id, CTrayIcon::kLeftDoubleClick);
                break;
            case QSystemTrayIcon::Trigger:
                emit notified(m_id, CTrayIcon::kLeftButtonUp);
                break;
            case QSystemTrayIcon::MiddleClick:
                emit notified(m_id, CTrayIcon::kMiddleButtonUp);
                break;
            case QSystemTrayIcon::Unknown:
                break;
        }
    });
}

StatusAreaIcon::~StatusAreaIcon() = default;

bool StatusAreaIcon::Available() const { return QSystemTrayIcon::isSystemTrayAvailable(); }

void StatusAreaIcon::Apply(const TrayIconData& data) {
    m_id = data.id;
    if (data.flags & TrayIconData::kIcon) {
        m_icon->setIcon(data.icon.empty() ? QIcon() : QIcon(QString::fromStdString(data.icon)));
    }
    if (data.flags & TrayIconData::kTip) {
        m_icon->setToolTip(QString::fromStdString(data.tip));
    }
}

bool StatusAreaIcon::Add(const TrayIconData& data) {
    Apply(data);
    ShowLater(true);
    return true;
}

bool StatusAreaIcon::Delete(const TrayIconData&) {
    ShowLater(false);
    return true;
}

bool StatusAreaIcon::Modify(const TrayIconData& data) {
    Apply(data);
    ShowLater(m_wantShown);
    return true;
}

void StatusAreaIcon::ShowLater(bool shown) {
    m_wantShown = shown;
    // Created and hidden again at start-up before the loop runs: the status area never sees it flash.
    QTimer::singleShot(0, this, [this] { m_icon->setVisible(m_wantShown && !m_icon->icon().isNull()); });
}

bool StatusAreaIcon::Shown() const { return m_wantShown && !m_icon->icon().isNull(); }

bool StatusAreaIcon::HostSpeaksStatusNotifier() {
    const QDBusConnection bus = QDBusConnection::sessionBus();
    const QString watcher = QStringLiteral("org.kde.StatusNotifierWatcher");
    if (!bus.isConnected() || !bus.interface() || !bus.interface()->isServiceRegistered(watcher).value()) {
        return false;
    }
    QDBusInterface properties(watcher, QStringLiteral("/StatusNotifierWatcher"), watcher, bus);
    return properties.property("IsStatusNotifierHostRegistered").toBool();
}

}  // namespace quillet
