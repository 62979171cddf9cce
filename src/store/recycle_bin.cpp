#include "recycle_bin.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <functional>
#include <numeric>
#include <set>

#include "atomic_file.h"
#include "category_file.h"
#include "codec.h"
#include "data_folder.h"
#include "libraries.h"

namespace quillet {
namespace {

constexpr std::string_view kCategoryKind = "cat";
constexpr std::string_view kCardsKind = "cards";

std::int64_t Seconds(std::chrono::system_clock::time_point time) {
    return std::chrono::duration_cast<std::chrono::seconds>(time.time_since_epoch()).count();
}

std::string Id(std::int64_t seconds, int sequence) {
    char id[32];
    std::snprintf(id, sizeof id, "%010lld-%04d", static_cast<long long>(seconds), sequence);
    return id;
}

// "<id>.<library>.cat.<file>", "<id>.<library>.cards" or "<id>.<library>.cards.<place>".
bool ParseName(const std::string& fileName, TrashItem& item) {
    const std::size_t first = fileName.find('.');
    const std::size_t second = first == std::string::npos ? first : fileName.find('.', first + 1);
    if (second == std::string::npos || second != first + 2) {
        return false;
    }
    item.id = fileName.substr(0, first);
    item.library = fileName[first + 1] - '0';
    const std::string rest = fileName.substr(second + 1);
    if (!IsLibrary(item.library)) {
        return false;
    }
    if (rest == kCardsKind) {
        item.kind = TrashItem::Kind::Cards;
    } else if (rest.starts_with(std::string(kCardsKind) + ".")) {
        item.kind = TrashItem::Kind::Cards;
        std::size_t position = 0;
        const std::string digits = rest.substr(kCardsKind.size() + 1);
        if (std::from_chars(digits.data(), digits.data() + digits.size(), position).ptr !=
            digits.data() + digits.size()) {
            return false;
        }
        item.position = position;
    } else if (rest.starts_with(std::string(kCategoryKind) + ".") &&
               IsCategoryFileName(item.library, rest.substr(kCategoryKind.size() + 1))) {
        item.kind = TrashItem::Kind::Category;
        item.originalFile = rest.substr(kCategoryKind.size() + 1);
    } else {
        return false;
    }
    const std::size_t dash = item.id.find('-');
    const char* end = item.id.data() + (dash == std::string::npos ? item.id.size() : dash);
    return std::from_chars(item.id.data(), end, item.deletedAt).ec == std::errc{};
}

std::string FileName(const std::string& id, int library, TrashItem::Kind kind, const std::string& original = {},
                     std::optional<std::size_t> position = std::nullopt) {
    std::string name = id + "." + std::to_string(library) + ".";
    if (kind == TrashItem::Kind::Category) {
        return name + std::string(kCategoryKind) + "." + original;
    }
    return name + std::string(kCardsKind) + (position ? "." + std::to_string(*position) : std::string());
}

// A name that no category of the library has, and no card of `taken`: the name itself, or "name（恢复）",
// "name（恢复2）", ...
std::string FreeName(const std::string& name, const std::set<std::string>& taken) {
    if (!taken.contains(name)) {
        return name;
    }
    const std::string mark = ToStoredText("（恢复");
    for (int n = 1;; ++n) {
        const std::string candidate = name + mark + (n == 1 ? std::string() : std::to_string(n)) + ToStoredText("）");
        if (!taken.contains(candidate)) {
            return candidate;
        }
    }
}

// The ids the bin's files use: a new item's id must be none of them, whatever follows it in the file name.
std::set<std::string> UsedIds(const std::filesystem::path& folder) {
    std::set<std::string> ids;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        ids.insert(name.substr(0, name.find('.')));
    }
    return ids;
}

std::set<std::string> CategoryNames(const std::filesystem::path& dataFolder, int library) {
    std::set<std::string> names;
    for (const CategoryInfo& info : ReadCategoryList(dataFolder, library, HeaderCheck::Check)) {
        if (!info.error) {
            names.insert(info.name);
        }
    }
    return names;
}

}  // namespace

RecycleBin::RecycleBin(std::filesystem::path dataFolder) : m_dataFolder(std::move(dataFolder)) {}

