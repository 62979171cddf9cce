#include "card_table.h"

#include <algorithm>

namespace quillet {

void CardTable::Clear() {
    m_entries.clear();
    m_entries.shrink_to_fit();
    m_text.clear();
    m_text.shrink_to_fit();
    m_contents.reset();
    m_contentError = {};
}

void CardTable::MakeRoomForOne() {
    if (m_entries.size() == m_entries.capacity()) {
        // Grow by the step at least, and by half the size for big tables, so appending stays linear.
        const std::size_t byEighth = std::clamp<std::size_t>(m_entries.size() / 8, 4, 1024);
        const std::size_t step = m_growthStep > 0 ? m_growthStep : byEighth;
        m_entries.reserve(m_entries.size() + std::max(step, m_entries.size() / 2));
    }
}

void CardTable::Append(CardRecord record) {
    MakeRoomForOne();
    Entry entry;
    entry.card = std::make_shared<const CardRecord>(std::move(record));
    m_entries.push_back(std::move(entry));
}

void CardTable::AppendStored(std::string_view name, std::string_view address, StoredSpan record, StoredSpan content,
                             bool contentCanonical, bool wholeCanonical) {
    MakeRoomForOne();
    Entry entry;
    entry.recordOffset = record.offset;
    entry.contentStart = content.offset - record.offset;
    entry.contentBytes = content.bytes;
    entry.addressBytes = record.offset + record.bytes - content.offset - content.bytes;
    entry.inFile = true;
    entry.textOffset = m_text.size();
    entry.nameLength = static_cast<std::uint32_t>(name.size());
    entry.addressLength = static_cast<std::uint32_t>(address.size());
    entry.contentCanonical = contentCanonical;
    entry.wholeCanonical = wholeCanonical;
    m_text.append(name);
    m_text.append(address);
    m_entries.push_back(entry);
}

void CardTable::Replace(std::size_t index, CardRecord record) {
    Entry& entry = m_entries.at(index);
    entry = Entry{};
    entry.card = std::make_shared<const CardRecord>(std::move(record));
}

CardTable CardTable::Reordered(const std::vector<std::size_t>& order) const {
    CardTable reordered;
    reordered.m_entries.reserve(order.size());
    for (const std::size_t index : order) {
        reordered.m_entries.push_back(m_entries.at(index));
    }
    // Names and addresses of cards in the file are found by their offsets into this block.
    reordered.m_text = m_text;
    reordered.m_contentError = m_contentError;
    reordered.m_contents = m_contents;
    reordered.m_growthStep = m_growthStep;
    return reordered;
}

void CardTable::RemoveAt(std::size_t index) {
    if (index < m_entries.size()) {
        m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(index));
    }
}

std::string_view CardTable::NameAt(std::size_t index) const {
    const Entry& entry = m_entries.at(index);
    return entry.card ? std::string_view(entry.card->name)
                      : std::string_view(m_text).substr(entry.textOffset, entry.nameLength);
}

std::string_view CardTable::AddressAt(std::size_t index) const {
    const Entry& entry = m_entries.at(index);
    return entry.card ? std::string_view(entry.card->address)
                      : std::string_view(m_text).substr(entry.textOffset + entry.nameLength, entry.addressLength);
}

const CardRecord& CardTable::At(std::size_t index) const {
    Entry& entry = m_entries.at(index);
    if (!entry.card) {
        std::string content;
        StoreError error = m_contents ? m_contents->Read(ContentField(entry), content)
                                      : StoreError{StoreErrorKind::CannotRead, {}, "卡片内容所在的文件已经关闭"};
        if (error && !m_contentError) {
            m_contentError = std::move(error);
        }
        // A card whose content could not be read is shown empty, and the table is never written again.
        entry.card = std::make_shared<const CardRecord>(
            CardRecord{std::string(NameAt(index)), std::move(content), std::string(AddressAt(index))});
    }
    return *entry.card;
}

std::optional<StoredSpan> CardTable::StoredRecord(std::size_t index) const {
    const Entry& entry = m_entries.at(index);
    if (!entry.inFile || !entry.wholeCanonical) {
        return std::nullopt;
    }
    return StoredSpan{entry.recordOffset, entry.contentStart + entry.contentBytes + entry.addressBytes};
}

std::optional<StoredSpan> CardTable::StoredContent(std::size_t index) const {
    const Entry& entry = m_entries.at(index);
    if (!entry.inFile || entry.card || !entry.contentCanonical) {
        return std::nullopt;
    }
    return ContentField(entry);
}

std::size_t CardTable::FindFirst(std::string_view name) const {
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        if (NameAt(i) == name) {
            return i;
        }
    }
    return m_entries.size();
}

std::size_t CardTable::FindLast(std::string_view name) const {
    for (std::size_t i = m_entries.size(); i > 0; --i) {
        if (NameAt(i - 1) == name) {
            return i - 1;
        }
    }
    return m_entries.size();
}

}  // namespace quillet
