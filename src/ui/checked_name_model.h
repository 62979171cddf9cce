#pragma once

#include <QAbstractListModel>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// A flat list of stored names, each with a check box. Names stay stored bytes in one block and become screen
// text only for the rows a view draws, so tens of thousands of rows fill at once.
class CheckedNameModel final : public QAbstractListModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CheckedNameModel)

public:
    explicit CheckedNameModel(QObject* parent = nullptr);

    // New rows, none ticked (or all ticked).
    template <class Names>
    void Reset(const Names& names, std::size_t count, bool ticked = false) {
        beginResetModel();
        m_bytes.clear();
        m_spans.clear();
        m_spans.reserve(count);
        for (std::size_t i = 0; i < count; ++i) {
            const std::string_view name = names(i);
            m_spans.push_back({m_bytes.size(), name.size()});
            m_bytes.append(name);
        }
        m_ticked.assign(count, ticked ? 1 : 0);
        endResetModel();
    }
    void Clear();

    // The ticked rows, ascending.
    std::vector<std::size_t> Ticked() const;
    void TickAll();
    void InvertTicks();
    bool Empty() const { return m_spans.empty(); }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    struct Span {
        std::size_t offset;
        std::size_t length;
    };

    void TicksChanged();

    std::string m_bytes;
    std::vector<Span> m_spans;
    std::vector<char> m_ticked;
};

}  // namespace quillet