StoreError RecycleBin::AddItem(const std::function<StoreError(const std::string& id)>& place,
                               const std::filesystem::path& about, std::string* id) {
    if (StoreError error = CreateFolder(Folder())) {
        return error;
    }
    const std::int64_t now = Seconds(std::chrono::system_clock::now());
    const std::set<std::string> used = UsedIds(Folder());
    for (int sequence = 1; sequence < 10000; ++sequence) {
        const std::string itemId = Id(now, sequence);
        if (used.contains(itemId)) {
            continue;
        }
        StoreError error = place(itemId);
        if (!error && id) {
            *id = itemId;
        }
        if (!error || error.reason != DescribeErrno(EEXIST)) {
            return error;
        }
    }
    return StoreError{StoreErrorKind::CannotWrite, about, "回收站里这一秒的项目太多"};
}

StoreError RecycleBin::TrashCategory(const std::filesystem::path& categoryFile, int library, std::string* id) {
    return AddItem(
        [&](const std::string& itemId) {
            const std::filesystem::path target =
                Folder() / FileName(itemId, library, TrashItem::Kind::Category, categoryFile.filename().string());
            // Never over another item: the name is only taken when it is free.
            if (::renameat2(AT_FDCWD, categoryFile.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) != 0) {
                return StoreError::FromErrno(StoreErrorKind::CannotDelete, categoryFile, errno);
            }
            SyncFolder(Folder());
            SyncFolder(m_dataFolder);
            return StoreError{};
        },
        categoryFile, id);
}

StoreError RecycleBin::TrashCards(int library, const std::string& categoryName, const CardTable& cards, std::string* id,
                                  std::optional<std::size_t> position) {
    StringSink bytes;
    if (StoreError error = WriteCategory(bytes, categoryName, cards)) {
        return error;
    }
    return AddItem(
        [&](const std::string& itemId) {
            const std::filesystem::path target = Folder() / FileName(itemId, library, TrashItem::Kind::Cards, {},
                                                                     cards.Size() == 1 ? position : std::nullopt);
            return WriteFileAtomically(target, bytes.Bytes(), AtomicFileWriter::Target::New);
        },
        Folder(), id);
}

std::optional<TrashItem> RecycleBin::ItemOf(const std::filesystem::directory_entry& entry) {
    TrashItem item;
    std::error_code error;
    const std::string name = entry.path().filename().string();
    if (!entry.is_regular_file(error) || AtomicFileWriter::IsTemporaryName(name) || !ParseName(name, item)) {
        return std::nullopt;
    }
    item.file = entry.path();
    item.bytes = entry.file_size(error);
    return item;
}

void RecycleBin::ReadContents(TrashItem& item) {
    std::int32_t count = 0;
    CardTable cards;
    item.error =
        ReadCategoryFile(item.file, ReadMode::ContentsOnDemand, HeaderCheck::Check, {item.categoryName, count, &cards});
    for (std::size_t i = 0; !item.error && i < cards.Size(); ++i) {
        item.cardNames.emplace_back(cards.NameAt(i));
    }
}

std::optional<TrashItem> RecycleBin::Find(const std::string& id, bool readContents) const {
    std::error_code error;
    for (std::filesystem::directory_iterator it(Folder(), error), end; !error && it != end; it.increment(error)) {
        if (std::optional<TrashItem> item = ItemOf(*it); item && item->id == id) {
            if (readContents) {
                ReadContents(*item);
            }
            return item;
        }
    }
    return std::nullopt;
}

std::vector<TrashItem> RecycleBin::List(bool readContents) const {
    std::vector<TrashItem> items;
    std::error_code error;
    for (std::filesystem::directory_iterator it(Folder(), error), end; !error && it != end; it.increment(error)) {
        if (std::optional<TrashItem> item = ItemOf(*it)) {
            if (readContents) {
                ReadContents(*item);
            }
            items.push_back(std::move(*item));
        }
    }
    std::sort(items.begin(), items.end(), [](const TrashItem& a, const TrashItem& b) { return a.id > b.id; });
    return items;
}

