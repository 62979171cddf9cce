#include "store/card_operations.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>
#include <set>
#include <thread>

#include "entry_fakes.h"
#include "store/category_file.h"
#include "store/codec.h"
#include "store/data_folder.h"
#include "store/recycle_bin.h"
#include "test_folder.h"

namespace quillet {
namespace {

using test::CategoryBytes;
using test::ReadBytes;
using Kind = EntryPane::TreeSelection::Kind;

const std::string kAlpha = ToStoredText("算法");
const std::string kBeta = ToStoredText("工具");
const std::vector<CardRecord> kThreeCards = {{"one", "1\r\n", ""}, {"two", "2", ""}, {"three", "3", ""}};

class CardOperationsTest : public ::testing::Test {
protected:
    CardOperationsTest() : store(home.Path()), pane(store), input(store), ops(store, pane, prompter, input, capture) {
        store.EnsureDataFolder();
        store.currentLibrary = 0;
    }

    std::filesystem::path File(const char* name) const { return store.CategoryFolder() / name; }
    void Seed(const char* file, const std::string& name, const std::vector<CardRecord>& cards) {
        test::WriteBytes(File(file), CategoryBytes(name, cards));
    }
    // Alpha (three cards) in Qulan.001 and Beta (empty) in Qulan.002, Alpha open with its node selected.
    void OpenTwoCategories() {
        Seed("Qulan.001", kAlpha, kThreeCards);
        Seed("Qulan.002", kBeta, {});
        store.libraryStates[0].categoryName = kAlpha;
        pane.ReloadLibrary();
    }
    // The web library with one category "sites" holding these sites, its first site selected.
    void OpenSites(const std::vector<CardRecord>& sites) {
        store.currentLibrary = kWebLibrary;
        Seed("Quweb.001", "sites", sites);
        store.libraryStates[3].categoryName = "sites";
        pane.ReloadLibrary();
        pane.SelectCardItem(0);
    }
    std::vector<std::string> Shown() const {
        std::vector<std::string> texts;
        for (const auto& shown : prompter.shown) {
            texts.push_back(shown.kind + ":" + shown.text);
        }
        return texts;
    }

