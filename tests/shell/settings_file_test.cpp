#include "shell/settings_file.h"

#include <gtest/gtest.h>

#include "../store/test_folder.h"

namespace quillet {
namespace {

using test::Int32;
using test::LengthPrefixed;

std::string Written(const AppSettings& settings, const CardStore& store) {
    StringSink sink;
    WriteSettings(sink, settings, store);
    return sink.Bytes();
}

TEST(SettingsFile, startValues_are20IntegersAnd16EmptyStrings) {
    const std::string bytes = Written(AppSettings{}, CardStore{});
    std::string expected = Int32(0) + Int32(0) + Int32(1) + LengthPrefixed("");
    for (int value : {1, 0, 0, 254, 0, 546, 432, 200, 100, 100, 200, 200, 100, 100, 200, 190, 314}) {
        expected += Int32(value);
    }
    expected += std::string(15, '\0');
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(bytes.size(), 96u);
}

// Every field set to a value of its own, so that a field written or read in the wrong place shows.
void FillDistinct(AppSettings& settings, CardStore& store) {
    settings = {2, true, 3, {11, 12, 13, 14}, {21, 22, 23, 24}, {31, 32, 33, 34}, 41, 42};
    store.flags.alwaysOnTop = true;
    store.flags.dataBarVisible = false;
    store.currentLibrary = 3;
    store.currentCategoryPath = "/q/Qu_data/Quweb.002";
    for (int row = 0; row < 5; ++row) {
        const std::string n = std::to_string(row);
        store.libraryStates[row] = {"cat" + n, "card" + n, "path" + n};
    }
}

TEST(SettingsFile, everyField_isWrittenInItsPlaceAndReadBack) {
    AppSettings settings;
    CardStore store;
    FillDistinct(settings, store);
    std::string expected =
        Int32(2) + Int32(1) + Int32(3) + LengthPrefixed("/q/Qu_data/Quweb.002") + Int32(0) + Int32(1) + Int32(3);
    for (int value : {11, 12, 13, 14, 21, 22, 23, 24, 31, 32, 33, 34, 41, 42}) {
        expected += Int32(value);
    }
    for (int row = 0; row < 5; ++row) {
        const std::string n = std::to_string(row);
        expected += LengthPrefixed("cat" + n) + LengthPrefixed("card" + n) + LengthPrefixed("path" + n);
    }
    const std::string bytes = Written(settings, store);
    ASSERT_EQ(bytes, expected);

    AppSettings readSettings;
    CardStore readStore;
    MemorySource source(bytes);
    ASSERT_FALSE(ReadSettings(source, "Quillet.tmp", readSettings, readStore));
    EXPECT_EQ(readSettings, settings);
    EXPECT_EQ(Written(readSettings, readStore), bytes);
}

TEST(SettingsFile, damagedFile_keepsWhatWasReadAndStartValuesForTheRest) {
    AppSettings full;
    CardStore fullStore;
    FillDistinct(full, fullStore);
    const std::string bytes = Written(full, fullStore);
    const std::string startBytes = Written(AppSettings{}, CardStore{});
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        AppSettings settings;
        CardStore store;
        MemorySource source(std::string_view(bytes).substr(0, length));
        EXPECT_TRUE(ReadSettings(source, "Quillet.tmp", settings, store)) << length;
        if (length == 12) {
            EXPECT_EQ(settings.startMode, 2);
            EXPECT_EQ(store.currentLibrary, 3);
            EXPECT_EQ(store.currentCategoryPath, "");
            EXPECT_EQ(settings.cardViewer, (WindowPlace{254, 0, 546, 432}));
        }
    }

    std::string absurd = bytes.substr(0, 12) + std::string("\xFF\xFF\xFF\xFF\xFF\xFF\x7F", 7) + "x";
    AppSettings settings;
    CardStore store;
    MemorySource source(absurd);
    EXPECT_EQ(ReadSettings(source, "Quillet.tmp", settings, store).kind, StoreErrorKind::Damaged);
    EXPECT_EQ(store.currentLibrary, 3);
    EXPECT_EQ(store.currentCategoryPath, "");

    std::string badLibrary = Int32(0) + Int32(0) + Int32(77) + startBytes.substr(12);
    CardStore guarded;
    MemorySource badSource(badLibrary);
    ReadSettings(badSource, "Quillet.tmp", settings, guarded);
    EXPECT_EQ(guarded.currentLibrary, 1);
}

TEST(SettingsFile, loadAndSave_markWhetherThereWasSavedState) {
    test::TestFolder folder;
    AppSettings settings;
    CardStore store;
    EXPECT_FALSE(LoadSettingsFile(folder / "Quillet.tmp", settings, store));
    EXPECT_TRUE(store.flags.noSavedState);
    ASSERT_FALSE(SaveSettingsFile(folder / "Quillet.tmp", settings, store));
    EXPECT_EQ(test::ReadBytes(folder / "Quillet.tmp").size(), 96u);
    EXPECT_TRUE(LoadSettingsFile(folder / "Quillet.tmp", settings, store));
    EXPECT_FALSE(store.flags.noSavedState);
}

}  // namespace
}  // namespace quillet
