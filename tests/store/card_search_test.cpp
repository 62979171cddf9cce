#include "store/card_search.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <random>

#include "store/text_search.h"
#include "test_folder.h"

namespace quillet {
namespace {

using test::CategoryBytes;
using test::TestFolder;
using test::WriteBytes;

// Code page 936 bytes: 啊 = B0 A1, 中 = D6 D0; a GB18030 four-byte character = 81 30 81 30.
const std::string kAh = "\xB0\xA1";
const std::string kFourByte = "\x81\x30\x81\x30";

TEST(TextSearch, containment_startsOnlyAtACharacterBoundary) {
    const struct {
        const char* what;
        std::string field;
        std::string text;
        bool found;
    } cases[] = {
        {"plain substring", "xabx", "ab", true},
        {"case-sensitive", "AB", "ab", false},
        {"empty field", "", "a", false},
        {"double-byte text across two characters", kAh + kAh, "\xA1\xB0", false},
        {"the same bytes later on a boundary", kAh + "\xA1\xB0", "\xA1\xB0", true},
        {"ASCII letter as a trail byte",
         "\xB0"
         "a",
         "a", false},
        {"digit inside a four-byte character", kFourByte, "0", false},
        {"across the halves of a four-byte character", kFourByte, "\x30\x81", false},
        {"four-byte character after ASCII", "a" + kFourByte, kFourByte, true},
        {"digit after a four-byte character", kFourByte + "0", "0", true},
        {"lead byte at the very end", "ab\xB0", "\xB0", true},
        {"across characters after a blank", "a " + kAh + kAh + kAh, "\xA1\xB0", false},
        {"inside a four-byte character after a blank", "x " + kFourByte, "0", false},
        {"a digit is no resting point", "x " + kFourByte + kAh, "\x81\x30\xB0", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ContainsText(c.field, c.text), c.found);
    }
}

// The boundary rule spelt out the slow way: every character start, walked from the front, tried in turn.
bool ContainsTextSlowly(std::string_view field, std::string_view text) {
    for (std::size_t at = 0; at + text.size() <= field.size(); at += CharacterLength(field.substr(at))) {
        if (field.substr(at, text.size()) == text) {
            return true;
        }
    }
    return false;
}

TEST(TextSearch, fastFinder_agreesWithAPlainSearchOnRandomFields) {
    // Few distinct bytes, lead bytes and digits among them, so that matches, near misses and four-byte
    // sequences are common; lengths around the sixteen-byte steps of the finder.
    const char alphabet[] = {'a', 'b', '0', ' ', '\x81', '\xB0', '\xA1', '\x30'};
    std::mt19937 random(1);
    auto pick = [&](std::size_t length) {
        std::string text;
        for (std::size_t i = 0; i < length; ++i) {
            text += alphabet[random() % sizeof alphabet];
        }
        return text;
    };
    for (int round = 0; round < 20000; ++round) {
        const std::string field = pick(random() % 70);
        const std::string text = pick(1 + random() % 5);
        SCOPED_TRACE(::testing::PrintToString(field) + " / " + ::testing::PrintToString(text));
        const void* plain = ::memmem(field.data(), field.size(), text.data(), text.size());
        ASSERT_EQ(FindText(field.data(), field.data() + field.size(), text), plain);
        ASSERT_EQ(ContainsText(field, text), ContainsTextSlowly(field, text));
    }
}

TEST(TextSearch, matcher_foldsOnlyAsciiLettersAndSplitsWordsOnBlanks) {
    const struct {
        const char* what;
        std::string text;
        bool ignoreCase, allWords;
        std::string field;
        bool found;  // every word in the one field
    } cases[] = {
        {"either case", "aB", true, false, "xAbx", true},
        {"a trail byte is never folded", "a", true, false,
         "\xB0"
         "A",
         false},
        {"a folded letter still needs a boundary",
         "\xA1"
         "a",
         true, false, kAh + "A", false},
        {"all words in any order", "foo bar", false, true, "bar and foo", true},
        {"one word missing", "foo bar", false, true, "foo only", false},
        {"ideographic space separates",
         "foo\xA1\xA1"
         "bar",
         false, true, "barfoo", true},
        {"without all-words the blank is text", "foo bar", false, false, "bar foo", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const TextMatcher matcher(c.text, c.ignoreCase, c.allWords);
        bool all = true;
        for (std::size_t word = 0; word < matcher.WordCount(); ++word) {
            all = all && matcher.Contains(c.field, word);
        }
        EXPECT_EQ(all, c.found);
    }
}

// A data folder with categories in three libraries; the names say where a card is.
class CardSearchTest : public ::testing::Test {
protected:
    void SetUp() override {
        Write("Qulan.001", "甲", {{"ab", "ab twice", ""}, {"q", "AB", ""}, {"same", "x", ""}});
        Write("Qulan.002", "乙", {{"n1", "only content ab", ""}, {"same", "y", ""}, {kAh + kAh, "", ""}});
        Write("Quuse.001", "丙", {{"same", "z", ""}, {"\xA1\xB0", "", ""}});
        Write("Quweb.001", "站", {{"site", "a description", "http://ab.example"}});
    }

    void Write(const std::string& file, const std::string& category, const std::vector<CardRecord>& cards) {
        WriteBytes(folder / file, CategoryBytes(category, cards));
    }

    std::vector<std::string> Found(const SearchRequest& request) {
        outcome = SearchCards(folder.Path(), request, &progress);
        std::vector<std::string> found;
        for (const SearchHit& hit : outcome.hits) {
            found.push_back(std::to_string(hit.library) + "/" + hit.categoryName + "/" + hit.card.name);
        }
        return found;
    }

    TestFolder folder;
    SearchProgress progress;
    SearchOutcome outcome;
};

TEST_F(CardSearchTest, modesAndLibraries_giveEachCardOnceInStoreOrder) {
    using Hits = std::vector<std::string>;
    const struct {
        const char* what;
        std::string text;
        SearchBy by;
        std::array<bool, 4> libraries;
        Hits found;
    } cases[] = {
        {"by name", "ab", SearchBy::Name, {true, true, true, true}, {"0/甲/ab"}},
        {"by content, a site by its address",
         "ab",
         SearchBy::Content,
         {true, true, true, true},
         {"0/甲/ab", "0/乙/n1", "3/站/site"}},
        {"both fields match: one result",
         "ab",
         SearchBy::Both,
         {true, true, true, true},
         {"0/甲/ab", "0/乙/n1", "3/站/site"}},
        {"same name: library, file, card order",
         "same",
         SearchBy::Name,
         {true, true, true, true},
         {"0/甲/same", "0/乙/same", "1/丙/same"}},
        {"only the ticked libraries", "same", SearchBy::Name, {false, true, false, false}, {"1/丙/same"}},
        {"no library ticked", "same", SearchBy::Both, {false, false, false, false}, {}},
        {"never from a trail byte, but on a boundary",
         "\xA1\xB0",
         SearchBy::Name,
         {true, true, true, true},
         {"1/丙/\xA1\xB0"}},
        {"an address is not a name", "http", SearchBy::Name, {true, true, true, true}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SearchRequest request;
        request.text = c.text;
        request.by = c.by;
        request.libraries = c.libraries;
        EXPECT_EQ(Found(request), c.found);
        EXPECT_TRUE(outcome.unreadable.empty());
        const SearchProgress::Snapshot done = progress.Get();
        EXPECT_FALSE(done.running);
        EXPECT_EQ(done.found, static_cast<int>(c.found.size()));
    }
}

TEST_F(CardSearchTest, foundCard_keepsAllThreeFieldsAndTheProgressNamesItsCategory) {
    SearchRequest request;
    request.text = "ab.example";
    request.by = SearchBy::Content;
    ASSERT_EQ(Found(request).size(), 1u);
    const CardRecord& card = outcome.hits[0].card;
    EXPECT_EQ(card.content, "a description");
    EXPECT_EQ(card.address, "http://ab.example");
    const SearchProgress::Snapshot done = progress.Get();
    EXPECT_EQ(done.categoryName, "站");
    EXPECT_EQ(done.foundInCategory, 1);
}

TEST_F(CardSearchTest, wideStoredField_isSearchedAsStoredText) {
    // A name kept in the 16-bit form: "ab" as two UTF-16 units.
    const std::string wideName(
        "\xFF\xFE\xFF\x02"
        "a\0b\0",
        8);
    WriteBytes(folder / "Qulan.003", test::LengthPrefixed("QuilletArchive File:") + test::LengthPrefixed("Ver1.0") +
                                         test::LengthPrefixed("宽") + test::Int32(1) + wideName +
                                         test::LengthPrefixed("") + test::LengthPrefixed(""));
    SearchRequest request;
    request.text = "ab";
    EXPECT_EQ(Found(request), (std::vector<std::string>{"0/甲/ab", "0/宽/ab"}));
}

TEST_F(CardSearchTest, damagedOrForeignFile_givesNothingAndIsNamed) {
    std::string cut = CategoryBytes("坏", {{"same", "", ""}, {"same 2", "", ""}});
    cut.resize(cut.size() - 2);
    WriteBytes(folder / "Qulan.003", cut);
    WriteBytes(folder / "Quown.001", CategoryBytes("外", {{"same", "", ""}}, "SomethingElse"));
    SearchRequest request;
    request.text = "same";
    EXPECT_EQ(Found(request), (std::vector<std::string>{"0/甲/same", "0/乙/same", "1/丙/same"}));
    ASSERT_EQ(outcome.unreadable.size(), 2u);
    EXPECT_NE(outcome.unreadable[0].find("Qulan.003"), std::string::npos);
    EXPECT_NE(outcome.unreadable[1].find("Quown.001"), std::string::npos);
    EXPECT_NE(outcome.unreadable[1].find("文件格式非法"), std::string::npos);
    EXPECT_EQ(progress.Get().found, 3) << "the damaged file's card is not counted";
}

TEST_F(CardSearchTest, unreadableFile_isNamedAndTheSearchGoesOn) {
    // A FIFO cannot be read as a category, by root either.
    ASSERT_EQ(::mkfifo((folder / "Qulan.000").c_str(), 0600), 0);
    SearchRequest request;
    request.text = "same";
    EXPECT_EQ(Found(request), (std::vector<std::string>{"0/甲/same", "0/乙/same", "1/丙/same"}));
    ASSERT_EQ(outcome.unreadable.size(), 1u);
    EXPECT_NE(outcome.unreadable[0].find("Qulan.000"), std::string::npos);
}

TEST_F(CardSearchTest, stopBeforeTheStart_findsNothingAndSaysSo) {
    const std::atomic<bool> stop{true};
    SearchRequest request;
    request.text = "same";
    outcome = SearchCards(folder.Path(), request, &progress, &stop);
    EXPECT_TRUE(outcome.hits.empty());
    EXPECT_TRUE(outcome.stopped);
    EXPECT_FALSE(progress.Get().running);
}

TEST_F(CardSearchTest, extendedOptions_ignoreCaseAndAllWordsAcrossFields) {
    SearchRequest request;
    request.text = "ab";
    request.ignoreCase = true;
    EXPECT_EQ(Found(request), (std::vector<std::string>{"0/甲/ab"})) << "names only";
    request.by = SearchBy::Content;
    EXPECT_EQ(Found(request), (std::vector<std::string>{"0/甲/ab", "0/甲/q", "0/乙/n1", "3/站/site"}));
    request = {};
    request.text = "site description";
    request.allWords = true;
    request.by = SearchBy::Both;
    EXPECT_EQ(Found(request), (std::vector<std::string>{"3/站/site"})) << "one word in the name, one in the content";
}

}  // namespace
}  // namespace quillet
