#include "reading/edge_panel.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include "ui/screen_fit.h"

namespace quillet {
namespace {

PanelRect ToPanel(const QRect& rect) { return {rect.x(), rect.y(), rect.width(), rect.height()}; }
QRect ToQt(const PanelRect& rect) { return {rect.x, rect.y, rect.width, rect.height}; }

}  // namespace

EdgePanel::EdgePanel(QWidget* parent) : QWidget(parent), m_body(new QWidget(this)) {
    // A tool window: no task-bar entry; frameless and above the other windows.
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    m_autoHide.setInterval(kAutoHideInterval);
    connect(&m_autoHide, &QTimer::timeout, this, [this] { CheckCursor(QCursor::pos()); });
}

void EdgePanel::SetTitle(const QString& title) {
    m_title = title;
    setWindowTitle(title);
    Apply();
}

void EdgePanel::SetPanelIcon(const QIcon& icon) {
    m_icon = icon;
    setWindowIcon(icon);
    update();
}

void EdgePanel::SetAutoHide(bool autoHide) {
    if (autoHide) {
        m_autoHide.start();
    } else {
        m_autoHide.stop();
        Tuck(false);
    }
}

void EdgePanel::SetPinned(bool pinned) {
    m_pinned = pinned;
    if (pinned) {
        Tuck(false);
    }
    update();
}

int EdgePanel::CurrentTabLength() const {
    const QSize body = m_body->size();
    const int side = IsHorizontal(m_edge) ? body.width() : body.height();
    return TabLength(fontMetrics().horizontalAdvance(m_title), true, side);
}

PanelShape EdgePanel::Shape() const { return ShapeFor(m_edge, m_body->width(), m_body->height(), CurrentTabLength()); }

void EdgePanel::DockAt(Edge edge, int along, const QRect& screenArea, bool hidden) {
    m_edge = edge;
    const PanelRect window = Shape().window;
    switch (edge) {
        case Edge::Left:
            m_docked = {screenArea.x(), screenArea.y() + along};
            break;
        case Edge::Right:
            m_docked = {screenArea.x() + screenArea.width() - window.width, screenArea.y() + along};
            break;
        case Edge::Top:
            m_docked = {screenArea.x() + along, screenArea.y()};
            break;
        case Edge::Bottom:
            m_docked = {screenArea.x() + along, screenArea.y() + screenArea.height() - window.height};
            break;
    }
    m_tucked = hidden;
    Apply();
}

QRect EdgePanel::DockedGeometry() const {
    const PanelRect window = Shape().window;
    return {m_docked, QSize(window.width, window.height)};
}

QRect EdgePanel::TabRect() const { return m_tucked ? rect() : ToQt(Shape().tab); }

QRect EdgePanel::TabButtonRect() const {
    const QRect tab = TabRect();
    if (IsHorizontal(m_edge)) {
        return {tab.right() - kTabButtonLength + 1, tab.top(), kTabButtonLength, tab.height()};
    }
    return {tab.left(), tab.bottom() - kTabButtonLength + 1, tab.width(), kTabButtonLength};
}

void EdgePanel::Apply() {
    if (m_applying) {
        return;
    }
    m_applying = true;
    const PanelShape shape = Shape();
    if (m_tucked) {
        const PanelPoint hidden =
            HiddenPosition(m_edge, {m_docked.x(), m_docked.y()}, shape.window.width, shape.window.height);
        m_body->hide();
        clearMask();
        setGeometry(ToQt(shape.tab.MovedBy(hidden)));
    } else {
        m_body->move(shape.body.x, shape.body.y);
        m_body->show();
        setGeometry(DockedGeometry());
        setMask(QRegion(ToQt(shape.body)) + QRegion(ToQt(shape.tab)));
    }
    m_applying = false;
    update();
}

void EdgePanel::Tuck(bool tucked) {
    if (tucked == m_tucked) {
        return;
    }
    m_tucked = tucked;
    Apply();
}

bool EdgePanel::MayHide() const { return !QApplication::activePopupWidget() && !QApplication::activeModalWidget(); }

void EdgePanel::CheckCursor(const QPoint& globalCursor) {
    if (m_dragging) {
        return;
    }
    // The tab's button changes nothing, so that it can be pressed.
    if (TabButtonRect().contains(mapFromGlobal(globalCursor))) {
        return;
    }
    const QPoint inWindow = globalCursor - m_docked;
    const PanelShape shape = Shape();
    const bool over = m_tucked ? geometry().contains(globalCursor)
                               : ToQt(shape.body).contains(inWindow) || ToQt(shape.tab).contains(inWindow);
    if (over || m_pinned) {
        Tuck(false);
    } else if (MayHide()) {
        Tuck(true);
    }
}

void EdgePanel::BeginDrag(const QPoint& globalCursor) {
    Tuck(false);
    m_dragging = true;
    m_grab = globalCursor - m_docked;
    m_autoHide.stop();
}

void EdgePanel::DragTo(const QPoint& globalCursor) {
    if (!m_dragging) {
        return;
    }
    const QRect area = AvailableAreaFor(QRect(globalCursor, QSize(1, 1)));
    const DragOutcome outcome = quillet::DragTo({globalCursor.x(), globalCursor.y()}, {m_grab.x(), m_grab.y()}, Shape(),
                                                ToPanel(area), m_body->width(), m_body->height(), CurrentTabLength());
    if (!outcome.moves) {
        return;
    }
    const bool edgeChanged = outcome.edge != m_edge;
    m_edge = outcome.edge;
    m_docked = {outcome.position.x, outcome.position.y};
    Apply();
    if (edgeChanged) {
        emit this->edgeChanged(m_edge);
    }
}

void EdgePanel::EndDrag() {
    if (!m_dragging) {
        return;
    }
    m_dragging = false;
    m_autoHide.start();
}

void EdgePanel::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    if (TabButtonRect().contains(event->position().toPoint())) {
        SetPinned(!m_pinned);
        return;
    }
    BeginDrag(event->globalPosition().toPoint());
    grabMouse();
}

