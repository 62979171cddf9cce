#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "store/card_store.h"
#include "tools/organize_clipboard.h"

namespace quillet {

struct OrganizeCategory {
    std::string name;  // stored text
    std::filesystem::path file;
};

// What the organize tool does, without its window. The library and category chosen here are the program's
// current ones; the chosen category is the store's open category, so every write goes through its crash-safe,
// checked writer. Cards cut and not yet pasted are also kept in a recovery file in the data folder until they
// are in a category again, so that neither a closed tool nor a killed program loses them.
class OrganizeSession final {
public:
    explicit OrganizeSession(CardStore& store);

    // Makes the library current, lists its categories and opens the remembered one.
    StoreError ChooseLibrary(int library);
    // Opens that category of the list; it becomes the library's remembered one, also when it cannot be read.
    StoreError ChooseCategory(int index);

    int Library() const { return m_library; }
    const std::vector<OrganizeCategory>& Categories() const { return m_categories; }
    int Chosen() const { return m_chosen; }
    // The chosen category's cards; empty unless it was read whole.
    const CardTable& Cards() const { return m_store.openTable; }
    const OrganizeClipboard& Clipboard() const { return m_clipboard; }
    // Damaged category files met while listing, each a message for the user; taken once.
    std::vector<std::string> TakeNotices();

    // Positions are ascending. Copy writes nothing; Cut and Paste write the chosen category once.
    StoreError Copy(const std::vector<std::size_t>& ticked, ExistingCard rule);
    StoreError Cut(const std::vector<std::size_t>& ticked, ExistingCard rule);
    StoreError Paste(const std::vector<std::size_t>& ticked, ExistingCard rule);
    // Empties the clipboard; refused while it holds unpasted cut cards (put them back or give them up first).
    bool Clear();

    // Unpasted cut cards go back to the categories they came from (made again when gone); a card found there
    // unchanged is not added twice. The chosen library and category stay chosen.
    StoreError PutBack();
    // The user gives the unpasted cut cards up; they stay in the clipboard as copies.
    StoreError GiveUpCutCards();
    // Cut cards a run that did not end left in the recovery file come into the clipboard as unpasted cut
    // cards. A damaged recovery file is set aside under another name and reported, never overwritten.
    StoreError TakeOverRecovery(bool& found);
    std::filesystem::path RecoveryFile() const;

private:
    StoreError RefuseUnlessReadWhole(const char* action) const;
    StoreError SaveRecovery() const;
    void Reopen(int library, const std::string& categoryName);

    CardStore& m_store;
    OrganizeClipboard m_clipboard;
    int m_library = 0;
    std::vector<OrganizeCategory> m_categories;
    int m_chosen = -1;
    std::vector<std::string> m_notices;
};

}  // namespace quillet
