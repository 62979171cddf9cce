#include "shell/main_frame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPointer>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QShortcut>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>

#include "res/menus.h"
#include "res/resource_ids.h"
#include "res/string_table.h"
#include "shell/command_rules.h"
#include "shell/open_address.h"
#include "store/atomic_file.h"
#include "store/card_text.h"
#include "store/codec.h"
#include "ui/dynamic_bar.h"

namespace quillet {
namespace {

// Left to us: the author's addresses.
const QString kHomePage = QStringLiteral("https://quillet.example.org/");
const QString kAuthorMail = QStringLiteral("mailto:author@quillet.example.org");

QString FromUtf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

struct Glyph {
    int id;
    const char* text;
    QRgb colour;
};

// The toolbar's pictures: a sign on a coloured tile, one colour for each group of commands.
constexpr QRgb kViewColour = 0xff5b7c99;
constexpr QRgb kCategoryColour = 0xff2e8b57;
constexpr QRgb kCardColour = 0xff2f6fb0;
constexpr QRgb kEditColour = 0xff6d6d6d;
constexpr QRgb kModeColour = 0xff7b4fa0;
constexpr Glyph kGlyphs[] = {
    {32780, "栏", kViewColour},
    {32802, "计", kViewColour},
    {32773, "新", kCategoryColour},
    {32783, "改", kCategoryColour},
    {32776, "删", kCategoryColour},
    {32775, "卡", kCardColour},
    {32801, "存", kCardColour},
    {32793, "◀", kCardColour},
    {32792, "▶", kCardColour},
    {32785, "名", kCardColour},
    {32777, "✕", kCardColour},
    {32805, "全", kEditColour},
    {57643, "↶", kEditColour},
    {57635, "剪", kEditColour},
    {57634, "复", kEditColour},
    {57637, "贴", kEditColour},
    {32781, "阅", kModeColour},
    {32810, "隐", kModeColour},
    {57607, "印", kViewColour},
    {57664, "?", kViewColour},
    {57665, "退", kModeColour},
    // Reading mode's own.
    {32822, "参", kViewColour},
    {32829, "看", kCardColour},
    {32830, "◀", kCardColour},
    {32831, "▶", kCardColour},
    {32817, "录", kModeColour},
    {32820, "隐", kModeColour},
    {32821, "退", kModeColour},
};

QIcon ToolIcon(int id) {
    for (const Glyph& glyph : kGlyphs) {
        if (glyph.id != id) {
            continue;
        }
        QIcon icon;
        for (const int size : {16, 20, 32}) {
            QPixmap picture(size, size);
            picture.fill(Qt::transparent);
            QPainter painter(&picture);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setBrush(QColor::fromRgba(glyph.colour));
            painter.setPen(Qt::NoPen);
            painter.drawRoundedRect(QRectF(0.5, 0.5, size - 1, size - 1), size / 5.0, size / 5.0);
            QFont font = painter.font();
            font.setPixelSize(size * 11 / 16);
            font.setBold(true);
            painter.setFont(font);
            painter.setPen(Qt::white);
            painter.drawText(QRect(0, 0, size, size), Qt::AlignCenter, QString::fromUtf8(glyph.text));
            painter.end();
            icon.addPixmap(picture);
        }
        return icon;
    }
    return {};
}

}  // namespace

CMainFrame::CMainFrame(CardStore& store, Prompter& prompter, AppSettings& settings, QWidget* parent)
    : QMainWindow(parent),
      m_store(store),
      m_prompter(prompter),
      m_settings(settings),
      m_view(new CQuilletView(this)),
      m_input(store, this),
      m_dataBar(new DataBar(store, prompter, m_input, *m_view, settings)),
      m_dockingBar(
          new DynamicBar(QStringLiteral("资料收集"), *this, QSize(200, 180), true, res::kDataBarId, m_dataBar)),
      m_operations(store, *m_dataBar, prompter, m_input, m_capture),
      m_doc(m_operations),
      m_browserCommandLine(DefaultBrowserCommandLine()),
      m_savedBarSize(settings.dataBarWidth, settings.dataBarHeight) {
    setWindowTitle(QStringLiteral("青榆资料夹－录入模式"));
    setWindowIcon(QIcon(QStringLiteral(":/images/quillet.svg")));
    setCentralWidget(m_view);
    m_view->SetText(store.currentCard.content);
    m_chooseSaveFile = [this] {
        const QString storedFilter = QStringLiteral("文本文件，原格式的 GBK 编码(*.txt)");
        QFileDialog dialog(
            this, QString(), QStringLiteral("Quillet_out"),
            QStringLiteral("文本文件，UTF-8 编码(*.txt);;") + storedFilter + QStringLiteral(";;所有文件 (*.*)"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("txt"));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
            return TextFileChoice{};
        }
        return TextFileChoice{dialog.selectedFiles().first(), dialog.selectedNameFilter() == storedFilter};
    };

    BuildMenus();
    BuildToolBar();
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
    ConnectCommands();
    connect(m_dockingBar, &CSizingBar::tipOfTheDayRequested, this, &CMainFrame::tipOfTheDayRequested);
    connect(m_dataBar, &DataBar::alwaysOnTopChanged, this, [this] {
        ApplyAlwaysOnTop();
        UpdateCommands();
    });
    connect(m_dataBar, &DataBar::libraryChanged, this, &CMainFrame::UpdateCommands);
    connect(m_dataBar, &DataBar::deleteKeyPressed, this, [this] {
        m_operations.DeleteWithKey();
        UpdateCommands();
    });
    connect(m_dataBar, &DataBar::contextMenuRequested, this, [this](DataBar::Popup popup, QPoint globalPosition) {
        ShowContextMenu(static_cast<int>(popup), globalPosition);
    });
    connect(m_dataBar, &DataBar::commandRequested, this, [this](int id) {
        if (QAction* action = Command(id)) {
            action->trigger();
        }
    });
    m_dataBar->InitialLoad();
    UpdateCommands();
}

CMainFrame::~CMainFrame() = default;

void CMainFrame::RestoreDataBarSize() {
    if (m_savedBarSize.width() <= 0 || m_savedBarSize.height() <= 0 || m_dockingBar->isFloating()) {
        return;
    }
    // The settings hold the bar's own size; the docking bar around it adds its gripper and edge.
    const QSize frame = m_dockingBar->size() - m_dataBar->size();
    const Qt::DockWidgetArea area = dockWidgetArea(m_dockingBar);
    if (area == Qt::LeftDockWidgetArea || area == Qt::RightDockWidgetArea) {
        // The first time, wide enough for the four library tabs side by side.
        const int width = m_store.flags.noSavedState ? std::max(m_savedBarSize.width(), m_dataBar->PreferredWidth())
                                                     : m_savedBarSize.width();
        resizeDocks({m_dockingBar}, {width + frame.width()}, Qt::Horizontal);
    } else {
        resizeDocks({m_dockingBar}, {m_savedBarSize.height() + frame.height()}, Qt::Vertical);
    }
}

QAction* CMainFrame::CreateCommand(int id, const QString& text) {
    if (QAction* existing = Command(id)) {
        return existing;
    }
    auto* action = new QAction(text, this);
    action->setData(id);
    action->setToolTip(FromUtf8(res::ToolTipOf(id)));
    action->setStatusTip(FromUtf8(res::FlyByOf(id)));
    action->setIcon(ToolIcon(id));
    addAction(action);
    m_commands[id] = action;
    return action;
}

QAction* CMainFrame::Command(int id) const {
    const auto found = m_commands.find(id);
    return found == m_commands.end() ? nullptr : found->second;
}

void CMainFrame::BuildMenus() {
    for (const res::Menu& menu : res::MainMenu()) {
        QMenu* popup = menuBar()->addMenu(FromUtf8(menu.title));
        if (menu.title == res::kHelpMenuTitle) {
            popup->addAction(CreateCommand(res::kTipOfTheDayItem.id, FromUtf8(res::kTipOfTheDayItem.text)));
            popup->addSeparator();
        }
        for (const res::MenuItem& item : menu.items) {
            if (item.id == 0) {
                popup->addSeparator();
            } else {
                popup->addAction(CreateCommand(item.id, FromUtf8(item.text)));
            }
        }
        connect(popup, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommands);
    }
    // The framework's accelerators; menu items show theirs as text only.
    const std::pair<int, QKeySequence> accelerators[] = {
        {res::kCmdFileNew, QKeySequence(Qt::CTRL | Qt::Key_N)},
        {res::kCmdFileOpen, QKeySequence(Qt::CTRL | Qt::Key_O)},
        {res::kCmdFileSave, QKeySequence(Qt::CTRL | Qt::Key_S)},
        {res::kCmdPrint, QKeySequence(Qt::CTRL | Qt::Key_P)},
    };
    for (const auto& [id, keys] : accelerators) {
        QAction* action = CreateCommand(id, FromUtf8(res::FlyByOf(id)));
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WindowShortcut);
    }
    // Ours: stepping through the cards from wherever the focus is, and moving between the panes.
    Command(res::kCmdPreviousCard)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageUp));
    Command(res::kCmdNextCard)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageDown));
    auto* nextPane = new QShortcut(QKeySequence(Qt::Key_F6), this);
    connect(nextPane, &QShortcut::activated, this, [this] { MoveFocusBetweenPanes(+1); });
    auto* previousPane = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F6), this);
    connect(previousPane, &QShortcut::activated, this, [this] { MoveFocusBetweenPanes(-1); });
    // Ctrl+Z among the categories and cards takes back a deletion; the editor keeps its own for typing.
    auto* undoDelete = new QShortcut(QKeySequence::Undo, m_dataBar, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
    connect(undoDelete, &QShortcut::activated, this, &CMainFrame::Undo);
}

