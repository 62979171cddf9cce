#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <vector>

#include "store/card_store.h"
#include "store/card_text.h"
#include "store/entry_pane.h"
#include "store/prompter.h"

namespace quillet::test {

// Answers message boxes from a script and remembers every message shown.
class ScriptedPrompter final : public Prompter {
public:
    struct Shown {
        std::string kind;  // "notice", "confirm", "save" or "save-yes-no"
        std::string text;
        std::string caption;
    };

    void Notice(const std::string& text, const std::string& caption) override {
        shown.push_back({"notice", text, caption});
    }
    bool Confirm(const std::string& text) override {
        shown.push_back({"confirm", text, "Quillet"});
        if (confirmAnswers.empty()) {
            ADD_FAILURE() << "unexpected confirmation: " << text;
            return false;
        }
        const bool answer = confirmAnswers.front();
        confirmAnswers.pop_front();
        return answer;
    }
    SaveAnswer AskSave(const std::string& text, bool withCancel) override {
        shown.push_back({withCancel ? "save" : "save-yes-no", text, "Quillet"});
        if (saveAnswers.empty()) {
            ADD_FAILURE() << "unexpected save question";
            return SaveAnswer::Cancel;
        }
        const SaveAnswer answer = saveAnswers.front();
        saveAnswers.pop_front();
        return answer;
    }

    std::vector<Shown> shown;
    std::deque<bool> confirmAnswers;
    std::deque<SaveAnswer> saveAnswers;
};

// The name and site dialogs, answered from a script: nullopt is Cancel.
class ScriptedInput final : public NameInput {
public:
    explicit ScriptedInput(CardStore& store) : m_store(store) {}

    bool AskName(const std::string& title, const std::string& initialText, const std::string& caption) override {
        asked.push_back(title + "|" + initialText + "|" + caption);
        if (names.empty()) {
            ADD_FAILURE() << "unexpected name dialog " << title;
            return false;
        }
        const std::optional<std::string> answer = names.front();
        names.pop_front();
        if (answer) {
            m_store.currentCard.name = *answer;
        }
        return answer.has_value();
    }
    bool AskSite() override {
        siteShown.push_back(m_store.currentCard);
        if (sites.empty()) {
            ADD_FAILURE() << "unexpected site dialog";
            return false;
        }
        const std::optional<CardRecord> answer = sites.front();
        sites.pop_front();
        if (answer) {
            m_store.currentCard = *answer;
        }
        return answer.has_value();
    }

    std::deque<std::optional<std::string>> names;
    std::deque<std::optional<CardRecord>> sites;
    std::vector<std::string> asked;
    std::vector<CardRecord> siteShown;

private:
    CardStore& m_store;
};

class RecordingCapture final : public CaptureOpener {
public:
    bool OpenCaptureWindow(int library, int categoryIndex) override {
        opened.emplace_back(library, categoryIndex);
        return true;
    }
    std::vector<std::pair<int, int>> opened;
};

// A plain stand-in for the data bar and the editor: it shows a selected card or the summary the simple way.
class FakePane final : public EntryPane {
public:
    explicit FakePane(CardStore& store) : m_store(store) {}

    int CategoryCount() const override { return static_cast<int>(categories.size()); }
    std::string CategoryAt(int index) const override { return categories.at(index); }
    std::optional<int> SelectedCategory() const override { return selectedCategory; }
    void InsertCategory(int index, const std::string& name, const std::filesystem::path&) override {
        categories.insert(categories.begin() + index, name);
    }
    void RemoveCategory(int index) override {
        categories.erase(categories.begin() + index);
        selectedCategory.reset();
    }
    void SelectCategory(int index) override { selectedCategory = index; }
    void ClearCategories() override {
        categories.clear();
        selectedCategory.reset();
    }

    TreeSelection SelectedItem() const override { return selection; }
    int CardItemCount() const override { return static_cast<int>(cards.size()); }
    std::string CardItemText(int row) const override { return cards.at(row); }
    std::string ViewerText() const override { return {}; }
    SelectedRecord SelectedCard() const override { return {}; }
    void RefillTree() override {}
    void ResetTree(const std::string& categoryName) override {
        categoryNode = categoryName;
        cards.clear();
        selection = {TreeSelection::Kind::Category, -1};
    }
    void ClearTree() override {
        categoryNode.reset();
        cards.clear();
        selection = {};
    }
    void RenameCategoryNode(const std::string& name) override { categoryNode = name; }
    void RenameCardItem(int row, const std::string& name) override { cards.at(row) = name; }
    void RemoveCardItem(int row) override {
        cards.erase(cards.begin() + row);
        if (selection.kind == TreeSelection::Kind::Card && selection.row > row) {
            --selection.row;
        }
    }
    void SelectCategoryNode() override {
        selection = {TreeSelection::Kind::Category, -1};
        editor = CategorySummary(m_store.currentLibrary, m_store.currentCategoryName, m_store.cardCount);
        modified = false;
    }
    void SelectCardItem(int row) override {
        selection = {TreeSelection::Kind::Card, row};
        const std::size_t index = m_store.openTable.FindFirst(cards.at(row));
        m_store.selectedCardName = cards.at(row);
        if (index < m_store.openTable.Size()) {
            m_store.currentCard = m_store.openTable.At(index);
            editor = quillet::EditorText(m_store.currentLibrary, m_store.currentCard);
        }
        modified = false;
    }
    void ReloadLibrary() override {
        ++reloads;
        ClearCategories();
        ClearTree();
        const int library = m_store.currentLibrary;
        for (const CategoryInfo& info : m_store.ListCategories(library, HeaderCheck::Check)) {
            categories.push_back(info.name);
            if (info.name == m_store.libraryStates[library].categoryName && !selectedCategory) {
                selectedCategory = CategoryCount() - 1;
                Open(info.file);
            }
        }
    }

    // Opens a category as a click in the list does: loads it, fills the tree, selects the node.
    void Open(const std::filesystem::path& file) {
        m_store.OpenCategoryFile(file, HeaderCheck::Check);
        ResetTree(m_store.currentCategoryName);
        for (std::size_t i = 0; i < m_store.openTable.Size(); ++i) {
            cards.emplace_back(m_store.openTable.NameAt(i));
        }
        SelectCategoryNode();
    }

    std::string EditorText() const override { return editor; }
    void SetEditorText(const std::string& text) override { editor = text; }
    bool EditorModified() const override { return modified; }
    void SetEditorModified(bool value) override { modified = value; }

    std::vector<std::string> categories;
    std::optional<int> selectedCategory;
    std::optional<std::string> categoryNode;
    std::vector<std::string> cards;
    TreeSelection selection;
    std::string editor;
    bool modified = false;
    int reloads = 0;

private:
    CardStore& m_store;
};

}  // namespace quillet::test
