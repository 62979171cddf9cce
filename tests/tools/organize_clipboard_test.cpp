#include "tools/organize_clipboard.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

CardTable Table(const std::vector<CardRecord>& cards) {
    CardTable table;
    for (const CardRecord& card : cards) {
        table.Append(card);
    }
    return table;
}

std::vector<CardRecord> Records(const CardTable& table) {
    std::vector<CardRecord> records;
    for (std::size_t i = 0; i < table.Size(); ++i) {
        records.push_back(table.At(i));
    }
    return records;
}

std::vector<CardRecord> Records(const OrganizeClipboard& clipboard) {
    std::vector<CardRecord> records;
    for (const ClipboardCard& card : clipboard.Cards()) {
        records.push_back(card.card);
    }
    return records;
}

const CutOrigin kOrigin{0, "origin"};

struct TakeCase {
    const char* what;
    std::vector<CardRecord> clipboard;  // copies already there
    bool cutThere;                      // the clipboard's cards are unpasted cut cards
    std::vector<CardRecord> source;
    std::vector<std::size_t> ticked;
    ExistingCard rule;
    bool cut;
    std::vector<CardRecord> expected;
    std::vector<std::size_t> taken;
};

TEST(OrganizeClipboard, take_followsTheRuleAndNeverReplacesAnUnpastedCutCard) {
    const CardRecord a1{"a", "first", ""}, a2{"a", "second", "http://x"}, b{"b", "B", ""};
    const TakeCase cases[] = {
        {"nothing ticked", {a1}, false, {b}, {}, ExistingCard::Skip, false, {a1}, {}},
        {"new name appended", {a1}, false, {b}, {0}, ExistingCard::Skip, false, {a1, b}, {0}},
        {"skip keeps the first", {a1}, false, {a2}, {0}, ExistingCard::Skip, false, {a1}, {}},
        {"overwrite takes the second", {a1}, false, {a2}, {0}, ExistingCard::Overwrite, false, {a2}, {0}},
        {"one take, two of a name, overwrite",
         {},
         false,
         {a1, a2},
         {0, 1},
         ExistingCard::Overwrite,
         false,
         {a2},
         {0, 1}},
        {"cut over a copy with skip stays", {a1}, false, {a2}, {0}, ExistingCard::Skip, true, {a1}, {}},
        {"cut over a copy with overwrite", {a1}, false, {a2}, {0}, ExistingCard::Overwrite, true, {a2}, {0}},
        {"copy over an unpasted cut card", {a1}, true, {a2}, {0}, ExistingCard::Overwrite, false, {a1}, {}},
        {"cut over an unpasted cut card", {a1}, true, {a2}, {0}, ExistingCard::Overwrite, true, {a1}, {}},
        {"out of range ignored", {}, false, {b}, {0, 5}, ExistingCard::Skip, false, {b}, {0}},
    };
    for (const TakeCase& c : cases) {
        OrganizeClipboard clipboard;
        for (const CardRecord& card : c.clipboard) {
            clipboard.Add({card, c.cutThere ? std::optional<CutOrigin>(kOrigin) : std::nullopt});
        }
        const std::vector<std::size_t> taken =
            clipboard.Take(Table(c.source), c.ticked, c.rule, c.cut ? std::optional<CutOrigin>(kOrigin) : std::nullopt);
        EXPECT_EQ(Records(clipboard), c.expected) << c.what;
        EXPECT_EQ(taken, c.taken) << c.what;
        EXPECT_EQ(clipboard.HasUnpastedCut(), c.cutThere || (c.cut && !c.taken.empty())) << c.what;
    }
}

struct PasteCase {
    const char* what;
    std::vector<CardRecord> clipboard;
    std::vector<std::size_t> ticked;
    std::vector<CardRecord> target;
    ExistingCard rule;
    std::vector<CardRecord> expected;
    std::vector<std::size_t> placed;
};

TEST(OrganizeClipboard, paste_byNameFirstMatch_andSaysWhichCardsLanded) {
    const CardRecord a1{"a", "first", ""}, a2{"a", "second", ""}, old{"a", "old", ""}, b{"b", "B", ""};
    const PasteCase cases[] = {
        {"nothing ticked", {a1}, {}, {b}, ExistingCard::Skip, {b}, {}},
        {"into a category without it", {a1}, {0}, {b}, ExistingCard::Skip, {b, a1}, {0}},
        {"skip leaves the card there", {a1}, {0}, {old, b}, ExistingCard::Skip, {old, b}, {}},
        {"overwrite replaces the first of the name",
         {a1},
         {0},
         {b, old, old},
         ExistingCard::Overwrite,
         {b, a1, old},
         {0}},
        {"two of a name, skip", {a1, a2}, {0, 1}, {b}, ExistingCard::Skip, {b, a1}, {0}},
        {"two of a name, overwrite: the second lands, the first does not",
         {a1, a2},
         {0, 1},
         {b},
         ExistingCard::Overwrite,
         {b, a2},
         {1}},
        {"only the ticked", {a1, b}, {1}, {}, ExistingCard::Skip, {b}, {1}},
    };
    for (const PasteCase& c : cases) {
        OrganizeClipboard clipboard;
        for (const CardRecord& card : c.clipboard) {
            clipboard.Add({card, kOrigin});
        }
        const OrganizeClipboard::Pasted pasted = clipboard.PasteInto(Table(c.target), c.ticked, c.rule);
        EXPECT_EQ(Records(pasted.cards), c.expected) << c.what;
        EXPECT_EQ(pasted.placed, c.placed) << c.what;
        EXPECT_EQ(clipboard.Size(), c.clipboard.size()) << c.what << ": the clipboard keeps its cards";
    }
}

TEST(OrganizeClipboard, withoutCards_removesByPositionNotByName) {
    const CardRecord x1{"x", "1", ""}, x2{"x", "2", ""}, x3{"x", "3", ""};
    EXPECT_EQ(Records(WithoutCards(Table({x1, x2, x3}), {1})), (std::vector<CardRecord>{x1, x3}));
    EXPECT_EQ(Records(WithoutCards(Table({x1, x2, x3}), {0, 2})), (std::vector<CardRecord>{x2}));
    EXPECT_EQ(Records(WithoutCards(Table({x1, x2}), {})), (std::vector<CardRecord>{x1, x2}));
}

}  // namespace
}  // namespace quillet
