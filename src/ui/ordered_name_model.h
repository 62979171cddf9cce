#pragma once

#include <QAbstractListModel>
#include <cstddef>
#include <string>
#include <vector>

namespace quillet {

// Stored names shown in an order of their own: row n is the name at order[n]. Reordering changes only that
// list, so moving a line in tens of thousands costs nothing but the repaint of the lines in view.
class OrderedNameModel final : public QAbstractListModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(OrderedNameModel)

public:
    explicit OrderedNameModel(QObject* parent = nullptr);

    void Reset(const std::vector<std::string>* names, const std::vector<std::size_t>* order);
    // The order changed between these rows (inclusive).
    void Reordered(std::size_t first, std::size_t last);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    const std::vector<std::string>* m_names = nullptr;
    const std::vector<std::size_t>* m_order = nullptr;
};

}  // namespace quillet
