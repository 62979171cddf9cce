#pragma once

#include <QDialog>

#include "store/prompter.h"
#include "tools/organize_session.h"

class QComboBox;
class QRadioButton;
class QTabBar;
class QTreeView;

namespace quillet {

class CMainFrame;
class CardStore;
class CheckedNameModel;

// Moves and copies cards between the categories of all four libraries through a clipboard of its own. What
// the user chooses here becomes the program's current library and category.
class OrganizeDialog final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(OrganizeDialog)

public:
    OrganizeDialog(CardStore& store, Prompter& prompter, QWidget* parent = nullptr);

    const OrganizeSession& Session() const { return m_session; }

    // Exit and Escape both end here; unpasted cut cards are asked about first.
    void accept() override;
    void reject() override;

private:
    void ShowLibrary(int library);
    void OnCategoryChosen(int index);
    void Copy();
    void Cut();
    void Paste();
    void Clear();
    // What becomes of unpasted cut cards before the clipboard goes: false when the user stays.
    bool SettleCutCards();
    ExistingCard Rule() const;
    void FillSource();
    void FillClipboard();
    void Report(const StoreError& error);
    void ReportNotices();

    OrganizeSession m_session;
    Prompter& m_prompter;
    QTabBar* m_tabs;
    QComboBox* m_categories;
    QTreeView* m_sourceTree;
    QTreeView* m_clipboardTree;
    QRadioButton* m_overwrite;
    CheckedNameModel* m_source;
    CheckedNameModel* m_clipboard;
};

// Command 32840: asks the save question first; however the tool closes, the data bar then shows its library
// and reads it again from disk.
void InstallOrganizeTool(CMainFrame& frame, CardStore& store, Prompter& prompter);

}  // namespace quillet
