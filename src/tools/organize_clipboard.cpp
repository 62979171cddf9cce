#include "tools/organize_clipboard.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

namespace quillet {

namespace {

// The first position of each name: one lookup per card, so big categories take linear time.
class FirstByName final {
public:
    void Note(std::string_view name, std::size_t position) { m_first.try_emplace(std::string(name), position); }
    std::optional<std::size_t> Find(std::string_view name) const {
        const auto found = m_first.find(std::string(name));
        return found == m_first.end() ? std::nullopt : std::optional<std::size_t>(found->second);
    }

private:
    std::unordered_map<std::string, std::size_t> m_first;
};

}  // namespace

std::vector<std::size_t> OrganizeClipboard::Take(const CardTable& source, const std::vector<std::size_t>& ticked,
                                                 ExistingCard rule, const std::optional<CutOrigin>& cutFrom) {
    FirstByName first;
    for (std::size_t i = 0; i < m_cards.size(); ++i) {
        first.Note(m_cards[i].card.name, i);
    }
    std::vector<std::size_t> taken;
    for (const std::size_t position : ticked) {
        if (position >= source.Size()) {
            continue;
        }
        const std::optional<std::size_t> here = first.Find(source.NameAt(position));
        if (!here) {
            first.Note(source.NameAt(position), m_cards.size());
            m_cards.push_back({source.At(position), cutFrom});
        } else if (rule == ExistingCard::Overwrite && !m_cards[*here].cutFrom) {
            m_cards[*here] = {source.At(position), cutFrom};
        } else {
            continue;
        }
        taken.push_back(position);
    }
    return taken;
}

OrganizeClipboard::Pasted OrganizeClipboard::PasteInto(const CardTable& target, const std::vector<std::size_t>& ticked,
                                                       ExistingCard rule) const {
    Pasted pasted{target, {}, {}};
    FirstByName first;
    for (std::size_t i = 0; i < target.Size(); ++i) {
        first.Note(target.NameAt(i), i);
    }
    // Which clipboard card each target position we pasted into holds now.
    std::unordered_map<std::size_t, std::size_t> holders;
    for (const std::size_t position : ticked) {
        if (position >= m_cards.size()) {
            continue;
        }
        const CardRecord& card = m_cards[position].card;
        const std::optional<std::size_t> there = first.Find(card.name);
        if (!there) {
            first.Note(card.name, pasted.cards.Size());
            holders[pasted.cards.Size()] = position;
            pasted.cards.Append(card);
        } else if (rule == ExistingCard::Overwrite) {
            // Only a card of the target itself is lost by this; one pasted just before is still in the clipboard.
            if (*there < target.Size() && !holders.contains(*there)) {
                pasted.replaced.Append(target.At(*there));
            }
            pasted.cards.Replace(*there, card);
            holders[*there] = position;
        }
    }
    for (const auto& holder : holders) {
        pasted.placed.push_back(holder.second);
    }
    std::sort(pasted.placed.begin(), pasted.placed.end());
    return pasted;
}

void OrganizeClipboard::MarkPlaced(const std::vector<std::size_t>& positions) {
    for (const std::size_t position : positions) {
        if (position < m_cards.size()) {
            m_cards[position].cutFrom.reset();
        }
    }
}

void OrganizeClipboard::ForgetCutCards() {
    for (ClipboardCard& card : m_cards) {
        card.cutFrom.reset();
    }
}

bool OrganizeClipboard::HasUnpastedCut() const {
    return std::any_of(m_cards.begin(), m_cards.end(), [](const ClipboardCard& card) { return card.cutFrom; });
}

std::vector<CutOrigin> OrganizeClipboard::CutOrigins() const {
    std::vector<CutOrigin> origins;
    for (const ClipboardCard& card : m_cards) {
        if (card.cutFrom && std::find(origins.begin(), origins.end(), *card.cutFrom) == origins.end()) {
            origins.push_back(*card.cutFrom);
        }
    }
    return origins;
}

CardTable OrganizeClipboard::CutCardsFrom(const CutOrigin& origin) const {
    CardTable cards;
    for (const ClipboardCard& card : m_cards) {
        if (card.cutFrom == origin) {
            cards.Append(card.card);
        }
    }
    return cards;
}

CardTable WithoutCards(const CardTable& cards, const std::vector<std::size_t>& positions) {
    std::vector<std::size_t> kept;
    kept.reserve(cards.Size());
    auto removed = positions.begin();
    for (std::size_t i = 0; i < cards.Size(); ++i) {
        if (removed != positions.end() && *removed == i) {
            ++removed;
            continue;
        }
        kept.push_back(i);
    }
    return cards.Reordered(kept);
}

}  // namespace quillet
