#pragma once

#include <string>

namespace quillet {

namespace res {
struct Menu;
}

// What the icon hands to the desktop's status area: its number, which parts are set, its tool tip and its
// picture.
struct TrayIconData {
    enum Flag : unsigned { kMessage = 1, kIcon = 2, kTip = 4 };
    int id = 0;
    unsigned flags = 0;
    std::string tip;   // UTF-8, at most kMaxTipBytes
    std::string icon;  // the picture's resource name; empty: none yet
    static constexpr std::size_t kMaxTipBytes = 63;
};

// The desktop's status area, as the tray icon uses it.
class StatusArea {
public:
    virtual ~StatusArea() = default;
    // Whether the desktop shows status-area icons at all right now.
    virtual bool Available() const = 0;
    virtual bool Add(const TrayIconData& data) = 0;
    virtual bool Delete(const TrayIconData& data) = 0;
    virtual bool Modify(const TrayIconData& data) = 0;
};

// The window that owns the icon: it finds the icon's menu, shows it and carries out its commands.
class TrayOwner {
public:
    virtual ~TrayOwner() = default;
    virtual bool IsLive() const = 0;
    // The menu with that number, or nullptr.
    virtual const res::Menu* LoadMenu(int id) const = 0;
    virtual void BringToForeground() = 0;
    // Shows the menu at the mouse, its first item drawn as the default; a chosen item arrives as a command.
    virtual void TrackPopupMenu(const res::Menu& menu) = 0;
    virtual void RunCommand(int id) = 0;
};

// The program's icon in the status area, and what a click on it does: the right button's release opens the
// icon's menu, a double click runs the menu's first item. Disabled until created, then visible or hidden.
class CTrayIcon final {
public:
    // The mouse messages the status area reports.
    static constexpr unsigned kMouseMove = 0x0200;
    static constexpr unsigned kLeftButtonDown = 0x0201;
    static constexpr unsigned kLeftButtonUp = 0x0202;
    static constexpr unsigned kLeftDoubleClick = 0x0203;
    static constexpr unsigned kRightButtonDown = 0x0204;
    static constexpr unsigned kRightButtonUp = 0x0205;
    static constexpr unsigned kMiddleButtonUp = 0x0208;

    explicit CTrayIcon(StatusArea& area) : m_area(area) {}
    ~CTrayIcon() { RemoveIcon(); }
    CTrayIcon(const CTrayIcon&) = delete;
    CTrayIcon& operator=(const CTrayIcon&) = delete;

    // Adds the icon; false (and disabled) without a live owner or when the status area refuses it.
    bool Create(TrayOwner* owner, const std::string& tip, const std::string& icon, int id);
    // False when disabled.
    bool SetIcon(const std::string& icon);
    void HideIcon();
    // True when the icon was hidden and is shown again.
    bool ShowIcon();
    void RemoveIcon();

    // 1 when handled, 0 for another icon's message or a menu that cannot be found.
    int OnTrayNotification(int iconId, unsigned mouseMessage);

    // Status areas that never report a double click (StatusNotifierItem hosts) report a single click for it.
    void SetClickActsAsDoubleClick(bool acts) { m_clickActsAsDoubleClick = acts; }

    bool Enabled() const { return m_enabled; }
    bool Hidden() const { return m_hidden; }
    const TrayIconData& Data() const { return m_data; }

private:
    StatusArea& m_area;
    TrayOwner* m_owner = nullptr;
    TrayIconData m_data;
    bool m_enabled = false;
    bool m_hidden = false;
    bool m_clickActsAsDoubleClick = false;
};

}  // namespace quillet
