#pragma once

#include <cstddef>
#include <vector>

#include "card_record.h"

namespace quillet {

// The cards of one category in file order.
class CardTable final {
public:
    void Clear();
    // The least number of records the table grows by; loading a category sets it to 500.
    void SetGrowthStep(std::size_t step) { m_growthStep = step; }
    // Room for count records at once, so a load of a known size does not grow step by step.
    void Reserve(std::size_t count) { m_records.reserve(count); }

    void Append(CardRecord record);
    void Replace(std::size_t index, CardRecord record) { m_records.at(index) = std::move(record); }
    void RemoveAt(std::size_t index);

    const CardRecord& At(std::size_t index) const { return m_records.at(index); }
    std::size_t Size() const { return m_records.size(); }
    bool Empty() const { return m_records.empty(); }

    // The first card of that name, the one a lookup by name shows, becomes what `change` makes of it; a
    // second card of the same name keeps its own text.
    template <class Change>
    void ReplaceFirstNamed(const std::string& name, Change&& change) {
        const std::size_t index = FindFirst(name);
        if (index < m_records.size()) {
            m_records[index] = change(m_records[index]);
        }
    }

    // Index of the first card of that name, or Size() when there is none.
    std::size_t FindFirst(const std::string& name) const;

    std::vector<CardRecord>::const_iterator begin() const { return m_records.begin(); }
    std::vector<CardRecord>::const_iterator end() const { return m_records.end(); }

private:
    std::vector<CardRecord> m_records;
    std::size_t m_growthStep = 0;
};

}  // namespace quillet
