#include "tools/organize_session.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <map>
#include <numeric>
#include <random>
#include <thread>

#include "../store/test_folder.h"
#include "store/category_file.h"
#include "store/recycle_bin.h"

namespace quillet {
namespace {

using test::CategoryBytes;
using test::ReadBytes;

std::vector<CardRecord> CardsOf(const std::filesystem::path& file) {
    std::string name;
    std::int32_t count = 0;
    CardTable table;
    if (ReadCategoryFile(file, ReadMode::Full, HeaderCheck::Check, {name, count, &table})) {
        return {};
    }
    std::vector<CardRecord> cards;
    for (std::size_t i = 0; i < table.Size(); ++i) {
        cards.push_back(table.At(i));
    }
    return cards;
}

class OrganizeSessionTest : public ::testing::Test {
protected:
    OrganizeSessionTest() : store(home.Path()) { store.EnsureDataFolder(); }

    std::filesystem::path Seed(const char* file, std::string_view name, const std::vector<CardRecord>& cards) {
        const std::filesystem::path path = store.CategoryFolder() / file;
        test::WriteBytes(path, CategoryBytes(name, cards));
        return path;
    }
    // Chooses the category of that name in that library, as the tab and the list do.
    void Choose(OrganizeSession& session, int library, const std::string& name) {
        store.libraryStates[library].categoryName = name;
        ASSERT_FALSE(session.ChooseLibrary(library));
        ASSERT_GE(session.Chosen(), 0) << name;
        ASSERT_TRUE(store.Open().IsOpen()) << name;
    }

    test::TestFolder home;
    CardStore store;
};

const CardRecord a{"a", "A", ""}, b{"b", "B", ""}, older{"a", "older", ""}, site{"s", "about", "http://s.example"};

TEST_F(OrganizeSessionTest, choices_becomeTheProgramsCurrentLibraryCategoryAndPath) {
    Seed("Qulan.001", "x", {a});
    const auto web = Seed("Quweb.001", "sites", {site});
    OrganizeSession session(store);
    Choose(session, 3, "sites");
    EXPECT_EQ(store.currentLibrary, 3);
    EXPECT_EQ(store.currentCategoryName, "sites");
    EXPECT_EQ(store.libraryStates[3].categoryPath, web.string());
    EXPECT_EQ(session.Cards().At(0), site);

    // A library with no category to open empties the cards.
    ASSERT_FALSE(session.ChooseLibrary(2));
    EXPECT_EQ(store.currentLibrary, 2);
    EXPECT_TRUE(session.Cards().Empty());
    EXPECT_TRUE(session.Categories().empty());
}

TEST_F(OrganizeSessionTest, cut_takesOutOnlyWhatTheClipboardHolds_byPosition) {
    Seed("Qulan.001", "y", {older});
    const auto x = Seed("Qulan.002", "x", {a, b, {"b", "second b", ""}});
    OrganizeSession session(store);
    Choose(session, 0, "y");
    ASSERT_FALSE(session.Copy({0}, ExistingCard::Skip));
    Choose(session, 0, "x");

    // "a" is in the clipboard already and the rule is skip: it stays where it is; of the two "b" only the
    // second was ticked, and only that one goes.
    ASSERT_FALSE(session.Cut({0, 2}, ExistingCard::Skip));
    EXPECT_EQ(CardsOf(x), (std::vector<CardRecord>{a, b}));
    ASSERT_EQ(session.Clipboard().Size(), 2u);
    EXPECT_EQ(session.Clipboard().At(0).card, older);
    EXPECT_EQ(session.Clipboard().At(1).card.content, "second b");
    EXPECT_TRUE(std::filesystem::exists(session.RecoveryFile()));
    EXPECT_FALSE(session.Clear()) << "an unpasted cut card is never thrown away unasked";

    // Pasted somewhere, the cut card is safe: the recovery file goes.
    Choose(session, 0, "y");
    ASSERT_FALSE(session.Paste({1}, ExistingCard::Skip));
    EXPECT_EQ(CardsOf(store.CategoryFolder() / "Qulan.001"), (std::vector<CardRecord>{older, {"b", "second b", ""}}));
    EXPECT_FALSE(std::filesystem::exists(session.RecoveryFile()));
    EXPECT_TRUE(session.Clear());
}

TEST_F(OrganizeSessionTest, whatPasteWritesOverAndCutCardsGivenUp_goToTheRecycleBin) {
    Seed("Qulan.001", "x", {a, b});
    Seed("Qulan.002", "y", {older});
    OrganizeSession session(store);
    Choose(session, 0, "x");
    ASSERT_FALSE(session.Cut({0}, ExistingCard::Skip));
    Choose(session, 0, "y");
    ASSERT_FALSE(session.Paste({0}, ExistingCard::Overwrite));
    RecycleBin bin(store.CategoryFolder());
    std::vector<TrashItem> items = bin.List();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].categoryName, "y");
    EXPECT_EQ(items[0].cardNames, std::vector<std::string>{"a"});

