#include "card_table.h"

#include <algorithm>

namespace quillet {

void CardTable::Clear() {
    m_records.clear();
    m_records.shrink_to_fit();
}

void CardTable::Append(CardRecord record) {
    if (m_records.size() == m_records.capacity()) {
        // Grow by the step at least, and by half the size for big tables, so appending stays linear.
        const std::size_t byEighth = std::clamp<std::size_t>(m_records.size() / 8, 4, 1024);
        const std::size_t step = m_growthStep > 0 ? m_growthStep : byEighth;
        m_records.reserve(m_records.size() + std::max(step, m_records.size() / 2));
    }
    m_records.push_back(std::move(record));
}

void CardTable::RemoveAt(std::size_t index) {
    if (index < m_records.size()) {
        m_records.erase(m_records.begin() + static_cast<std::ptrdiff_t>(index));
    }
}

std::size_t CardTable::FindFirst(const std::string& name) const {
    const auto found =
        std::find_if(m_records.begin(), m_records.end(), [&](const CardRecord& record) { return record.name == name; });
    return static_cast<std::size_t>(found - m_records.begin());
}

}  // namespace quillet
