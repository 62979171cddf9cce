#include "shell/data_bar.h"

#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QShortcut>
#include <QTabBar>
#include <QTimer>
#include <QTreeWidget>
#include <cerrno>

#include "res/resource_ids.h"
#include "store/card_text.h"
#include "store/codec.h"
#include "ui/dialog_builder.h"

namespace quillet {
namespace {

constexpr int kNameRole = Qt::UserRole;
constexpr int kFileRole = Qt::UserRole + 1;
constexpr int kEmptyCategoryImage = 0;
constexpr int kCategoryImage = 1;
constexpr int kCardImage = 2;

QString Display(const std::string& stored) { return QString::fromStdString(ToUtf8(stored)); }
std::string StoredName(const QTreeWidgetItem* item) { return item->data(0, kNameRole).toByteArray().toStdString(); }

// Marks a change that the pane makes itself.
class Updating final {
public:
    explicit Updating(int& counter) : m_counter(counter) { ++m_counter; }
    ~Updating() { --m_counter; }
    Updating(const Updating&) = delete;
    Updating& operator=(const Updating&) = delete;

private:
    int& m_counter;
};

}  // namespace

DataBar::DataBar(CardStore& store, Prompter& prompter, NameInput& input, CQuilletView& editor, AppSettings& settings,
                 QWidget* parent)
    : DynamicBarDialog(res::kDataBarDialog, parent),
      m_store(store),
      m_prompter(prompter),
      m_input(input),
      m_editor(editor),
      m_tabs(Control<QTabBar>(*this, res::kDataBarTabs)),
      m_categories(Control<QComboBox>(*this, res::kDataBarCategories)),
      m_tree(Control<QTreeWidget>(*this, res::kDataBarTree)),
      m_alwaysOnTop(Control<QCheckBox>(*this, res::kDataBarAlwaysOnTop)) {
    m_images[kEmptyCategoryImage] = QIcon(QStringLiteral(":/images/category_empty.svg"));
    m_images[kCategoryImage] = QIcon(QStringLiteral(":/images/category.svg"));
    m_images[kCardImage] = QIcon(QStringLiteral(":/images/card.svg"));
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

    for (const LibraryInfo& library : kLibraries) {
        m_tabs->addTab(QString::fromUtf8(library.name.data(), static_cast<qsizetype>(library.name.size())));
    }
    m_tabs->setExpanding(false);
    m_tabs->setElideMode(Qt::ElideNone);
    m_tabs->setUsesScrollButtons(true);
    // Four library names side by side in a narrow bar: compact tabs.
    QFont tabFont = m_tabs->font();
    tabFont.setPixelSize(11);
    m_tabs->setFont(tabFont);
    m_tree->setContextMenuPolicy(Qt::CustomContextMenu);
    // One row height for all: a long category is laid out without measuring every card.
    m_tree->setUniformRowHeights(true);
    // Shift+F10 opens the menu of the current item, as the menu key does.
    auto* menuKey = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), m_tree, nullptr, nullptr, Qt::WidgetShortcut);
    connect(menuKey, &QShortcut::activated, this, [this] {
        QTreeWidgetItem* item = m_tree->currentItem();
        OnContextMenu(item ? m_tree->visualItemRect(item).center() : QPoint(4, 4));
    });
    m_tree->setExpandsOnDoubleClick(true);
    m_tree->installEventFilter(this);
    m_tree->viewport()->installEventFilter(this);

    connect(m_tabs, &QTabBar::currentChanged, this, &DataBar::OnTabChanged);
    connect(m_categories, qOverload<int>(&QComboBox::activated), this, &DataBar::OnCategoryChosen);
    connect(m_tree, &QTreeWidget::currentItemChanged, this, &DataBar::OnSelectionChanged);
    connect(m_tree, &QTreeWidget::itemDoubleClicked, this, &DataBar::OnDoubleClicked);
    connect(m_tree, &QTreeWidget::customContextMenuRequested, this, &DataBar::OnContextMenu);
    connect(m_alwaysOnTop, &QCheckBox::clicked, this, [this](bool checked) {
        m_store.flags.alwaysOnTop = checked;
        emit alwaysOnTopChanged(checked);
    });
}

