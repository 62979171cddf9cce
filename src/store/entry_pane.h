#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

namespace quillet {

class CardTable;

// A pane that lists cards in a tree: the data bar, or the reading window while reading mode runs. The commands
// that act on "the selected card" (save as text, the card viewer) ask the pane in use. Names and texts are
// stored text (code page 936).
class CardPane {
public:
    virtual ~CardPane() = default;

    // The tree: one category node whose children are the cards, by row; or, for search results, the cards
    // alone.
    struct TreeSelection {
        enum class Kind { None, Category, Card } kind = Kind::None;
        int row = -1;  // for Kind::Card
    };
    virtual TreeSelection SelectedItem() const = 0;
    virtual std::string CardItemText(int row) const = 0;
    // The record a selected card stands for, in the table it comes from; no table when no card is selected.
    struct SelectedRecord {
        const CardTable* table = nullptr;
        std::size_t index = 0;
    };
    virtual SelectedRecord SelectedCard() const = 0;
    // What the card viewer shows for the selection: the card, the site, the hit or the category's summary.
    virtual std::string ViewerText() const = 0;
    // The tree again from the open table (its cards were put in another order), the selected card kept.
    virtual void RefillTree() = 0;
};

// What the entry-mode operations change on screen: the data bar's category list and card tree, and the
// editor. The data bar and the editor view implement it; tests use a stand-in.
class EntryPane : public CardPane {
public:
    // The category list, in file order.
    virtual int CategoryCount() const = 0;
    virtual std::string CategoryAt(int index) const = 0;
    virtual std::optional<int> SelectedCategory() const = 0;
    // The category's file goes with it, so choosing it later opens that file.
    virtual void InsertCategory(int index, const std::string& name, const std::filesystem::path& file) = 0;
    virtual void RemoveCategory(int index) = 0;
    virtual void SelectCategory(int index) = 0;
    virtual void ClearCategories() = 0;

    virtual int CardItemCount() const = 0;
    // Empties the tree and gives it a single category node, expanded, shown with the image of a category with
    // cards.
    virtual void ResetTree(const std::string& categoryName) = 0;
    virtual void ClearTree() = 0;
    virtual void RenameCategoryNode(const std::string& name) = 0;
    virtual void RenameCardItem(int row, const std::string& name) = 0;
    virtual void RemoveCardItem(int row) = 0;
    // A selection made here is shown as a click would show it: the card in the editor, or the summary.
    virtual void SelectCategoryNode() = 0;
    virtual void SelectCardItem(int row) = 0;

    // Rebuilds list, tree and editor from the files, as a switch to the current library does.
    virtual void ReloadLibrary() = 0;

    // The editor.
    virtual std::string EditorText() const = 0;
    virtual void SetEditorText(const std::string& text) = 0;
    virtual bool EditorModified() const = 0;
    virtual void SetEditorModified(bool modified) = 0;
};

// The name and site input dialogs. Both deliver their result through the current card fields of the store.
class NameInput {
public:
    virtual ~NameInput() = default;
    // On OK the name is in the current card name field. Texts are UTF-8.
    virtual bool AskName(const std::string& title, const std::string& initialText, const std::string& caption) = 0;
    // Shows the current card fields; on OK they hold name, address and description.
    virtual bool AskSite() = 0;
};

// Opens the capture window of a library's kind for the category at that list index; false when it cannot.
class CaptureOpener {
public:
    virtual ~CaptureOpener() = default;
    virtual bool OpenCaptureWindow(int library, int categoryIndex) = 0;
};

}  // namespace quillet
