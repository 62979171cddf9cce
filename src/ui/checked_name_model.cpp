#include "ui/checked_name_model.h"

#include "store/codec.h"

namespace quillet {

CheckedNameModel::CheckedNameModel(QObject* parent) : QAbstractListModel(parent) {}

void CheckedNameModel::Clear() {
    Reset([](std::size_t) { return std::string_view(); }, 0);
}

std::vector<std::size_t> CheckedNameModel::Ticked() const {
    std::vector<std::size_t> ticked;
    for (std::size_t i = 0; i < m_ticked.size(); ++i) {
        if (m_ticked[i]) {
            ticked.push_back(i);
        }
    }
    return ticked;
}

void CheckedNameModel::TickAll() {
    m_ticked.assign(m_ticked.size(), 1);
    TicksChanged();
}

void CheckedNameModel::InvertTicks() {
    for (char& ticked : m_ticked) {
        ticked = ticked ? 0 : 1;
    }
    TicksChanged();
}

void CheckedNameModel::TicksChanged() {
    if (!m_ticked.empty()) {
        emit dataChanged(index(0), index(rowCount() - 1), {Qt::CheckStateRole});
    }
}

int CheckedNameModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_spans.size());
}

QVariant CheckedNameModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const std::size_t row = static_cast<std::size_t>(index.row());
    switch (role) {
        case Qt::DisplayRole: {
            const Span span = m_spans[row];
            return QString::fromStdString(ToUtf8(std::string_view(m_bytes).substr(span.offset, span.length)));
        }
        case Qt::CheckStateRole:
            return m_ticked[row] ? Qt::Checked : Qt::Unchecked;
        default:
            return {};
    }
}

bool CheckedNameModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::CheckStateRole || !index.isValid() || index.row() >= rowCount()) {
        return false;
    }
    m_ticked[static_cast<std::size_t>(index.row())] = value.toInt() == Qt::Checked ? 1 : 0;
    emit dataChanged(index, index, {Qt::CheckStateRole});
    return true;
}

Qt::ItemFlags CheckedNameModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable | Qt::ItemNeverHasChildren;
}

}  // namespace quillet
