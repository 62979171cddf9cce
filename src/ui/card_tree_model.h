#pragma once

#include <QAbstractItemModel>
#include <QIcon>
#include <cstdint>
#include <string>
#include <vector>

namespace quillet {

class CardTable;

// A category and its cards as a two-level tree: one root row with one child row per card; or cards alone as
// top-level rows, as search results are listed. Names are kept as stored bytes in one block and turned into
// screen text only for the rows a view draws, so a category of any size is shown at once.
class CardTreeModel final : public QAbstractItemModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CardTreeModel)

public:
    // The stored bytes of a row's name, as a QByteArray.
    static constexpr int kStoredNameRole = Qt::UserRole;
    enum class Image { EmptyCategory, Category, Card };

    explicit CardTreeModel(QObject* parent = nullptr);

    // The category with one row per card of the table, in table order.
    void Reset(const std::string& categoryName, const CardTable& cards);
    // One top-level row per card, with no category row.
    void ResetList(const CardTable& cards);
    // The category with no card rows.
    void Reset(const std::string& categoryName);
    // No rows at all.
    void Clear();

    bool HasRoot() const { return m_hasRoot; }
    QModelIndex RootIndex() const;
    QModelIndex CardIndex(int row) const;
    bool IsRoot(const QModelIndex& index) const;
    // The card row of an index, or -1 for the root and for anything else.
    int CardRow(const QModelIndex& index) const;
    int CardCount() const { return static_cast<int>(m_names.size()); }
    std::string CardName(int row) const;
    const std::string& CategoryName() const { return m_categoryName; }

    void RenameCategory(const std::string& name);
    void SetRootImage(Image image);
    void RenameCard(int row, const std::string& name);
    void RemoveCard(int row);
    void AppendCard(const std::string& name);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    struct Span {
        std::size_t offset;
        std::size_t length;
    };

    Span Store(std::string_view name);
    void FillNames(const CardTable& cards);
    std::string_view NameOf(Span span) const { return std::string_view(m_bytes).substr(span.offset, span.length); }

    bool m_hasRoot = false;
    std::string m_categoryName;
    Image m_rootImage = Image::Category;
    // Every name one after another; a renamed card's old bytes stay until the next reset.
    std::string m_bytes;
    std::vector<Span> m_names;
    QIcon m_images[3];
};

}  // namespace quillet
