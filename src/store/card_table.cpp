#include "card_table.h"

#include <algorithm>

namespace quillet {

void CardTable::Clear() {
    m_entries.clear();
    m_entries.shrink_to_fit();
    m_contents.reset();
    m_contentError = {};
}

void CardTable::Append(CardRecord record) {
    if (m_entries.size() == m_entries.capacity()) {
        // Grow by the step at least, and by half the size for big tables, so appending stays linear.
        const std::size_t byEighth = std::clamp<std::size_t>(m_entries.size() / 8, 4, 1024);
        const std::size_t step = m_growthStep > 0 ? m_growthStep : byEighth;
        m_entries.reserve(m_entries.size() + std::max(step, m_entries.size() / 2));
    }
    m_entries.push_back(Entry{std::move(record), {}, {}, false, false, false});
}

void CardTable::AppendStored(std::string name, std::string address, StoredSpan content, bool canonical,
                             std::optional<StoredSpan> record) {
    Append(CardRecord{std::move(name), {}, std::move(address)});
    Entry& entry = m_entries.back();
    entry.content = content;
    entry.contentInFile = true;
    entry.contentCanonical = canonical;
    entry.whole = record.value_or(StoredSpan{});
    entry.wholeInFile = record.has_value();
}

void CardTable::Replace(std::size_t index, CardRecord record) {
    m_entries.at(index) = Entry{std::move(record), {}, {}, false, false, false};
}

void CardTable::RemoveAt(std::size_t index) {
    if (index < m_entries.size()) {
        m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(index));
    }
}

const CardRecord& CardTable::At(std::size_t index) const {
    Entry& entry = m_entries.at(index);
    if (entry.contentInFile) {
        std::string content;
        StoreError error = m_contents ? m_contents->Read(entry.content, content)
                                      : StoreError{StoreErrorKind::CannotRead, {}, "卡片内容所在的文件已经关闭"};
        if (error) {
            if (!m_contentError) {
                m_contentError = std::move(error);
            }
        } else {
            entry.record.content = std::move(content);
            entry.contentInFile = false;
        }
    }
    return entry.record;
}

std::optional<StoredSpan> CardTable::StoredRecord(std::size_t index) const {
    const Entry& entry = m_entries.at(index);
    return entry.wholeInFile ? std::optional<StoredSpan>(entry.whole) : std::nullopt;
}

std::optional<StoredSpan> CardTable::StoredContent(std::size_t index) const {
    const Entry& entry = m_entries.at(index);
    return entry.contentInFile && entry.contentCanonical ? std::optional<StoredSpan>(entry.content) : std::nullopt;
}

std::size_t CardTable::FindFirst(const std::string& name) const {
    const auto found =
        std::find_if(m_entries.begin(), m_entries.end(), [&](const Entry& entry) { return entry.record.name == name; });
    return static_cast<std::size_t>(found - m_entries.begin());
}

std::size_t CardTable::FindLast(const std::string& name) const {
    for (std::size_t i = m_entries.size(); i > 0; --i) {
        if (m_entries[i - 1].record.name == name) {
            return i - 1;
        }
    }
    return m_entries.size();
}

}  // namespace quillet
