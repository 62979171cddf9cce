#include "tools/recycle_bin_dialog.h"

#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTreeView>
#include <ctime>

#include "res/dialog_template.h"
#include "res/resource_ids.h"
#include "shell/data_bar.h"
#include "shell/main_frame.h"
#include "store/card_store.h"
#include "store/card_text.h"
#include "store/category_file.h"
#include "store/codec.h"
#include "store/libraries.h"
#include "ui/dialog_builder.h"

namespace quillet {
namespace {

QString Shown(const std::string& stored) { return QString::fromStdString(ToUtf8(stored)); }

QString When(std::int64_t seconds) {
    const std::time_t time = static_cast<std::time_t>(seconds);
    std::tm local{};
    char text[32] = "";
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", localtime_r(&time, &local));
    return QString::fromLatin1(text);
}

QString What(const TrashItem& item) {
    if (item.error) {
        return QStringLiteral("（已损坏，不能还原）");
    }
    if (item.kind == TrashItem::Kind::Category) {
        return QStringLiteral("整个类别（%1 张卡片）").arg(item.cardNames.size());
    }
    QStringList names;
    for (const std::string& name : item.cardNames) {
        names << Shown(name);
    }
    return names.join(QStringLiteral("、"));
}

}  // namespace

RecycleBinDialog::RecycleBinDialog(const std::filesystem::path& dataFolder, Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_bin(dataFolder), m_prompter(prompter), m_model(new QStandardItemModel(this)) {
    BuildDialog(*this, *res::FindDialogTemplate(res::kRecycleBinDialog));
    m_view = Control<QTreeView>(*this, res::kRecycleBinItems);
    m_preview = Control<QPlainTextEdit>(*this, res::kRecycleBinPreview);
    m_preview->setReadOnly(true);
    m_view->setModel(m_model);
    m_view->setHeaderHidden(false);
    m_view->setRootIsDecorated(false);
    m_view->setUniformRowHeights(true);
    m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Refill();
    connect(m_view->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &RecycleBinDialog::ShowPreview);
    connect(m_view, &QTreeView::doubleClicked, this, &RecycleBinDialog::RestoreSelected);
    auto* restore = Control<QPushButton>(*this, res::kRecycleBinRestore);
    disconnect(restore, nullptr, this, nullptr);
    connect(restore, &QPushButton::clicked, this, &RecycleBinDialog::RestoreSelected);
    connect(Control<QPushButton>(*this, res::kRecycleBinEmpty), &QPushButton::clicked, this,
            &RecycleBinDialog::EmptyBin);
}

void RecycleBinDialog::Refill() {
    m_items = m_bin.List();
    m_model->clear();
    m_model->setHorizontalHeaderLabels(
        {QStringLiteral("删除时间"), QStringLiteral("资料库"), QStringLiteral("类别"), QStringLiteral("卡片")});
    for (const TrashItem& item : m_items) {
        const std::string_view library = kLibraries[static_cast<std::size_t>(item.library)].name;
        m_model->appendRow(
            {new QStandardItem(When(item.deletedAt)),
             new QStandardItem(QString::fromUtf8(library.data(), static_cast<qsizetype>(library.size()))),
             new QStandardItem(Shown(item.categoryName)), new QStandardItem(What(item))});
    }
    for (int column = 0; column < 3; ++column) {
        m_view->header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }
    m_view->header()->setStretchLastSection(true);
    if (!m_items.empty()) {
        m_view->setCurrentIndex(m_model->index(0, 0));
    }
    ShowPreview();
    Control<QPushButton>(*this, res::kRecycleBinRestore)->setEnabled(!m_items.empty());
    Control<QPushButton>(*this, res::kRecycleBinEmpty)->setEnabled(!m_items.empty());
}

void RecycleBinDialog::ShowPreview() {
    const QModelIndex current = m_view->currentIndex();
    if (!current.isValid() || current.row() >= ItemCount()) {
        m_preview->setPlainText(m_items.empty() ? QStringLiteral("回收站是空的。") : QString());
        return;
    }
    const TrashItem& item = m_items[static_cast<std::size_t>(current.row())];
    if (item.error) {
        m_preview->setPlainText(QString::fromStdString(item.error.Message()));
        return;
    }
    if (item.kind == TrashItem::Kind::Category) {
        QStringList names;
        for (const std::string& name : item.cardNames) {
            names << Shown(name);
        }
        m_preview->setPlainText(names.join(QLatin1Char('\n')));
        return;
    }
    std::string name;
    std::int32_t count = 0;
    CardTable cards;
    if (StoreError error = ReadCategoryFile(item.file, ReadMode::Full, HeaderCheck::Check, {name, count, &cards})) {
        m_preview->setPlainText(QString::fromStdString(error.Message()));
        return;
    }
    QString text;
    for (std::size_t i = 0; i < cards.Size(); ++i) {
        const CardRecord& card = cards.At(i);
        text += (i == 0 ? QString() : QStringLiteral("\n\n")) + QStringLiteral("【") + Shown(card.name) +
                QStringLiteral("】") + (card.address.empty() ? QString() : QStringLiteral(" ") + Shown(card.address)) +
                QLatin1Char('\n') + Shown(card.content).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    }
    m_preview->setPlainText(text);
}

void RecycleBinDialog::RestoreSelected() {
    std::vector<std::string> ids;
    for (const QModelIndex& row : m_view->selectionModel()->selectedRows()) {
        ids.push_back(m_items[static_cast<std::size_t>(row.row())].id);
    }
    if (ids.empty() && m_view->currentIndex().isValid()) {
        ids.push_back(m_items[static_cast<std::size_t>(m_view->currentIndex().row())].id);
    }
    std::string failures;
    // Oldest first: a category comes back before cards deleted from it later.
    std::sort(ids.begin(), ids.end());
    for (const std::string& id : ids) {
        if (StoreError error = m_bin.Restore(id)) {
            failures += (failures.empty() ? "" : "\n") + error.Message();
        } else {
            m_restored = true;
        }
    }
    Refill();
    if (!failures.empty()) {
        m_prompter.Notice(failures);
    }
}

void RecycleBinDialog::EmptyBin() {
    if (m_items.empty() || !m_prompter.Confirm("回收站中的卡片和类别将被永久删除，不能再还原，继续吗？")) {
        return;
    }
    if (StoreError error = m_bin.Empty()) {
        m_prompter.Notice(error.Message());
    }
    Refill();
}

void InstallRecycleBin(CMainFrame& frame, CardStore& store, Prompter& prompter) {
    frame.Provide(res::kCmdRecycleBin, [&frame, &store, &prompter] {
        if (!frame.Operations().SaveQuestionBeforeModeSwitch()) {
            return;
        }
        RecycleBinDialog dialog(store.CategoryFolder(), prompter, &frame);
        dialog.exec();
        if (dialog.Restored()) {
            frame.Bar().ReloadFromDisk();
            frame.UpdateCommands();
        }
    });
}

}  // namespace quillet
