#include "shell/category_navigator.h"

#include <QComboBox>
#include <QShortcut>
#include <QTreeView>

#include "store/codec.h"
#include "ui/own_change.h"

namespace quillet {
namespace {

constexpr int kNameRole = Qt::UserRole;
constexpr int kFileRole = Qt::UserRole + 1;

QString Display(const std::string& stored) { return QString::fromStdString(ToUtf8(stored)); }

}  // namespace

CategoryNavigator::CategoryNavigator(CardStore& store, Prompter& prompter, QComboBox& categories, QTreeView& tree,
                                     CardTreeModel& model, int& updating)
    : m_store(store),
      m_prompter(prompter),
      m_categories(categories),
      m_tree(tree),
      m_model(model),
      m_updating(updating) {}

void CategoryNavigator::PrepareTree(std::function<void(const QPoint&)> openMenuAt) {
    m_tree.setModel(&m_model);
    m_tree.setContextMenuPolicy(Qt::CustomContextMenu);
    // One row height for all: a long category is laid out without measuring every card.
    m_tree.setUniformRowHeights(true);
    m_tree.setExpandsOnDoubleClick(true);
    // Shift+F10 opens the menu of the current item, as the menu key does.
    auto* menuKey = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), &m_tree, nullptr, nullptr, Qt::WidgetShortcut);
    QObject::connect(menuKey, &QShortcut::activated, &m_tree, [this, openMenuAt = std::move(openMenuAt)] {
        const QModelIndex item = m_tree.currentIndex();
        openMenuAt(item.isValid() ? m_tree.visualRect(item).center() : QPoint(4, 4));
    });
}

int CategoryNavigator::Count() const { return m_categories.count(); }

std::string CategoryNavigator::NameAt(int index) const {
    return m_categories.itemData(index, kNameRole).toByteArray().toStdString();
}

std::filesystem::path CategoryNavigator::FileAt(int index) const {
    return m_categories.itemData(index, kFileRole).toString().toStdString();
}

int CategoryNavigator::OpenIndex() const {
    for (int i = 0; i < m_categories.count(); ++i) {
        if (FileAt(i) == m_store.Open().file) {
            return i;
        }
    }
    return -1;
}

void CategoryNavigator::Insert(int index, const std::string& name, const std::filesystem::path& file) {
    OwnChange updating(m_updating);
    m_categories.insertItem(index, Display(name), QByteArray::fromStdString(name));
    m_categories.setItemData(index, QString::fromStdString(file.string()), kFileRole);
}

std::filesystem::path CategoryNavigator::ListCategories(Listing listing) {
    OwnChange updating(m_updating);
    m_categories.clear();
    const LibraryState& row = m_store.libraryStates[m_store.currentLibrary];
    int chosen = -1;
    std::filesystem::path chosenFile;
    for (const CategoryInfo& info : m_store.ListCategories(m_store.currentLibrary, HeaderCheck::Check)) {
        if (info.error.kind == StoreErrorKind::CannotOpen) {
            break;
        }
        if (info.error) {
            NoticeOnce(info.file,
                       info.error.kind == StoreErrorKind::BadHeader ? "文件格式非法！不能读出" : info.error.Message());
            continue;
        }
        Insert(m_categories.count(), info.name, info.file);
        if (chosen < 0 &&
            ((listing == Listing::Start && m_store.flags.noSavedState) || info.name == row.categoryName)) {
            chosen = m_categories.count() - 1;
            chosenFile = info.file;
        }
    }
    // Adding entries selects the first one by itself; only the remembered category may be selected.
    m_categories.setCurrentIndex(chosen);
    return chosenFile;
}

void CategoryNavigator::UpdateRootImage() {
    m_model.SetRootImage(m_store.openTable.Empty() ? CardTreeModel::Image::EmptyCategory
                                                   : CardTreeModel::Image::Category);
}

