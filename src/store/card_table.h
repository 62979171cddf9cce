#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "card_record.h"
#include "store_error.h"
#include "stored_contents.h"

namespace quillet {

// The cards of one category in file order. A table read from a file may leave the contents there: a card's
// content is read the first time the card is asked for, and a card never changed is written back by copying
// its bytes. Such cards keep their names and addresses in one block, not one string each.
class CardTable final {
public:
    void Clear();
    // The least number of records the table grows by; loading a category sets it to 500.
    void SetGrowthStep(std::size_t step) { m_growthStep = step; }
    // Room for count records at once, so a load of a known size does not grow step by step.
    void Reserve(std::size_t count) { m_entries.reserve(count); }
    // Room for that many bytes of names and addresses of cards whose contents stay in their file.
    void ReserveText(std::size_t bytes) { m_text.reserve(bytes); }

    void Append(CardRecord record);
    // A card read from the file the table reads its contents from: the record and its content field are at
    // those places, and the flags say whether the content field, and all three fields, are in the writer's own
    // form. The content stays in the file; name and address must each be shorter than 4 GiB.
    void AppendStored(std::string_view name, std::string_view address, StoredSpan record, StoredSpan content,
                      bool contentCanonical, bool wholeCanonical);
    void SetStoredContents(std::shared_ptr<const StoredContents> contents) { m_contents = std::move(contents); }
    void Replace(std::size_t index, CardRecord record);
    void RemoveAt(std::size_t index);
    // The same cards in another order: `order` lists each index once. Contents still in the file stay there.
    CardTable Reordered(const std::vector<std::size_t>& order) const;

    // The whole card; a content still in the file is read now. When that read fails the content is empty and
    // ContentError() says why.
    const CardRecord& At(std::size_t index) const;
    std::string_view NameAt(std::size_t index) const;
    std::string_view AddressAt(std::size_t index) const;
    std::size_t Size() const { return m_entries.size(); }
    bool Empty() const { return m_entries.empty(); }

    // The first content that could not be read; a table with one is never written.
    const StoreError& ContentError() const { return m_contentError; }
    // Where the unchanged card is in the file, when it can be copied from there as it is.
    std::optional<StoredSpan> StoredRecord(std::size_t index) const;
    // Where the card's content is in the file, in the writer's own form, while it has not been read.
    std::optional<StoredSpan> StoredContent(std::size_t index) const;
    const StoredContents* Contents() const { return m_contents.get(); }

    // The first card of that name, the one a lookup by name shows, becomes what `change` makes of it; a
    // second card of the same name keeps its own text.
    template <class Change>
    void ReplaceFirstNamed(const std::string& name, Change&& change) {
        const std::size_t index = FindFirst(name);
        if (index < m_entries.size()) {
            Replace(index, change(At(index)));
        }
    }

    // Index of the first (or last) card of that name, or Size() when there is none.
    std::size_t FindFirst(std::string_view name) const;
    std::size_t FindLast(std::string_view name) const;

private:
    // A card in memory has `card`; a card in the file has its name and address in m_text and the places of its
    // fields in the file, and gets `card` once it is read.
    struct Entry {
        std::shared_ptr<const CardRecord> card;
        std::uint64_t recordOffset = 0;
        std::uint64_t contentBytes = 0;
        std::size_t textOffset = 0;
        std::uint32_t nameLength = 0;
        std::uint32_t addressLength = 0;
        std::uint64_t contentStart = 0;  // from the record's start
        std::uint64_t addressBytes = 0;  // the address field, prefix included
        bool inFile = false;
        bool contentCanonical = false;
        bool wholeCanonical = false;
    };

    void MakeRoomForOne();
    static StoredSpan ContentField(const Entry& entry) {
        return {entry.recordOffset + entry.contentStart, entry.contentBytes};
    }

    // Contents are read on first use, from a const table as well.
    mutable std::vector<Entry> m_entries;
    std::string m_text;
    mutable StoreError m_contentError;
    std::shared_ptr<const StoredContents> m_contents;
    std::size_t m_growthStep = 0;
};

}  // namespace quillet
