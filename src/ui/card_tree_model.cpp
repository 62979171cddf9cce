#include "ui/card_tree_model.h"

#include "store/card_table.h"
#include "store/codec.h"

namespace quillet {
namespace {

// Children of the root carry this id; the root itself carries 0.
constexpr quintptr kCardId = 1;

QString Display(std::string_view stored) {
    thread_local std::string utf8;
    utf8.clear();
    AppendAsUtf8(stored, utf8);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace

CardTreeModel::CardTreeModel(QObject* parent) : QAbstractItemModel(parent) {
    m_images[static_cast<int>(Image::EmptyCategory)] = QIcon(QStringLiteral(":/images/category_empty.svg"));
    m_images[static_cast<int>(Image::Category)] = QIcon(QStringLiteral(":/images/category.svg"));
    m_images[static_cast<int>(Image::Card)] = QIcon(QStringLiteral(":/images/card.svg"));
}

CardTreeModel::Span CardTreeModel::Store(std::string_view name) {
    const Span span{m_bytes.size(), name.size()};
    m_bytes += name;
    return span;
}

void CardTreeModel::Reset(const std::string& categoryName, const CardTable& cards) {
    beginResetModel();
    m_hasRoot = true;
    m_categoryName = categoryName;
    FillNames(cards);
    endResetModel();
}

void CardTreeModel::ResetList(const CardTable& cards) {
    beginResetModel();
    m_hasRoot = false;
    m_categoryName.clear();
    FillNames(cards);
    endResetModel();
}

void CardTreeModel::FillNames(const CardTable& cards) {
    m_bytes.clear();
    m_names.clear();
    std::size_t total = 0;
    for (std::size_t i = 0; i < cards.Size(); ++i) {
        total += cards.NameAt(i).size();
    }
    m_bytes.reserve(total);
    m_names.reserve(cards.Size());
    for (std::size_t i = 0; i < cards.Size(); ++i) {
        m_names.push_back(Store(cards.NameAt(i)));
    }
}

void CardTreeModel::Reset(const std::string& categoryName) { Reset(categoryName, CardTable{}); }

void CardTreeModel::Clear() {
    beginResetModel();
    m_hasRoot = false;
    m_categoryName.clear();
    m_bytes.clear();
    m_bytes.shrink_to_fit();
    m_names.clear();
    m_names.shrink_to_fit();
    endResetModel();
}

QModelIndex CardTreeModel::RootIndex() const { return m_hasRoot ? createIndex(0, 0, quintptr(0)) : QModelIndex(); }

QModelIndex CardTreeModel::CardIndex(int row) const {
    return row >= 0 && row < CardCount() ? createIndex(row, 0, kCardId) : QModelIndex();
}

bool CardTreeModel::IsRoot(const QModelIndex& index) const {
    return index.isValid() && index.model() == this && index.internalId() != kCardId;
}

int CardTreeModel::CardRow(const QModelIndex& index) const {
    return index.isValid() && index.model() == this && index.internalId() == kCardId ? index.row() : -1;
}

std::string CardTreeModel::CardName(int row) const {
    return row >= 0 && row < CardCount() ? std::string(NameOf(m_names[static_cast<std::size_t>(row)])) : std::string();
}

void CardTreeModel::RenameCategory(const std::string& name) {
    m_categoryName = name;
    const QModelIndex root = RootIndex();
    emit dataChanged(root, root);
}

void CardTreeModel::SetRootImage(Image image) {
    m_rootImage = image;
    const QModelIndex root = RootIndex();
    emit dataChanged(root, root, {Qt::DecorationRole});
}

void CardTreeModel::RenameCard(int row, const std::string& name) {
    if (row < 0 || row >= CardCount()) {
        return;
    }
    m_names[static_cast<std::size_t>(row)] = Store(name);
    const QModelIndex changed = CardIndex(row);
    emit dataChanged(changed, changed);
}

void CardTreeModel::RemoveCard(int row) {
    if (row < 0 || row >= CardCount()) {
        return;
    }
    beginRemoveRows(RootIndex(), row, row);
    m_names.erase(m_names.begin() + row);
    endRemoveRows();
}

void CardTreeModel::AppendCard(const std::string& name) {
    if (!m_hasRoot) {
        return;
    }
    beginInsertRows(RootIndex(), CardCount(), CardCount());
    m_names.push_back(Store(name));
    endInsertRows();
}

QModelIndex CardTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0) {
        return {};
    }
    if (!parent.isValid()) {
        if (!m_hasRoot) {
            return CardIndex(row);
        }
        return row == 0 ? RootIndex() : QModelIndex();
    }
    return IsRoot(parent) ? CardIndex(row) : QModelIndex();
}

QModelIndex CardTreeModel::parent(const QModelIndex& child) const {
    return CardRow(child) >= 0 ? RootIndex() : QModelIndex();
}

int CardTreeModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid()) {
        return m_hasRoot ? 1 : CardCount();
    }
    return IsRoot(parent) ? CardCount() : 0;
}

int CardTreeModel::columnCount(const QModelIndex&) const { return 1; }

QVariant CardTreeModel::data(const QModelIndex& index, int role) const {
    const int row = CardRow(index);
    if (row < 0 && !IsRoot(index)) {
        return {};
    }
    const std::string_view name =
        row >= 0 ? NameOf(m_names[static_cast<std::size_t>(row)]) : std::string_view(m_categoryName);
    switch (role) {
        case Qt::DisplayRole:
        case Qt::ToolTipRole:
            return Display(name);
        case Qt::DecorationRole:
            return m_images[static_cast<int>(row >= 0 ? Image::Card : m_rootImage)];
        case kStoredNameRole:
            return QByteArray(name.data(), static_cast<qsizetype>(name.size()));
        default:
            return {};
    }
}

Qt::ItemFlags CardTreeModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

}  // namespace quillet
