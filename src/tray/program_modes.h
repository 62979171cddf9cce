#pragma once

#include "tray/tray_icon.h"

namespace quillet {

enum class ProgramMode { Entry, Reading, Hidden };

// What a change of mode does to the windows.
class ModeWindows {
public:
    virtual ~ModeWindows() = default;
    virtual void ShowFrame() = 0;
    virtual void HideFrame() = 0;
    virtual void MinimizeFrame() = 0;
    // Told once a run: the desktop shows no status-area icons, so hiding minimises instead.
    virtual void SayNoStatusArea() = 0;
};

// The program's modes and the moves between them, with the tray icon shown exactly in hidden mode. Without a
// status area to hide into, hiding minimises the entry-mode window and entry mode stays. Reading mode is left
// by EnterEntryMode or HideToTray, as its window's commands say.
class ProgramModes final {
public:
    ProgramModes(CTrayIcon& icon, StatusArea& area, ModeWindows& windows)
        : m_icon(icon), m_area(area), m_windows(windows) {}

    ProgramMode Mode() const { return m_mode; }

    // The start mode once the entry-mode window is shown: 2 hides it into the tray, the others keep entry mode.
    void Start(int startMode);
    void HideToTray();
    void EnterEntryMode();
    // The entry-mode window and the icon go; the reading window is opened by its own library.
    void EnterReadingMode();

private:
    CTrayIcon& m_icon;
    StatusArea& m_area;
    ModeWindows& m_windows;
    ProgramMode m_mode = ProgramMode::Entry;
    bool m_toldNoStatusArea = false;
};

}  // namespace quillet