StoreError RecycleBin::Restore(const std::string& id, RestoreOutcome* outcome) {
    const std::optional<TrashItem> found = Find(id, true);
    if (!found) {
        return StoreError{StoreErrorKind::Refused, Folder(), "回收站里没有“" + id + "”"};
    }
    const TrashItem& item = *found;
    if (item.error) {
        return item.error;
    }
    RestoreOutcome restored;
    std::string name;
    std::int32_t count = 0;
    CardTable cards;
    if (StoreError error = ReadCategoryFile(item.file, ReadMode::Full, HeaderCheck::Check, {name, count, &cards})) {
        return error;
    }
    if (item.kind == TrashItem::Kind::Category) {
        const std::string freeName = FreeName(name, CategoryNames(m_dataFolder, item.library));
        std::filesystem::path target = m_dataFolder / item.originalFile;
        std::error_code missing;
        if (std::filesystem::exists(std::filesystem::symlink_status(target, missing))) {
            target = FirstFreeCategoryPath(m_dataFolder, item.library);
        }
        if (freeName != name) {
            // Written under its new name first, then the bin's copy goes: a crash leaves it in both places.
            if (StoreError error = WriteFileAtomically(
                    target,
                    [&] {
                        StringSink bytes;
                        WriteCategory(bytes, freeName, cards);
                        return bytes.Bytes();
                    }(),
                    AtomicFileWriter::Target::New)) {
                return error;
            }
            ::unlink(item.file.c_str());
        } else if (::renameat2(AT_FDCWD, item.file.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) != 0) {
            return StoreError::FromErrno(StoreErrorKind::CannotRename, target, errno);
        }
        SyncFolder(m_dataFolder);
        SyncFolder(Folder());
        restored = {target, freeName, item.cardNames, false};
    } else {
        std::filesystem::path target;
        for (const CategoryInfo& info : ReadCategoryList(m_dataFolder, item.library, HeaderCheck::Check)) {
            if (!info.error && info.name == name) {
                target = info.file;
                break;
            }
        }
        CardTable existing;
        if (!target.empty()) {
            std::string existingName;
            std::int32_t existingCount = 0;
            if (StoreError error = ReadCategoryFile(target, ReadMode::ContentsOnDemand, HeaderCheck::Check,
                                                    {existingName, existingCount, &existing})) {
                return error;  // never written back from the part that was read
            }
        } else {
            target = FirstFreeCategoryPath(m_dataFolder, item.library);
        }
        std::set<std::string> taken;
        for (std::size_t i = 0; i < existing.Size(); ++i) {
            taken.emplace(existing.NameAt(i));
        }
        CardTable merged;
        // A single card goes back to its place when that is still within the category; others to the end.
        const std::size_t at = item.position && *item.position <= existing.Size() ? *item.position : existing.Size();
        std::vector<std::size_t> before(at);
        std::iota(before.begin(), before.end(), std::size_t{0});
        merged = existing.Reordered(before);
        for (std::size_t i = 0; i < cards.Size(); ++i) {
            CardRecord card = cards.At(i);
            card.name = FreeName(card.name, taken);
            taken.insert(card.name);
            restored.cardNames.push_back(card.name);
            merged.Append(std::move(card));
        }
        for (std::size_t i = at; i < existing.Size(); ++i) {
            merged.Append(existing.At(i));
        }
        if (StoreError error = WriteCategoryFile(target, name, merged)) {
            return error;
        }
        ::unlink(item.file.c_str());
        SyncFolder(Folder());
        restored.file = target;
        restored.categoryName = name;
        restored.cardsOnly = true;
    }
    if (outcome) {
        *outcome = std::move(restored);
    }
    return {};
}

StoreError RecycleBin::Empty() {
    StoreError first;
    for (const TrashItem& item : List(false)) {
        if (::unlink(item.file.c_str()) != 0 && !first) {
            first = StoreError::FromErrno(StoreErrorKind::CannotDelete, item.file, errno);
        }
    }
    return first;
}

void RecycleBin::Expire(std::chrono::system_clock::time_point now) {
    const std::int64_t oldest = Seconds(now - kKeptFor);
    std::uint64_t total = 0;
    for (const TrashItem& item : List(false)) {  // newest first: the size keeps the newest
        total += item.bytes;
        if (item.deletedAt < oldest || total > kLargestSize) {
            ::unlink(item.file.c_str());
        }
    }
}

}  // namespace quillet
