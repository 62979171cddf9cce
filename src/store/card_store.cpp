#include "card_store.h"

#include <cerrno>

namespace quillet {

CardStore::CardStore(std::filesystem::path programFolder) : m_programFolder(std::move(programFolder)) {}

std::filesystem::path CardStore::CategoryFolder() const { return DataFolderOf(m_programFolder); }

void CardStore::EnsureDataFolder() const { CreateFolder(CategoryFolder()); }

std::optional<std::string> CardStore::CategoryPattern(int library) const {
    if (!IsLibrary(library)) {
        return std::nullopt;
    }
    return (CategoryFolder() / kLibraries[library].filePrefix).string() + "*";
}

std::optional<std::filesystem::path> CardStore::CategoryFileName(int library, int number) const {
    if (!IsLibrary(library) || number < 1) {
        return std::nullopt;
    }
    return CategoryFilePath(CategoryFolder(), library, number);
}

std::optional<std::filesystem::path> CardStore::NewCategoryPath(int library) const {
    if (!IsLibrary(library)) {
        return std::nullopt;
    }
    return FirstFreeCategoryPath(CategoryFolder(), library);
}

std::vector<CategoryInfo> CardStore::ListCategories(int library, HeaderCheck check) const {
    if (!IsLibrary(library)) {
        return {};
    }
    return ReadCategoryList(CategoryFolder(), library, check);
}

bool CardStore::IsCategoryNameFree(const std::string& candidate) const {
    if (!IsLibrary(currentLibrary)) {
        return false;
    }
    // Reads into locals: a name check leaves the current category name and the card count alone.
    for (const std::filesystem::path& file : CategoryFiles(CategoryFolder(), currentLibrary)) {
        std::string name;
        std::int32_t count = 0;
        const StoreError error = ReadCategoryFile(file, ReadMode::HeaderOnly, HeaderCheck::Skip, {name, count});
        if (error.kind == StoreErrorKind::CannotOpen) {
            return true;
        }
        if (!error && name == candidate) {
            return false;
        }
    }
    return true;
}

CardNameCheck CardStore::CheckCardName(const std::string& candidate, StoreError* readError) {
    if (!IsLibrary(currentLibrary)) {
        return CardNameCheck::Unreadable;
    }
    const StoreError error =
        LoadCategory(libraryStates[currentLibrary].categoryPath, ReadMode::Full, HeaderCheck::Skip);
    if (error) {
        if (readError) {
            *readError = error;
        }
        return CardNameCheck::Unreadable;
    }
    return openTable.FindFirst(candidate) < openTable.Size() ? CardNameCheck::Taken : CardNameCheck::Free;
}

bool CardStore::IsCardNameFree(const std::string& candidate) { return CheckCardName(candidate) == CardNameCheck::Free; }

StoreError CardStore::RenumberCategories(const std::vector<std::filesystem::path>& order, const RenumberProbe& probe) {
    return RenumberCategoryFiles(CategoryFolder(), currentLibrary, order, probe);
}

StoreError CardStore::LoadCategory(const std::filesystem::path& file, ReadMode mode, HeaderCheck check) {
    if (file.empty()) {
        return StoreError::FromErrno(StoreErrorKind::CannotOpen, file, ENOENT);
    }
    return ReadCategoryFile(file, mode, check, {currentCategoryName, cardCount, &openTable});
}

StoreError CardStore::SaveCategory(const std::filesystem::path& file) {
    if (StoreError error = WriteCategoryFile(file, currentCategoryName, openTable)) {
        return error;
    }
    cardCount = static_cast<std::int32_t>(openTable.Size());
    return {};
}

}  // namespace quillet
