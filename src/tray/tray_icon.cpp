#include "tray/tray_icon.h"

#include "res/menus.h"

namespace quillet {
namespace {

constexpr unsigned kAllParts = TrayIconData::kMessage | TrayIconData::kIcon | TrayIconData::kTip;

// At most that many bytes, never ending inside a UTF-8 sequence.
std::string CutTip(const std::string& tip) {
    if (tip.size() <= TrayIconData::kMaxTipBytes) {
        return tip;
    }
    std::size_t end = TrayIconData::kMaxTipBytes;
    while (end > 0 && (static_cast<unsigned char>(tip[end]) & 0xc0) == 0x80) {
        --end;
    }
    return tip.substr(0, end);
}

}  // namespace

bool CTrayIcon::Create(TrayOwner* owner, const std::string& tip, const std::string& icon, int id) {
    if (!owner || !owner->IsLive()) {
        return false;
    }
    m_owner = owner;
    m_data = TrayIconData{id, kAllParts, CutTip(tip), icon};
    m_enabled = m_area.Add(m_data);
    m_hidden = false;
    return m_enabled;
}

bool CTrayIcon::SetIcon(const std::string& icon) {
    if (!m_enabled) {
        return false;
    }
    m_data.flags = TrayIconData::kIcon;
    m_data.icon = icon;
    return m_area.Modify(m_data);
}

void CTrayIcon::HideIcon() {
    if (!m_enabled || m_hidden) {
        return;
    }
    m_data.flags = TrayIconData::kIcon;
    m_area.Delete(m_data);
    m_hidden = true;
}

bool CTrayIcon::ShowIcon() {
    if (!m_enabled || !m_hidden) {
        return false;
    }
    m_data.flags = kAllParts;
    const bool shown = m_area.Add(m_data);
    m_hidden = false;
    return shown;
}

void CTrayIcon::RemoveIcon() {
    if (!m_enabled) {
        return;
    }
    m_data.flags = 0;
    m_area.Delete(m_data);
    m_enabled = false;
}

int CTrayIcon::OnTrayNotification(int iconId, unsigned mouseMessage) {
    if (iconId != m_data.id || !m_owner) {
        return 0;
    }
    if (mouseMessage == kLeftButtonUp && m_clickActsAsDoubleClick) {
        mouseMessage = kLeftDoubleClick;
    }
    if (mouseMessage != kRightButtonUp && mouseMessage != kLeftDoubleClick) {
        return 1;
    }
    const res::Menu* menu = m_owner->LoadMenu(m_data.id);
    if (!menu || menu->items.empty()) {
        return 0;
    }
    m_owner->BringToForeground();
    if (mouseMessage == kRightButtonUp) {
        m_owner->TrackPopupMenu(*menu);
    } else {
        m_owner->RunCommand(menu->items.front().id);
    }
    return 1;
}

}  // namespace quillet
