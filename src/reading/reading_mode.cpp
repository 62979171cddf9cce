#include "reading/reading_mode.h"

#include <QAction>

#include "reading/card_viewer_control.h"
#include "res/resource_ids.h"
#include "shell/main_frame.h"
#include "tray/hidden_mode.h"

namespace quillet {

ReadingMode::ReadingMode(CMainFrame& frame, CardStore& store, Prompter& prompter, CardViewerControl& viewer,
                         HiddenMode& tray)
    : QObject(&frame), m_frame(frame), m_store(store), m_prompter(prompter), m_viewer(viewer), m_tray(tray) {
    frame.Provide(res::kCmdReadingMode, [this] {
        if (!m_frame.Operations().SaveQuestionBeforeModeSwitch()) {
            return;  // the card could not be saved: entry mode stays, with the text
        }
        // Answered: the data bar reloads when entry mode comes back, so no unsaved mark may stay behind.
        m_frame.View().SetModified(false);
        m_store.flags.cardModified = false;
        Enter();
    });
    frame.Provide(res::kCmdTrayReadingMode, [this] { Enter(); });
    const auto leave = [this](ReadingWindow::Way way) {
        return [this, way] {
            if (m_window) {
                m_window->Leave(way);
            }
        };
    };
    frame.Provide(res::kCmdLeaveForEntryMode, leave(ReadingWindow::Way::EntryMode));
    frame.Provide(res::kCmdLeaveForTray, leave(ReadingWindow::Way::Tray));
    frame.Provide(res::kCmdLeaveAndExit, leave(ReadingWindow::Way::Exit));
    frame.Provide(res::kCmdReadingStartOptions, [this] {
        if (QAction* options = m_frame.Command(res::kCmdStartOptions)) {
            options->trigger();
        }
    });
    const auto move = [this](int step) {
        return [this, step] {
            if (m_window) {
                m_window->MoveSelection(step);
            }
        };
    };
    frame.Provide(res::kCmdReadingPreviousCard, move(-1));
    frame.Provide(res::kCmdReadingNextCard, move(1));
}

ReadingMode::~ReadingMode() { delete m_window; }

void ReadingMode::Enter() {
    if (m_window) {
        m_window->raise();
        return;
    }
    m_tray.EnterReadingMode();
    m_window = new ReadingWindow(m_store, m_prompter, m_frame, m_viewer);
    connect(m_window, &ReadingWindow::left, this, &ReadingMode::OnLeft);
    m_window->Load();
    m_window->ShowDocked(m_dock);
    m_frame.UpdateCommands();
}

void ReadingMode::OnLeft(ReadingWindow::Way way) {
    ReadingWindow* window = m_window;
    m_window = nullptr;
    m_dock = window->CurrentDock();
    window->deleteLater();
    switch (way) {
        case ReadingWindow::Way::EntryMode:
            m_tray.EnterEntryMode();
            break;
        case ReadingWindow::Way::Tray:
            m_tray.HideToTrayFromReading();
            break;
        case ReadingWindow::Way::Exit:
            if (QAction* exit = m_frame.Command(res::kCmdExit)) {
                exit->trigger();
            }
            break;
    }
    m_frame.UpdateCommands();
}

ReadingMode* InstallReadingMode(CMainFrame& frame, CardStore& store, Prompter& prompter, CardViewerControl& viewer,
                                HiddenMode& tray) {
    return new ReadingMode(frame, store, prompter, viewer, tray);
}

}  // namespace quillet
