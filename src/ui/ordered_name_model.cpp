#include "ui/ordered_name_model.h"

#include "store/codec.h"

namespace quillet {

OrderedNameModel::OrderedNameModel(QObject* parent) : QAbstractListModel(parent) {}

void OrderedNameModel::Reset(const std::vector<std::string>* names, const std::vector<std::size_t>* order) {
    beginResetModel();
    m_names = names;
    m_order = order;
    endResetModel();
}

void OrderedNameModel::Reordered(std::size_t first, std::size_t last) {
    emit dataChanged(index(static_cast<int>(first)), index(static_cast<int>(last)), {Qt::DisplayRole});
}

int OrderedNameModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !m_order ? 0 : static_cast<int>(m_order->size());
}

QVariant OrderedNameModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    return QString::fromStdString(ToUtf8((*m_names)[(*m_order)[static_cast<std::size_t>(index.row())]]));
}

}  // namespace quillet
