#include "ui/text_drag_edit.h"

#include <QApplication>
#include <QDrag>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QTextBlock>

#include "ui/text_move.h"

namespace quillet {
namespace {

// The drag begins once the mouse leaves a 10 × 10 square around the press.
constexpr int kDragSquareHalf = 5;

QString OneLine(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    return text;
}

}  // namespace

CTextDragEdit::CTextDragEdit(bool singleLine, QWidget* parent) : QPlainTextEdit(parent), m_singleLine(singleLine) {
    setAcceptDrops(false);
    setTabChangesFocus(true);
    if (singleLine) {
        setLineWrapMode(QPlainTextEdit::NoWrap);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        document()->setDocumentMargin(2);
    } else {
        setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    }
}

bool CTextDragEdit::Register(int mode) {
    if (m_registered) {
        return false;
    }
    m_registered = true;
    m_mode = mode;
    setAcceptDrops(mode & kDropIn);
    viewport()->setAcceptDrops(mode & kDropIn);
    viewport()->setMouseTracking(true);
    return true;
}

QString CTextDragEdit::Text() const { return toPlainText(); }

void CTextDragEdit::SetText(const QString& text) { setPlainText(m_singleLine ? OneLine(text) : text); }

QSize CTextDragEdit::sizeHint() const {
    return m_singleLine ? QSize(QPlainTextEdit::sizeHint().width(), fontMetrics().height() + 10)
                        : QPlainTextEdit::sizeHint();
}

void CTextDragEdit::keyPressEvent(QKeyEvent* event) {
    if (m_singleLine && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        event->ignore();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void CTextDragEdit::insertFromMimeData(const QMimeData* source) {
    if (source && source->hasText() && !isReadOnly()) {
        textCursor().insertText(m_singleLine ? OneLine(source->text()) : source->text());
    }
}

bool CTextDragEdit::IsOverSelection(const QPoint& position) const {
    const QTextCursor selection = textCursor();
    if (!selection.hasSelection()) {
        return false;
    }
    const int at = cursorForPosition(position).position();
    return at >= selection.selectionStart() && at <= selection.selectionEnd() &&
           cursorRect(cursorForPosition(position))
               .adjusted(-fontMetrics().averageCharWidth(), 0, fontMetrics().averageCharWidth(), 0)
               .contains(position);
}

Qt::DropAction CTextDragEdit::ActionFor(Qt::KeyboardModifiers modifiers) const {
    return (modifiers & Qt::ControlModifier) ? Qt::CopyAction : Qt::MoveAction;
}

void CTextDragEdit::mousePressEvent(QMouseEvent* event) {
    const QPoint position = event->position().toPoint();
    if ((m_mode & kDragOut) && event->button() == Qt::LeftButton && IsOverSelection(position)) {
        m_pressOnSelection = true;
        m_pressedAt = position;
        return;
    }
    QPlainTextEdit::mousePressEvent(event);
}

void CTextDragEdit::mouseMoveEvent(QMouseEvent* event) {
    const QPoint position = event->position().toPoint();
    if (m_pressOnSelection && (event->buttons() & Qt::LeftButton)) {
        const QPoint moved = position - m_pressedAt;
        if (std::abs(moved.x()) > kDragSquareHalf || std::abs(moved.y()) > kDragSquareHalf) {
            m_pressOnSelection = false;
            StartDrag();
        }
        return;
    }
    if (m_mode & kDragOut) {
        viewport()->setCursor(IsOverSelection(position) ? Qt::ArrowCursor : Qt::IBeamCursor);
    }
    QPlainTextEdit::mouseMoveEvent(event);
}

void CTextDragEdit::mouseReleaseEvent(QMouseEvent* event) {
    if (m_pressOnSelection) {
        // A click without a drag only places the caret.
        m_pressOnSelection = false;
        setTextCursor(cursorForPosition(event->position().toPoint()));
        ensureCursorVisible();
        return;
    }
    QPlainTextEdit::mouseReleaseEvent(event);
}

void CTextDragEdit::StartDrag() {
    QString text = textCursor().selectedText();
    text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    auto* data = new QMimeData;
    data->setText(text);
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    m_draggingOut = true;
    m_droppedOnSelf = false;
    // A read-only text gives copies only: moving would take the text out of it.
    const Qt::DropAction action = isReadOnly() ? drag->exec(Qt::CopyAction, Qt::CopyAction)
                                               : drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
    m_draggingOut = false;
    if (action != Qt::MoveAction) {
        return;
    }
    if (m_droppedOnSelf) {
        MoveSelectionTo(m_dropPosition);
    } else {
        textCursor().removeSelectedText();
    }
}

void CTextDragEdit::MoveSelectionTo(int position) {
    QTextCursor cursor = textCursor();
    const SelfMovePlan plan = PlanSelfMove(cursor.selectionStart(), cursor.selectionEnd(), position);
    if (!plan.changes) {
        return;
    }
    QString text = cursor.selectedText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    cursor.setPosition(plan.insertAt);
    cursor.insertText(text);
    cursor.endEditBlock();
    cursor.setPosition(plan.insertAt);
    cursor.setPosition(plan.insertAt + static_cast<int>(text.size()), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
    ensureCursorVisible();
}

void CTextDragEdit::dragEnterEvent(QDragEnterEvent* event) {
    if (!(m_mode & kDropIn) || isReadOnly() || !event->mimeData()->hasText()) {
        m_accepting = false;
        event->ignore();
        return;
    }
    m_accepting = true;
    setFocus();
    event->setDropAction(ActionFor(event->modifiers()));
    event->accept();
}

void CTextDragEdit::dragMoveEvent(QDragMoveEvent* event) {
    if (!m_accepting) {
        event->ignore();
        return;
    }
    // The caret follows the mouse without losing the selection that may be moving.
    event->setDropAction(ActionFor(event->modifiers()));
    event->accept();
}

void CTextDragEdit::dragLeaveEvent(QDragLeaveEvent* event) {
    m_accepting = false;
    event->accept();
}

void CTextDragEdit::dropEvent(QDropEvent* event) {
    const QPoint position = event->position().toPoint();
    if (!m_accepting || (m_draggingOut && IsOverSelection(position))) {
        m_accepting = false;
        event->ignore();
        return;
    }
    m_accepting = false;
    const Qt::DropAction action = ActionFor(event->modifiers());
    const int at = cursorForPosition(position).position();
    if (m_draggingOut && action == Qt::MoveAction) {
        m_droppedOnSelf = true;
        m_dropPosition = at;
        event->setDropAction(Qt::MoveAction);
        event->accept();
        return;
    }
    const QString text = m_singleLine ? OneLine(event->mimeData()->text()) : event->mimeData()->text();
    QTextCursor cursor = textCursor();
    cursor.clearSelection();
    cursor.setPosition(at);
    cursor.insertText(text);
    cursor.setPosition(at);
    cursor.setPosition(at + static_cast<int>(text.size()), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
    ensureCursorVisible();
    event->setDropAction(action);
    event->accept();
}

}  // namespace quillet
