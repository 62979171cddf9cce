#pragma once

#include "shell/category_navigator.h"
#include "shell/quillet_view.h"
#include "shell/settings_file.h"
#include "store/card_store.h"
#include "store/entry_pane.h"
#include "store/prompter.h"
#include "ui/card_tree_model.h"
#include "ui/dynamic_dialog.h"

class QCheckBox;
class QComboBox;
class QModelIndex;
class QTabBar;
class QTreeView;

namespace quillet {

// The navigation pane of entry mode: the four libraries as tabs, the categories of the current one in a
// list, the open category and its cards as a tree. Selecting shows a card (or the category's summary) in the
// editor; leaving a changed card asks whether to save it. It is the pane the card operations work on.
class DataBar final : public DynamicBarDialog, public EntryPane {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DataBar)

public:
    enum class Popup { Category = 0, Card = 1, Site = 5 };

    DataBar(CardStore& store, Prompter& prompter, NameInput& input, CQuilletView& editor, AppSettings& settings,
            QWidget* parent = nullptr);

    // The initial load: the remembered library, category and card.
    void InitialLoad();

    // EntryPane.
    int CategoryCount() const override;
    std::string CategoryAt(int index) const override;
    std::optional<int> SelectedCategory() const override;
    void InsertCategory(int index, const std::string& name, const std::filesystem::path& file) override;
    void RemoveCategory(int index) override;
    void SelectCategory(int index) override;
    void ClearCategories() override;
    TreeSelection SelectedItem() const override;
    int CardItemCount() const override;
    std::string CardItemText(int row) const override;
    std::string ViewerText() const override;
    SelectedRecord SelectedCard() const override;
    void RefillTree() override;
    void ResetTree(const std::string& categoryName) override;
    void ClearTree() override;
    void RenameCategoryNode(const std::string& name) override;
    void RenameCardItem(int row, const std::string& name) override;
    void RemoveCardItem(int row) override;
    void SelectCategoryNode() override;
    void SelectCardItem(int row) override;
    void ReloadLibrary() override;
    std::string EditorText() const override { return m_editor.Text(); }
    void SetEditorText(const std::string& text) override { m_editor.SetText(text); }
    bool EditorModified() const override { return m_editor.Modified(); }
    void SetEditorModified(bool modified) override { m_editor.SetModified(modified); }

    void SetAlwaysOnTopBox(bool onTop);
    // Wide enough to show the four library tabs without scroll arrows.
    int PreferredWidth() const;
    // The bar's panes in keyboard order: tabs, category list, tree.
    QList<QWidget*> FocusPanes() const;
    // A card just added: appended to the tree and selected, without reloading anything.
    void AddCardItemAndSelect(const std::string& name);
    // Shows the store's current library and reads it again from disk: other windows wrote its files.
    void ReloadFromDisk();
    // Opens the category at that list index as choosing it does, without the save question.
    void OpenCategoryAt(int index);

    // Escape does nothing here: the bar is part of the main window, not a dialog to dismiss.
    void reject() override;

signals:
    void alwaysOnTopChanged(bool onTop);
    // A command of the main frame, asked for by a gesture in the bar (a double click renames).
    void commandRequested(int id);
    void libraryChanged();
    // Another category is open now (or none, after a failed open or a deletion).
    void categoryOpened();
    // The Delete key in the tree, with an item selected: the card operations delete it.
    void deleteKeyPressed();
    void contextMenuRequested(Popup popup, QPoint globalPosition);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    using Listing = CategoryNavigator::Listing;

    QModelIndex Root() const;
    QModelIndex CardItem(int row) const;
    void Load(Listing listing);
    void ShowSummary();
    void ShowCard(std::size_t index);

    // The user's actions.
    void OnTabChanged(int index);
    void OnCategoryChosen(int index);
    void OnSelectionChanged(const QModelIndex& current, const QModelIndex& previous);
    void OnDoubleClicked(const QModelIndex& item);
    void OnContextMenu(const QPoint& position);
    // Asks the save question for the card that is being left; Yes writes it. False when the save failed:
    // the move is abandoned and the text kept.
    bool SaveBeforeLeaving(const QModelIndex& leaving);
    // The selected card's row in the tree, or an invalid index when no card is selected.
    QModelIndex CurrentCardItem() const;
    void UpdateEditorMode();
    void ShowEmptySummary();
    // Writes these cards as the open category and, once written, makes them the open table.
    bool CommitCards(const CardTable& cards);

    CardStore& m_store;
    Prompter& m_prompter;
    NameInput& m_input;
    CQuilletView& m_editor;
    QTabBar* m_tabs;
    QComboBox* m_categories;
    QTreeView* m_tree;
    CardTreeModel* m_model;
    QCheckBox* m_alwaysOnTop;
    CategoryNavigator m_navigator;
    // Set while the pane changes its own controls, so their signals are not taken for the user's.
    int m_updating = 0;
};

}  // namespace quillet