void DataBar::InitialLoad() {
    {
        Updating updating(m_updating);
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
    Updating updating(m_updating);
    m_alwaysOnTop->setChecked(onTop);
}

// The category list --------------------------------------------------------------------------------------------

int DataBar::CategoryCount() const { return m_categories->count(); }

std::string DataBar::CategoryAt(int index) const {
    return m_categories->itemData(index, kNameRole).toByteArray().toStdString();
}

std::optional<int> DataBar::SelectedCategory() const {
    const int index = m_categories->currentIndex();
    return index >= 0 ? std::optional<int>(index) : std::nullopt;
}

void DataBar::InsertCategory(int index, const std::string& name, const std::filesystem::path& file) {
    Updating updating(m_updating);
    m_categories->insertItem(index, Display(name), QByteArray::fromStdString(name));
    m_categories->setItemData(index, QString::fromStdString(file.string()), kFileRole);
}

void DataBar::RemoveCategory(int index) {
    Updating updating(m_updating);
    m_categories->removeItem(index);
    m_categories->setCurrentIndex(-1);
}

void DataBar::SelectCategory(int index) {
    Updating updating(m_updating);
    m_categories->setCurrentIndex(index);
}

void DataBar::ClearCategories() {
    Updating updating(m_updating);
    m_categories->clear();
}

void DataBar::ListCategories(Listing listing) {
    Updating updating(m_updating);
    m_categories->clear();
    const LibraryState& row = m_store.libraryStates[m_store.currentLibrary];
    int chosen = -1;
    for (const CategoryInfo& info : m_store.ListCategories(m_store.currentLibrary, HeaderCheck::Check)) {
        if (info.error.kind == StoreErrorKind::CannotOpen) {
            break;
        }
        if (info.error) {
            NoticeOnce(info.file,
                       info.error.kind == StoreErrorKind::BadHeader ? "文件格式非法！不能读出" : info.error.Message());
            continue;
        }
        m_categories->addItem(Display(info.name), QByteArray::fromStdString(info.name));
        m_categories->setItemData(m_categories->count() - 1, QString::fromStdString(info.file.string()), kFileRole);
        if (chosen < 0 &&
            ((listing == Listing::Start && m_store.flags.noSavedState) || info.name == row.categoryName)) {
            chosen = m_categories->count() - 1;
            m_chosenFile = info.file;
        }
    }
    // Adding entries selects the first one by itself; only the remembered category may be selected.
    m_categories->setCurrentIndex(chosen);
}

// The tree -----------------------------------------------------------------------------------------------------

QTreeWidgetItem* DataBar::Root() const { return m_tree->topLevelItemCount() > 0 ? m_tree->topLevelItem(0) : nullptr; }

QTreeWidgetItem* DataBar::CardItem(int row) const {
    QTreeWidgetItem* root = Root();
    return root && row >= 0 && row < root->childCount() ? root->child(row) : nullptr;
}

EntryPane::TreeSelection DataBar::SelectedItem() const {
    QTreeWidgetItem* item = m_tree->currentItem();
    if (!item) {
        return {};
    }
    if (item == Root()) {
        return {TreeSelection::Kind::Category, -1};
    }
    return {TreeSelection::Kind::Card, Root()->indexOfChild(item)};
}

int DataBar::CardItemCount() const { return Root() ? Root()->childCount() : 0; }

std::string DataBar::CardItemText(int row) const {
    const QTreeWidgetItem* item = CardItem(row);
    return item ? StoredName(item) : std::string();
}

QTreeWidgetItem* DataBar::AddCardItem(const std::string& name) {
    auto* item = new QTreeWidgetItem(Root(), {Display(name)});
    item->setData(0, kNameRole, QByteArray::fromStdString(name));
    item->setIcon(0, m_images[kCardImage]);
    return item;
}

void DataBar::UpdateRootImage() {
    if (QTreeWidgetItem* root = Root()) {
        root->setIcon(0, m_images[m_store.openTable.Empty() ? kEmptyCategoryImage : kCategoryImage]);
    }
}

void DataBar::FillTree(const std::string& categoryName) {
    Updating updating(m_updating);
    m_tree->clear();
    auto* root = new QTreeWidgetItem(m_tree, {Display(categoryName)});
    root->setData(0, kNameRole, QByteArray::fromStdString(categoryName));
    // Made apart and handed over at once: the view takes them in one insertion, not one per card.
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(m_store.openTable.Size()));
    std::string utf8;
    for (const CardRecord& card : m_store.openTable) {
        utf8.clear();
        AppendAsUtf8(card.name, utf8);
        auto* item =
            new QTreeWidgetItem(QStringList{QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()))});
        item->setData(0, kNameRole, QByteArray::fromStdString(card.name));
        item->setIcon(0, m_images[kCardImage]);
        items.append(item);
    }
    root->addChildren(items);
    UpdateRootImage();
    if (!m_store.openTable.Empty()) {
        root->setExpanded(true);
        m_store.flags.rootOpen = true;
    }
}

