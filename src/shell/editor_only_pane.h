#pragma once

#include "shell/quillet_view.h"
#include "store/entry_pane.h"

namespace quillet {

// The pane of a frame that shows only the editor: no category list, no tree, so nothing is ever selected.
class EditorOnlyPane final : public EntryPane {
public:
    explicit EditorOnlyPane(CQuilletView& view) : m_view(view) {}

    int CategoryCount() const override { return 0; }
    std::string CategoryAt(int) const override { return {}; }
    std::optional<int> SelectedCategory() const override { return std::nullopt; }
    void InsertCategory(int, const std::string&) override {}
    void RemoveCategory(int) override {}
    void SelectCategory(int) override {}
    void ClearCategories() override {}
    TreeSelection SelectedItem() const override { return {}; }
    int CardItemCount() const override { return 0; }
    std::string CardItemText(int) const override { return {}; }
    void ResetTree(const std::string&) override {}
    void ClearTree() override {}
    void RenameCategoryNode(const std::string&) override {}
    void RenameCardItem(int, const std::string&) override {}
    void RemoveCardItem(int) override {}
    void SelectCategoryNode() override {}
    void SelectCardItem(int) override {}
    void ReloadLibrary() override {}
    std::string EditorText() const override { return m_view.Text(); }
    void SetEditorText(const std::string& text) override { m_view.SetText(text); }
    bool EditorModified() const override { return m_view.Modified(); }
    void SetEditorModified(bool modified) override { m_view.SetModified(modified); }

private:
    CQuilletView& m_view;
};

}  // namespace quillet