    Choose(session, 0, "x");
    ASSERT_FALSE(session.Cut({0}, ExistingCard::Skip));
    ASSERT_FALSE(session.GiveUpCutCards());
    EXPECT_FALSE(std::filesystem::exists(session.RecoveryFile()));
    items = bin.List();
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].categoryName, "x");
    EXPECT_EQ(items[0].cardNames, std::vector<std::string>{"b"});
}

TEST_F(OrganizeSessionTest, pasteIntoTheSourceWithSkip_rewritesTheSameBytes) {
    const auto x = Seed("Qulan.001", "x", {a, b, site});
    const std::string before = ReadBytes(x);
    OrganizeSession session(store);
    Choose(session, 0, "x");
    ASSERT_FALSE(session.Copy({0, 1, 2}, ExistingCard::Skip));
    ASSERT_FALSE(session.Paste({0, 1, 2}, ExistingCard::Skip));
    EXPECT_EQ(ReadBytes(x), before);
}

TEST_F(OrganizeSessionTest, putBack_returnsCutCardsToTheirCategories_evenOneThatIsGone) {
    const auto x = Seed("Qulan.001", "x", {a, b});
    const auto web = Seed("Quweb.001", "sites", {site});
    OrganizeSession session(store);
    Choose(session, 0, "x");
    ASSERT_FALSE(session.Cut({0}, ExistingCard::Skip));
    Choose(session, 3, "sites");
    ASSERT_FALSE(session.Cut({0}, ExistingCard::Skip));
    std::filesystem::remove(web);

    ASSERT_FALSE(session.PutBack());
    EXPECT_EQ(CardsOf(x), (std::vector<CardRecord>{b, a}));
    const auto remade = store.CategoryFolder() / "Quweb.001";
    EXPECT_EQ(CardsOf(remade), (std::vector<CardRecord>{site}));
    EXPECT_FALSE(std::filesystem::exists(session.RecoveryFile()));
    EXPECT_EQ(store.currentLibrary, 3) << "the tool's library stays chosen";
    EXPECT_FALSE(session.Clipboard().HasUnpastedCut());
}

TEST_F(OrganizeSessionTest, aCategoryNotReadWhole_isNeverWrittenFromThePartRead) {
    std::string damaged = CategoryBytes("x", {a, b});
    damaged.resize(damaged.size() - 1);
    const auto x = store.CategoryFolder() / "Qulan.001";
    test::WriteBytes(x, damaged);
    Seed("Qulan.002", "y", {site});
    OrganizeSession session(store);
    Choose(session, 0, "y");
    ASSERT_FALSE(session.Copy({0}, ExistingCard::Skip));

    store.libraryStates[0].categoryName = "x";
    EXPECT_TRUE(session.ChooseLibrary(0)) << "the failed read is reported";
    EXPECT_EQ(store.libraryStates[0].categoryName, "x") << "the choice stays";
    EXPECT_TRUE(session.Cards().Empty());
    EXPECT_EQ(session.Cut({0}, ExistingCard::Skip).kind, StoreErrorKind::Refused);
    EXPECT_EQ(session.Paste({0}, ExistingCard::Overwrite).kind, StoreErrorKind::Refused);
    EXPECT_EQ(ReadBytes(x), damaged);
}

