#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "store/card_record.h"
#include "store/card_table.h"

namespace quillet {

// What happens to a card whose name is there already.
enum class ExistingCard { Skip, Overwrite };

// The category a cut card was taken from, by library and name: numbers change when categories are put in order.
struct CutOrigin {
    int library = 0;
    std::string categoryName;

    bool operator==(const CutOrigin&) const = default;
};

struct ClipboardCard {
    CardRecord card;
    // Set while the card was cut and has not been pasted anywhere: it exists nowhere else.
    std::optional<CutOrigin> cutFrom;
};

// The organize tool's own clipboard. Cards are found by name, byte for byte, the first of a name counting.
// A cut card that is in no category yet is never replaced, so cutting cannot lose a card.
class OrganizeClipboard final {
public:
    // Takes in the ticked cards of `source` (positions, ascending). A card whose name is here already is left
    // out (Skip) or replaces the card here (Overwrite), unless that one is an unpasted cut card. With `cutFrom`
    // the cards taken are cut cards. Returns the positions of the cards that are here now.
    std::vector<std::size_t> Take(const CardTable& source, const std::vector<std::size_t>& ticked, ExistingCard rule,
                                  const std::optional<CutOrigin>& cutFrom = std::nullopt);

    struct Pasted {
        CardTable cards;
        std::vector<std::size_t> placed;  // clipboard positions whose card is in `cards` now
        CardTable replaced;               // the target's cards that were written over, as they were
    };
    // `target` with the ticked clipboard cards (positions, ascending) pasted in: appended, or over the first
    // card of that name (Overwrite), or left out (Skip). A card pasted and then replaced by a later one of the
    // same name in the same paste is not placed.
    Pasted PasteInto(const CardTable& target, const std::vector<std::size_t>& ticked, ExistingCard rule) const;

    // These cards are in a category file now.
    void MarkPlaced(const std::vector<std::size_t>& positions);
    // Unpasted cut cards become ordinary clipboard cards (put back, or given up by the user).
    void ForgetCutCards();
    void Add(ClipboardCard card) { m_cards.push_back(std::move(card)); }
    void Clear() { m_cards.clear(); }

    bool HasUnpastedCut() const;
    // The categories the unpasted cut cards came from, in the order first met.
    std::vector<CutOrigin> CutOrigins() const;
    // The unpasted cut cards of that category, in clipboard order.
    CardTable CutCardsFrom(const CutOrigin& origin) const;
    std::size_t Size() const { return m_cards.size(); }
    bool Empty() const { return m_cards.empty(); }
    const ClipboardCard& At(std::size_t index) const { return m_cards.at(index); }
    const std::vector<ClipboardCard>& Cards() const { return m_cards; }

private:
    std::vector<ClipboardCard> m_cards;
};

// The cards of `cards` less those at these positions (ascending); the others keep their order and their place
// in the file.
CardTable WithoutCards(const CardTable& cards, const std::vector<std::size_t>& positions);

}  // namespace quillet
