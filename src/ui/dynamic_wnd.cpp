#include "ui/dynamic_wnd.h"

#include <QEvent>
#include <QScreen>
#include <QWindow>
#include <utility>

#include "ui/screen_fit.h"
#include "ui/size_grip.h"

namespace quillet {
namespace {

Box ToBox(const QRect& rect) { return {rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1}; }
QRect ToRect(const Box& box) { return QRect(box.left, box.top, box.Width(), box.Height()); }

}  // namespace

DynamicWnd::DynamicWnd(QWidget& window, int freedom, int flags)
    : QObject(&window), m_window(window), m_freedom(freedom), m_flags(flags) {}

DynamicWnd::~DynamicWnd() = default;

void DynamicWnd::Initialize() {
    m_reference = m_window.size();
    if (m_flags & kSizeGrip) {
        m_grip = new SizeGrip(&m_window);
        m_grip->setProperty("controlId", kSizeGripId);
        m_grip->adjustSize();
        m_grip->move(m_window.width() - m_grip->width(), m_window.height() - m_grip->height());
        AddSzControl(m_grip, 100, 100, 100, 100, false);
        m_grip->show();
    }
    ApplyLimits();
    m_window.installEventFilter(this);
    m_disabled = 0;
    RestorePosition();
    Layout();
}

void DynamicWnd::ApplyLimits() {
    // A dialog inside a docking bar is sized by the bar; only windows of their own have limits.
    if (!m_window.isWindow()) {
        return;
    }
    m_window.setMinimumSize(m_reference);
    const int maxWidth =
        (m_freedom & kHorizontal) ? (m_maximum.width() > 0 ? m_maximum.width() : QWIDGETSIZE_MAX) : m_reference.width();
    const int maxHeight = (m_freedom & kVertical) ? (m_maximum.height() > 0 ? m_maximum.height() : QWIDGETSIZE_MAX)
                                                  : m_reference.height();
    m_window.setMaximumSize(maxWidth, maxHeight);
}

void DynamicWnd::SetMaximumSize(QSize size) {
    m_maximum = size;
    if (m_reference.isValid()) {
        ApplyLimits();
    }
}

bool DynamicWnd::AddSzControl(QWidget* child, SizeMode x, SizeMode y, bool reposition) {
    return child && AddSzControlEx(child, ChildLayout::FromModes(ToBox(child->geometry()), x, y), reposition);
}

bool DynamicWnd::AddSzControl(QWidget* child, int x1, int y1, int x2, int y2, bool reposition) {
    if (!child) {
        return false;
    }
    auto share = [](int percent) { return static_cast<std::uint8_t>(std::clamp(percent, 0, 100)); };
    return AddSzControlEx(child, {ToBox(child->geometry()), share(x1), share(y1), share(x2), share(y2), 0, 0},
                          reposition);
}

bool DynamicWnd::AddSzControlEx(QWidget* child, const ChildLayout& layout, bool reposition) {
    if (!child || child->parentWidget() != &m_window) {
        return false;
    }
    const bool known = m_children.contains(child);
    m_children.insert(child, layout);
    if (!known) {
        connect(child, &QObject::destroyed, this, [this, child] { m_children.remove(child); });
    }
    if (reposition) {
        Layout();
    }
    return true;
}

void DynamicWnd::AddAllSzControls(SizeMode x, SizeMode y, bool reposition) {
    bool added = false;
    for (QWidget* child : m_window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!m_children.contains(child)) {
            added = AddSzControl(child, x, y, false) || added;
        }
    }
    if (added && reposition) {
        Layout();
    }
}

void DynamicWnd::RemoveSzControl(QWidget* child) { m_children.remove(child); }

DynamicLayoutInfo DynamicWnd::Snapshot() const {
    const QSize current = m_window.size();
    return {current, m_reference, current.width() - m_reference.width(), current.height() - m_reference.height(),
            ChildCount()};
}