void CMainFrame::MoveFocusBetweenPanes(int direction) {
    const QList<QWidget*> panes = m_dataBar->FocusPanes() << m_view;
    QList<QWidget*> shown;
    for (QWidget* pane : panes) {
        if (pane->isVisible() && pane->isEnabled()) {
            shown << pane;
        }
    }
    if (shown.isEmpty()) {
        return;
    }
    qsizetype at = -1;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        const QWidget* focused = QApplication::focusWidget();
        if (focused && (focused == shown[i] || shown[i]->isAncestorOf(focused))) {
            at = i;
        }
    }
    const qsizetype next = at < 0 ? 0 : (at + direction + shown.size()) % shown.size();
    shown[next]->setFocus(Qt::ShortcutFocusReason);
}

void CMainFrame::BuildToolBar() {
    m_toolBar = addToolBar(QStringLiteral("Quillet"));
    m_toolBar->setObjectName(QStringLiteral("ToolBar128"));
    m_toolBar->setMovable(false);
    m_toolBar->setIconSize(QSize(16, 16));
    for (const int id : res::ToolbarCommands()) {
        if (id == 0) {
            m_toolBar->addSeparator();
        } else {
            m_toolBar->addAction(CreateCommand(id, FromUtf8(res::FlyByOf(id))));
        }
    }
}