void CategoryNavigator::FillTree(const std::string& categoryName) {
    OwnChange updating(m_updating);
    // The names alone: the view asks for the text of the rows it draws.
    m_model.Reset(categoryName, m_store.openTable);
    UpdateRootImage();
    if (!m_store.openTable.Empty()) {
        m_tree.expand(m_model.RootIndex());
        m_store.flags.rootOpen = true;
    }
}

std::optional<std::size_t> CategoryNavigator::RefillTree(const std::string& selectedName) {
    FillTree(m_store.currentCategoryName);
    OwnChange updating(m_updating);
    const std::size_t index = m_store.openTable.FindFirst(selectedName);
    if (!selectedName.empty() && index < m_store.openTable.Size()) {
        m_tree.setCurrentIndex(m_model.CardIndex(static_cast<int>(index)));
        return index;
    }
    m_tree.setCurrentIndex(m_model.RootIndex());
    return std::nullopt;
}

CategoryNavigator::Loaded CategoryNavigator::LoadRemembered(Listing listing) {
    Loaded loaded;
    if (!IsLibrary(m_store.currentLibrary)) {
        return loaded;
    }
    // The remembered row names the category to reopen; only a file the list confirms is opened, never the
    // remembered path itself.
    const LibraryState remembered = m_store.libraryStates[m_store.currentLibrary];
    const std::filesystem::path chosenFile = ListCategories(listing);
    {
        OwnChange updating(m_updating);
        m_model.Clear();
    }
    loaded.categoryChosen = !chosenFile.empty();
    // Another pane opened it already (entry mode and reading mode share the open category): a big category
    // is not read again for nothing.
    const bool open = loaded.categoryChosen && m_store.IsOpenAndUnchanged(chosenFile);
    if (!open) {
        m_store.CloseCategory();
    }
    m_store.libraryStates[m_store.currentLibrary].categoryName = remembered.categoryName;
    LibraryState& row = m_store.libraryStates[m_store.currentLibrary];

    loaded.categoryOpen = open;
    if (loaded.categoryChosen && !open) {
        const StoreError error = m_store.OpenCategoryFile(chosenFile, HeaderCheck::Check);
        if (error) {
            // Nothing is open now: what could be read is never written back over the rest.
            NoticeOnce(chosenFile, error.Message());
        }
        loaded.categoryOpen = !error;
    }
    m_store.selectedCardName = remembered.cardName;
    if (loaded.categoryOpen) {
        FillTree(m_store.currentCategoryName);
        const std::size_t index = m_store.openTable.FindFirst(m_store.selectedCardName);
        OwnChange updating(m_updating);
        if (!m_store.selectedCardName.empty() && index < m_store.openTable.Size()) {
            m_tree.setCurrentIndex(m_model.CardIndex(static_cast<int>(index)));
            row.cardName = m_store.selectedCardName;
            loaded.card = index;
        } else {
            m_tree.setCurrentIndex(m_model.RootIndex());
        }
    }
    if (!loaded.card) {
        row.cardName.clear();
        m_store.selectedCardName.clear();
    }
    m_store.cardCount = static_cast<std::int32_t>(m_store.openTable.Size());
    return loaded;
}

bool CategoryNavigator::OpenAt(int index) {
    {
        OwnChange updating(m_updating);
        m_categories.setCurrentIndex(index);
    }
    const std::filesystem::path file = FileAt(index);
    LibraryState& row = m_store.libraryStates[m_store.currentLibrary];
    if (StoreError error = m_store.OpenCategoryFile(file, HeaderCheck::Check)) {
        NoticeOnce(file, error.Message());
        row.categoryName = NameAt(index);
        OwnChange updating(m_updating);
        m_model.Clear();
        return false;
    }
    FillTree(m_store.currentCategoryName);
    {
        OwnChange updating(m_updating);
        m_tree.setCurrentIndex(m_model.RootIndex());
    }
    row.cardName.clear();
    m_store.selectedCardName.clear();
    return true;
}

void CategoryNavigator::NoticeOnce(const std::filesystem::path& file, const std::string& message) {
    if (m_reportedFiles.insert(file.string()).second) {
        m_prompter.Notice(message);
    }
}

}  // namespace quillet