void EdgePanel::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragging) {
        DragTo(event->globalPosition().toPoint());
    }
}

void EdgePanel::mouseReleaseEvent(QMouseEvent* event) {
    if (m_dragging && event->button() == Qt::LeftButton) {
        releaseMouse();
        EndDrag();
    }
}

void EdgePanel::changeEvent(QEvent* event) {
    // A drag that loses the mouse (another window took it) ends, and the timer runs again.
    if (event->type() == QEvent::ActivationChange && !isActiveWindow() && m_dragging) {
        releaseMouse();
        EndDrag();
    }
    QWidget::changeEvent(event);
}

void EdgePanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect tab = TabRect();
    const QPalette& colors = palette();
    if (!m_tucked) {
        painter.fillRect(ToQt(Shape().body), colors.window());
        painter.setPen(colors.color(QPalette::Mid));
        painter.drawRect(ToQt(Shape().body).adjusted(0, 0, -1, -1));
    }
    painter.fillRect(tab, colors.color(QPalette::Highlight).lighter(160));
    painter.setPen(colors.color(QPalette::Mid));
    painter.drawRect(tab.adjusted(0, 0, -1, -1));

    // The icon, the title along the tab (turned on a side edge) and the pin button at its end.
    const bool horizontal = IsHorizontal(m_edge);
    m_icon.paint(&painter, QRect(tab.left() + 2, tab.top() + 2, kTabIconLength, kTabIconLength));
    painter.setPen(colors.color(QPalette::WindowText));
    painter.save();
    if (horizontal) {
        const QRect titleRect(tab.left() + kTabIconLength + 2, tab.top(),
                              tab.width() - kTabIconLength - kTabButtonLength - 2, tab.height());
        painter.drawText(titleRect, Qt::AlignLeft | Qt::AlignVCenter, m_title);
    } else {
        painter.translate(tab.left(), tab.top() + kTabIconLength + 2);
        painter.rotate(90);
        const QRect titleRect(0, -tab.width(), tab.height() - kTabIconLength - kTabButtonLength - 2, tab.width());
        painter.drawText(titleRect, Qt::AlignLeft | Qt::AlignVCenter, m_title);
    }
    painter.restore();

    const QRect button = TabButtonRect().adjusted(3, 3, -3, -3);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(m_pinned ? QBrush(colors.color(QPalette::Highlight)) : QBrush(Qt::NoBrush));
    painter.setPen(colors.color(QPalette::WindowText));
    // A ring while the panel hides by itself, a dot while it is pinned open.
    painter.drawEllipse(QRectF(button).adjusted(0.5, 0.5, -0.5, -0.5));
}

}  // namespace quillet
