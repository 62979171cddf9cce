#pragma once

#include <QObject>

#include "tray/tray_icon.h"

class QSystemTrayIcon;

namespace quillet {

// The desktop's status area through QSystemTrayIcon. Clicks on the icon come back as the mouse messages the
// tray icon understands.
class StatusAreaIcon final : public QObject, public StatusArea {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(StatusAreaIcon)

public:
    explicit StatusAreaIcon(QObject* parent = nullptr);
    ~StatusAreaIcon() override;

    bool Available() const override;
    bool Add(const TrayIconData& data) override;
    bool Delete(const TrayIconData& data) override;
    bool Modify(const TrayIconData& data) override;

    // Shown, or about to be: the change reaches the desktop when the event loop runs.
    bool Shown() const;
    QSystemTrayIcon& Icon() { return *m_icon; }
    // A host of the StatusNotifierItem protocol (KDE, most current panels) draws the icon: it reports single
    // clicks only.
    static bool HostSpeaksStatusNotifier();

signals:
    void notified(int iconId, unsigned mouseMessage);

private:
    void Apply(const TrayIconData& data);
    void ShowLater(bool shown);

    QSystemTrayIcon* m_icon;
    int m_id = 0;
    bool m_wantShown = false;
};

}  // namespace quillet