QMenu* CMainFrame::CreatePopupMenu(const res::Menu& menu, QWidget* parent) {
    auto* popup = new QMenu(parent);
    // First the states, then each entry takes its command's.
    connect(popup, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommands);
    for (const res::MenuItem& item : menu.items) {
        if (item.id == 0) {
            popup->addSeparator();
            continue;
        }
        // The pop-up's own text, the command's action behind it.
        QAction* command = CreateCommand(item.id, FromUtf8(item.text));
        QAction* entry = popup->addAction(FromUtf8(item.text));
        entry->setData(item.id);
        entry->setEnabled(command->isEnabled());
        connect(entry, &QAction::triggered, command, &QAction::trigger);
        connect(popup, &QMenu::aboutToShow, entry, [entry, command] { entry->setEnabled(command->isEnabled()); });
    }
    return popup;
}

QMenu* CMainFrame::MenuOf(int popupIndex) {
    QMenu*& menu = m_contextMenus[popupIndex];
    if (!menu) {
        menu = CreatePopupMenu(res::ContextMenus()[static_cast<std::size_t>(popupIndex)], this);
    }
    return menu;
}

void CMainFrame::ShowContextMenu(int popupIndex, QPoint globalPosition) {
    UpdateCommands();
    MenuOf(popupIndex)->popup(globalPosition);
}

void CMainFrame::ShowForEntryMode() {
    setWindowState(windowState() & ~Qt::WindowMinimized);
    if (!m_shownOnce && m_settings.maximizeAtStart) {
        showMaximized();
    } else {
        show();
    }
    if (!m_shownOnce) {
        m_shownOnce = true;
        RestoreDataBarSize();
    }
}

