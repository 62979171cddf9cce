#pragma once

#include <optional>

#include "card_store.h"
#include "entry_pane.h"
#include "prompter.h"

namespace quillet {

// The user's operations on the categories and cards of the current library in entry mode. Each one checks,
// asks, writes the category file whole and then updates the shared state and the pane. A file is written
// before anything in memory changes, so a write that fails leaves file, table and screen as they were, and
// says so.
class CardOperations final {
public:
    CardOperations(CardStore& store, EntryPane& pane, Prompter& prompter, NameInput& input, CaptureOpener& capture)
        : m_store(store), m_pane(pane), m_prompter(prompter), m_input(input), m_capture(capture) {}

    void CreateCategory();
    void RenameCategory();
    void DeleteCategory();
    void DeleteAllCategories();
    void DeleteAllCards();
    void DeleteCard();
    // The Delete key in the tree: the selected card, or the category when its node is selected.
    void DeleteWithKey();
    void RenameCard();
    void SaveCard();
    void PreviousCard() { StepCard(-1); }
    void NextCard() { StepCard(+1); }
    void NewCard();
    // Puts back what the last deletion of this run took (a card, the cards, a category, the categories) from
    // the recycle bin, and shows it.
    void UndoDelete();
    bool CanUndoDelete() const { return !m_lastDeletion.empty(); }

    // Writes the editor's text into the selected card (text libraries); false when the write failed.
    bool SaveOpenCard();

    // Before the program closes: asks the save question (Yes, No, Cancel) for a changed card. False keeps the
    // program open.
    bool SaveQuestionAtClosing();
    // Before entry mode gives way to reading mode or the tray: the save question with Yes and No only. False
    // when Yes was answered and the write failed: entry mode stays.
    bool SaveQuestionBeforeModeSwitch();

private:
    enum class Key { Menu, Delete };
    void RemoveSelectedCard(Key key);
    void RemoveSelectedCategory(Key key);
    LibraryState& Row() { return m_store.libraryStates[m_store.currentLibrary]; }
    // Keeps cards of the open category in the recycle bin before they are written away; false (and told) when
    // that failed, so nothing is deleted.
    bool KeepInBin(const CardTable& cards, std::vector<std::string>& ids,
                   std::optional<std::size_t> position = std::nullopt);
    std::string LibraryName() const;
    void StepCard(int direction);
    // Writes the open category; a refusal or failure is told to the user.
    bool Write(const std::string& categoryName, const CardTable& cards);
    // The category name check, failing closed: a folder that cannot be read is said, not taken as free.
    bool NameIsFree(const std::string& name, std::string_view takenNotice);
    void ShowSummary();
    void ClearEditor();
    void MarkSaved();
    // Asks the save question when the editor was changed; false when the user cancelled or the save failed.
    bool SaveQuestionAllowsLeaving(int reselectRow);

    CardStore& m_store;
    EntryPane& m_pane;
    Prompter& m_prompter;
    NameInput& m_input;
    CaptureOpener& m_capture;
    // The recycle bin's items that the last deletion made, and their library.
    std::vector<std::string> m_lastDeletion;
    int m_lastDeletionLibrary = 0;
};

}  // namespace quillet
