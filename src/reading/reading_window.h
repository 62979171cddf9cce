#pragma once

#include <QPointer>
#include <string>

#include "reading/edge_panel.h"
#include "shell/category_navigator.h"
#include "store/card_store.h"
#include "store/entry_pane.h"
#include "store/prompter.h"
#include "ui/card_tree_model.h"

class QComboBox;
class QFrame;
class QLineEdit;
class QModelIndex;
class QPushButton;
class QTabBar;
class QToolBar;
class QTreeView;

namespace quillet {

class CMainFrame;
class CardViewerControl;

// The window of reading mode: a narrow panel docked to a screen edge with the four libraries and the search
// results as tabs, the categories of a library, the open category's cards as a tree and a small toolbar. What
// the user selects is shown in the card viewer while it is open. It works on the store's navigation state, so
// entry mode finds the same library, category and card when it comes back.
class ReadingWindow final : public EdgePanel, public CardPane {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ReadingWindow)

public:
    enum class Way { EntryMode, Tray, Exit };

    // While it lives it is the pane the frame's card commands act on.
    ReadingWindow(CardStore& store, Prompter& prompter, CMainFrame& frame, CardViewerControl& viewer);
    ~ReadingWindow() override;

    // The saved search results and the remembered library, category and card.
    void Load();
    // Where the panel stands: an edge of the screen and the offset along it.
    struct Dock {
        Edge edge = Edge::Top;
        int along = 0;
    };
    // Docked there, hidden to its tab. The first time in a run it is the top of the screen at x = 0.
    void ShowDocked(Dock dock);
    Dock CurrentDock() const;

    // The window's commands.
    void MoveSelection(int step);
    void Search();
    // Ends reading mode that way: the search tab gives way to library 0, the viewer closes unless the
    // program goes to the tray, the results are saved; then left() tells the mode's owner.
    void Leave(Way way);

    // CardPane.
    TreeSelection SelectedItem() const override;
    std::string CardItemText(int row) const override;
    std::string ViewerText() const override;
    // By its row: with cards or hits of one name, the one the user selected.
    SelectedRecord SelectedCard() const override;
    void RefillTree() override;

    const std::string& LastSearchText() const { return m_lastSearchText; }
    QTreeView& Tree() const { return *m_tree; }

signals:
    void left(ReadingWindow::Way way);

private:
    void LayOutBody();
    void ShowSearchTab();
    void LoadLibrary(CategoryNavigator::Listing listing);
    // The selection becomes the current card (or the category's summary) and, while it is open, the viewer's.
    void TakeSelection();
    void ShowInViewer();
    void SaveResults();
    // Beside the panel when it would open over it.
    void PlaceViewerBeside();

    void OnTabChanged(int index);
    void OnCategoryChosen(int index);
    void OnSelectionChanged(const QModelIndex& current);
    void OnDoubleClicked(const QModelIndex& item);
    void OnContextMenu(const QPoint& position);

    CardStore& m_store;
    Prompter& m_prompter;
    CMainFrame& m_frame;
    QPointer<CardViewerControl> m_viewer;
    QToolBar* m_toolBar;
    QTabBar* m_tabs;
    QFrame* m_tabPage;
    QComboBox* m_categories;
    QLineEdit* m_searchText;
    QPushButton* m_searchButton;
    QTreeView* m_tree;
    CardTreeModel* m_model;
    int m_updating = 0;
    CategoryNavigator m_navigator;
    std::string m_lastSearchText;
    bool m_resultsSaved = false;
    QPointer<CMainFrame> m_frameAlive;
};

}  // namespace quillet
