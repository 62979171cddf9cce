#include "reading/card_viewer.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

#include "res/resource_ids.h"
#include "shell/quillet_view.h"
#include "store/codec.h"
#include "ui/dialog_builder.h"
#include "ui/screen_fit.h"
#include "ui/text_drag_edit.h"

namespace quillet {
namespace {

constexpr int kEdgeGrip = 5;  // pixels along the border that resize instead of moving

QRect OnSomeScreen(const QRect& wanted) {
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen->geometry().intersects(wanted)) {
            return wanted;
        }
    }
    // Its monitor was unplugged: the nearest one that is there.
    return FittedInto(wanted, AvailableAreaFor(wanted));
}

}  // namespace

CCardViewer::CCardViewer(AppSettings& settings, const std::string& text, int mode)
    : DynamicDialog(res::kCardViewerDialog, nullptr, DynamicWnd::kBothDirections,
                    DynamicWnd::kSuppressFlicker | DynamicWnd::kSizeGrip),
      m_settings(settings),
      m_text(Control<CTextDragEdit>(*this, res::kViewerText)),
      m_shrink(Control<QPushButton>(*this, res::kViewerShrink)),
      m_action(Control<QPushButton>(*this, res::kViewerAction)),
      m_copy(Control<QPushButton>(*this, res::kViewerCopy)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setWindowIcon(QIcon(QStringLiteral(":/images/quillet.svg")));
    setModal(false);
    m_text->setFont(CQuilletView::EditorFont());
    m_text->setReadOnly(true);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_text->Register(CTextDragEdit::kDragOut);
    m_text->installEventFilter(this);

    Engine().AddSzControl(m_text, SizeMode::Resize, SizeMode::Resize, false);
    Engine().AddSzControl(FindControl(*this, res::kIdOk), SizeMode::None, SizeMode::None, false);
    InitializeLayout();
    // Shrunk, it is smaller than its template.
    setMinimumSize(kShrunk);

    const WindowPlace& place = m_settings.cardViewer;
    setGeometry(OnSomeScreen(QRect(place.left, place.top, place.width, place.height)));

    connect(Control<QPushButton>(*this, res::kIdOk), &QPushButton::clicked, this, &CCardViewer::accept);
    connect(m_shrink, &QPushButton::clicked, this, &CCardViewer::ToggleSize);
    connect(m_action, &QPushButton::clicked, this, &CCardViewer::OnAction);
    connect(m_copy, &QPushButton::clicked, this, &CCardViewer::CopySelection);
    SetText(text);
    SetMode(mode);
}

void CCardViewer::SetMode(int mode) {
    m_mode = mode;
    if (mode == kText) {
        m_copy->show();
        SetButtonCaption(*m_action, QStringLiteral("全选"));
    } else if (mode == kSite) {
        m_copy->hide();
        SetButtonCaption(*m_action, QStringLiteral("访问站点"));
    }
}

void CCardViewer::SetText(const std::string& stored) {
    QString text = QString::fromStdString(ToUtf8(stored));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_text->SetText(text);
}

void CCardViewer::ToggleSize() {
    if (m_large) {
        resize(kShrunk);
        SetButtonCaption(*m_shrink, QStringLiteral("窗口还原"));
    } else {
        // Back along the top of the screen it is on, whatever its size was before.
        const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
        const QRect area = screen ? screen->geometry() : QRect(QPoint(), QSize(800, 600));
        setGeometry(QRect(area.topLeft() + kRestoredAt,
                          QSize(std::max(area.width() - kRestoredAt.x(), kShrunk.width()), kRestoredHeight)));
        SetButtonCaption(*m_shrink, QStringLiteral("窗口缩小"));
    }
    m_large = !m_large;
}

void CCardViewer::OnAction() {
    if (m_mode == kSite) {
        emit visitSiteRequested();
    } else {
        SelectAllText();
    }
}

void CCardViewer::SelectAllText() {
    m_text->setFocus(Qt::OtherFocusReason);
    m_text->selectAll();
    m_text->ensureCursorVisible();
}

void CCardViewer::CopySelection() {
    m_text->setFocus(Qt::OtherFocusReason);
    m_text->copy();
}

void CCardViewer::accept() {
    const QRect frame = geometry();
    m_settings.cardViewer = {frame.left(), frame.top(), frame.width(), frame.height()};
    emit closedByButton();
    close();
}

void CCardViewer::paintEvent(QPaintEvent* event) {
    DynamicDialog::paintEvent(event);
    // No frame from the window manager: a line of our own shows where the window ends.
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void CCardViewer::closeEvent(QCloseEvent* event) {
    // Not QDialog's, which would take a close for Escape.
    event->accept();
}

bool CCardViewer::eventFilter(QObject* watched, QEvent* event) {
    // The text box takes Enter for itself: only Enter elsewhere closes the viewer.
    if (watched == m_text && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            return true;
        }
    }
    return DynamicDialog::eventFilter(watched, event);
}

Qt::Edges CCardViewer::EdgesAt(const QPoint& position) const {
    Qt::Edges edges;
    if (position.x() < kEdgeGrip) {
        edges |= Qt::LeftEdge;
    }
    if (position.x() >= width() - kEdgeGrip) {
        edges |= Qt::RightEdge;
    }
    if (position.y() < kEdgeGrip) {
        edges |= Qt::TopEdge;
    }
    if (position.y() >= height() - kEdgeGrip) {
        edges |= Qt::BottomEdge;
    }
    return edges;
}

void CCardViewer::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        DynamicDialog::mousePressEvent(event);
        return;
    }
    event->accept();
    // The window has no caption and no frame: its border resizes it and its background moves it.
    QWindow* window = windowHandle();
    const Qt::Edges edges = EdgesAt(event->position().toPoint());
    if (window && (edges ? window->startSystemResize(edges) : window->startSystemMove())) {
        return;
    }
    m_dragOffset = event->globalPosition().toPoint() - pos();
}

void CCardViewer::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragOffset && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPosition().toPoint() - *m_dragOffset);
        event->accept();
        return;
    }
    DynamicDialog::mouseMoveEvent(event);
}

void CCardViewer::mouseReleaseEvent(QMouseEvent* event) {
    m_dragOffset.reset();
    DynamicDialog::mouseReleaseEvent(event);
}

}  // namespace quillet