    test::TestFolder home;
    CardStore store;
    test::FakePane pane;
    test::ScriptedPrompter prompter;
    test::ScriptedInput input;
    test::RecordingCapture capture;
    CardOperations ops;
};

TEST_F(CardOperationsTest, createCategory_writesAnEmptyFileAndSelectsIt) {
    OpenTwoCategories();
    input.names = {ToStoredText("新类")};
    ops.CreateCategory();
    EXPECT_EQ(input.asked, std::vector<std::string>{"请输入新类别名称||编程资料"});
    EXPECT_EQ(ReadBytes(File("Qulan.003")), CategoryBytes(ToStoredText("新类"), {}));
    EXPECT_EQ(pane.categories.back(), ToStoredText("新类"));
    EXPECT_EQ(pane.selectedCategory, 2);
    EXPECT_EQ(pane.categoryNode, ToStoredText("新类"));
    EXPECT_EQ(pane.editor, ToStoredText("当前类别为：新类 \r\n资料卡片数：0 "));
    EXPECT_EQ(store.currentCategoryPath, File("Qulan.003").string());
    EXPECT_EQ(store.libraryStates[0].categoryName, ToStoredText("新类"));
    EXPECT_TRUE(store.flags.rootOpen);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(CardOperationsTest, createCategory_takenNameIsRefusedButOtherCaseIsNot) {
    OpenTwoCategories();
    input.names = {kAlpha, std::nullopt, std::string("ALPHA")};
    Seed("Qulan.003", "alpha", {});
    ops.CreateCategory();
    EXPECT_EQ(Shown(), std::vector<std::string>{"notice:这个类型已经存在，不能重复加入！"});
    EXPECT_FALSE(std::filesystem::exists(File("Qulan.004")));
    ops.CreateCategory();  // cancelled
    EXPECT_FALSE(std::filesystem::exists(File("Qulan.004")));
    ops.CreateCategory();
    EXPECT_EQ(ReadBytes(File("Qulan.004")), CategoryBytes("ALPHA", {}));
    EXPECT_EQ(store.currentCategoryName, "ALPHA");
}

TEST_F(CardOperationsTest, renameCategory_toItsOwnNameIsRefused_toANewNameRewritesInPlace) {
    OpenTwoCategories();
    input.names = {kAlpha, std::string("renamed")};
    ops.RenameCategory();
    EXPECT_EQ(input.asked[0], "请进行类别名称的修改：|算法|编程资料");
    EXPECT_EQ(Shown(), std::vector<std::string>{"notice:这个类型已经存在，类型名称修改失败！"});
    EXPECT_EQ(ReadBytes(File("Qulan.001")), CategoryBytes(kAlpha, kThreeCards));

    ops.RenameCategory();
    EXPECT_EQ(ReadBytes(File("Qulan.001")), CategoryBytes("renamed", kThreeCards));
    EXPECT_EQ(pane.categories, (std::vector<std::string>{"renamed", kBeta}));
    EXPECT_EQ(pane.selectedCategory, 0);
    EXPECT_EQ(pane.categoryNode, "renamed");
    EXPECT_EQ(pane.editor, ToStoredText("当前类别为：renamed \r\n资料卡片数：3 "));
}

TEST_F(CardOperationsTest, deleteCategory_asksAndRemovesExactlyItsFile) {
    OpenTwoCategories();
    Seed("Quuse.001", kAlpha, {});
    prompter.confirmAnswers = {false, true};
    ops.DeleteCategory();
    EXPECT_TRUE(std::filesystem::exists(File("Qulan.001")));
    ops.DeleteCategory();
    EXPECT_EQ(Shown(), (std::vector<std::string>{"confirm:即将删除本类型和其中的所有卡片资料，继续吗？",
                                                 "confirm:即将删除本类型和其中的所有卡片资料，继续吗？"}));
    EXPECT_EQ(test::FileNames(store.CategoryFolder()),
              (std::vector<std::string>{"Quillet.trash", "Qulan.002", "Quuse.001"}));
    EXPECT_EQ(pane.categories, std::vector<std::string>{kBeta});
    EXPECT_EQ(pane.categoryNode, kBeta) << "the first remaining category is opened";

    prompter.confirmAnswers = {true};
    ops.DeleteCategory();
    EXPECT_TRUE(pane.categories.empty());
    EXPECT_FALSE(pane.categoryNode);
}

TEST_F(CardOperationsTest, deleteAllCategories_refusesWithNothingRemembered_andAlwaysEmptiesTheEditor) {
    ops.DeleteAllCategories();
    EXPECT_EQ(Shown(), std::vector<std::string>{"notice:没有可以删除的类别！"});

    OpenTwoCategories();
    Seed("Quuse.001", "other library", {});
    prompter.shown.clear();
    pane.modified = true;
    prompter.confirmAnswers = {false, true};
    ops.DeleteAllCategories();
    EXPECT_EQ(Shown(),
              std::vector<std::string>{"confirm:此操作将会删除【编程资料】中所有的类型和所有的卡片资料，继续吗？"});
    EXPECT_EQ(test::FileNames(store.CategoryFolder()).size(), 3u);
    EXPECT_EQ(pane.editor, "");
    EXPECT_FALSE(pane.modified);

    ops.DeleteAllCategories();
    EXPECT_EQ(test::FileNames(store.CategoryFolder()), (std::vector<std::string>{"Quillet.trash", "Quuse.001"}));
    EXPECT_TRUE(pane.categories.empty());
    EXPECT_FALSE(pane.categoryNode);
    EXPECT_EQ(store.libraryStates[0].categoryPath, "");

    ops.SaveCard();
    EXPECT_EQ(test::FileNames(store.CategoryFolder()), (std::vector<std::string>{"Quillet.trash", "Quuse.001"}))
        << "saving afterwards never brings a deleted category back";
}

TEST_F(CardOperationsTest, deleteAllCards_noStillEmptiesTheEditor_yesLeavesAnEmptyCategory) {
    OpenTwoCategories();
    pane.SelectCardItem(0);
    prompter.confirmAnswers = {false, true};
    ops.DeleteAllCards();
    EXPECT_EQ(Shown(), std::vector<std::string>{"confirm:即将删除本类别重的所有卡片资料，继续吗？"});
    EXPECT_EQ(pane.editor, "");
    EXPECT_EQ(ReadBytes(File("Qulan.001")), CategoryBytes(kAlpha, kThreeCards));

    ops.DeleteAllCards();
    EXPECT_EQ(ReadBytes(File("Qulan.001")), CategoryBytes(kAlpha, {}));
    EXPECT_TRUE(pane.cards.empty());
    EXPECT_EQ(store.cardCount, 0);

    store.currentCategoryName.clear();
    prompter.shown.clear();
    ops.DeleteAllCards();
    EXPECT_EQ(Shown(), std::vector<std::string>{"notice:没有选择类别，不能继续操作！"});
}

TEST_F(CardOperationsTest, deleteCard_selectsTheNextOrThePreviousCard) {
    OpenTwoCategories();
    pane.SelectCardItem(1);
    prompter.confirmAnswers = {true};
    ops.DeleteCard();
    EXPECT_EQ(Shown(), std::vector<std::string>{"confirm:即将删除本卡片资料，继续吗？"});
    EXPECT_EQ(pane.cards, (std::vector<std::string>{"one", "three"}));
    EXPECT_EQ(pane.selection.row, 1) << "the next card";
    EXPECT_EQ(pane.editor, "3");
    EXPECT_EQ(ReadBytes(File("Qulan.001")), CategoryBytes(kAlpha, {kThreeCards[0], kThreeCards[2]}));

    prompter.confirmAnswers = {true};
    ops.DeleteCard();
    EXPECT_EQ(pane.cards, std::vector<std::string>{"one"});
    EXPECT_EQ(pane.selection.row, 0) << "the previous card, for the last one";

    prompter.confirmAnswers = {true};
    ops.DeleteCard();
    EXPECT_TRUE(pane.cards.empty());
    EXPECT_EQ(pane.selection.kind, Kind::Category);
    EXPECT_EQ(ReadBytes(File("Qulan.001")), CategoryBytes(kAlpha, {}));
    EXPECT_EQ(store.cardCount, 0);

    prompter.shown.clear();
    ops.DeleteCard();
    EXPECT_TRUE(prompter.shown.empty()) << "the category node selected: nothing";
}

TEST_F(CardOperationsTest, deleteCard_ofTwoWithTheSameNameRemovesTheFirstRecord) {
    Seed("Qulan.001", kAlpha, {{"same", "first", ""}, {"same", "second", ""}});
    store.libraryStates[0].categoryName = kAlpha;
    pane.ReloadLibrary();
    pane.SelectCardItem(1);
    prompter.confirmAnswers = {true};
    ops.DeleteCard();
    EXPECT_EQ(ReadBytes(File("Qulan.001")), CategoryBytes(kAlpha, {{"same", "second", ""}}));
    EXPECT_EQ(pane.cards, std::vector<std::string>{"same"});
}

TEST_F(CardOperationsTest, renameCard_refusesATakenName) {
    OpenTwoCategories();
    pane.SelectCardItem(0);
    input.names = {std::string("two"), std::string("uno")};
    ops.RenameCard();
    EXPECT_EQ(input.asked[0], "请进行卡片名称的修改：|one|算法");
    EXPECT_EQ(Shown(), std::vector<std::string>{"notice:这个知识卡片已经存在，卡片名称修改失败！"});
    ops.RenameCard();
    EXPECT_EQ(pane.cards[0], "uno");
    EXPECT_EQ(ReadBytes(File("Qulan.001")),
              CategoryBytes(kAlpha, {{"uno", "1\r\n", ""}, kThreeCards[1], kThreeCards[2]}));
}

// After a rename the card is still the selected one: what is typed next is saved into it.
TEST_F(CardOperationsTest, renamedCard_keepsTakingTheEditorsText) {
    OpenTwoCategories();
    pane.SelectCardItem(1);
    input.names = {std::string("deux")};
    ops.RenameCard();
    EXPECT_EQ(store.libraryStates[0].cardName, "deux");
    pane.editor = "typed after the rename";
    pane.modified = true;
    ops.SaveCard();
    EXPECT_EQ(ReadBytes(File("Qulan.001")),
              CategoryBytes(kAlpha, {kThreeCards[0], {"deux", "typed after the rename", ""}, kThreeCards[2]}));
}

TEST_F(CardOperationsTest, renameSite_ontoAnotherSitesNameIsAllowed) {
    const std::vector<CardRecord> sites = {{"a", "about a", "http://a"}, {"b", "about b", "http://b"}};
    OpenSites(sites);
    input.sites = {CardRecord{"b", "new text", "http://new"}};
    ops.RenameCard();
    EXPECT_EQ(input.siteShown[0], sites[0]);
    EXPECT_EQ(ReadBytes(File("Quweb.001")), CategoryBytes("sites", {{"b", "new text", "http://new"}, sites[1]}));
    EXPECT_EQ(pane.cards, (std::vector<std::string>{"b", "b"}));
    EXPECT_EQ(pane.editor, "b  [ http://new ]\r\n\r\nnew text");
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(CardOperationsTest, save_writesTheEditorTextInTextLibrariesAndNothingForSites) {
    OpenTwoCategories();
    pane.SelectCardItem(1);
    pane.editor = "changed";
    pane.modified = true;
    ops.SaveCard();
    EXPECT_EQ(ReadBytes(File("Qulan.001")),
              CategoryBytes(kAlpha, {kThreeCards[0], {"two", "changed", ""}, kThreeCards[2]}));
    EXPECT_FALSE(pane.modified);
    EXPECT_EQ(store.libraryStates[0].cardName, "two");

    OpenSites({{"a", "about", "http://a"}});
    pane.editor = "edited";
    pane.modified = true;
    ops.SaveCard();
    EXPECT_EQ(ReadBytes(File("Quweb.001")), CategoryBytes("sites", {{"a", "about", "http://a"}}));
}

TEST_F(CardOperationsTest, stepping_asksTheSaveQuestionOnlyWhenThereIsSomewhereToGo) {
    OpenTwoCategories();
    pane.SelectCardItem(0);
    pane.modified = true;
    ops.PreviousCard();
    EXPECT_TRUE(prompter.shown.empty()) << "previous on the first card does nothing";
    EXPECT_EQ(pane.selection.row, 0);

    prompter.saveAnswers = {SaveAnswer::Cancel, SaveAnswer::No, SaveAnswer::Yes};
    ops.NextCard();
    EXPECT_EQ(Shown(), std::vector<std::string>{"save:资料卡片内容已经改变，是否存盘？"});
    EXPECT_EQ(pane.selection.row, 0) << "Cancel stays";
    EXPECT_TRUE(store.flags.cardModified);

    pane.editor = "discarded";
    pane.modified = true;
    ops.NextCard();
    EXPECT_EQ(pane.selection.row, 1);
    EXPECT_EQ(ReadBytes(File("Qulan.001")), CategoryBytes(kAlpha, kThreeCards)) << "No writes nothing";

    pane.editor = "kept";
    pane.modified = true;
    ops.NextCard();
    EXPECT_EQ(pane.selection.row, 2);
    EXPECT_EQ(ReadBytes(File("Qulan.001")),
              CategoryBytes(kAlpha, {kThreeCards[0], {"two", "kept", ""}, kThreeCards[2]}));
}

TEST_F(CardOperationsTest, newCard_needsACategoryAndIgnoresTheNodeOfANonEmptyOne) {
    ops.NewCard();
    EXPECT_EQ(Shown(), std::vector<std::string>{"notice:没有选择所属类别，创建失败！"});

    OpenTwoCategories();
    ops.NewCard();
    EXPECT_TRUE(capture.opened.empty()) << "the category node of a category with cards";

    pane.SelectCardItem(2);
    ops.NewCard();
    EXPECT_EQ(capture.opened, (std::vector<std::pair<int, int>>{{0, 0}}));
    EXPECT_TRUE(store.flags.captureWindowOpen);
    ops.NewCard();
    EXPECT_EQ(capture.opened.size(), 1u) << "one capture window at a time";
}

TEST_F(CardOperationsTest, closing_asksOnlyForAChangedCard) {
    OpenTwoCategories();
    pane.modified = true;
    EXPECT_TRUE(ops.SaveQuestionAtClosing()) << "the category node selected";
    EXPECT_FALSE(pane.modified);
    EXPECT_TRUE(prompter.shown.empty());

    pane.SelectCardItem(0);
    EXPECT_TRUE(ops.SaveQuestionAtClosing()) << "unchanged";
    struct Case {
        SaveAnswer answer;
        bool closes;
        std::string content;
    };
    for (const Case& c : {Case{SaveAnswer::Cancel, false, "1\r\n"}, Case{SaveAnswer::No, true, "1\r\n"},
                          Case{SaveAnswer::Yes, true, "edited"}}) {
        pane.editor = "edited";
        pane.modified = true;
        prompter.saveAnswers = {c.answer};
        EXPECT_EQ(ops.SaveQuestionAtClosing(), c.closes);
        EXPECT_EQ(ReadBytes(File("Qulan.001")),
                  CategoryBytes(kAlpha, {{"one", c.content, ""}, kThreeCards[1], kThreeCards[2]}));
    }
    EXPECT_EQ(prompter.shown.back().text, "资料卡片内容已经改变，是否存盘？");
}

TEST_F(CardOperationsTest, closingWithAnEditedSite_yesClosesWithoutWriting) {
    OpenSites({{"a", "about", "http://a"}});
    pane.editor = "edited";
    pane.modified = true;
    prompter.saveAnswers = {SaveAnswer::Yes};
    EXPECT_TRUE(ops.SaveQuestionAtClosing());
    EXPECT_EQ(ReadBytes(File("Quweb.001")), CategoryBytes("sites", {{"a", "about", "http://a"}}));
}

TEST_F(CardOperationsTest, modeSwitch_asksWithYesAndNoOnly) {
    OpenTwoCategories();
    pane.SelectCardItem(1);
    pane.editor = "edited";
    pane.modified = true;
    prompter.saveAnswers = {SaveAnswer::No, SaveAnswer::Yes};
    ops.SaveQuestionBeforeModeSwitch();
    EXPECT_TRUE(pane.modified) << "No keeps the mark";
    ops.SaveQuestionBeforeModeSwitch();
    EXPECT_EQ(ReadBytes(File("Qulan.001")),
              CategoryBytes(kAlpha, {kThreeCards[0], {"two", "edited", ""}, kThreeCards[2]}));
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(prompter.shown[0].kind, "save-yes-no");
}

TEST_F(CardOperationsTest, failedWrite_isReportedAndChangesNothing) {
    OpenTwoCategories();
    pane.SelectCardItem(0);
    ::chmod(File("Qulan.001").c_str(), 0444);
    prompter.confirmAnswers = {true};
    ops.DeleteCard();
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_NE(prompter.shown[1].text.find("Qulan.001"), std::string::npos);
    EXPECT_EQ(pane.cards.size(), 3u);
    EXPECT_EQ(store.openTable.Size(), 3u);
    EXPECT_EQ(ReadBytes(File("Qulan.001")), CategoryBytes(kAlpha, kThreeCards));

    pane.editor = "unsaved";
    pane.modified = true;
    ops.SaveCard();
    EXPECT_TRUE(pane.modified) << "a failed save keeps the text marked as changed";
}

}  // namespace
}  // namespace quillet

namespace quillet {
namespace {

// Every way of deleting puts what it took into the recycle bin, and undo brings it back byte for byte.
TEST_F(CardOperationsTest, everyDeletion_goesToTheBin_andUndoPutsItBack) {
    const struct {
        const char* what;
        std::function<void(CardOperations&, test::FakePane&)> remove;
        std::string rememberedCard;  // what undo shows again
    } cases[] = {
        {"a card by the menu",
         [](CardOperations& ops, test::FakePane& pane) {
             pane.SelectCardItem(1);
             ops.DeleteCard();
         },
         "two"},
        {"all cards of the category", [](CardOperations& ops, test::FakePane&) { ops.DeleteAllCards(); }, "one"},
        {"the category",
         [](CardOperations& ops, test::FakePane& pane) {
             pane.SelectCategory(0);
             ops.DeleteCategory();
         },
         ""},
        {"every category of the library", [](CardOperations& ops, test::FakePane&) { ops.DeleteAllCategories(); }, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (const auto& file : CategoryFiles(store.CategoryFolder(), 0)) {
            std::filesystem::remove(file);
        }
        RecycleBin(store.CategoryFolder()).Empty();
        pane.selectedCategory.reset();
        OpenTwoCategories();
        const std::string alpha = ReadBytes(File("Qulan.001"));
        const std::string beta = ReadBytes(File("Qulan.002"));
        prompter.confirmAnswers = {true};
        EXPECT_FALSE(ops.CanUndoDelete());
        c.remove(ops, pane);
        EXPECT_NE(std::filesystem::exists(File("Qulan.001")) ? ReadBytes(File("Qulan.001")) : "", alpha);
        EXPECT_FALSE(RecycleBin(store.CategoryFolder()).List().empty());
        ASSERT_TRUE(ops.CanUndoDelete());

        prompter.shown.clear();
        ops.UndoDelete();
        EXPECT_TRUE(prompter.shown.empty()) << prompter.shown.front().text;
        EXPECT_EQ(ReadBytes(File("Qulan.001")), alpha);
        EXPECT_EQ(ReadBytes(File("Qulan.002")), beta);
        EXPECT_TRUE(RecycleBin(store.CategoryFolder()).List().empty());
        EXPECT_EQ(store.libraryStates[0].categoryName, kAlpha);
        EXPECT_EQ(store.libraryStates[0].cardName, c.rememberedCard);
        EXPECT_FALSE(ops.CanUndoDelete());
    }
}

}  // namespace
}  // namespace quillet

namespace quillet {
namespace {

// A program killed at any moment while it deletes a card or a whole large category (and undoes it) leaves
// each card in its category or in the recycle bin, whole: never in neither.
TEST(DeletionKill, killedAtRandomMoments_neverLosesACardOrTheCategory) {
    test::TestFolder home;
    CardStore seeding(home.Path());
    seeding.EnsureDataFolder();
    std::vector<CardRecord> cards;
    for (int i = 0; i < 2000; ++i) {
        cards.push_back({"card " + std::to_string(i), std::string(2000, static_cast<char>('a' + i % 26)), ""});
    }
    test::WriteBytes(seeding.CategoryFolder() / "Qulan.001", CategoryBytes("big", cards));
    std::mt19937 random(2026);
    for (int round = 0; round < 40; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            CardStore store(home.Path());
            store.currentLibrary = 0;
            store.libraryStates[0].categoryName = "big";
            test::FakePane pane(store);
            test::ScriptedPrompter prompter;
            test::ScriptedInput input(store);
            test::RecordingCapture capture;
            CardOperations ops(store, pane, prompter, input, capture);
            for (;;) {
                prompter.confirmAnswers.assign(8, true);
                pane.selectedCategory.reset();
                pane.ReloadLibrary();
                for (int card = 1; card <= 3; ++card) {
                    pane.SelectCardItem(card);
                    ops.DeleteCard();
                    ops.UndoDelete();
                }
                pane.SelectCategory(0);
                ops.DeleteCategory();
                ops.UndoDelete();
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(std::uniform_int_distribution(1000, 80000)(random)));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);

        // Every card somewhere: in the category or in the bin, with its own text.
        std::set<std::string> seen;
        const auto collect = [&](const std::filesystem::path& file) {
            std::string name;
            std::int32_t count = 0;
            CardTable table;
            ASSERT_FALSE(ReadCategoryFile(file, ReadMode::Full, HeaderCheck::Check, {name, count, &table}))
                << "round " << round << ": " << file;
            for (std::size_t i = 0; i < table.Size(); ++i) {
                const CardRecord& card = table.At(i);
                const int number = std::stoi(card.name.substr(5));
                ASSERT_EQ(card, cards[static_cast<std::size_t>(number)]) << "round " << round;
                seen.insert(card.name);
            }
        };
        for (const auto& file : CategoryFiles(seeding.CategoryFolder(), 0)) {
            collect(file);
        }
        for (const TrashItem& item : RecycleBin(seeding.CategoryFolder()).List()) {
            collect(item.file);
        }
        ASSERT_EQ(seen.size(), cards.size()) << "round " << round;
        // Put things as they were for the next round.
        if (!std::filesystem::exists(seeding.CategoryFolder() / "Qulan.001")) {
            for (const TrashItem& item : RecycleBin(seeding.CategoryFolder()).List()) {
                if (item.kind == TrashItem::Kind::Category) {
                    ASSERT_FALSE(RecycleBin(seeding.CategoryFolder()).Restore(item.id));
                }
            }
        }
        test::WriteBytes(seeding.CategoryFolder() / "Qulan.001", CategoryBytes("big", cards));
        RecycleBin(seeding.CategoryFolder()).Empty();
        for (const auto& file : CategoryFiles(seeding.CategoryFolder(), 0)) {
            if (file.filename() != "Qulan.001") {
                std::filesystem::remove(file);
            }
        }
    }
}

}  // namespace
}  // namespace quillet
