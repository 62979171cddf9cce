#include "shell/data_bar.h"

#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTabBar>
#include <QTimer>
#include <QTreeView>
#include <cerrno>

#include "res/resource_ids.h"
#include "store/card_text.h"
#include "store/codec.h"
#include "ui/dialog_builder.h"
#include "ui/library_tabs.h"
#include "ui/own_change.h"

namespace quillet {
DataBar::DataBar(CardStore& store, Prompter& prompter, NameInput& input, CQuilletView& editor, AppSettings& settings,
                 QWidget* parent)
    : DynamicBarDialog(res::kDataBarDialog, parent),
      m_store(store),
      m_prompter(prompter),
      m_input(input),
      m_editor(editor),
      m_tabs(Control<QTabBar>(*this, res::kDataBarTabs)),
      m_categories(Control<QComboBox>(*this, res::kDataBarCategories)),
      m_tree(Control<QTreeView>(*this, res::kDataBarTree)),
      m_model(new CardTreeModel(this)),
      m_alwaysOnTop(Control<QCheckBox>(*this, res::kDataBarAlwaysOnTop)),
      m_navigator(store, prompter, *m_categories, *m_tree, *m_model, m_updating) {
    FindControl(*this, res::kDataBarHiddenEdit)->hide();

    Engine().AddSzControl(m_tabs, 0, 0, 100, 0, false);
    Engine().AddSzControl(m_categories, 0, 0, 100, 0, false);
    Engine().AddSzControl(m_tree, 0, 0, 100, 100, false);
    Engine().AddSzControl(m_alwaysOnTop, 0, 100, 100, 100, false);
    InitializeLayout();
    Engine().SetResizeListener([&settings](QSize size) {
        settings.dataBarWidth = size.width();
        settings.dataBarHeight = size.height();
    });

    AddLibraryTabs(*m_tabs);
    m_navigator.PrepareTree([this](const QPoint& position) { OnContextMenu(position); });
    m_tree->installEventFilter(this);
    m_tree->viewport()->installEventFilter(this);

    connect(m_tabs, &QTabBar::currentChanged, this, &DataBar::OnTabChanged);
    connect(m_categories, qOverload<int>(&QComboBox::activated), this, &DataBar::OnCategoryChosen);
    connect(m_tree->selectionModel(), &QItemSelectionModel::currentChanged, this, &DataBar::OnSelectionChanged);
    connect(m_tree, &QTreeView::doubleClicked, this, &DataBar::OnDoubleClicked);
    connect(m_tree, &QTreeView::customContextMenuRequested, this, &DataBar::OnContextMenu);
    connect(m_alwaysOnTop, &QCheckBox::clicked, this, [this](bool checked) {
        m_store.flags.alwaysOnTop = checked;
        emit alwaysOnTopChanged(checked);
    });
}

void DataBar::InitialLoad() {
    {
        OwnChange updating(m_updating);
        m_tabs->setCurrentIndex(IsLibrary(m_store.currentLibrary) ? m_store.currentLibrary : 1);
        m_alwaysOnTop->setChecked(m_store.flags.alwaysOnTop);
    }
    Load(Listing::Start);
}

int DataBar::PreferredWidth() const {
    int tabs = 0;
    for (int i = 0; i < m_tabs->count(); ++i) {
        tabs += m_tabs->tabRect(i).width();
    }
    // The tabs' left edge as the layout placed them, and as much again on the right.
    return tabs + 2 * std::max(m_tabs->x(), 4) + 2;
}

QList<QWidget*> DataBar::FocusPanes() const { return {m_tabs, m_categories, m_tree}; }

void DataBar::SetAlwaysOnTopBox(bool onTop) {
    OwnChange updating(m_updating);
    m_alwaysOnTop->setChecked(onTop);
}

// The category list --------------------------------------------------------------------------------------------

int DataBar::CategoryCount() const { return m_navigator.Count(); }

std::string DataBar::CategoryAt(int index) const { return m_navigator.NameAt(index); }

std::optional<int> DataBar::SelectedCategory() const {
    const int index = m_categories->currentIndex();
    return index >= 0 ? std::optional<int>(index) : std::nullopt;
}

void DataBar::InsertCategory(int index, const std::string& name, const std::filesystem::path& file) {
    m_navigator.Insert(index, name, file);
}

void DataBar::RemoveCategory(int index) {
    OwnChange updating(m_updating);
    m_categories->removeItem(index);
    m_categories->setCurrentIndex(-1);
}

void DataBar::SelectCategory(int index) {
    OwnChange updating(m_updating);
    m_categories->setCurrentIndex(index);
}

void DataBar::ClearCategories() {
    OwnChange updating(m_updating);
    m_categories->clear();
}

// The tree -----------------------------------------------------------------------------------------------------

QModelIndex DataBar::Root() const { return m_model->RootIndex(); }

QModelIndex DataBar::CardItem(int row) const { return m_model->CardIndex(row); }

EntryPane::TreeSelection DataBar::SelectedItem() const {
    const QModelIndex item = m_tree->currentIndex();
    if (m_model->IsRoot(item)) {
        return {TreeSelection::Kind::Category, -1};
    }
    const int row = m_model->CardRow(item);
    return row >= 0 ? TreeSelection{TreeSelection::Kind::Card, row} : TreeSelection{};
}

void DataBar::RefillTree() {
    if (const std::optional<std::size_t> card = m_navigator.RefillTree(m_store.selectedCardName)) {
        ShowCard(*card);
    } else {
        m_store.selectedCardName.clear();
        m_store.libraryStates[m_store.currentLibrary].cardName.clear();
        ShowSummary();
    }
    UpdateEditorMode();
}

CardPane::SelectedRecord DataBar::SelectedCard() const {
    const TreeSelection selected = SelectedItem();
    if (selected.kind != TreeSelection::Kind::Card) {
        return {};
    }
    // The card of that name the export has always taken: the last one.
    const std::size_t index = m_store.openTable.FindLast(CardItemText(selected.row));
    return index < m_store.openTable.Size() ? SelectedRecord{&m_store.openTable, index} : SelectedRecord{};
}

std::string DataBar::ViewerText() const {
    if (!IsLibrary(m_store.currentLibrary)) {
        return {};
    }
    switch (SelectedItem().kind) {
        case TreeSelection::Kind::Card:
            return quillet::EditorText(m_store.currentLibrary, m_store.currentCard);
        case TreeSelection::Kind::Category:
            return CategorySummary(m_store.currentLibrary, m_store.libraryStates[m_store.currentLibrary].categoryName,
                                   static_cast<int>(m_store.openTable.Size()));
        case TreeSelection::Kind::None:
            break;
    }
    return {};
}

int DataBar::CardItemCount() const { return m_model->CardCount(); }

std::string DataBar::CardItemText(int row) const { return m_model->CardName(row); }

void DataBar::ResetTree(const std::string& categoryName) {
    OwnChange updating(m_updating);
    m_model->Reset(categoryName);
    m_model->SetRootImage(CardTreeModel::Image::Category);
    m_tree->expand(Root());
    m_tree->setCurrentIndex(Root());
}

void DataBar::ClearTree() {
    OwnChange updating(m_updating);
    m_model->Clear();
}

void DataBar::RenameCategoryNode(const std::string& name) { m_model->RenameCategory(name); }

void DataBar::RenameCardItem(int row, const std::string& name) { m_model->RenameCard(row, name); }

void DataBar::RemoveCardItem(int row) {
    OwnChange updating(m_updating);
    m_model->RemoveCard(row);
    m_navigator.UpdateRootImage();
}

void DataBar::SelectCategoryNode() { m_tree->setCurrentIndex(Root()); }

void DataBar::SelectCardItem(int row) {
    if (const QModelIndex item = CardItem(row); item.isValid()) {
        m_tree->setCurrentIndex(item);
    }
}

// Loading ------------------------------------------------------------------------------------------------------

void DataBar::ShowSummary() {
    const std::string& name = m_store.libraryStates[m_store.currentLibrary].categoryName;
    m_editor.SetText(CategorySummary(m_store.currentLibrary, name, static_cast<int>(m_store.openTable.Size())));
    m_store.flags.cardModified = false;
}

void DataBar::ShowCard(std::size_t index) {
    const CardRecord& card = m_store.openTable.At(index);
    if (const StoreError& error = m_store.openTable.ContentError()) {
        // Shown empty; the table refuses every write from now on, so the empty text never replaces the card.
        m_navigator.NoticeOnce(m_store.Open().file, error.Message());
    }
    m_store.currentCard = card;
    m_editor.SetText(quillet::EditorText(m_store.currentLibrary, card));
    m_store.flags.cardModified = false;
}

void DataBar::Load(Listing listing) {
    if (!IsLibrary(m_store.currentLibrary)) {
        return;
    }
    const CategoryNavigator::Loaded loaded = m_navigator.LoadRemembered(listing);
    if (loaded.card) {
        ShowCard(*loaded.card);
    } else if (loaded.categoryOpen) {
        ShowSummary();
    } else if (loaded.categoryChosen) {
        ShowEmptySummary();  // the remembered category could not be read
    } else {
        m_editor.SetText({});
    }
    UpdateEditorMode();
    emit categoryOpened();
}

void DataBar::ReloadLibrary() { Load(Listing::LibrarySwitch); }

void DataBar::reject() {
    // Escape belongs to the window the bar sits in; the bar itself never closes.
}

void DataBar::paintEvent(QPaintEvent* event) {
    if (m_store.flags.reloadOnPaint) {
        ReloadFromDisk();
    }
    DynamicBarDialog::paintEvent(event);
}

void DataBar::ReloadFromDisk() {
    m_store.flags.reloadOnPaint = false;
    {
        OwnChange updating(m_updating);
        m_tabs->setCurrentIndex(m_store.currentLibrary);
        m_alwaysOnTop->setChecked(m_store.flags.alwaysOnTop);
    }
    Load(Listing::Reload);
}

// The user's actions -------------------------------------------------------------------------------------------

bool DataBar::CommitCards(const CardTable& cards) {
    if (StoreError error = m_store.WriteOpenCategory(m_store.Open().storedName, cards)) {
        m_prompter.Notice(error.Message());
        return false;
    }
    return true;
}

bool DataBar::SaveBeforeLeaving(const QModelIndex& leaving) {
    // With no category open, or on a site or a summary, the editor is read-only: there is nothing to save.
    const int row = m_model->CardRow(leaving);
    if (!m_editor.Modified() || m_store.currentLibrary == kWebLibrary || !m_store.Open().IsOpen() || row < 0) {
        return true;
    }
    const std::string name = m_model->CardName(row);
    m_store.selectedCardName = name;
    m_store.flags.cardModified = true;
    if (m_prompter.AskSave(kSaveQuestion, false) != SaveAnswer::Yes) {
        // Answered No: the edit is given up, and the next move asks nothing.
        m_editor.SetModified(false);
        return true;
    }
    if (StoreError error = m_store.WriteCardText(name, m_editor.Text())) {
        m_prompter.Notice(error.Message());
        // The text stays where it is: the user stays on the card and can try again or copy it away.
        return false;
    }
    m_store.flags.cardModified = false;
    m_editor.SetModified(false);
    return true;
}

QModelIndex DataBar::CurrentCardItem() const {
    const QModelIndex item = m_tree->currentIndex();
    return m_model->CardRow(item) >= 0 ? item : QModelIndex();
}

void DataBar::OnTabChanged(int index) {
    if (m_updating > 0) {
        return;
    }
    if (!SaveBeforeLeaving(CurrentCardItem())) {
        OwnChange updating(m_updating);
        m_tabs->setCurrentIndex(m_store.currentLibrary);
        return;
    }
    m_store.currentLibrary = index;
    FindControl(*this, res::kDataBarHiddenEdit)->hide();
    Load(Listing::LibrarySwitch);
    emit libraryChanged();
}

void DataBar::AddCardItemAndSelect(const std::string& name) {
    OwnChange updating(m_updating);
    if (!m_model->HasRoot()) {
        return;
    }
    if (m_store.flags.rootOpen) {
        m_store.flags.rootOpen = false;
        RenameCategoryNode(m_store.libraryStates[m_store.currentLibrary].categoryName);
    }
    m_model->AppendCard(name);
    m_navigator.UpdateRootImage();
    m_tree->expand(Root());
    m_tree->setCurrentIndex(CardItem(m_model->CardCount() - 1));
}

void DataBar::OnCategoryChosen(int index) {
    if (m_updating > 0 || index < 0) {
        return;
    }
    if (!SaveBeforeLeaving(CurrentCardItem())) {
        OwnChange updating(m_updating);
        m_categories->setCurrentIndex(m_navigator.OpenIndex());
        return;
    }
    OpenCategoryAt(index);
}

void DataBar::OpenCategoryAt(int index) {
    if (index < 0 || index >= CategoryCount()) {
        return;
    }
    if (m_navigator.OpenAt(index)) {
        ShowSummary();
    } else {
        // Nothing is open now, so nothing can be filed into the category that was open before.
        ShowEmptySummary();
    }
    UpdateEditorMode();
    emit categoryOpened();
}

void DataBar::OnSelectionChanged(const QModelIndex& current, const QModelIndex& previous) {
    if (m_updating > 0) {
        return;
    }
    // Every move, by mouse or by keyboard, asks about the card it leaves; a failed save keeps the user there.
    if (!SaveBeforeLeaving(previous)) {
        const QPersistentModelIndex stay(previous);
        {
            OwnChange updating(m_updating);
            m_tree->setCurrentIndex(stay);
        }
        // A mouse press selects its item after this signal; put the selection back once it is done.
        QTimer::singleShot(0, this, [this, stay] {
            // Only if the row is still in the tree: a reload in between resets it.
            if (stay.isValid()) {
                OwnChange later(m_updating);
                m_tree->setCurrentIndex(stay);
            }
        });
        return;
    }
    LibraryState& row = m_store.libraryStates[m_store.currentLibrary];
    const TreeSelection selected = SelectedItem();
    if (!current.isValid() || selected.kind != TreeSelection::Kind::Card) {
        row.cardName.clear();
        m_store.selectedCardName.clear();
        if (m_store.Open().IsOpen()) {
            ShowSummary();
        }
        UpdateEditorMode();
        return;
    }
    const std::string name = CardItemText(selected.row);
    m_store.selectedCardName = name;
    row.cardName = name;
    const std::size_t index = m_store.openTable.FindFirst(name);
    if (index < m_store.openTable.Size()) {
        // After a No to the save question the flag stays set: the answer discarded an edit.
        const bool declined = m_store.flags.cardModified;
        ShowCard(index);
        m_store.flags.cardModified = declined;
    }
    UpdateEditorMode();
}

void DataBar::OnDoubleClicked(const QModelIndex& item) {
    if (!item.isValid()) {
        return;
    }
    if (m_model->IsRoot(item)) {
        m_store.flags.rootOpen = !m_store.flags.rootOpen;
        return;
    }
    // The menu's rename, on the card that was double-clicked: the same name check, by its place in the tree.
    emit commandRequested(res::kCmdRenameCard);
}

void DataBar::UpdateEditorMode() {
    // Text can be typed only where it can be saved: into a card of a text library that was read whole.
    const bool editable =
        m_store.Open().IsOpen() && m_store.currentLibrary != kWebLibrary && CurrentCardItem().isValid();
    m_editor.setReadOnly(!editable);
    m_editor.setToolTip(editable ? QString()
                        : m_store.currentLibrary == kWebLibrary
                            ? QStringLiteral("站点只能在这里阅读；要修改站点，请双击它或者使用“修改卡片”命令")
                            : QStringLiteral("只有选中一张卡片时才能编辑内容"));
    QPalette palette = m_editor.palette();
    palette.setColor(QPalette::Base, editable ? QApplication::palette().color(QPalette::Base)
                                              : QApplication::palette().color(QPalette::Window));
    m_editor.setPalette(palette);
}

void DataBar::ShowEmptySummary() {
    m_editor.SetText(CategorySummary(m_store.currentLibrary, {}, 0));
    m_store.flags.cardModified = false;
}

void DataBar::OnContextMenu(const QPoint& position) {
    if (const QModelIndex hit = m_tree->indexAt(position); hit.isValid()) {
        m_tree->setCurrentIndex(hit);
    }
    const TreeSelection selected = SelectedItem();
    const Popup popup = selected.kind == TreeSelection::Kind::Category ? Popup::Category
                        : m_store.currentLibrary == kWebLibrary        ? Popup::Site
                                                                       : Popup::Card;
    emit contextMenuRequested(popup, m_tree->viewport()->mapToGlobal(position));
}

bool DataBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_tree && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete && m_tree->currentIndex().isValid()) {
        emit deleteKeyPressed();
        return true;
    }
    return DynamicBarDialog::eventFilter(watched, event);
}

}  // namespace quillet
