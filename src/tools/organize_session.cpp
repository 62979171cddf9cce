#include "tools/organize_session.h"

#include <algorithm>
#include <system_error>
#include <utility>

#include "store/atomic_file.h"
#include "store/backup_file.h"
#include "store/byte_source.h"
#include "store/category_file.h"
#include "store/codec.h"
#include "store/field_writer.h"
#include "store/recycle_bin.h"

namespace quillet {
namespace {

// Matches no library's pattern, so listings, backups and imports pass it by.
constexpr const char* kRecoveryName = "Quillet.cut";
constexpr const char* kDamagedRecoveryName = "Quillet.cut.damaged";

std::string Quoted(const std::string& stored) { return "“" + ToUtf8(stored) + "”"; }

bool HoldsCard(const CardTable& cards, const CardRecord& card) {
    for (std::size_t i = 0; i < cards.Size(); ++i) {
        if (cards.NameAt(i) == card.name && cards.At(i) == card) {
            return true;
        }
    }
    return false;
}

}  // namespace

OrganizeSession::OrganizeSession(CardStore& store) : m_store(store) {}

std::filesystem::path OrganizeSession::RecoveryFile() const { return m_store.CategoryFolder() / kRecoveryName; }

std::vector<std::string> OrganizeSession::TakeNotices() { return std::exchange(m_notices, {}); }

StoreError OrganizeSession::ChooseLibrary(int library) {
    if (!IsLibrary(library)) {
        return StoreError{StoreErrorKind::Refused, {}, "资料库编号无效"};
    }
    m_library = library;
    m_store.currentLibrary = library;
    const std::string remembered = m_store.libraryStates[library].categoryName;
    m_categories.clear();
    m_chosen = -1;
    for (const CategoryInfo& info : m_store.ListCategories(library, HeaderCheck::Check)) {
        if (info.error.kind == StoreErrorKind::CannotOpen) {
            break;
        }
        if (info.error) {
            m_notices.push_back(info.error.Message());
            continue;
        }
        if (m_chosen < 0 && info.name == remembered) {
            m_chosen = static_cast<int>(m_categories.size());
        }
        m_categories.push_back({info.name, info.file});
    }
    if (m_chosen < 0) {
        m_store.CloseCategory();
        m_store.libraryStates[library].categoryName = remembered;
        return {};
    }
    return ChooseCategory(m_chosen);
}

StoreError OrganizeSession::ChooseCategory(int index) {
    if (index < 0 || index >= static_cast<int>(m_categories.size())) {
        return StoreError{StoreErrorKind::Refused, {}, "没有这个类别"};
    }
    m_chosen = index;
    const OrganizeCategory& category = m_categories[static_cast<std::size_t>(index)];
    if (m_store.IsOpenAndUnchanged(category.file)) {
        return {};
    }
    StoreError error = m_store.OpenCategoryFile(category.file, HeaderCheck::Check);
    if (error) {
        // Nothing is open, so nothing can be written back from the part that was read; the choice is kept.
        LibraryState& row = m_store.libraryStates[m_library];
        row.categoryName = category.name;
        row.categoryPath = category.file.string();
        m_store.currentCategoryName = category.name;
    }
    return error;
}

StoreError OrganizeSession::RefuseUnlessReadWhole(const char* action) const {
    if (m_chosen < 0) {
        return StoreError{StoreErrorKind::Refused, {}, std::string("请先选择一个类别，再") + action};
    }
    const OrganizeCategory& category = m_categories[static_cast<std::size_t>(m_chosen)];
    if (!m_store.Open().IsOpen() || m_store.Open().file != category.file) {
        return StoreError{StoreErrorKind::Refused, category.file,
                          "类别" + Quoted(category.name) + "没有完整读出，不能" + action};
    }
    return {};
}

StoreError OrganizeSession::Copy(const std::vector<std::size_t>& ticked, ExistingCard rule) {
    const OrganizeClipboard before = m_clipboard;
    m_clipboard.Take(Cards(), ticked, rule);
    if (const StoreError& error = Cards().ContentError()) {
        m_clipboard = before;  // a card whose text could not be read is not copied as an empty one
        return error;
    }
    return {};
}

StoreError OrganizeSession::Cut(const std::vector<std::size_t>& ticked, ExistingCard rule) {
    if (StoreError error = RefuseUnlessReadWhole("剪切")) {
        return error;
    }
    const OrganizeClipboard before = m_clipboard;
    const std::vector<std::size_t> taken =
        m_clipboard.Take(Cards(), ticked, rule, CutOrigin{m_library, m_store.Open().storedName});
    if (StoreError error = Cards().ContentError()) {
        m_clipboard = before;
        return error;
    }
    // The recovery file holds the cards before the category lets them go: a crash in between leaves them in
    // both places, never in neither.
    if (StoreError error = SaveRecovery()) {
        m_clipboard = before;
        return error;
    }
    if (StoreError error = m_store.WriteOpenCategory(m_store.Open().storedName, WithoutCards(Cards(), taken))) {
        m_clipboard = before;
        SaveRecovery();
        return error;
    }
    return {};
}

StoreError OrganizeSession::Paste(const std::vector<std::size_t>& ticked, ExistingCard rule) {
    if (m_clipboard.Empty()) {
        return {};
    }
    if (StoreError error = RefuseUnlessReadWhole("粘贴")) {
        return error;
    }
    OrganizeClipboard::Pasted pasted = m_clipboard.PasteInto(Cards(), ticked, rule);
    // The cards written over are kept in the recycle bin before the category lets them go.
    if (!pasted.replaced.Empty()) {
        if (StoreError error = RecycleBin(m_store.CategoryFolder())
                                   .TrashCards(m_library, m_store.Open().storedName, pasted.replaced)) {
            return error;
        }
    }
    if (StoreError error = m_store.WriteOpenCategory(m_store.Open().storedName, pasted.cards)) {
        return error;
    }
    if (m_clipboard.HasUnpastedCut()) {
        m_clipboard.MarkPlaced(pasted.placed);
        // Failing here only means the pasted cards would be offered back once more, never lost.
        return SaveRecovery();
    }
    return {};
}

bool OrganizeSession::Clear() {
    if (m_clipboard.HasUnpastedCut()) {
        return false;
    }
    m_clipboard.Clear();
    return true;
}

void OrganizeSession::Reopen(int library, const std::string& categoryName) {
    m_store.libraryStates[library].categoryName = categoryName;
    ChooseLibrary(library);
}

StoreError OrganizeSession::PutBack() {
    const int library = m_library;
    const std::string chosenName = m_chosen >= 0 ? m_categories[static_cast<std::size_t>(m_chosen)].name
                                                 : m_store.libraryStates[library].categoryName;
    StoreError firstError;
    for (const CutOrigin& origin : m_clipboard.CutOrigins()) {
        m_store.currentLibrary = origin.library;
        std::optional<std::filesystem::path> file;
        for (const CategoryInfo& info : m_store.ListCategories(origin.library, HeaderCheck::Check)) {
            if (!info.error && info.name == origin.categoryName) {
                file = info.file;
                break;
            }
        }
        StoreError error =
            file ? m_store.OpenCategoryFile(*file, HeaderCheck::Check) : m_store.CreateCategory(origin.categoryName);
        CardTable cards = m_store.openTable;
        std::vector<std::size_t> placed;
        for (std::size_t i = 0; !error && i < m_clipboard.Size(); ++i) {
            const ClipboardCard& card = m_clipboard.At(i);
            if (card.cutFrom == origin) {
                // Already there when a crash came between taking it in and letting it go.
                if (!HoldsCard(cards, card.card)) {
                    cards.Append(card.card);
                }
                placed.push_back(i);
            }
        }
        if (!error) {
            error = cards.ContentError() ? cards.ContentError()
                                         : m_store.WriteOpenCategory(m_store.Open().storedName, cards);
        }
        if (error) {
            firstError = firstError ? firstError : error;
            continue;
        }
        m_clipboard.MarkPlaced(placed);
    }
    const StoreError saved = SaveRecovery();
    Reopen(library, chosenName);
    return firstError ? firstError : saved;
}

StoreError OrganizeSession::GiveUpCutCards() {
    // Given up, not gone: they go to the recycle bin, each group under the category it came from.
    RecycleBin bin(m_store.CategoryFolder());
    for (const CutOrigin& origin : m_clipboard.CutOrigins()) {
        if (StoreError error = bin.TrashCards(origin.library, origin.categoryName, m_clipboard.CutCardsFrom(origin))) {
            return error;
        }
    }
    m_clipboard.ForgetCutCards();
    return SaveRecovery();
}

StoreError OrganizeSession::SaveRecovery() const {
    const std::filesystem::path file = RecoveryFile();
    if (!m_clipboard.HasUnpastedCut()) {
        std::error_code ignored;
        std::filesystem::remove(file, ignored);
        return {};
    }
    AtomicFileWriter writer(file);
    if (StoreError error = writer.Open()) {
        return error;
    }
    FieldWriter fields(writer);
    fields.WriteString(kBackupHeader);
    fields.WriteString(kBackupVersion);
    for (int library = 0; library < kLibraryCount; ++library) {
        std::vector<CutOrigin> blocks = m_clipboard.CutOrigins();
        std::erase_if(blocks, [library](const CutOrigin& origin) { return origin.library != library; });
        fields.WriteInt32(static_cast<std::int32_t>(blocks.size()));
        for (const CutOrigin& origin : blocks) {
            if (StoreError error = WriteCategoryBlock(writer, origin.categoryName, m_clipboard.CutCardsFrom(origin))) {
                return error;
            }
        }
    }
    return writer.Commit();
}

StoreError OrganizeSession::TakeOverRecovery(bool& found) {
    found = false;
    const std::filesystem::path file = RecoveryFile();
    std::error_code missing;
    if (!std::filesystem::exists(file, missing)) {
        return {};
    }
    FileSource source;
    StoreError error = source.Open(file);
    BackupReader reader(source, file);
    std::vector<ClipboardCard> cards;
    if (!error) {
        error = reader.ReadHeader();
    }
    for (int library = 0; !error && library < kLibraryCount; ++library) {
        std::int32_t count = 0;
        error = reader.ReadSectionCount(count);
        for (std::int32_t block = 0; !error && block < count; ++block) {
            std::string name;
            CardTable table;
            error = reader.ReadBlock(name, table);
            for (std::size_t i = 0; !error && i < table.Size(); ++i) {
                cards.push_back({table.At(i), CutOrigin{library, name}});
            }
        }
    }
    if (error) {
        // Whatever could be read of it stays there for a person to look at; it is not ours to throw away.
        std::error_code ignored;
        std::filesystem::rename(file, m_store.CategoryFolder() / kDamagedRecoveryName, ignored);
        error.reason += "（剪切恢复文件已改名为 " + std::string(kDamagedRecoveryName) + "）";
        return error;
    }
    for (ClipboardCard& card : cards) {
        m_clipboard.Add(std::move(card));
    }
    found = !cards.empty();
    return {};
}

}  // namespace quillet
