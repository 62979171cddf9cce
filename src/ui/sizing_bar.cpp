#include "ui/sizing_bar.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionButton>

namespace quillet {
namespace {

constexpr int kButtonSize = 11;
// A press that moves farther than this is a drag of the bar, not a click on the strip.
constexpr int kClickSlack = 3;

void DrawRaisedLine(QPainter& painter, const QRect& line, const QPalette& palette) {
    painter.setPen(palette.color(QPalette::Light));
    painter.drawLine(line.topLeft(), line.topRight());
    painter.drawLine(line.topLeft(), line.bottomLeft());
    painter.setPen(palette.color(QPalette::Dark));
    painter.drawLine(line.bottomLeft(), line.bottomRight());
    painter.drawLine(line.topRight(), line.bottomRight());
}

}  // namespace

CSizingBar::CSizingBar(const QString& caption, QMainWindow& frame, QSize defaultSize, bool hasGripper, int id)
    : QDockWidget(caption, &frame),
      m_frame(frame),
      m_horizontal(defaultSize),
      m_vertical(defaultSize),
      m_floating(defaultSize),
      m_hasGripper(hasGripper) {
    setObjectName(QStringLiteral("SizingBar%1").arg(id));
    setProperty("controlId", id);
    setAllowedAreas(Qt::AllDockWidgetAreas);
    setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    setMinimumSize(kMinimumSize);
    setContentsMargins(kEdgeWidth, kEdgeWidth, kEdgeWidth, kEdgeWidth);
    if (hasGripper) {
        m_gripper = new GripperStrip(*this);
        setTitleBarWidget(m_gripper);
        connect(m_gripper, &GripperStrip::released, this, &CSizingBar::tipOfTheDayRequested);
    }
    connect(this, &QDockWidget::dockLocationChanged, this, [this](Qt::DockWidgetArea area) {
        m_area = area;
        UpdateGripperDirection();
        ApplyRememberedSize();
    });
    connect(this, &QDockWidget::topLevelChanged, this, [this] { UpdateGripperDirection(); });
}

CSizingBar::Orientation CSizingBar::CurrentOrientation() const {
    if (isFloating()) {
        return Orientation::Floating;
    }
    switch (m_frame.dockWidgetArea(const_cast<CSizingBar*>(this))) {
        case Qt::TopDockWidgetArea:
        case Qt::BottomDockWidgetArea:
            return Orientation::Horizontal;
        case Qt::LeftDockWidgetArea:
        case Qt::RightDockWidgetArea:
            return Orientation::Vertical;
        default:
            return Orientation::Floating;
    }
}

QSize CSizingBar::RememberedSize(Orientation orientation) const {
    switch (orientation) {
        case Orientation::Horizontal:
            return m_horizontal;
        case Orientation::Vertical:
            return m_vertical;
        case Orientation::Floating:
            return m_floating;
    }
    return m_floating;
}

void CSizingBar::DockAt(Qt::DockWidgetArea area) {
    m_frame.addDockWidget(area, this);
    m_area = area;
    UpdateGripperDirection();
    ApplyRememberedSize();
}

void CSizingBar::UpdateGripperDirection() {
    const bool horizontal = CurrentOrientation() == Orientation::Horizontal;
    setFeatures(horizontal ? features() | QDockWidget::DockWidgetVerticalTitleBar
                           : features() & ~QDockWidget::DockWidgetVerticalTitleBar);
    if (m_gripper) {
        m_gripper->SetVertical(horizontal);
    }
}

void CSizingBar::ApplyRememberedSize() {
    const Orientation orientation = CurrentOrientation();
    const QSize size = RememberedSize(orientation).expandedTo(kMinimumSize);
    if (orientation == Orientation::Floating) {
        resize(size);
    } else if (orientation == Orientation::Horizontal) {
        m_frame.resizeDocks({this}, {size.height()}, Qt::Vertical);
    } else {
        m_frame.resizeDocks({this}, {size.width()}, Qt::Horizontal);
    }
}

void CSizingBar::resizeEvent(QResizeEvent* event) {
    QDockWidget::resizeEvent(event);
    switch (CurrentOrientation()) {
        case Orientation::Horizontal:
            m_horizontal = size();
            break;
        case Orientation::Vertical:
            m_vertical = size();
            break;
        case Orientation::Floating:
            m_floating = size();
            break;
    }
}

GripperStrip::GripperStrip(CSizingBar& bar) : QWidget(&bar), m_bar(bar) { setToolTip(QStringLiteral("每日一帖")); }

void GripperStrip::SetVertical(bool vertical) {
    m_vertical = vertical;
    updateGeometry();
    update();
}

QSize GripperStrip::sizeHint() const {
    return m_vertical ? QSize(CSizingBar::kGripperSize + 2, kButtonSize)
                      : QSize(kButtonSize, CSizingBar::kGripperSize + 2);
}

QRect GripperStrip::ButtonRect() const {
    return m_vertical ? QRect(1, 1, kButtonSize, kButtonSize)
                      : QRect(width() - kButtonSize - 1, 1, kButtonSize, kButtonSize);
}

void GripperStrip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette& colours = palette();
    painter.fillRect(rect(), colours.color(QPalette::Button));
    const QRect button = ButtonRect();
    // Two raised lines, each three pixels across, the second three pixels further in.
    for (int i = 0; i < 2; ++i) {
        if (m_vertical) {
            DrawRaisedLine(painter, QRect(2 + 3 * i, button.top() + 14, 2, height() - button.top() - 16), colours);
        } else {
            DrawRaisedLine(painter, QRect(2, 3 + 3 * i, button.left() - 3 - 2, 2), colours);
        }
    }
    QStyleOptionButton option;
    option.initFrom(this);
    option.rect = button;
    option.state |= m_pushed ? QStyle::State_Sunken : QStyle::State_Raised;
    style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &option, &painter, this);
    // The button opens the tip of the day: a small light bulb, not a close cross that users would take it for.
    const QRectF mark = QRectF(button.adjusted(2, 1, -2, -2)).translated(m_pushed ? 1 : 0, m_pushed ? 1 : 0);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colours.color(QPalette::ButtonText), 0.8));
    painter.setBrush(QColor(0xff, 0xd8, 0x40));
    const QRectF bulb(mark.left(), mark.top(), mark.width(), mark.height() * 0.7);
    painter.drawEllipse(bulb);
    painter.setBrush(colours.color(QPalette::ButtonText));
    painter.drawRect(QRectF(mark.center().x() - mark.width() * 0.2, bulb.bottom(), mark.width() * 0.4,
                            mark.bottom() - bulb.bottom()));
}

void GripperStrip::mousePressEvent(QMouseEvent* event) {
    m_pressedAt = event->position().toPoint();
    m_pushed = event->button() == Qt::LeftButton && ButtonRect().contains(m_pressedAt);
    update();
    // Presses go on to the dock widget, which drags the bar by its strip.
    event->ignore();
}

void GripperStrip::mouseMoveEvent(QMouseEvent* event) { event->ignore(); }

void GripperStrip::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = (event->position().toPoint() - m_pressedAt).manhattanLength() <= kClickSlack;
    m_pushed = false;
    update();
    if (event->button() == Qt::LeftButton && click) {
        emit released();
    }
    event->ignore();
}

}  // namespace quillet