void DataBar::ResetTree(const std::string& categoryName) {
    Updating updating(m_updating);
    m_tree->clear();
    auto* root = new QTreeWidgetItem(m_tree, {Display(categoryName)});
    root->setData(0, kNameRole, QByteArray::fromStdString(categoryName));
    root->setIcon(0, m_images[kCategoryImage]);
    root->setExpanded(true);
    m_tree->setCurrentItem(root);
}

void DataBar::ClearTree() {
    Updating updating(m_updating);
    m_tree->clear();
}

void DataBar::RenameCategoryNode(const std::string& name) {
    if (QTreeWidgetItem* root = Root()) {
        root->setText(0, Display(name));
        root->setData(0, kNameRole, QByteArray::fromStdString(name));
    }
}

void DataBar::RenameCardItem(int row, const std::string& name) {
    if (QTreeWidgetItem* item = CardItem(row)) {
        item->setText(0, Display(name));
        item->setData(0, kNameRole, QByteArray::fromStdString(name));
    }
}

void DataBar::RemoveCardItem(int row) {
    Updating updating(m_updating);
    delete CardItem(row);
    UpdateRootImage();
}

void DataBar::SelectCategoryNode() { m_tree->setCurrentItem(Root()); }

void DataBar::SelectCardItem(int row) {
    if (QTreeWidgetItem* item = CardItem(row)) {
        m_tree->setCurrentItem(item);
    }
}

// Loading ------------------------------------------------------------------------------------------------------

void DataBar::ShowSummary() {
    const std::string& name = m_store.libraryStates[m_store.currentLibrary].categoryName;
    m_editor.SetText(CategorySummary(m_store.currentLibrary, name, static_cast<int>(m_store.openTable.Size())));
    m_store.flags.cardModified = false;
}

void DataBar::ShowCard(const CardRecord& card) {
    m_store.currentCard = card;
    m_editor.SetText(quillet::EditorText(m_store.currentLibrary, card));
    m_store.flags.cardModified = false;
}

void DataBar::Load(Listing listing) {
    if (!IsLibrary(m_store.currentLibrary)) {
        return;
    }
    // The remembered row names the category to reopen; only a file the list confirms is opened, never the
    // remembered path itself.
    const LibraryState remembered = m_store.libraryStates[m_store.currentLibrary];
    m_chosenFile.clear();
    ListCategories(listing);
    ClearTree();
    m_store.CloseCategory();
    m_store.libraryStates[m_store.currentLibrary].categoryName = remembered.categoryName;
    LibraryState& row = m_store.libraryStates[m_store.currentLibrary];

    bool loaded = false;
    if (!m_chosenFile.empty()) {
        const StoreError error = m_store.OpenCategoryFile(m_chosenFile, HeaderCheck::Check);
        if (error) {
            // Nothing is open now: what could be read is never written back over the rest.
            NoticeOnce(m_chosenFile, error.Message());
        }
        loaded = !error;
    }
    m_store.selectedCardName = remembered.cardName;
    bool cardShown = false;
    if (loaded) {
        FillTree(m_store.currentCategoryName);
        const std::size_t index = m_store.openTable.FindFirst(m_store.selectedCardName);
        if (!m_store.selectedCardName.empty() && index < m_store.openTable.Size()) {
            Updating updating(m_updating);
            m_tree->setCurrentItem(CardItem(static_cast<int>(index)));
            ShowCard(m_store.openTable.At(index));
            row.cardName = m_store.selectedCardName;
            cardShown = true;
        } else {
            Updating updating(m_updating);
            m_tree->setCurrentItem(Root());
        }
    }
    if (!cardShown) {
        row.cardName.clear();
        m_store.selectedCardName.clear();
        if (loaded) {
            ShowSummary();
        } else if (!m_chosenFile.empty()) {
            ShowEmptySummary();  // the remembered category could not be read
        } else {
            m_editor.SetText({});
        }
    }
    m_store.cardCount = static_cast<std::int32_t>(m_store.openTable.Size());
    UpdateEditorMode();
    emit categoryOpened();
}

void DataBar::ReloadLibrary() { Load(Listing::LibrarySwitch); }

