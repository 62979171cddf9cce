#pragma once

#include <QMenu>
#include <QObject>
#include <QPointer>

#include "shell/main_frame.h"
#include "store/prompter.h"
#include "tray/program_modes.h"
#include "tray/tray_icon.h"

namespace quillet {

// The tray side of the main frame: its icon in the status area with the icon's menu, hiding to the tray and
// coming back to entry mode. It carries out the frame's commands 32810 and 32812.
class HiddenMode final : public QObject, public TrayOwner, public ModeWindows {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HiddenMode)

public:
    HiddenMode(CMainFrame& frame, Prompter& prompter, StatusArea& area);
    ~HiddenMode() override;

    // Applies the start mode once the entry-mode window is shown.
    void Start(int startMode) { m_modes.Start(startMode); }
    // Command 32810: the save question first.
    void HideToTray();
    // From reading mode, which has nothing unsaved.
    void HideToTrayFromReading() { m_modes.HideToTray(); }
    void EnterEntryMode() { m_modes.EnterEntryMode(); }
    void EnterReadingMode() { m_modes.EnterReadingMode(); }

    ProgramMode Mode() const { return m_modes.Mode(); }
    CTrayIcon& Icon() { return m_icon; }
    QMenu* Menu() const { return m_menu; }

    // The status area's report of a mouse message over an icon.
    void OnNotification(int iconId, unsigned mouseMessage) { m_icon.OnTrayNotification(iconId, mouseMessage); }

    // TrayOwner.
    bool IsLive() const override { return m_frame != nullptr; }
    const res::Menu* LoadMenu(int id) const override;
    void BringToForeground() override;
    void TrackPopupMenu(const res::Menu& menu) override;
    void RunCommand(int id) override;

    // ModeWindows.
    void ShowFrame() override;
    void HideFrame() override;
    void MinimizeFrame() override;
    void SayNoStatusArea() override;

private:
    QPointer<CMainFrame> m_frame;
    Prompter& m_prompter;
    CTrayIcon m_icon;
    ProgramModes m_modes;
    QPointer<QMenu> m_menu;
};

// The program's tray: an icon in the desktop's status area, owned by the frame, with the commands taken over.
HiddenMode* InstallTray(CMainFrame& frame, Prompter& prompter);

}  // namespace quillet
