#pragma once

#include <QPlainTextEdit>

namespace quillet {

// An edit field that exchanges plain text by drag and drop: its selection can be dragged out, copied or
// moved, and text dropped in lands at the character under the mouse; Control copies instead of moving. A
// single-line field keeps to one line and leaves Return to its dialog.
class CTextDragEdit final : public QPlainTextEdit {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CTextDragEdit)

public:
    enum Mode { kDragOut = 1, kDropIn = 2 };

    explicit CTextDragEdit(bool singleLine, QWidget* parent = nullptr);

    // Enables dragging out and dropping in as the mode bits say; false when already registered.
    bool Register(int mode);

    QString Text() const;
    void SetText(const QString& text);

    // The selection moved to a position of this field, as a move dropped onto itself does. Undoable.
    void MoveSelectionTo(int position);

    QSize sizeHint() const override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    bool IsOverSelection(const QPoint& position) const;
    void StartDrag();
    Qt::DropAction ActionFor(Qt::KeyboardModifiers modifiers) const;

    bool m_singleLine;
    bool m_registered = false;
    int m_mode = 0;
    bool m_accepting = false;
    bool m_pressOnSelection = false;
    QPoint m_pressedAt;
    bool m_draggingOut = false;
    bool m_droppedOnSelf = false;
    int m_dropPosition = 0;
};

}  // namespace quillet
