#pragma once

#include <QIcon>
#include <QPoint>
#include <QTimer>
#include <QWidget>

#include "reading/edge_geometry.h"

namespace quillet {

// A window docked to an edge of its screen: no caption, no task-bar entry, always on top, with a tab on the
// side away from the edge that shows its icon and title. It hides over its edge while the mouse is elsewhere,
// leaving only the tab, and comes out when the mouse touches the tab; the tab's button pins it open until it
// is pressed again. Pressing on the panel outside its controls drags it to another edge.
//
// Hidden, the window shrinks to its tab instead of moving off the screen: window managers clamp windows that
// leave the screen, and with several monitors the body would show on the neighbour.
class EdgePanel : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(EdgePanel)

public:
    static constexpr int kAutoHideInterval = 500;  // ms

    explicit EdgePanel(QWidget* parent = nullptr);

    // What the children are placed on; its size is the panel's body size.
    QWidget& Body() { return *m_body; }
    void SetTitle(const QString& title);
    void SetPanelIcon(const QIcon& icon);
    void SetAutoHide(bool autoHide);

    // Docks on that edge of the screen area at the given offset along it, hidden or not.
    void DockAt(Edge edge, int along, const QRect& screenArea, bool hidden);
    Edge CurrentEdge() const { return m_edge; }
    bool IsTucked() const { return m_tucked; }
    bool IsPinned() const { return m_pinned; }
    void SetPinned(bool pinned);
    // Where the panel stands when out, in global coordinates.
    QRect DockedGeometry() const;
    // The tab and its button in the window's own coordinates, as the window is now.
    QRect TabRect() const;
    QRect TabButtonRect() const;

    // One look at the cursor: out when it is over the panel or its tab, hidden when it is elsewhere. The
    // timer calls it with the cursor's place; tests call it with theirs.
    void CheckCursor(const QPoint& globalCursor);
    // A drag: where it started (global) and where the cursor is now.
    void BeginDrag(const QPoint& globalCursor);
    void DragTo(const QPoint& globalCursor);
    void EndDrag();
    bool Dragging() const { return m_dragging; }

signals:
    void edgeChanged(Edge edge);

protected:
    // False while something of the panel's is open (a menu, a dialog, a message box): then it never hides.
    virtual bool MayHide() const;

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    PanelShape Shape() const;
    int CurrentTabLength() const;
    void Apply();
    void Tuck(bool tucked);

    QWidget* m_body;
    QString m_title;
    QIcon m_icon;
    QTimer m_autoHide;
    Edge m_edge = Edge::Top;
    QPoint m_docked;  // the window's top-left corner when out
    bool m_tucked = false;
    bool m_pinned = false;
    bool m_dragging = false;
    bool m_applying = false;
    QPoint m_grab;  // the cursor's place in the window at the press
};

}  // namespace quillet