TEST_F(OrganizeSessionTest, recovery_offersCutCardsBackAfterARunThatDidNotEnd_andSetsADamagedFileAside) {
    const auto x = Seed("Qulan.001", "x", {a, b});
    {
        OrganizeSession crashed(store);
        Choose(crashed, 0, "x");
        ASSERT_FALSE(crashed.Cut({0, 1}, ExistingCard::Skip));
    }  // gone without a word, as a killed program
    EXPECT_TRUE(CardsOf(x).empty());

    OrganizeSession next(store);
    bool found = false;
    ASSERT_FALSE(next.TakeOverRecovery(found));
    ASSERT_TRUE(found);
    ASSERT_EQ(next.Clipboard().Size(), 2u);
    EXPECT_EQ(next.Clipboard().At(1).card, b);
    EXPECT_EQ(next.Clipboard().At(1).cutFrom, (CutOrigin{0, "x"}));
    Choose(next, 0, "x");
    ASSERT_FALSE(next.PutBack());
    EXPECT_EQ(CardsOf(x), (std::vector<CardRecord>{a, b}));

    test::WriteBytes(next.RecoveryFile(), "QuilletArchive Output File:broken");
    OrganizeSession third(store);
    EXPECT_TRUE(third.TakeOverRecovery(found));
    EXPECT_FALSE(found);
    EXPECT_TRUE(std::filesystem::exists(store.CategoryFolder() / "Quillet.cut.damaged"));
    EXPECT_FALSE(std::filesystem::exists(third.RecoveryFile()));
}

// A process killed at any moment while it cuts and pastes cards back and forth leaves every card in a
// category or in the recovery file; the next run puts the rest back and nothing is missing.
TEST_F(OrganizeSessionTest, killedWhileCuttingAndPasting_losesNoCard) {
    std::vector<CardRecord> all;
    for (int i = 0; i < 300; ++i) {
        all.push_back({"card " + std::to_string(i), std::string(3000, static_cast<char>('a' + i % 26)), ""});
    }
    const auto x = Seed("Qulan.001", "x", all);
    const auto y = Seed("Qulan.002", "y", {});
    std::mt19937 random(4711);
    for (int round = 0; round < 30; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            CardStore own(home.Path());
            OrganizeSession session(own);
            bool found = false;
            session.TakeOverRecovery(found);
            for (int i = 0;; ++i) {
                const char* from = i % 2 == 0 ? "x" : "y";
                const char* to = i % 2 == 0 ? "y" : "x";
                own.libraryStates[0].categoryName = from;
                session.ChooseLibrary(0);
                std::vector<std::size_t> everything(session.Cards().Size());
                std::iota(everything.begin(), everything.end(), std::size_t{0});
                session.Cut(everything, ExistingCard::Skip);
                own.libraryStates[0].categoryName = to;
                session.ChooseLibrary(0);
                std::vector<std::size_t> clipboard(session.Clipboard().Size());
                std::iota(clipboard.begin(), clipboard.end(), std::size_t{0});
                session.Paste(clipboard, ExistingCard::Skip);
                session.Clear();
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(std::uniform_int_distribution(2000, 120000)(random)));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);

        CardStore after(home.Path());
        OrganizeSession session(after);
        bool found = false;
        ASSERT_FALSE(session.TakeOverRecovery(found)) << "round " << round;
        if (found) {
            ASSERT_FALSE(session.PutBack()) << "round " << round;
        }
        std::map<std::string, CardRecord> seen;
        for (const auto& file : {x, y}) {
            for (const CardRecord& card : CardsOf(file)) {
                seen.emplace(card.name, card);
            }
        }
        ASSERT_EQ(seen.size(), all.size()) << "round " << round;
        for (const CardRecord& card : all) {
            ASSERT_EQ(seen[card.name], card) << "round " << round;
        }
    }
}

}  // namespace
}  // namespace quillet
