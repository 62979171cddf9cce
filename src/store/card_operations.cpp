#include "card_operations.h"

#include <unistd.h>

#include <cerrno>

#include "card_text.h"
#include "codec.h"
#include "recycle_bin.h"

namespace quillet {
namespace {

using Kind = EntryPane::TreeSelection::Kind;
constexpr std::size_t kLoadGrowthStep = 500;

std::string Filled(std::string_view text, const std::string& value) {
    const std::size_t at = text.find("%s");
    return std::string(text.substr(0, at)) + value + std::string(text.substr(at + 2));
}

}  // namespace

std::string CardOperations::LibraryName() const { return std::string(kLibraries[m_store.currentLibrary].name); }

bool CardOperations::Write(const std::string& categoryName, const CardTable& cards) {
    if (StoreError error = m_store.WriteOpenCategory(categoryName, cards)) {
        m_prompter.Notice(error.Message());
        return false;
    }
    return true;
}

void CardOperations::MarkSaved() {
    m_store.flags.cardModified = false;
    m_pane.SetEditorModified(false);
}

void CardOperations::ShowSummary() {
    m_pane.SetEditorText(CategorySummary(m_store.currentLibrary, Row().categoryName, m_store.cardCount));
    MarkSaved();
}

void CardOperations::ClearEditor() {
    m_pane.SetEditorText({});
    MarkSaved();
}

bool CardOperations::SaveOpenCard() {
    if (!IsLibrary(m_store.currentLibrary) || m_store.currentLibrary == kWebLibrary) {
        return true;
    }
    // Nothing is open after every category was deleted: writing now would bring a deleted file back.
    if (!m_store.Open().IsOpen()) {
        return true;
    }
    if (StoreError error = m_store.WriteCardText(m_store.selectedCardName, m_pane.EditorText())) {
        m_prompter.Notice(error.Message());
        return false;
    }
    Row().cardName = m_store.selectedCardName;
    MarkSaved();
    return true;
}

bool CardOperations::SaveQuestionAtClosing() {
    if (!IsLibrary(m_store.currentLibrary)) {
        return true;
    }
    const EntryPane::TreeSelection selected = m_pane.SelectedItem();
    if (selected.kind != Kind::Card) {
        MarkSaved();
        return true;
    }
    m_store.currentCategoryName = Row().categoryName;
    m_store.selectedCardName = m_pane.CardItemText(selected.row);
    if (!m_pane.EditorModified()) {
        return true;
    }
    m_store.flags.cardModified = true;
    switch (m_prompter.AskSave(kSaveQuestion)) {
        case SaveAnswer::Cancel:
            return false;
        case SaveAnswer::No:
            return true;
        case SaveAnswer::Yes:
            // A failed save keeps the program open, so the text is not lost.
            return m_store.currentLibrary == kWebLibrary || SaveOpenCard();
    }
    return true;
}

bool CardOperations::SaveQuestionBeforeModeSwitch() {
    if (!IsLibrary(m_store.currentLibrary) || m_store.currentLibrary == kWebLibrary) {
        return true;
    }
    const EntryPane::TreeSelection selected = m_pane.SelectedItem();
    if (selected.kind != Kind::Card) {
        MarkSaved();
        return true;
    }
    if (!m_pane.EditorModified()) {
        return true;
    }
    m_store.selectedCardName = m_pane.CardItemText(selected.row);
    m_store.flags.cardModified = true;
    if (m_prompter.AskSave(kSaveQuestion, false) != SaveAnswer::Yes) {
        return true;
    }
    // A failed write keeps entry mode and the mark: nothing is put away unsaved.
    return SaveOpenCard();
}

void CardOperations::CreateCategory() {
    if (!IsLibrary(m_store.currentLibrary)) {
        return;
    }
    m_store.EnsureDataFolder();
    if (!m_input.AskName("请输入新类别名称", "", LibraryName())) {
        return;
    }
    const std::string name = m_store.currentCard.name;
    if (!NameIsFree(name, "这个类型已经存在，不能重复加入！")) {
        return;
    }
    if (StoreError error = m_store.CreateCategory(name)) {
        m_prompter.Notice(error.Message());
        return;
    }

    m_pane.InsertCategory(m_pane.CategoryCount(), name, m_store.Open().file);
    m_pane.SelectCategory(m_pane.CategoryCount() - 1);
    Row().categoryName = name;
    Row().cardName.clear();
    m_pane.ResetTree(name);
    m_store.flags.rootOpen = true;
    ShowSummary();
}

bool CardOperations::NameIsFree(const std::string& name, std::string_view takenNotice) {
    StoreError readError;
    switch (m_store.CheckCategoryName(name, &readError)) {
        case CategoryNameCheck::Taken:
            m_prompter.Notice(std::string(takenNotice));
            return false;
        case CategoryNameCheck::Unreadable:
            m_prompter.Notice(readError.Message() + "\n无法确认类别名称没有重复，这次没有修改。");
            return false;
        case CategoryNameCheck::Free:
            break;
    }
    return true;
}

void CardOperations::RenameCategory() {
    if (!IsLibrary(m_store.currentLibrary)) {
        return;
    }
    const std::optional<int> selected = m_pane.SelectedCategory();
    if (!selected) {
        return;
    }
    if (!m_input.AskName("请进行类别名称的修改：", ToUtf8(Row().categoryName), LibraryName())) {
        return;
    }
    const std::string name = m_store.currentCard.name;
    if (!NameIsFree(name, "这个类型已经存在，类型名称修改失败！")) {
        return;
    }
    if (!Write(name, m_store.openTable)) {
        return;
    }
    m_pane.RemoveCategory(*selected);
    m_pane.InsertCategory(*selected, name, m_store.Open().file);
    m_pane.SelectCategory(*selected);
    Row().categoryName = name;
    m_pane.RenameCategoryNode(name);
    ShowSummary();
}

void CardOperations::DeleteWithKey() {
    const EntryPane::TreeSelection selected = m_pane.SelectedItem();
    if (selected.kind == Kind::Card) {
        RemoveSelectedCard(Key::Delete);
    } else if (selected.kind == Kind::Category) {
        RemoveSelectedCategory(Key::Delete);
    }
}

void CardOperations::DeleteCategory() { RemoveSelectedCategory(Key::Menu); }

void CardOperations::RemoveSelectedCategory(Key key) {
    if (!IsLibrary(m_store.currentLibrary)) {
        return;
    }
    const std::optional<int> selected = m_pane.SelectedCategory();
    if (!selected || !m_prompter.Confirm("即将删除本类型和其中的所有卡片资料，继续吗？")) {
        return;
    }
    const std::string target = m_pane.CategoryAt(*selected);
    std::filesystem::path file;
    for (const CategoryInfo& info : m_store.ListCategories(m_store.currentLibrary)) {
        if (!info.error && info.name == target) {
            file = info.file;
            break;
        }
    }
    if (file.empty()) {
        return;
    }
    std::string id;
    if (StoreError error = RecycleBin(m_store.CategoryFolder()).TrashCategory(file, m_store.currentLibrary, &id)) {
        m_prompter.Notice(error.Message());
        return;
    }
    m_lastDeletion = {id};
    m_lastDeletionLibrary = m_store.currentLibrary;
    m_store.ForgetDeletedCategory(file);
    m_pane.RemoveCategory(*selected);
    m_pane.ClearTree();
    // The Delete key passes over a first category without a name.
    const int first = key == Key::Delete && m_pane.CategoryCount() > 0 && m_pane.CategoryAt(0).empty() ? 1 : 0;
    Row().categoryName = first < m_pane.CategoryCount() ? m_pane.CategoryAt(first) : std::string();
    Row().cardName.clear();
    m_pane.ReloadLibrary();
}

void CardOperations::DeleteAllCategories() {
    if (!IsLibrary(m_store.currentLibrary)) {
        return;
    }
    if (Row().categoryName.empty() && Row().cardName.empty()) {
        m_prompter.Notice("没有可以删除的类别！");
        return;
    }
    if (m_prompter.Confirm(Filled("此操作将会删除【%s】中所有的类型和所有的卡片资料，继续吗？", LibraryName()))) {
        std::string failures;
        RecycleBin bin(m_store.CategoryFolder());
        m_lastDeletion.clear();
        m_lastDeletionLibrary = m_store.currentLibrary;
        for (const std::filesystem::path& file : CategoryFiles(m_store.CategoryFolder(), m_store.currentLibrary)) {
            std::string id;
            if (StoreError error = bin.TrashCategory(file, m_store.currentLibrary, &id)) {
                failures += error.Message() + "\n";
            } else {
                m_lastDeletion.push_back(id);
            }
        }
        m_pane.ClearTree();
        m_pane.ClearCategories();
        // The open category's file is gone: nothing may write it back.
        m_store.CloseCategory();
        if (!failures.empty()) {
            m_prompter.Notice(failures);
            m_pane.ReloadLibrary();
        }
    }
    ClearEditor();
}

void CardOperations::DeleteAllCards() {
    if (!IsLibrary(m_store.currentLibrary)) {
        return;
    }
    Row().categoryName = m_store.currentCategoryName;
    if (Row().categoryName.empty()) {
        m_prompter.Notice("没有选择类别，不能继续操作！");
        return;
    }
    if (m_prompter.Confirm("即将删除本类别重的所有卡片资料，继续吗？")) {
        CardTable empty;
        empty.SetGrowthStep(kLoadGrowthStep);
        std::vector<std::string> ids;
        if (m_store.Open().IsOpen() && !m_store.openTable.Empty() && !KeepInBin(m_store.openTable, ids)) {
            return;
        }
        if (Write(m_store.Open().storedName, empty)) {
            m_lastDeletion = ids;
            m_lastDeletionLibrary = m_store.currentLibrary;
            m_pane.ResetTree(m_store.currentCategoryName);
            m_store.flags.rootOpen = true;
        }
    }
    ClearEditor();
}

void CardOperations::DeleteCard() { RemoveSelectedCard(Key::Menu); }

void CardOperations::RemoveSelectedCard(Key key) {
    if (!IsLibrary(m_store.currentLibrary)) {
        return;
    }
    const EntryPane::TreeSelection selected = m_pane.SelectedItem();
    if (selected.kind != Kind::Card || !m_prompter.Confirm("即将删除本卡片资料，继续吗？")) {
        return;
    }
    const std::string name = m_pane.CardItemText(selected.row);
    CardTable cards = m_store.openTable;
    const std::size_t index = cards.FindFirst(name);
    if (index < cards.Size()) {
        std::vector<std::string> ids;
        if (!KeepInBin(cards.Reordered({index}), ids, index)) {
            return;
        }
        cards.RemoveAt(index);
        if (!Write(m_store.Open().storedName, cards)) {
            return;
        }
        m_lastDeletion = ids;
        m_lastDeletionLibrary = m_store.currentLibrary;
    }
    // The menu goes on to the next card, the Delete key back to the one above.
    if (key == Key::Menu && selected.row + 1 < m_pane.CardItemCount()) {
        m_pane.SelectCardItem(selected.row + 1);
    } else if (selected.row > 0) {
        m_pane.SelectCardItem(selected.row - 1);
    } else {
        m_pane.SelectCategoryNode();
    }
    m_pane.RemoveCardItem(selected.row);
}

bool CardOperations::KeepInBin(const CardTable& cards, std::vector<std::string>& ids,
                               std::optional<std::size_t> position) {
    std::string id;
    const StoreError error =
        cards.ContentError() ? cards.ContentError()
                             : RecycleBin(m_store.CategoryFolder())
                                   .TrashCards(m_store.currentLibrary, m_store.Open().storedName, cards, &id, position);
    if (error) {
        m_prompter.Notice(error.Message() + "\n卡片放不进回收站，没有删除。");
        return false;
    }
    ids = {id};
    return true;
}

void CardOperations::UndoDelete() {
    if (m_lastDeletion.empty()) {
        return;
    }
    if (m_lastDeletionLibrary != m_store.currentLibrary) {
        m_prompter.Notice(Filled("上一次删除的是【%s】中的资料，请先切换到那里再撤销删除。",
                                 std::string(kLibraries[static_cast<std::size_t>(m_lastDeletionLibrary)].name)));
        return;
    }
    RecycleBin bin(m_store.CategoryFolder());
    // Items restored or emptied from the bin's window meanwhile are no longer there to take back.
    std::erase_if(m_lastDeletion, [&bin](const std::string& id) { return !bin.Holds(id); });
    RestoreOutcome shown;
    // The last item first: a category deleted with its cards comes back before anything put into it.
    while (!m_lastDeletion.empty()) {
        RestoreOutcome outcome;
        if (StoreError error = bin.Restore(m_lastDeletion.back(), &outcome)) {
            m_prompter.Notice(error.Message());
            break;
        }
        m_lastDeletion.pop_back();
        shown = outcome;
    }
    if (!shown.categoryName.empty()) {
        // Shown where it is again: the restored card, or the category's node.
        Row().categoryName = shown.categoryName;
        Row().cardName = shown.cardsOnly && !shown.cardNames.empty() ? shown.cardNames.front() : std::string();
    }
    m_pane.ReloadLibrary();
}

void CardOperations::RenameCard() {
    if (!IsLibrary(m_store.currentLibrary)) {
        return;
    }
    const EntryPane::TreeSelection selected = m_pane.SelectedItem();
    if (selected.kind != Kind::Card) {
        return;
    }
    const std::string oldName = m_pane.CardItemText(selected.row);
    m_store.currentCard.name = oldName;

    if (m_store.currentLibrary != kWebLibrary) {
        if (!m_input.AskName("请进行卡片名称的修改：", ToUtf8(oldName), ToUtf8(Row().categoryName))) {
            return;
        }
        const std::string newName = m_store.currentCard.name;
        StoreError readError;
        switch (m_store.CheckCardName(newName, &readError)) {
            case CardNameCheck::Taken:
                m_prompter.Notice("这个知识卡片已经存在，卡片名称修改失败！");
                return;
            case CardNameCheck::Unreadable:
                m_prompter.Notice(readError.Message());
                return;
            case CardNameCheck::Free:
                break;
        }
        // The card at the selected place, not every card of that name.
        CardTable cards = m_store.openTable;
        const std::size_t row = static_cast<std::size_t>(selected.row);
        if (row >= cards.Size()) {
            return;
        }
        CardRecord renamed = cards.At(row);
        renamed.name = newName;
        cards.Replace(row, std::move(renamed));
        if (!Write(m_store.Open().storedName, cards)) {
            return;
        }
        m_pane.RenameCardItem(selected.row, newName);
        // The card keeps being the selected one, under its new name, so a later save finds it.
        m_store.selectedCardName = newName;
        Row().cardName = newName;
        return;
    }

    // A site: the dialog starts from the site at the selected place, as stored.
    const std::size_t row = static_cast<std::size_t>(selected.row);
    if (row >= m_store.openTable.Size()) {
        return;
    }
    m_store.currentCard = m_store.openTable.At(row);
    if (!m_input.AskSite()) {
        return;
    }
    const CardRecord site = m_store.currentCard;
    CardTable cards = m_store.openTable;
    cards.Replace(row, site);
    if (!Write(m_store.Open().storedName, cards)) {
        return;
    }
    m_pane.RenameCardItem(selected.row, site.name);
    m_store.selectedCardName = site.name;
    Row().cardName = site.name;
    m_pane.SetEditorText(SiteText(site));
    MarkSaved();
}

void CardOperations::SaveCard() {
    if (IsLibrary(m_store.currentLibrary) && m_store.currentLibrary != kWebLibrary) {
        SaveOpenCard();
    }
}

bool CardOperations::SaveQuestionAllowsLeaving(int reselectRow) {
    if (!m_pane.EditorModified() || m_store.currentLibrary == kWebLibrary) {
        return true;
    }
    m_store.flags.cardModified = true;
    switch (m_prompter.AskSave(kSaveQuestion)) {
        case SaveAnswer::Cancel:
            if (reselectRow >= 0) {
                m_pane.SelectCardItem(reselectRow);
            } else {
                m_pane.SelectCategoryNode();
            }
            return false;
        case SaveAnswer::Yes:
            return SaveOpenCard();
        case SaveAnswer::No:
            // Answered: the move that follows must not ask again. The shared flag keeps the discarded edit.
            m_pane.SetEditorModified(false);
            return true;
    }
    return true;
}

void CardOperations::StepCard(int direction) {
    if (!IsLibrary(m_store.currentLibrary)) {
        return;
    }
    const EntryPane::TreeSelection selected = m_pane.SelectedItem();
    if (selected.kind != Kind::Card) {
        // The category node has no sibling to step to.
        return;
    }
    const int target = selected.row + direction;
    if (target < 0 || target >= m_pane.CardItemCount()) {
        return;
    }
    m_store.selectedCardName = m_pane.CardItemText(selected.row);
    if (!SaveQuestionAllowsLeaving(selected.row)) {
        return;
    }
    m_pane.SelectCardItem(target);
}

void CardOperations::NewCard() {
    if (!IsLibrary(m_store.currentLibrary)) {
        return;
    }
    const std::optional<int> category = m_pane.SelectedCategory();
    if (!category) {
        m_prompter.Notice("没有选择所属类别，创建失败！");
        return;
    }
    // A category that could not be read whole takes no cards: they would be written over what was not read.
    if (!m_store.Open().IsOpen()) {
        m_prompter.Notice("所选的类别没有能够完整读出，不能在其中加入卡片。");
        return;
    }
    if (m_store.currentLibrary != kWebLibrary) {
        const EntryPane::TreeSelection selected = m_pane.SelectedItem();
        if (selected.kind == Kind::Category && m_pane.CardItemCount() > 0) {
            MarkSaved();
            return;
        }
        if (selected.kind == Kind::Card) {
            m_store.selectedCardName = m_pane.CardItemText(selected.row);
        }
        if (selected.kind != Kind::None &&
            !SaveQuestionAllowsLeaving(selected.kind == Kind::Card ? selected.row : -1)) {
            return;
        }
    }
    if (!m_store.flags.captureWindowOpen && m_capture.OpenCaptureWindow(m_store.currentLibrary, *category)) {
        m_store.flags.captureWindowOpen = true;
    }
}

}  // namespace quillet
