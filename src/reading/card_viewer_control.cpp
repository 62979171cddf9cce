#include "reading/card_viewer_control.h"

#include <QAction>
#include <QKeySequence>

#include "res/resource_ids.h"
#include "shell/main_frame.h"
#include "store/libraries.h"

namespace quillet {
int ViewerModeFor(int library) { return library == kWebLibrary ? CCardViewer::kSite : CCardViewer::kText; }

CardViewerControl::CardViewerControl(AppSettings& settings, QObject* parent) : QObject(parent), m_settings(settings) {}

CardViewerControl::~CardViewerControl() { delete m_viewer; }

void CardViewerControl::Toggle(int mode, const std::string& text) {
    if (m_viewer) {
        Close();
        return;
    }
    m_viewer = new CCardViewer(m_settings, text, mode);
    connect(m_viewer, &CCardViewer::visitSiteRequested, this, &CardViewerControl::visitSiteRequested);
    connect(m_viewer, &CCardViewer::closedByButton, this, [this] {
        m_viewer = nullptr;
        emit openChanged(false);
    });
    m_viewer->show();
    emit openChanged(true);
}

void CardViewerControl::Close() {
    if (!m_viewer) {
        return;
    }
    CCardViewer* viewer = m_viewer;
    m_viewer = nullptr;
    viewer->close();
    emit openChanged(false);
}

void CardViewerControl::SetMode(int mode) {
    if (m_viewer) {
        m_viewer->SetMode(mode);
    }
}

void CardViewerControl::ShowText(const std::string& stored) {
    if (m_viewer) {
        m_viewer->SetText(stored);
    }
}

CardViewerControl* InstallCardViewer(CMainFrame& frame, CardStore& store, AppSettings& settings) {
    auto* control = new CardViewerControl(settings, &frame);
    frame.Provide(res::kCmdViewCard, [control, &frame, &store] {
        control->Toggle(ViewerModeFor(store.currentLibrary), frame.PaneInUse().ViewerText());
    });
    QAction* command = frame.Command(res::kCmdViewCard);
    command->setCheckable(true);
    // Neither entry mode's menu nor its toolbar carries the command: a key opens and closes the viewer, from
    // either window.
    command->setShortcut(QKeySequence(Qt::Key_F3));
    command->setShortcutContext(Qt::WindowShortcut);
    QObject::connect(control, &CardViewerControl::openChanged, command, [control, command](bool open) {
        command->setChecked(open);
        if (open) {
            control->Viewer()->addAction(command);
        }
    });
    QObject::connect(control, &CardViewerControl::visitSiteRequested, &frame, [&frame] {
        if (QAction* visit = frame.Command(res::kCmdVisitSite)) {
            visit->trigger();
        }
    });
    // While it is open it follows what entry mode shows.
    QObject::connect(&frame.View(), &CQuilletView::textShown, control,
                     [control, &frame] { control->ShowText(frame.Bar().ViewerText()); });
    QObject::connect(&frame.Bar(), &DataBar::libraryChanged, control,
                     [control, &store] { control->SetMode(ViewerModeFor(store.currentLibrary)); });
    return control;
}

}  // namespace quillet
