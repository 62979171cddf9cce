#include "tools/order_dialog.h"

#include <QApplication>
#include <QListView>
#include <QPushButton>
#include <algorithm>
#include <numeric>

#include "res/dialog_template.h"
#include "res/resource_ids.h"
#include "shell/main_frame.h"
#include "store/card_store.h"
#include "ui/dialog_builder.h"
#include "ui/ordered_name_model.h"

namespace quillet {

OrderDialog::OrderDialog(Mode mode, CardStore& store, Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_mode(mode), m_store(store), m_prompter(prompter) {
    BuildDialog(*this, *res::FindDialogTemplate(res::kOrderDialog));
    m_list = Control<QListView>(*this, res::kOrderList);
    m_model = new OrderedNameModel(this);
    if (mode == Mode::Categories) {
        setWindowTitle(QStringLiteral("类别顺序整理："));
        for (const CategoryInfo& info : store.ListCategories(store.currentLibrary, HeaderCheck::Check)) {
            if (info.error.kind == StoreErrorKind::CannotOpen) {
                break;  // the categories after it take no part
            }
            if (!info.error) {
                m_names.push_back(info.name);
                m_files.push_back(info.file);
            }
        }
    } else {
        for (std::size_t i = 0; i < store.openTable.Size(); ++i) {
            m_names.emplace_back(store.openTable.NameAt(i));
        }
    }
    m_order.resize(m_names.size());
    std::iota(m_order.begin(), m_order.end(), std::size_t{0});
    m_model->Reset(&m_names, &m_order);
    m_list->setModel(m_model);
    if (!m_order.empty()) {
        Select(0);
    }
    const std::pair<int, OrderMove> buttons[] = {{res::kOrderUp, OrderMove::Up},
                                                 {res::kOrderDown, OrderMove::Down},
                                                 {res::kOrderTop, OrderMove::Top},
                                                 {res::kOrderBottom, OrderMove::Bottom}};
    for (const auto& [id, move] : buttons) {
        connect(Control<QPushButton>(*this, id), &QPushButton::clicked, this, [this, move] { Move(move); });
    }
}

void OrderDialog::Select(std::size_t row) {
    const QModelIndex index = m_model->index(static_cast<int>(row));
    m_list->setCurrentIndex(index);
    m_list->scrollTo(index);
}

void OrderDialog::Move(OrderMove move) {
    const int row = m_list->currentIndex().isValid() ? m_list->currentIndex().row() : -1;
    const std::optional<std::size_t> selected = row >= 0 ? std::optional<std::size_t>(row) : std::nullopt;
    if (const std::optional<std::size_t> moved = MoveEntry(m_order, selected, move)) {
        m_model->Reordered(std::min(*selected, *moved), std::max(*selected, *moved));
        Select(*moved);
    }
}

void OrderDialog::accept() {
    StoreError error;
    if (m_mode == Mode::Cards) {
        // The whole records move; contents still in the file are copied from there.
        error = m_store.WriteOpenCategory(m_store.Open().storedName, m_store.openTable.Reordered(m_order));
    } else {
        std::vector<std::filesystem::path> files;
        for (const std::size_t index : m_order) {
            files.push_back(m_files[index]);
        }
        error = m_store.RenumberCategories(files);
    }
    if (error) {
        m_prompter.Notice(error.Message());
        QDialog::reject();
        return;
    }
    QDialog::accept();
}

void InstallOrderCommands(CMainFrame& frame, CardStore& store, Prompter& prompter) {
    frame.Provide(res::kCmdOrderCards, [&frame, &store, &prompter] {
        if (!IsLibrary(store.currentLibrary) || !store.Open().IsOpen() ||
            !frame.Operations().SaveQuestionBeforeModeSwitch()) {
            return;
        }
        OrderDialog dialog(OrderDialog::Mode::Cards, store, prompter, QApplication::activeWindow());
        if (dialog.exec() == QDialog::Accepted) {
            frame.PaneInUse().RefillTree();
        }
    });
    frame.Provide(res::kCmdOrderCategories, [&frame, &store, &prompter] {
        if (!IsLibrary(store.currentLibrary) || !frame.Operations().SaveQuestionBeforeModeSwitch()) {
            return;
        }
        OrderDialog dialog(OrderDialog::Mode::Categories, store, prompter, &frame);
        if (dialog.exec() == QDialog::Accepted) {
            frame.Bar().ReloadLibrary();
        }
    });
}

}  // namespace quillet
