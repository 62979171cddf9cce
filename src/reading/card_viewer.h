#pragma once

#include <QPoint>
#include <optional>
#include <string>

#include "shell/settings_file.h"
#include "ui/dynamic_dialog.h"

class QPushButton;

namespace quillet {

class CTextDragEdit;

// The small always-on-top window without a caption that shows one card's text, read-only, with buttons to
// close it, shrink or restore it, select all (or visit the site) and copy. Dragging its background moves it.
class CCardViewer final : public DynamicDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CCardViewer)

public:
    enum Mode { kUnset = 0, kText = 2, kSite = 3 };
    static constexpr QPoint kRestoredAt{254, 0};
    static constexpr int kRestoredHeight = 432;
    static constexpr QSize kShrunk{200, 100};

    // Placed at the settings' viewer rectangle, or on the nearest screen when that lies on none.
    CCardViewer(AppSettings& settings, const std::string& text, int mode);

    void SetMode(int mode);
    int ViewerMode() const { return m_mode; }
    // Stored text (code page 936, CR LF).
    void SetText(const std::string& stored);
    CTextDragEdit& TextBox() const { return *m_text; }
    bool Large() const { return m_large; }

    void ToggleSize();
    void SelectAllText();
    void CopySelection();

    // The close button: the rectangle is kept in the settings.
    void accept() override;
    // Escape leaves the viewer open.
    void reject() override {}

signals:
    void closedByButton();
    void visitSiteRequested();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnAction();
    Qt::Edges EdgesAt(const QPoint& position) const;

    AppSettings& m_settings;
    CTextDragEdit* m_text;
    QPushButton* m_shrink;
    QPushButton* m_action;
    QPushButton* m_copy;
    int m_mode = kUnset;
    bool m_large = true;
    // Where a drag of the background started, when the window system cannot move the window itself.
    std::optional<QPoint> m_dragOffset;
};

}  // namespace quillet
