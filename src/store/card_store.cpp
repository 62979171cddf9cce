#include "card_store.h"

#include <sys/stat.h>

#include <cerrno>

#include "atomic_file.h"

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

CategoryNameCheck CardStore::CheckCategoryName(const std::string& candidate, StoreError* readError) const {
    StoreError error;
    if (!IsLibrary(currentLibrary)) {
        error = StoreError{StoreErrorKind::Refused, {}, "资料库编号无效"};
    }
    const std::vector<std::filesystem::path> files =
        error ? std::vector<std::filesystem::path>{} : CategoryFiles(CategoryFolder(), currentLibrary, &error);
    // Reads into locals: a name check leaves the current category name and the card count alone.
    for (const std::filesystem::path& file : files) {
        std::string name;
        std::int32_t count = 0;
        if (StoreError fileError = ReadCategoryFile(file, ReadMode::HeaderOnly, HeaderCheck::Skip, {name, count})) {
            error = fileError;
            break;
        }
        if (name == candidate) {
            return CategoryNameCheck::Taken;
        }
    }
    if (error) {
        if (readError) {
            *readError = error;
        }
        return CategoryNameCheck::Unreadable;
    }
    return CategoryNameCheck::Free;
}

bool CardStore::IsCategoryNameFree(const std::string& candidate) const {
    return CheckCategoryName(candidate) == CategoryNameCheck::Free;
}

CardNameCheck CardStore::CheckCardName(const std::string& candidate, StoreError* readError) {
    StoreError error = m_open.IsOpen() ? OpenCategoryFile(m_open.file, HeaderCheck::Skip)
                                       : StoreError{StoreErrorKind::Refused, {}, "没有打开的类别"};
    if (error) {
        if (readError) {
            *readError = error;
        }
        return CardNameCheck::Unreadable;
    }
    return openTable.FindFirst(candidate) < openTable.Size() ? CardNameCheck::Taken : CardNameCheck::Free;
}

bool CardStore::IsCardNameFree(const std::string& candidate) { return CheckCardName(candidate) == CardNameCheck::Free; }

StoreError CardStore::AcquireDataLock(std::string_view holder, DataFolderLock::Hold hold,
                                      std::chrono::milliseconds patience) {
    m_lockHolder = holder;
    m_lockHold = hold;
    return m_lock.Acquire(CategoryFolder(), holder, hold, patience);
}

StoreError CardStore::EnsureLock() {
    // Taken when first needed if the start could not take it; what was read before is checked by its stamp.
    return HoldsDataLock() ? m_lock.Confirm()
                           : AcquireDataLock(m_lockHolder, m_lockHold, std::chrono::milliseconds(1000));
}

StoreError CardStore::RecoverInterruptedWork() {
    if (!HoldsDataLock()) {
        return StoreError{StoreErrorKind::Locked, CategoryFolder(), "没有取得资料文件夹的写入权"};
    }
    return quillet::RecoverInterruptedWork(CategoryFolder());
}

