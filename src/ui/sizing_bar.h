#pragma once

#include <QDockWidget>
#include <QMainWindow>

namespace quillet {

class GripperStrip;

// A docking bar that can be resized by its inner edge, docks on any side, keeps one size per orientation and
// draws a gripper strip with a small button. A left-button release on the strip asks for the tip of the day.
class CSizingBar : public QDockWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CSizingBar)

public:
    static constexpr int kEdgeWidth = 5;
    static constexpr int kGripperSize = 12;
    static constexpr QSize kMinimumSize{33, 32};

    enum class Orientation { Horizontal, Vertical, Floating };

    CSizingBar(const QString& caption, QMainWindow& frame, QSize defaultSize, bool hasGripper, int id);

    Orientation CurrentOrientation() const;
    QSize RememberedSize(Orientation orientation) const;
    bool HasGripper() const { return m_hasGripper; }
    // Docks the bar on one side of its frame with the size it remembers for that orientation.
    void DockAt(Qt::DockWidgetArea area);

signals:
    void tipOfTheDayRequested();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void ApplyRememberedSize();
    void UpdateGripperDirection();

    QMainWindow& m_frame;
    QSize m_horizontal;
    QSize m_vertical;
    QSize m_floating;
    bool m_hasGripper;
    GripperStrip* m_gripper = nullptr;
    Qt::DockWidgetArea m_area = Qt::NoDockWidgetArea;
};

// The gripper strip: two raised lines and a small 3-D button.
class GripperStrip final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(GripperStrip)

public:
    explicit GripperStrip(CSizingBar& bar);

    // True when the strip runs down the bar's left side (the bar docked at the top or bottom).
    void SetVertical(bool vertical);
    QRect ButtonRect() const;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

signals:
    void released();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    CSizingBar& m_bar;
    bool m_vertical = false;
    bool m_pushed = false;
    QPoint m_pressedAt;
};

}  // namespace quillet
