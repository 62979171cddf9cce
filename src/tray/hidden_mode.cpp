#include "tray/hidden_mode.h"

#include <QCursor>
#include <QMenu>

#include "res/menus.h"
#include "res/resource_ids.h"
#include "shell/main_frame.h"
#include "tray/status_area_icon.h"

namespace quillet {
namespace {

const std::string kTrayTip = "青榆资料夹－隐藏模式";
const std::string kTrayPicture = ":/images/quillet.svg";

}  // namespace

HiddenMode::HiddenMode(CMainFrame& frame, Prompter& prompter, StatusArea& area)
    : QObject(&frame), m_frame(&frame), m_prompter(prompter), m_icon(area), m_modes(m_icon, area, *this) {
    m_menu = frame.CreatePopupMenu(res::TrayMenu(), &frame);
    if (const QList<QAction*> entries = m_menu->actions(); !entries.isEmpty()) {
        m_menu->setDefaultAction(entries.front());
    }
    // Without a status area the icon stays disabled and hiding minimises: the program still starts.
    m_icon.Create(this, kTrayTip, {}, res::kTrayIconId);
    m_icon.SetIcon(kTrayPicture);
    frame.Provide(res::kCmdHideToTray, [this] { HideToTray(); });
    frame.Provide(res::kCmdTrayEntryMode, [this] { EnterEntryMode(); });
}

HiddenMode::~HiddenMode() = default;

void HiddenMode::HideToTray() {
    if (!m_frame || !m_frame->Operations().SaveQuestionBeforeModeSwitch()) {
        return;
    }
    m_modes.HideToTray();
}

const res::Menu* HiddenMode::LoadMenu(int id) const { return id == res::kTrayIconId ? &res::TrayMenu() : nullptr; }

void HiddenMode::BringToForeground() {
    if (m_frame && m_frame->isVisible()) {
        m_frame->raise();
        m_frame->activateWindow();
    }
}

void HiddenMode::TrackPopupMenu(const res::Menu&) {
    if (m_menu) {
        m_menu->popup(QCursor::pos());
    }
}

void HiddenMode::RunCommand(int id) {
    if (QAction* command = m_frame ? m_frame->Command(id) : nullptr; command && command->isEnabled()) {
        command->trigger();
    }
}

void HiddenMode::ShowFrame() {
    if (!m_frame) {
        return;
    }
    m_frame->ShowForEntryMode();
    m_frame->raise();
    m_frame->activateWindow();
    m_frame->update();
}

void HiddenMode::HideFrame() {
    if (m_frame) {
        m_frame->hide();
    }
}

void HiddenMode::MinimizeFrame() {
    if (m_frame) {
        m_frame->showMinimized();
    }
}

void HiddenMode::SayNoStatusArea() {
    m_prompter.Notice(
        "这个桌面没有显示图标的系统区（通知区域），青榆资料夹不能隐藏到系统区，窗口改为最小化。\n"
        "从任务栏可以回到录入模式。");
}

HiddenMode* InstallTray(CMainFrame& frame, Prompter& prompter) {
    auto* area = new StatusAreaIcon;
    auto* tray = new HiddenMode(frame, prompter, *area);
    // The icon is removed from the area when the tray goes, so the area goes after it.
    area->setParent(tray);
    tray->Icon().SetClickActsAsDoubleClick(StatusAreaIcon::HostSpeaksStatusNotifier());
    QObject::connect(area, &StatusAreaIcon::notified, tray, &HiddenMode::OnNotification);
    return tray;
}

}  // namespace quillet