void DynamicWnd::Layout() {
    if (m_disabled > 0) {
        return;
    }
    const DynamicLayoutInfo info = Snapshot();
    for (QWidget* child : m_window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const auto found = m_children.constFind(child);
        if (found == m_children.constEnd()) {
            continue;
        }
        const QRect target = ToRect(ChildBox(*found, info.dx, info.dy));
        if (child->geometry() != target) {
            child->setGeometry(target);
        }
    }
}

bool DynamicWnd::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &m_window) {
        if (event->type() == QEvent::Resize && !m_window.isMinimized()) {
            Layout();
            if (m_onResize) {
                m_onResize(m_window.size());
            }
        } else if (event->type() == QEvent::Close || event->type() == QEvent::Hide) {
            StorePosition();
        }
    }
    return QObject::eventFilter(watched, event);
}

QString DynamicWnd::Section() const {
    return QString::fromStdString(PositionSection(m_positionName.toStdString(), '/'));
}

void DynamicWnd::StorePosition() {
    if (!m_profile || m_positionName.isEmpty() || !m_window.isWindow()) {
        return;
    }
    const QRect normal =
        m_window.isMaximized() || m_window.isMinimized() ? m_window.normalGeometry() : m_window.geometry();
    m_profile->beginGroup(Section());
    m_profile->setValue(QStringLiteral("(valid)"), 0);
    m_profile->setValue(QStringLiteral("Left"), normal.left());
    m_profile->setValue(QStringLiteral("Right"), normal.right() + 1);
    m_profile->setValue(QStringLiteral("Top"), normal.top());
    m_profile->setValue(QStringLiteral("Bottom"), normal.bottom() + 1);
    m_profile->setValue(QStringLiteral("Visibility"), m_window.isVisible() ? 1 : 0);
    m_profile->setValue(QStringLiteral("State"), m_window.isMaximized() ? 1 : (m_window.isMinimized() ? 0 : -1));
    m_profile->setValue(QStringLiteral("(valid)"), 1);
    m_profile->endGroup();
}

bool DynamicWnd::RestorePosition(bool restoreState, bool restoreVisibility) {
    if (!m_profile || m_positionName.isEmpty() || !m_window.isWindow()) {
        return false;
    }
    m_profile->beginGroup(Section());
    const bool valid = m_profile->value(QStringLiteral("(valid)"), 0).toInt() == 1;
    if (valid) {
        const QRect current = m_window.geometry();
        int left = m_profile->value(QStringLiteral("Left"), current.left()).toInt();
        int right = m_profile->value(QStringLiteral("Right"), current.right() + 1).toInt();
        int top = m_profile->value(QStringLiteral("Top"), current.top()).toInt();
        int bottom = m_profile->value(QStringLiteral("Bottom"), current.bottom() + 1).toInt();
        if (left > right) {
            std::swap(left, right);
        }
        if (top > bottom) {
            std::swap(top, bottom);
        }
        // A place saved on a screen that is gone, or partly off this one, is brought back whole.
        m_window.setGeometry(FittedInto(QRect(left, top, right - left, bottom - top),
                                        AvailableAreaFor(QRect(left, top, right - left, bottom - top))));
        const int state = m_profile->value(QStringLiteral("State"), -1).toInt();
        if (restoreState && state == 1) {
            m_window.setWindowState(Qt::WindowMaximized);
        } else if (restoreState && state == 0) {
            m_window.setWindowState(Qt::WindowMinimized);
        }
        if (restoreVisibility) {
            m_window.setVisible(m_profile->value(QStringLiteral("Visibility"), 1).toInt() == 1);
        }
    }
    m_profile->endGroup();
    if (!valid) {
        QRect parent;
        if (const QWidget* owner = m_window.parentWidget()) {
            parent = owner->window()->geometry();
        } else if (const QScreen* screen = m_window.screen()) {
            parent = screen->availableGeometry();
        }
        const Box placed = DefaultPlacement(ToBox(m_window.geometry()), ToBox(parent));
        m_window.setGeometry(ToRect(placed));
    }
    return valid;
}

}  // namespace quillet