void CMainFrame::ConnectCommands() {
    const std::pair<int, std::function<void()>> handlers[] = {
        {res::kCmdCreateCategory, [this] { m_operations.CreateCategory(); }},
        {res::kCmdRenameCategory, [this] { m_operations.RenameCategory(); }},
        {res::kCmdDeleteCategory, [this] { m_operations.DeleteCategory(); }},
        {res::kCmdDeleteAllCategories, [this] { m_operations.DeleteAllCategories(); }},
        {res::kCmdDeleteAllCards, [this] { m_operations.DeleteAllCards(); }},
        {res::kCmdDeleteCard, [this] { m_operations.DeleteCard(); }},
        {res::kCmdRenameCard, [this] { m_operations.RenameCard(); }},
        {res::kCmdSaveCard, [this] { m_operations.SaveCard(); }},
        {res::kCmdPreviousCard, [this] { m_operations.PreviousCard(); }},
        {res::kCmdNextCard, [this] { m_operations.NextCard(); }},
        {res::kCmdNewCard, [this] { m_operations.NewCard(); }},
        {res::kCmdFileNew, [this] { m_doc.OnFileNew(); }},
        {res::kCmdFileSave, [this] { m_doc.OnFileSave(); }},
        {res::kCmdFileOpen, [this] { m_doc.OnFileOpen(); }},
        {res::kCmdToggleDataBar, [this] { ToggleDataBar(); }},
        {res::kCmdAlwaysOnTop, [this] { ToggleAlwaysOnTop(); }},
        {res::kCmdSelectAll, [this] { m_view->selectAll(); }},
        {res::kCmdSaveCardAsText, [this] { SaveCardAsText(); }},
        {res::kCmdVisitSite, [this] { VisitSite(); }},
        {res::kCmdHomePage, [this] { OpenAddressOrSaySo(kHomePage); }},
        {res::kCmdMailAuthor, [this] { OpenAddressOrSaySo(kAuthorMail); }},
        {res::kCmdHelp, [this] { OpenHelp(); }},
        {res::kCmdPrint, [this] { Print(); }},
        {res::kCmdPrintPreview, [this] { PrintPreview(); }},
        {res::kCmdPrintSetup, [this] { PrintSetup(); }},
        {res::kCmdUndo, [this] { Undo(); }},
        {res::kCmdUndoDelete, [this] { m_operations.UndoDelete(); }},
        {res::kCmdCut, [this] { m_view->cut(); }},
        {res::kCmdCopy, [this] { m_view->copy(); }},
        {res::kCmdPaste, [this] { m_view->paste(); }},
        {res::kCmdAbout, [this] { emit aboutRequested(); }},
        {res::kCmdTipOfTheDay, [this] { emit tipOfTheDayRequested(); }},
        {res::kCmdStartOptions, [this] { emit startOptionsRequested(); }},
        {res::kCmdExit, [this] { close(); }},
    };
    for (const auto& [id, handler] : handlers) {
        connect(CreateCommand(id, FromUtf8(res::FlyByOf(id))), &QAction::triggered, this, handler);
    }
    Command(res::kCmdToggleDataBar)->setCheckable(true);
    Command(res::kCmdAlwaysOnTop)->setCheckable(true);
}

void CMainFrame::UpdateCommands() {
    const CommandContext context{m_store.flags.dataBarVisible, m_store.currentLibrary, m_provided};
    for (const auto& [id, action] : m_commands) {
        action->setEnabled(IsEnabled(id, context));
    }
    Command(res::kCmdToggleDataBar)->setChecked(!m_store.flags.dataBarVisible);
    Command(res::kCmdAlwaysOnTop)->setChecked(m_store.flags.alwaysOnTop);
    Command(res::kCmdUndoDelete)->setEnabled(m_operations.CanUndoDelete());
}

void CMainFrame::Undo() {
    // Ctrl+Z where the categories and cards are takes back a deletion; in the editor it undoes typing.
    const QWidget* focus = QApplication::focusWidget();
    if (focus && m_dataBar->isAncestorOf(focus) && m_operations.CanUndoDelete()) {
        m_operations.UndoDelete();
        UpdateCommands();
        return;
    }
    m_view->undo();
}

void CMainFrame::Provide(int id, std::function<void()> handler) {
    connect(CreateCommand(id, FromUtf8(res::FlyByOf(id))), &QAction::triggered, this, std::move(handler));
    m_provided.insert(id);
    UpdateCommands();
}

