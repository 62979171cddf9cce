#include "shell/main_frame.h"

#include <QAction>
#include <QCloseEvent>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>

#include "res/resource_ids.h"
#include "ui/dynamic_bar.h"

namespace quillet {

CMainFrame::CMainFrame(CardStore& store, Prompter& prompter, AppSettings& settings, QWidget* parent)
    : QMainWindow(parent),
      m_store(store),
      m_view(new CQuilletView(this)),
      m_input(store, this),
      m_dataBar(new DataBar(store, prompter, m_input, *m_view, settings)),
      m_dockingBar(
          new DynamicBar(QStringLiteral("资料收集"), *this, QSize(200, 180), true, res::kDataBarId, m_dataBar)),
      m_operations(store, *m_dataBar, prompter, m_input, m_capture),
      m_doc(m_operations) {
    setWindowTitle(QStringLiteral("青榆资料夹－录入模式"));
    setWindowIcon(QIcon(QStringLiteral(":/images/quillet.svg")));
    setCentralWidget(m_view);
    m_view->SetText(store.currentCard.content);

    switch (settings.dataBarPosition) {
        case 0:
            m_dockingBar->DockAt(Qt::LeftDockWidgetArea);
            break;
        case 2:
            m_dockingBar->DockAt(Qt::TopDockWidgetArea);
            break;
        case 3:
            m_dockingBar->DockAt(Qt::BottomDockWidgetArea);
            break;
        default:
            m_dockingBar->DockAt(Qt::RightDockWidgetArea);
            break;
    }
    ApplyAlwaysOnTop();
    m_dockingBar->setVisible(store.flags.dataBarVisible);
    connect(m_dockingBar, &CSizingBar::tipOfTheDayRequested, this, &CMainFrame::tipOfTheDayRequested);
    connect(m_dataBar, &DataBar::alwaysOnTopChanged, this, &CMainFrame::ApplyAlwaysOnTop);
    m_dataBar->InitialLoad();

    AddCommand(res::kCmdFileNew, QKeySequence(Qt::CTRL | Qt::Key_N), nullptr);
    connect(Command(res::kCmdFileNew), &QAction::triggered, this, [this] { m_doc.OnFileNew(); });
    AddCommand(res::kCmdFileSave, QKeySequence(Qt::CTRL | Qt::Key_S), nullptr);
    connect(Command(res::kCmdFileSave), &QAction::triggered, this, [this] { m_doc.OnFileSave(); });
    AddCommand(res::kCmdFileOpen, QKeySequence(Qt::CTRL | Qt::Key_O), nullptr);
    connect(Command(res::kCmdFileOpen), &QAction::triggered, this, [this] { m_doc.OnFileOpen(); });
    AddCommand(res::kCmdPrint, QKeySequence(Qt::CTRL | Qt::Key_P), &CMainFrame::Print);
    AddCommand(res::kCmdPrintPreview, {}, &CMainFrame::PrintPreview);
    AddCommand(res::kCmdPrintSetup, {}, &CMainFrame::PrintSetup);
}

CMainFrame::~CMainFrame() = default;

QAction* CMainFrame::AddCommand(int id, const QKeySequence& shortcut, void (CMainFrame::*handler)()) {
    auto* action = new QAction(this);
    action->setData(id);
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
    addAction(action);
    if (handler) {
        connect(action, &QAction::triggered, this, handler);
    }
    return action;
}

QAction* CMainFrame::Command(int id) const {
    for (QAction* action : actions()) {
        if (action->data().toInt() == id) {
            return action;
        }
    }
    return nullptr;
}

void CMainFrame::Print() {
    QPrintDialog dialog(&m_printer, this);
    if (dialog.exec() == QDialog::Accepted) {
        m_view->Print(m_printer);
    }
}

void CMainFrame::PrintPreview() {
    QPrintPreviewDialog preview(&m_printer, this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* printer) { m_view->Print(*printer); });
    preview.exec();
}

void CMainFrame::PrintSetup() {
    QPageSetupDialog dialog(&m_printer, this);
    dialog.exec();
}

void CMainFrame::ApplyAlwaysOnTop() {
    const bool visible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, m_store.flags.alwaysOnTop);
    if (visible) {
        show();
    }
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (!m_doc.SaveModified()) {
        event->ignore();
        return;
    }
    event->accept();
}

}  // namespace quillet
