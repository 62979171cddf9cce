#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <set>
#include <string>

#include "store/card_store.h"
#include "store/prompter.h"
#include "ui/card_tree_model.h"

class QComboBox;
class QPoint;
class QTreeView;

namespace quillet {

// The part that every pane showing a library shares: its categories in a list, the open category and its
// cards in a tree, the remembered category and card found again. What a selection shows (the editor, the card
// viewer) is the pane's own business.
class CategoryNavigator final {
public:
    enum class Listing { Start, Reload, LibrarySwitch };

    // `updating` is the pane's counter of changes it makes itself, raised while the navigator changes controls.
    CategoryNavigator(CardStore& store, Prompter& prompter, QComboBox& categories, QTreeView& tree,
                      CardTreeModel& model, int& updating);
    CategoryNavigator(const CategoryNavigator&) = delete;
    CategoryNavigator& operator=(const CategoryNavigator&) = delete;

    // The tree on the model, with its context menu asked for by `openMenuAt` (a place in the tree's viewport),
    // also from the keyboard.
    void PrepareTree(std::function<void(const QPoint&)> openMenuAt);

    struct Loaded {
        bool categoryOpen = false;
        bool categoryChosen = false;      // the remembered category was listed, whether or not it could be read
        std::optional<std::size_t> card;  // the remembered card, selected in the tree
    };
    // Lists the current library, opens the remembered category and selects its remembered card (or the
    // category node). The remembered names follow what could be found again.
    Loaded LoadRemembered(Listing listing);
    // Opens the category at that list index with its node selected. When it cannot be read nothing is open,
    // the tree is empty and the name stays remembered, so the list keeps showing what the user chose.
    bool OpenAt(int index);

    int Count() const;
    std::string NameAt(int index) const;
    std::filesystem::path FileAt(int index) const;
    // The list index of the open category's file, or -1.
    int OpenIndex() const;
    void Insert(int index, const std::string& name, const std::filesystem::path& file);

    // The open table's cards under the category node, expanded when there are any.
    void FillTree(const std::string& categoryName);
    // The tree again from the open table with the first card of that name selected, or the category node;
    // returns the card's index.
    std::optional<std::size_t> RefillTree(const std::string& selectedName);
    void UpdateRootImage();

    // A damaged or unreadable file is reported once per pane, not at every listing.
    void NoticeOnce(const std::filesystem::path& file, const std::string& message);

private:
    std::filesystem::path ListCategories(Listing listing);

    CardStore& m_store;
    Prompter& m_prompter;
    QComboBox& m_categories;
    QTreeView& m_tree;
    CardTreeModel& m_model;
    int& m_updating;
    std::set<std::string> m_reportedFiles;
};

}  // namespace quillet
