#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSettings>
#include <QSize>
#include <QWidget>
#include <functional>

#include "ui/layout_math.h"

namespace quillet {

// A snapshot of one layout pass.
struct DynamicLayoutInfo {
    QSize current;
    QSize reference;
    int dx = 0;
    int dy = 0;
    int children = 0;
};

class SizeGrip;

// The layout engine of a resizable window: each registered child follows a change of the window's size by
// four percentages. The window cannot be made smaller than its template; its position can be kept in the
// profile under "WindowPositions/<name>".
class DynamicWnd final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DynamicWnd)

public:
    enum Freedom { kHorizontal = 1, kVertical = 2, kBothDirections = 3 };
    enum Flag { kSizeGrip = 1, kSuppressFlicker = 2, kCopyBits = 4 };
    static constexpr int kSizeGripId = 59936;

    explicit DynamicWnd(QWidget& window, int freedom = kBothDirections, int flags = kSuppressFlicker);
    ~DynamicWnd() override;

    // The reference size is the window's size now: every later change is measured from it.
    void Initialize();

    bool AddSzControl(QWidget* child, SizeMode x, SizeMode y, bool reposition = true);
    bool AddSzControl(QWidget* child, int x1, int y1, int x2, int y2, bool reposition = true);
    bool AddSzControlEx(QWidget* child, const ChildLayout& layout, bool reposition);
    // Registers every direct child not registered yet.
    void AddAllSzControls(SizeMode x, SizeMode y, bool reposition = true);
    void RemoveSzControl(QWidget* child);

    void Layout();
    int ChildCount() const { return static_cast<int>(m_children.size()); }
    DynamicLayoutInfo Snapshot() const;
    void SetEnabled(bool enabled) { m_disabled += enabled ? -1 : 1; }

    // 0 means no limit.
    void SetMaximumSize(QSize size);
    QSize MinimumSize() const { return m_reference; }

    // Where the position is kept; without a profile nothing is stored or restored.
    void SetProfile(QSettings* profile) { m_profile = profile; }
    void SetPositionName(const QString& name) { m_positionName = name; }
    QString PositionName() const { return m_positionName; }
    void StorePosition();
    // False when nothing valid was stored and the default placement was used.
    bool RestorePosition(bool restoreState = false, bool restoreVisibility = false);

    // Called after every resize with the new client size (the data bar keeps its size in the settings).
    void SetResizeListener(std::function<void(QSize)> listener) { m_onResize = std::move(listener); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ApplyLimits();
    QString Section() const;

    QWidget& m_window;
    QPointer<SizeGrip> m_grip;
    int m_disabled = 1;
    QHash<QWidget*, ChildLayout> m_children;
    int m_freedom;
    int m_flags;
    QSize m_reference;
    QSize m_maximum;
    QSettings* m_profile = nullptr;
    QString m_positionName;
    std::function<void(QSize)> m_onResize;
};

}  // namespace quillet
