#include "reading/reading_window.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QToolBar>
#include <QTreeView>
#include <algorithm>

#include "reading/card_viewer_control.h"
#include "reading/search_dialog.h"
#include "res/dialog_template.h"
#include "res/menus.h"
#include "res/resource_ids.h"
#include "shell/main_frame.h"
#include "store/card_text.h"
#include "store/codec.h"
#include "store/search_results.h"
#include "ui/dialog_builder.h"
#include "ui/library_tabs.h"
#include "ui/own_change.h"

namespace quillet {
namespace {

const QString kTitle = QStringLiteral("青榆资料夹－阅读模式 ");
constexpr std::string_view kSearchTabName = "资料搜索";
// Pop-ups of the context menus: a card, a site, a search hit.
constexpr int kCardPopup = 2;
constexpr int kSitePopup = 3;
constexpr int kHitPopup = 4;

QString Display(std::string_view stored) { return QString::fromStdString(ToUtf8(stored)); }

QWidget& Built(QWidget& body) {
    BuildDialog(body, *res::FindDialogTemplate(res::kReadingDialog));
    return body;
}

}  // namespace

ReadingWindow::ReadingWindow(CardStore& store, Prompter& prompter, CMainFrame& frame, CardViewerControl& viewer)
    : m_store(store),
      m_prompter(prompter),
      m_frame(frame),
      m_viewer(&viewer),
      m_toolBar(new QToolBar(&Body())),
      m_tabs(Control<QTabBar>(Built(Body()), res::kReadingTabs)),
      m_tabPage(new QFrame(&Body())),
      m_categories(Control<QComboBox>(Body(), res::kReadingCategories)),
      m_searchText(Control<QLineEdit>(Body(), res::kReadingSearchText)),
      m_searchButton(Control<QPushButton>(Body(), res::kReadingSearchButton)),
      m_tree(Control<QTreeView>(Body(), res::kReadingTree)),
      m_model(new CardTreeModel(this)),
      m_navigator(store, prompter, *m_categories, *m_tree, *m_model, m_updating),
      m_frameAlive(&frame) {
    SetTitle(kTitle);
    SetPanelIcon(QIcon(QStringLiteral(":/images/quillet.svg")));

    AddLibraryTabs(*m_tabs);
    m_tabs->addTab(QString::fromUtf8(kSearchTabName.data(), static_cast<qsizetype>(kSearchTabName.size())));
    m_tabs->setDrawBase(false);
    // Five tabs side by side in a narrow window: tight ones, so that no scroll arrows hide the search tab.
    m_tabs->setStyleSheet(
        QStringLiteral("QTabBar::tab { padding: 3px 4px; border: 1px solid palette(mid); border-bottom: none;"
                       " border-top-left-radius: 3px; border-top-right-radius: 3px; background: palette(button);"
                       " margin-top: 2px; }"
                       "QTabBar::tab:selected { background: palette(base); margin-top: 0px; }"));
    m_tabPage->setFrameShape(QFrame::StyledPanel);

    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_toolBar->setIconSize(QSize(16, 16));
    for (const int id : res::ReadingToolbarCommands()) {
        if (id == 0) {
            m_toolBar->addSeparator();
        } else if (QAction* command = m_frame.Command(id)) {
            m_toolBar->addAction(command);
            // Their keys work here too, while the entry-mode window is hidden.
            addAction(command);
        }
    }

    m_searchText->hide();
    m_searchButton->hide();
    m_navigator.PrepareTree([this](const QPoint& position) { OnContextMenu(position); });
    LayOutBody();

    connect(m_tabs, &QTabBar::currentChanged, this, &ReadingWindow::OnTabChanged);
    connect(m_categories, qOverload<int>(&QComboBox::activated), this, &ReadingWindow::OnCategoryChosen);
    connect(m_searchButton, &QPushButton::clicked, this, &ReadingWindow::Search);
    connect(m_searchText, &QLineEdit::returnPressed, this, &ReadingWindow::Search);
    connect(m_tree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { OnSelectionChanged(current); });
    // A click on the item that is selected already shows it again.
    connect(m_tree, &QTreeView::clicked, this, [this](const QModelIndex& item) { OnSelectionChanged(item); });
    connect(m_tree, &QTreeView::doubleClicked, this, &ReadingWindow::OnDoubleClicked);
    connect(m_tree, &QTreeView::customContextMenuRequested, this, &ReadingWindow::OnContextMenu);

    connect(m_viewer, &CardViewerControl::openChanged, this, [this](bool open) {
        if (open) {
            PlaceViewerBeside();
        }
    });
    m_frame.UseCardPane(this);
}

ReadingWindow::~ReadingWindow() {
    SaveResults();
    // A window that was left is deleted later, when the frame may be gone already.
    if (m_frameAlive) {
        m_frame.UseCardPane(nullptr);
    }
}

void ReadingWindow::LayOutBody() {
    // The template leaves the top for the toolbar and puts the lists inside the tab control's page; the tab
    // strip takes the height its font needs and the lists follow below it.
    const QRect page = m_tabs->geometry();
    m_toolBar->setGeometry(0, 0, Body().width(), m_toolBar->sizeHint().height());
    const int top = std::max(page.top(), m_toolBar->height() + 2);
    const int strip = m_tabs->sizeHint().height();
    m_tabs->setGeometry(page.left(), top, page.width(), strip);
    m_tabPage->setGeometry(page.left(), top + strip - 1, page.width(), page.bottom() - (top + strip - 1) + 1);
    m_tabPage->lower();
    const int shift = std::max(0, top + strip + 6 - m_categories->y());
    m_categories->setGeometry(m_categories->x(), m_categories->y() + shift, m_categories->width(),
                              m_categories->sizeHint().height());
    for (QWidget* control : {static_cast<QWidget*>(m_searchText), static_cast<QWidget*>(m_searchButton)}) {
        control->setGeometry(control->x(), m_categories->y(), control->width(),
                             std::max(control->height(), m_searchText->sizeHint().height()));
    }
    const int treeTop = m_categories->geometry().bottom() + 6;
    m_tree->setGeometry(m_tree->x(), treeTop, m_tree->width(), m_tabPage->geometry().bottom() - 6 - treeTop);
}

void ReadingWindow::PlaceViewerBeside() {
    CCardViewer* viewer = m_viewer ? m_viewer->Viewer() : nullptr;
    const QRect panel = DockedGeometry();
    if (!viewer || !viewer->frameGeometry().intersects(panel)) {
        return;  // the user's own place for it
    }
    const QScreen* screen = QGuiApplication::screenAt(panel.center());
    const QRect area = screen ? screen->availableGeometry() : panel;
    QRect placed = viewer->frameGeometry();
    switch (CurrentEdge()) {
        case Edge::Left:
        case Edge::Top:
            placed.moveLeft(panel.right() + 1);
            break;
        case Edge::Right:
            placed.moveRight(panel.left() - 1);
            break;
        case Edge::Bottom:
            placed.moveLeft(panel.right() + 1);
            placed.moveBottom(std::min(placed.bottom(), area.bottom()));
            break;
    }
    placed.moveLeft(std::clamp(placed.left(), area.left(), std::max(area.left(), area.right() - placed.width() + 1)));
    viewer->move(placed.topLeft());
}

void ReadingWindow::Load() {
    // This window reads the shared open category again; entry mode's tree must follow when it comes back.
    m_store.flags.reloadOnPaint = true;
    const std::filesystem::path results = m_store.CategoryFolder() / kSearchResultsFileName;
    if (StoreError error = LoadSearchResults(results, m_lastSearchText, m_store.searchResults)) {
        m_prompter.Notice(error.Message());
    }
    if (m_store.currentLibrary == kSearchResultsLibrary) {
        {
            OwnChange updating(m_updating);
            m_tabs->setCurrentIndex(kSearchResultsLibrary);
        }
        ShowSearchTab();
        return;
    }
    if (!IsLibrary(m_store.currentLibrary)) {
        m_store.currentLibrary = 1;
    }
    {
        OwnChange updating(m_updating);
        m_tabs->setCurrentIndex(m_store.currentLibrary);
    }
    LoadLibrary(CategoryNavigator::Listing::Start);
}

namespace {

QRect ScreenArea() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

}  // namespace

void ReadingWindow::ShowDocked(Dock dock) {
    DockAt(dock.edge, dock.along, ScreenArea(), true);
    SetAutoHide(true);
    show();
}

ReadingWindow::Dock ReadingWindow::CurrentDock() const {
    const QRect area = ScreenArea();
    const QRect placed = DockedGeometry();
    return {CurrentEdge(), IsHorizontal(CurrentEdge()) ? placed.x() - area.x() : placed.y() - area.y()};
}

void ReadingWindow::LoadLibrary(CategoryNavigator::Listing listing) {
    m_searchText->hide();
    m_searchButton->hide();
    m_categories->show();
    m_tree->setRootIsDecorated(true);
    if (m_viewer) {
        m_viewer->SetMode(ViewerModeFor(m_store.currentLibrary));
    }
    const CategoryNavigator::Loaded loaded = m_navigator.LoadRemembered(listing);
    if (loaded.card) {
        m_store.currentCard = m_store.openTable.At(*loaded.card);
    }
    ShowInViewer();
}

void ReadingWindow::ShowSearchTab() {
    m_categories->hide();
    m_searchText->show();
    m_searchButton->show();
    // Results are a plain list: no room kept for branches.
    m_tree->setRootIsDecorated(false);
    if (m_viewer) {
        m_viewer->SetMode(ViewerModeFor(kSearchResultsLibrary));
    }
    {
        OwnChange updating(m_updating);
        m_model->ResetList(m_store.searchResults);
    }
    m_searchText->setText(Display(m_lastSearchText));
}

// The pane -----------------------------------------------------------------------------------------------------

CardPane::TreeSelection ReadingWindow::SelectedItem() const {
    const QModelIndex item = m_tree->currentIndex();
    if (m_model->IsRoot(item)) {
        return {TreeSelection::Kind::Category, -1};
    }
    const int row = m_model->CardRow(item);
    return row >= 0 ? TreeSelection{TreeSelection::Kind::Card, row} : TreeSelection{};
}

std::string ReadingWindow::CardItemText(int row) const { return m_model->CardName(row); }

void ReadingWindow::RefillTree() {
    if (m_store.currentLibrary == kSearchResultsLibrary) {
        return;  // the results have no order of their own to change
    }
    m_navigator.RefillTree(m_store.selectedCardName);
    TakeSelection();
}

CardPane::SelectedRecord ReadingWindow::SelectedCard() const {
    const TreeSelection selected = SelectedItem();
    const CardTable& cards =
        m_store.currentLibrary == kSearchResultsLibrary ? m_store.searchResults : m_store.openTable;
    // The rows were made from the table in its order.
    if (selected.kind != TreeSelection::Kind::Card || static_cast<std::size_t>(selected.row) >= cards.Size()) {
        return {};
    }
    return {&cards, static_cast<std::size_t>(selected.row)};
}

std::string ReadingWindow::ViewerText() const {
    const int library = m_store.currentLibrary;
    const TreeSelection selected = SelectedItem();
    if (selected.kind == TreeSelection::Kind::Card) {
        const SelectedRecord card = SelectedCard();
        if (!card.table) {
            return {};
        }
        const CardRecord& record = card.table->At(card.index);
        return library == kSearchResultsLibrary ? SearchHitText(record) : EditorText(library, record);
    }
    if (selected.kind == TreeSelection::Kind::Category && IsLibrary(library)) {
        return CategorySummary(library, m_store.libraryStates[library].categoryName,
                               static_cast<int>(m_store.openTable.Size()));
    }
    return {};
}

void ReadingWindow::ShowInViewer() {
    if (m_viewer && m_viewer->IsOpen()) {
        m_viewer->ShowText(ViewerText());
    }
}

void ReadingWindow::TakeSelection() {
    // Entry mode reloads when it comes back, and finds what was chosen here.
    m_store.flags.reloadOnPaint = true;
    const int library = m_store.currentLibrary;
    LibraryState& row = m_store.libraryStates[library];
    if (IsLibrary(library)) {
        m_store.currentCategoryName = row.categoryName;
    }
    const TreeSelection selected = SelectedItem();
    if (selected.kind == TreeSelection::Kind::Card) {
        const std::string name = CardItemText(selected.row);
        m_store.selectedCardName = name;
        row.cardName = name;
        // The current card is what the frame's commands act on, the visit-site address above all: set at
        // every selection, whether the viewer is open or not.
        if (const SelectedRecord card = SelectedCard(); card.table) {
            m_store.currentCard = card.table->At(card.index);
            if (const StoreError& error = card.table->ContentError()) {
                m_navigator.NoticeOnce(m_store.Open().file, error.Message());
            }
        }
    } else {
        m_store.selectedCardName.clear();
        row.cardName.clear();
    }
    ShowInViewer();
}

// The user's actions -------------------------------------------------------------------------------------------

void ReadingWindow::OnTabChanged(int index) {
    if (m_updating > 0) {
        return;
    }
    m_store.flags.reloadOnPaint = true;
    m_store.currentLibrary = index;
    if (index == kSearchResultsLibrary) {
        ShowSearchTab();
        ShowInViewer();
        return;
    }
    LoadLibrary(CategoryNavigator::Listing::LibrarySwitch);
}

void ReadingWindow::OnCategoryChosen(int index) {
    if (m_updating > 0 || index < 0) {
        return;
    }
    m_store.flags.reloadOnPaint = true;
    m_navigator.OpenAt(index);
    ShowInViewer();
}

void ReadingWindow::OnSelectionChanged(const QModelIndex&) {
    if (m_updating > 0) {
        return;
    }
    TakeSelection();
}

void ReadingWindow::OnDoubleClicked(const QModelIndex& item) {
    if (!item.isValid()) {
        return;
    }
    if (m_model->IsRoot(item)) {
        m_store.flags.rootOpen = !m_store.flags.rootOpen;
        return;
    }
    TakeSelection();
    if (QAction* view = m_frame.Command(res::kCmdViewCard)) {
        view->trigger();
    }
}

void ReadingWindow::OnContextMenu(const QPoint& position) {
    if (const QModelIndex hit = m_tree->indexAt(position); hit.isValid()) {
        m_tree->setCurrentIndex(hit);
    }
    if (SelectedItem().kind != TreeSelection::Kind::Card) {
        return;  // the category node has no menu here
    }
    const int popup = m_store.currentLibrary == kSearchResultsLibrary ? kHitPopup
                      : m_store.currentLibrary == kWebLibrary         ? kSitePopup
                                                                      : kCardPopup;
    m_frame.ShowContextMenu(popup, m_tree->viewport()->mapToGlobal(position));
}

void ReadingWindow::MoveSelection(int step) {
    const TreeSelection selected = SelectedItem();
    if (selected.kind != TreeSelection::Kind::Card) {
        return;
    }
    const int next = selected.row + step;
    if (next >= 0 && next < m_model->CardCount()) {
        m_tree->setCurrentIndex(m_model->CardIndex(next));
    }
}

void ReadingWindow::Search() {
    const std::string text = ToStoredText(m_searchText->text().toStdString());
    if (text.empty()) {
        m_prompter.Notice("搜索字串不能为空！");
        return;
    }
    m_lastSearchText = text;
    SearchDialog dialog(m_store.CategoryFolder(), text, m_prompter, this);
    dialog.exec();
    if (dialog.Searched()) {
        CardTable results;
        results.Reserve(dialog.Outcome().hits.size());
        for (const SearchHit& hit : dialog.Outcome().hits) {
            results.Append(hit.card);
        }
        m_store.searchResults = std::move(results);
    }
    {
        OwnChange updating(m_updating);
        m_model->ResetList(m_store.searchResults);
    }
    ShowInViewer();
}

void ReadingWindow::SaveResults() {
    if (m_resultsSaved) {
        return;
    }
    m_resultsSaved = true;
    const std::filesystem::path file = m_store.CategoryFolder() / kSearchResultsFileName;
    m_store.EnsureDataFolder();
    if (StoreError error = SaveSearchResults(file, m_lastSearchText, m_store.searchResults)) {
        m_prompter.Notice(error.Message());
    }
}

void ReadingWindow::Leave(Way way) {
    // The search results are a tab of reading mode only; leaving the program keeps it for a start in
    // reading mode.
    if (m_store.currentLibrary == kSearchResultsLibrary && way != Way::Exit) {
        m_store.currentLibrary = 0;
        m_store.flags.reloadOnPaint = true;
    }
    if (way != Way::Tray && m_viewer) {
        m_viewer->Close();
    }
    SaveResults();
    SetAutoHide(false);
    hide();
    m_frame.UseCardPane(nullptr);
    m_frameAlive = nullptr;
    emit left(way);
}

}  // namespace quillet
