#pragma once

#include <QObject>
#include <QPointer>

#include "reading/reading_window.h"

namespace quillet {

class CMainFrame;
class CardStore;
class CardViewerControl;
class HiddenMode;

// Reading mode's commands: the ways in (from entry mode, from the tray, at start) and the reading window's own
// commands, with the ways out to entry mode, to the tray or out of the program.
class ReadingMode final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ReadingMode)

public:
    ReadingMode(CMainFrame& frame, CardStore& store, Prompter& prompter, CardViewerControl& viewer, HiddenMode& tray);
    ~ReadingMode() override;

    // The entry-mode window and the tray icon go, the reading window comes.
    void Enter();
    ReadingWindow* Window() const { return m_window; }

private:
    void OnLeft(ReadingWindow::Way way);

    CMainFrame& m_frame;
    CardStore& m_store;
    Prompter& m_prompter;
    CardViewerControl& m_viewer;
    HiddenMode& m_tray;
    QPointer<ReadingWindow> m_window;
    // Where the user left the panel, for the next time in this run.
    ReadingWindow::Dock m_dock;
};

// Takes over the commands of reading mode.
ReadingMode* InstallReadingMode(CMainFrame& frame, CardStore& store, Prompter& prompter, CardViewerControl& viewer,
                                HiddenMode& tray);

}  // namespace quillet
