#pragma once

#include <QDialog>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "store/prompter.h"
#include "tools/order_moves.h"

class QListView;

namespace quillet {

class CMainFrame;
class OrderedNameModel;
class CardStore;

// Puts the open category's cards, or the current library's categories, into a new order. Nothing changes on
// disk before OK: then the category file is written again (cards) or the files are renumbered in the new order
// (categories), both crash-safely.
class OrderDialog final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(OrderDialog)

public:
    enum class Mode { Categories, Cards };

    OrderDialog(Mode mode, CardStore& store, Prompter& prompter, QWidget* parent = nullptr);

    void Move(OrderMove move);
    void accept() override;

private:
    void Select(std::size_t row);

    Mode m_mode;
    CardStore& m_store;
    Prompter& m_prompter;
    QListView* m_list;
    OrderedNameModel* m_model;
    std::vector<std::string> m_names;            // stored text, in the order read
    std::vector<std::filesystem::path> m_files;  // categories only
    std::vector<std::size_t> m_order;
};

// Commands 32791 (the open category's cards, acting on the pane in use) and 32844 (the library's categories).
void InstallOrderCommands(CMainFrame& frame, CardStore& store, Prompter& prompter);

}  // namespace quillet