void DataBar::reject() {
    // Escape belongs to the window the bar sits in; the bar itself never closes.
}

void DataBar::paintEvent(QPaintEvent* event) {
    if (m_store.flags.reloadOnPaint) {
        m_store.flags.reloadOnPaint = false;
        {
            Updating updating(m_updating);
            m_tabs->setCurrentIndex(m_store.currentLibrary);
            m_alwaysOnTop->setChecked(m_store.flags.alwaysOnTop);
        }
        Load(Listing::Reload);
    }
    DynamicBarDialog::paintEvent(event);
}

// The user's actions -------------------------------------------------------------------------------------------

bool DataBar::CommitCards(const CardTable& cards) {
    if (StoreError error = m_store.WriteOpenCategory(m_store.Open().storedName, cards)) {
        m_prompter.Notice(error.Message());
        return false;
    }
    return true;
}

bool DataBar::SaveBeforeLeaving(QTreeWidgetItem* leaving) {
    // With no category open, or on a site or a summary, the editor is read-only: there is nothing to save.
    if (!m_editor.Modified() || m_store.currentLibrary == kWebLibrary || !m_store.Open().IsOpen() || !leaving ||
        leaving == Root()) {
        return true;
    }
    const std::string name = StoredName(leaving);
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

QTreeWidgetItem* DataBar::CurrentCardItem() const {
    QTreeWidgetItem* item = m_tree->currentItem();
    return item && item != Root() ? item : nullptr;
}

void DataBar::OnTabChanged(int index) {
    if (m_updating > 0) {
        return;
    }
    if (!SaveBeforeLeaving(CurrentCardItem())) {
        Updating updating(m_updating);
        m_tabs->setCurrentIndex(m_store.currentLibrary);
        return;
    }
    m_store.currentLibrary = index;
    FindControl(*this, res::kDataBarHiddenEdit)->hide();
    Load(Listing::LibrarySwitch);
    emit libraryChanged();
}

void DataBar::AddCardItemAndSelect(const std::string& name) {
    Updating updating(m_updating);
    if (!Root()) {
        return;
    }
    if (m_store.flags.rootOpen) {
        m_store.flags.rootOpen = false;
        RenameCategoryNode(m_store.libraryStates[m_store.currentLibrary].categoryName);
    }
    QTreeWidgetItem* item = AddCardItem(name);
    UpdateRootImage();
    Root()->setExpanded(true);
    m_tree->setCurrentItem(item);
}

void DataBar::OnCategoryChosen(int index) {
    if (m_updating > 0 || index < 0) {
        return;
    }
    if (!SaveBeforeLeaving(CurrentCardItem())) {
        Updating updating(m_updating);
        m_categories->setCurrentIndex(OpenCategoryIndex());
        return;
    }
    OpenCategoryAt(index);
}

void DataBar::OpenCategoryAt(int index) {
    if (index < 0 || index >= CategoryCount()) {
        return;
    }
    SelectCategory(index);
    const std::filesystem::path file = m_categories->itemData(index, kFileRole).toString().toStdString();
    if (StoreError error = m_store.OpenCategoryFile(file, HeaderCheck::Check)) {
        // Nothing is open now, so nothing can be filed into the category that was open before. The name stays
        // remembered (with no path), so the list keeps showing what the user chose.
        NoticeOnce(file, error.Message());
        m_store.libraryStates[m_store.currentLibrary].categoryName = CategoryAt(index);
        ClearTree();
        ShowEmptySummary();
        UpdateEditorMode();
        emit categoryOpened();
        return;
    }
    LibraryState& row = m_store.libraryStates[m_store.currentLibrary];
    FillTree(m_store.currentCategoryName);
    {
        Updating updating(m_updating);
        m_tree->setCurrentItem(Root());
    }
    ShowSummary();
    row.cardName.clear();
    m_store.selectedCardName.clear();
    UpdateEditorMode();
    emit categoryOpened();
}

void DataBar::OnSelectionChanged(QTreeWidgetItem* current, QTreeWidgetItem* previous) {
    if (m_updating > 0) {
        return;
    }
    // Every move, by mouse or by keyboard, asks about the card it leaves; a failed save keeps the user there.
    if (!SaveBeforeLeaving(previous)) {
        Updating updating(m_updating);
        m_tree->setCurrentItem(previous);
        // A mouse press selects its item after this signal; put the selection back once it is done.
        QTimer::singleShot(0, this, [this, previous] {
            // Only if the item is still in the tree: a reload in between may have replaced it.
            if (previous && Root() && (previous == Root() || Root()->indexOfChild(previous) >= 0)) {
                Updating later(m_updating);
                m_tree->setCurrentItem(previous);
            }
        });
        return;
    }
    LibraryState& row = m_store.libraryStates[m_store.currentLibrary];
    const TreeSelection selected = SelectedItem();
    if (current == nullptr || selected.kind != TreeSelection::Kind::Card) {
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
        ShowCard(m_store.openTable.At(index));
        m_store.flags.cardModified = declined;
    }
    UpdateEditorMode();
}

void DataBar::OnDoubleClicked(QTreeWidgetItem* item) {
    if (!item) {
        return;
    }
    if (item == Root()) {
        m_store.flags.rootOpen = !m_store.flags.rootOpen;
        return;
    }
    // The menu's rename, on the card that was double-clicked: the same name check, by its place in the tree.
    emit commandRequested(res::kCmdRenameCard);
}

void DataBar::UpdateEditorMode() {
    // Text can be typed only where it can be saved: into a card of a text library that was read whole.
    const bool editable = m_store.Open().IsOpen() && m_store.currentLibrary != kWebLibrary && CurrentCardItem();
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

void DataBar::NoticeOnce(const std::filesystem::path& file, const std::string& message) {
    if (m_reportedFiles.insert(file.string()).second) {
        m_prompter.Notice(message);
    }
}

void DataBar::ShowEmptySummary() {
    m_editor.SetText(CategorySummary(m_store.currentLibrary, {}, 0));
    m_store.flags.cardModified = false;
}

int DataBar::OpenCategoryIndex() const {
    for (int i = 0; i < m_categories->count(); ++i) {
        if (m_categories->itemData(i, kFileRole).toString().toStdString() == m_store.Open().file.string()) {
            return i;
        }
    }
    return -1;
}

void DataBar::OnContextMenu(const QPoint& position) {
    if (QTreeWidgetItem* hit = m_tree->itemAt(position)) {
        m_tree->setCurrentItem(hit);
    }
    const TreeSelection selected = SelectedItem();
    const Popup popup = selected.kind == TreeSelection::Kind::Category ? Popup::Category
                        : m_store.currentLibrary == kWebLibrary        ? Popup::Site
                                                                       : Popup::Card;
    emit contextMenuRequested(popup, m_tree->viewport()->mapToGlobal(position));
}

void DataBar::OnDeleteKey() {
    const TreeSelection selected = SelectedItem();
    LibraryState& row = m_store.libraryStates[m_store.currentLibrary];
    if (selected.kind == TreeSelection::Kind::Card) {
        if (!m_prompter.Confirm("即将删除本卡片资料，继续吗？")) {
            return;
        }
        CardTable cards = m_store.openTable;
        const std::size_t index = cards.FindFirst(CardItemText(selected.row));
        if (index < cards.Size()) {
            cards.RemoveAt(index);
        }
        if (!CommitCards(cards)) {
            return;
        }
        if (selected.row > 0) {
            SelectCardItem(selected.row - 1);
        } else {
            SelectCategoryNode();
        }
        RemoveCardItem(selected.row);
        return;
    }
    // The category goes with its cards, and the question says so.
    if (selected.kind != TreeSelection::Kind::Category ||
        !m_prompter.Confirm("即将删除本类型和其中的所有卡片资料，继续吗？")) {
        return;
    }
    const std::optional<int> category = SelectedCategory();
    if (!category) {
        return;
    }
    const std::string target = CategoryAt(*category);
    for (const CategoryInfo& info : m_store.ListCategories(m_store.currentLibrary)) {
        if (info.error || info.name != target) {
            continue;
        }
        if (::unlink(info.file.c_str()) != 0) {
            m_prompter.Notice(StoreError::FromErrno(StoreErrorKind::CannotDelete, info.file, errno).Message());
            return;
        }
        m_store.ForgetDeletedCategory(info.file);
        RemoveCategory(*category);
        ClearTree();
        const int first = CategoryCount() > 0 && CategoryAt(0).empty() ? 1 : 0;
        row.categoryName = first < CategoryCount() ? CategoryAt(first) : std::string();
        row.cardName.clear();
        Load(Listing::Start);
        return;
    }
}

bool DataBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_tree && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete && m_tree->currentItem()) {
        OnDeleteKey();
        return true;
    }
    return DynamicBarDialog::eventFilter(watched, event);
}

}  // namespace quillet