void CMainFrame::ToggleDataBar() {
    m_store.flags.dataBarVisible = !m_store.flags.dataBarVisible;
    m_dockingBar->setVisible(m_store.flags.dataBarVisible);
    UpdateCommands();
}

void CMainFrame::ToggleAlwaysOnTop() {
    m_store.flags.alwaysOnTop = !m_store.flags.alwaysOnTop;
    ApplyAlwaysOnTop();
    m_dataBar->SetAlwaysOnTopBox(m_store.flags.alwaysOnTop);
    UpdateCommands();
}

void CMainFrame::ApplyAlwaysOnTop() {
    const bool visible = isVisible();
    // Changing the flag makes a new native window; the keyboard focus is put back where it was.
    QPointer<QWidget> focused = QApplication::focusWidget();
    setWindowFlag(Qt::WindowStaysOnTopHint, m_store.flags.alwaysOnTop);
    if (visible) {
        show();
        activateWindow();
        if (focused && focused->window() == this) {
            focused->setFocus(Qt::OtherFocusReason);
        }
    }
}

void CMainFrame::SaveCardAsText() {
    const CardPane& pane = PaneInUse();
    const CardPane::TreeSelection selected = pane.SelectedItem();
    const CardPane::SelectedRecord card = pane.SelectedCard();
    const bool searchResults = m_store.currentLibrary == kSearchResultsLibrary;
    if (!card.table || !(IsLibrary(m_store.currentLibrary) || searchResults)) {
        return;
    }
    LibraryState& row = m_store.libraryStates[m_store.currentLibrary];
    const std::string name = pane.CardItemText(selected.row);
    m_store.selectedCardName = name;
    row.cardName = name;
    m_store.currentCategoryName = row.categoryName;
    const CardRecord& chosen = card.table->At(card.index);
    if (const StoreError& error = card.table->ContentError()) {
        m_prompter.Notice(error.Message());
        return;
    }
    m_store.currentCard = chosen;
    const std::string text = ExportText(m_store.currentLibrary, chosen);
    const TextFileChoice choice = m_chooseSaveFile();
    if (choice.file.isEmpty()) {
        return;
    }
    if (StoreError error = WriteFileAtomically(choice.file.toStdString(), ExportFileBytes(text, choice.storedBytes))) {
        m_prompter.Notice(error.Message());
    }
}

void CMainFrame::OpenAddressOrSaySo(const QString& address) {
    if (!IsOpenableAddress(address)) {
        m_prompter.Notice("只能打开网页或电子邮件地址，不能打开：" + address.toStdString());
        return;
    }
    if (!OpenAddress(address, m_browserCommandLine)) {
        m_prompter.Notice("无法打开网址：" + address.toStdString());
    }
}

void CMainFrame::VisitSite() { OpenAddressOrSaySo(QString::fromStdString(ToUtf8(m_store.currentCard.address))); }

void CMainFrame::OpenHelp() {
    const std::filesystem::path help = m_store.ProgramFolder() / "Quillet.html";
    if (!std::filesystem::exists(help)) {
        m_prompter.Notice("找不到帮助文件：" + help.string());
        return;
    }
    const QUrl page = QUrl::fromLocalFile(QString::fromStdString(help.string()));
    if (m_openHelpInBrowser && QDesktopServices::openUrl(page)) {
        return;
    }
    // No browser on this desktop: the page in a window of our own.
    if (!m_helpWindow) {
        m_helpWindow = new QTextBrowser(this);
        m_helpWindow->setWindowFlag(Qt::Window);
        m_helpWindow->setWindowTitle(QStringLiteral("青榆资料夹 帮助"));
        m_helpWindow->setOpenExternalLinks(true);
        m_helpWindow->resize(640, 520);
    }
    m_helpWindow->setSource(page);
    m_helpWindow->show();
    m_helpWindow->raise();
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

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (!m_doc.SaveModified()) {
        event->ignore();
        return;
    }
    event->accept();
    m_exitRequested = true;
    // Closing entry mode ends the program: the capture windows go with it (each keeps its place), and the
    // event loop ends even though they were visible, so the settings are written.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window != this && window->isVisible()) {
            window->close();
        }
    }
    QCoreApplication::quit();
}

}  // namespace quillet
