#pragma once

#include <QObject>
#include <QPointer>
#include <string>

#include "reading/card_viewer.h"
#include "shell/settings_file.h"

namespace quillet {

class CMainFrame;
class CardStore;

// The one card viewer of the run: the view-card command opens and closes it, and whichever window is in use
// (entry mode, reading mode) hands it the text to show and its mode.
class CardViewerControl final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CardViewerControl)

public:
    explicit CardViewerControl(AppSettings& settings, QObject* parent = nullptr);
    ~CardViewerControl() override;

    bool IsOpen() const { return m_viewer != nullptr; }
    CCardViewer* Viewer() const { return m_viewer; }

    // The view-card command: opens the viewer with this text, or closes it without keeping its rectangle.
    void Toggle(int mode, const std::string& text);
    void Close();
    // Both only while it is open.
    void SetMode(int mode);
    void ShowText(const std::string& stored);

signals:
    void openChanged(bool open);
    void visitSiteRequested();

private:
    AppSettings& m_settings;
    QPointer<CCardViewer> m_viewer;
};

// The viewer's mode for a library: sites, or text for the others.
int ViewerModeFor(int library);

// Entry mode's view-card command: it shows the data bar's card, site or category summary, and follows the
// selection while it is open.
CardViewerControl* InstallCardViewer(CMainFrame& frame, CardStore& store, AppSettings& settings);

}  // namespace quillet