OpenCategory::Stamp CardStore::StampOf(const std::filesystem::path& file) {
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0) {
        return {};
    }
    return {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
            static_cast<std::uint64_t>(info.st_size),
            static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

StoreError CardStore::CheckWritable(const std::filesystem::path& file) const {
    // Only a category file of a library, directly in our data folder: a remembered or damaged path can never
    // make us write anywhere else.
    bool categoryName = false;
    for (int library = 0; library < kLibraryCount; ++library) {
        categoryName = categoryName || IsCategoryFileName(library, file.filename().string());
    }
    if (file.parent_path() != CategoryFolder() || !categoryName) {
        return StoreError{StoreErrorKind::Refused, file, "这不是资料文件夹中的类别文件，不能写入"};
    }
    return {};
}

StoreError CardStore::CheckOfCurrentLibrary(const std::filesystem::path& file) const {
    if (StoreError error = CheckWritable(file)) {
        return error;
    }
    if (!IsCategoryFileName(currentLibrary, file.filename().string())) {
        return StoreError{StoreErrorKind::Refused, file, "这不是当前资料库的类别文件"};
    }
    return {};
}

void CardStore::BecomeOpen(OpenCategory open) {
    m_open = std::move(open);
    currentCategoryName = m_open.storedName;
    currentCategoryPath = m_open.file.string();
    cardCount = static_cast<std::int32_t>(openTable.Size());
    LibraryState& row = libraryStates[currentLibrary];
    row.categoryName = m_open.storedName;
    row.categoryPath = currentCategoryPath;
}

StoreError CardStore::OpenCategoryFile(const std::filesystem::path& file, HeaderCheck check) {
    const std::filesystem::path path = file;  // `file` may be our own member, which closing clears
    // Reading the open category again (the name checks do) keeps the card that is selected in it.
    const bool reopening = m_open.IsOpen() && m_open.file == path;
    const std::string selectedCard = selectedCardName;
    const std::string rememberedCard = IsLibrary(currentLibrary) ? libraryStates[currentLibrary].cardName : "";
    CloseCategory();
    if (StoreError error = CheckOfCurrentLibrary(path)) {
        return error;
    }
    const OpenCategory::Stamp stamp = StampOf(path);
    std::string name;
    std::int32_t count = 0;
    // Contents stay in the file until a card is shown: a big category opens in the time its names take.
    if (StoreError error = ReadCategoryFile(path, ReadMode::ContentsOnDemand, check, {name, count, &openTable})) {
        openTable.Clear();
        return error;
    }
    BecomeOpen(OpenCategory{path, name, stamp});
    if (reopening) {
        selectedCardName = selectedCard;
        libraryStates[currentLibrary].cardName = rememberedCard;
    }
    return {};
}

bool CardStore::IsOpenAndUnchanged(const std::filesystem::path& file) const {
    return m_open.IsOpen() && m_open.file == file && !openTable.ContentError() && StampOf(file) == m_open.stamp;
}

void CardStore::CloseCategory() {
    m_open = {};
    openTable.Clear();
    cardCount = 0;
    currentCategoryName.clear();
    currentCategoryPath.clear();
    selectedCardName.clear();
    if (IsLibrary(currentLibrary)) {
        libraryStates[currentLibrary] = LibraryState{};
    }
}

StoreError CardStore::WriteOpenCategory(const std::string& name, const CardTable& cards) {
    if (!m_open.IsOpen()) {
        return StoreError{StoreErrorKind::Refused, m_open.file, "没有完整打开的类别，不能保存"};
    }
    if (StoreError error = CheckWritable(m_open.file)) {
        return error;
    }
    if (StoreError error = EnsureLock()) {
        return error;
    }
    if (StampOf(m_open.file) != m_open.stamp) {
        return StoreError{
            StoreErrorKind::Refused, m_open.file,
            "类别文件在读出以后被别的程序修改或删除了，为了不覆盖别人的修改，这次没有保存。请重新选择这个类别"};
    }
    if (StoreError error = WriteCategoryFile(m_open.file, name, cards)) {
        return error;
    }
    if (&cards != &openTable) {
        openTable = cards;
    }
    BecomeOpen(OpenCategory{m_open.file, name, StampOf(m_open.file)});
    return {};
}

StoreError CardStore::WriteCardText(const std::string& cardName, const std::string& text) {
    CardTable cards = openTable;
    cards.ReplaceFirstNamed(cardName, [&](const CardRecord& card) { return CardRecord{card.name, text, ""}; });
    return WriteOpenCategory(m_open.storedName, cards);
}

StoreError CardStore::AppendCard(const std::filesystem::path& file, const CardRecord& card, bool& nameTaken) {
    nameTaken = false;
    if (StoreError error = CheckOfCurrentLibrary(file)) {
        return error;
    }
    if (StoreError error = EnsureLock()) {
        return error;
    }
    const AppendResult result = AppendCardToFile(file, card);
    nameTaken = result.nameTaken;
    return result.error;
}

StoreError CardStore::CreateCategory(const std::string& name) {
    if (!IsLibrary(currentLibrary)) {
        return StoreError{StoreErrorKind::Refused, {}, "资料库编号无效"};
    }
    EnsureDataFolder();
    if (StoreError error = EnsureLock()) {
        return error;
    }
    CardTable empty;
    empty.SetGrowthStep(500);
    StringSink bytes;
    WriteCategory(bytes, name, empty);
    std::filesystem::path file;
    StoreError error;
    // Created exclusively: a number taken meanwhile is never written over, the next free one is used.
    for (int attempt = 0; attempt < 3; ++attempt) {
        file = *NewCategoryPath(currentLibrary);
        error = WriteFileAtomically(file, bytes.Bytes(), AtomicFileWriter::Target::New);
        if (!error || error.reason != DescribeErrno(EEXIST)) {
            break;
        }
    }
    if (error) {
        return error;
    }
    CloseCategory();
    openTable = std::move(empty);
    BecomeOpen(OpenCategory{file, name, StampOf(file)});
    return {};
}

void CardStore::ForgetDeletedCategory(const std::filesystem::path& file) {
    if (m_open.file == file) {
        CloseCategory();
    }
}

StoreError CardStore::RenumberCategories(const std::vector<std::filesystem::path>& order, const RenumberProbe& probe) {
    if (StoreError error = EnsureLock()) {
        return error;
    }
    return RenumberCategoryFiles(CategoryFolder(), currentLibrary, order, probe);
}

StoreError CardStore::LoadCategory(const std::filesystem::path& file, ReadMode mode, HeaderCheck check) {
    if (file.empty()) {
        return StoreError::FromErrno(StoreErrorKind::CannotOpen, file, ENOENT);
    }
    return ReadCategoryFile(file, mode, check, {currentCategoryName, cardCount, &openTable});
}

}  // namespace quillet
