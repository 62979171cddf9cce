#pragma once

#include <QDialog>
#include <filesystem>
#include <vector>

#include "store/prompter.h"
#include "store/recycle_bin.h"

class QPlainTextEdit;
class QStandardItemModel;
class QTreeView;

namespace quillet {

class CMainFrame;
class CardStore;

// The recycle bin: what was deleted, newest first, with a look at its text; the chosen items go back where
// they were, and the bin can be emptied.
class RecycleBinDialog final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RecycleBinDialog)

public:
    RecycleBinDialog(const std::filesystem::path& dataFolder, Prompter& prompter, QWidget* parent = nullptr);

    // Restores the selected items; true when anything came back.
    void RestoreSelected();
    void EmptyBin();
    bool Restored() const { return m_restored; }
    int ItemCount() const { return static_cast<int>(m_items.size()); }

private:
    void Refill();
    void ShowPreview();

    RecycleBin m_bin;
    Prompter& m_prompter;
    QTreeView* m_view;
    QStandardItemModel* m_model;
    QPlainTextEdit* m_preview;
    std::vector<TrashItem> m_items;
    bool m_restored = false;
};

// Command 32861 (menu 资料); the data bar reads its library again after anything was restored.
void InstallRecycleBin(CMainFrame& frame, CardStore& store, Prompter& prompter);

}  // namespace quillet
