#include "tray/program_modes.h"

namespace quillet {

void ProgramModes::Start(int startMode) {
    if (startMode == 2) {
        // The icon was shown when it was created; only the window goes.
        m_icon.ShowIcon();
        HideToTray();
        return;
    }
    m_icon.HideIcon();
}

void ProgramModes::HideToTray() {
    // Checked at every hide: a status area can go away (or come) while the program runs.
    if (!m_icon.Enabled() || !m_area.Available()) {
        m_icon.HideIcon();
        m_windows.MinimizeFrame();
        if (!m_toldNoStatusArea) {
            m_toldNoStatusArea = true;
            m_windows.SayNoStatusArea();
        }
        m_mode = ProgramMode::Entry;
        return;
    }
    m_icon.ShowIcon();
    m_windows.HideFrame();
    m_mode = ProgramMode::Hidden;
}

void ProgramModes::EnterReadingMode() {
    m_icon.HideIcon();
    m_windows.HideFrame();
    m_mode = ProgramMode::Reading;
}

void ProgramModes::EnterEntryMode() {
    m_icon.HideIcon();
    m_windows.ShowFrame();
    m_mode = ProgramMode::Entry;
}

}  // namespace quillet
