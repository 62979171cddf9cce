#include "category_file.h"

#include <unistd.h>

#include <algorithm>
#include <limits>
#include <new>

#include "atomic_file.h"
#include "byte_source.h"
#include "field_reader.h"
#include "field_writer.h"

namespace quillet {
namespace {

constexpr std::size_t kLoadGrowthStep = 500;
// Room is reserved for at most one record per this many bytes left; a table with smaller cards grows as they
// arrive.
constexpr std::uint64_t kReservedBytesPerRecord = 512;
// What a card whose content stays in the file costs beyond its name and address.
constexpr std::uint64_t kStoredCardMemory = 96;
constexpr std::size_t kMaxStoredLength = std::numeric_limits<std::uint32_t>::max();

StoreError Damaged(const std::filesystem::path& file, const FieldReader& reader) {
    return StoreError{reader.ReadError() ? StoreErrorKind::CannotRead : StoreErrorKind::Damaged, file,
                      reader.Failure()};
}

std::uint64_t MemoryOf(const CardRecord& record) {
    return sizeof(CardRecord) + record.name.capacity() + record.content.capacity() + record.address.capacity();
}

bool FitsLengthPrefix(std::string_view field) { return field.size() <= std::numeric_limits<std::uint32_t>::max(); }

}  // namespace

StoreError ReadCategoryHeader(FieldReader& reader, const std::filesystem::path& file, HeaderCheck check,
                              std::string& categoryName, std::int32_t& cardCount) {
    std::string header;
    if (!reader.ReadString(header)) {
        return Damaged(file, reader);
    }
    if (check == HeaderCheck::Check && header != kCategoryHeader) {
        return StoreError{StoreErrorKind::BadHeader, file, "文件格式非法！不能读出"};
    }
    std::string ignored;
    std::string name;
    if (!reader.ReadString(ignored) || !reader.ReadString(name)) {
        return Damaged(file, reader);
    }
    categoryName = std::move(name);
    std::int32_t count = 0;
    if (!reader.ReadInt32(count)) {
        return Damaged(file, reader);
    }
    // A negative count means no cards, in a listing as in a full read.
    cardCount = std::max(count, 0);
    return {};
}

namespace {

// The cards after the header. With `contents`, the source is that file and each content is left in it.
StoreError ReadCards(FieldReader& reader, const std::filesystem::path& file, CategoryTarget& target,
                     const std::shared_ptr<const StoredContents>& contents) {
    const std::int32_t count = target.cardCount;
    CardTable& cards = *target.cards;
    cards.Clear();
    cards.SetGrowthStep(kLoadGrowthStep);
    cards.SetStoredContents(contents);
    const std::uint64_t budget =
        target.memoryBudget > 0 ? target.memoryBudget : DefaultMemoryBudget(reader.Position() + reader.Remaining());
    std::uint64_t used = 0;
    // One buffer for every name and address read; the table copies them into its own block.
    std::string name;
    std::string address;
    try {
        // Never reserved from the count alone: a damaged count cannot make us allocate more than a small part
        // of what the file holds.
        cards.Reserve(
            static_cast<std::size_t>(std::min<std::uint64_t>(count, reader.Remaining() / kReservedBytesPerRecord)));
        if (contents) {
            // Names are a small part of a file; what is reserved and not used is never touched.
            cards.ReserveText(static_cast<std::size_t>(reader.Remaining() / 8));
        }
        for (std::int32_t i = 0; i < count; ++i) {
            bool whole = false;
            if (contents) {
                const std::uint64_t start = reader.Position();
                bool canonical = true;
                bool contentCanonical = true;
                whole = reader.ReadStringInPlace(name, &canonical);
                const std::uint64_t contentStart = reader.Position();
                whole = whole && reader.SkipString(&contentCanonical);
                const StoredSpan content{contentStart, reader.Position() - contentStart};
                whole = whole && reader.ReadStringInPlace(address, &canonical);
                if (whole) {
                    used += kStoredCardMemory + name.size() + address.size();
                    const StoredSpan record{start, reader.Position() - start};
                    if (name.size() < kMaxStoredLength && address.size() < kMaxStoredLength) {
                        cards.AppendStored(name, address, record, content, contentCanonical,
                                           canonical && contentCanonical);
                    } else {
                        // Too long to be kept in the table's own block; read whole instead.
                        std::string text;
                        if (StoreError error = contents->Read(content, text)) {
                            return error;
                        }
                        used += text.size();
                        cards.Append(CardRecord{name, std::move(text), address});
                    }
                }
            } else {
                CardRecord record;
                whole = reader.ReadString(record.name) && reader.ReadString(record.content) &&
                        reader.ReadString(record.address);
                if (whole) {
                    used += MemoryOf(record);
                    cards.Append(std::move(record));
                }
            }
            if (!whole) {
                target.cardCount = static_cast<std::int32_t>(cards.Size());
                return Damaged(file, reader);
            }
            if (used > budget) {
                cards.RemoveAt(cards.Size() - 1);
                target.cardCount = static_cast<std::int32_t>(cards.Size());
                return StoreError{
                    StoreErrorKind::Damaged, file,
                    "卡片数量或大小超出了可用内存，只读出了前 " + std::to_string(cards.Size()) + " 张卡片"};
            }
        }
    } catch (const std::bad_alloc&) {
        target.cardCount = static_cast<std::int32_t>(cards.Size());
        return StoreError{StoreErrorKind::CannotRead, file,
                          "内存不足，只读出了前 " + std::to_string(cards.Size()) + " 张卡片"};
    }
    return {};
}

}  // namespace

StoreError ReadCategory(ByteSource& source, const std::filesystem::path& file, ReadMode mode, HeaderCheck check,
                        CategoryTarget target) {
    FieldReader reader(source);
    if (StoreError error = ReadCategoryHeader(reader, file, check, target.categoryName, target.cardCount)) {
        return error;
    }
    if (mode == ReadMode::HeaderOnly) {
        return {};
    }
    return ReadCards(reader, file, target, nullptr);
}

StoreError ReadCategoryBlock(FieldReader& reader, const std::filesystem::path& file, CategoryTarget target) {
    std::string name;
    std::int32_t count = 0;
    if (!reader.ReadString(name) || !reader.ReadInt32(count)) {
        return Damaged(file, reader);
    }
    target.categoryName = std::move(name);
    target.cardCount = std::max(count, 0);
    return ReadCards(reader, file, target, nullptr);
}

std::uint64_t DefaultMemoryBudget(std::uint64_t fileBytes) {
    constexpr std::uint64_t kFloor = 64ull << 20;
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    const std::uint64_t machine = pages > 0 && pageSize > 0
                                      ? static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize) / 8
                                      : std::numeric_limits<std::uint64_t>::max();
    const std::uint64_t scaled = fileBytes > (std::numeric_limits<std::uint64_t>::max() - kFloor) / 4
                                     ? std::numeric_limits<std::uint64_t>::max()
                                     : kFloor + 4 * fileBytes;
    return std::min(scaled, std::max(machine, kFloor));
}

StoreError ScanCategory(ByteSource& source, const std::filesystem::path& file, HeaderCheck check,
                        std::string& categoryName, std::int32_t& cardCount, const CardVisitor& visit) {
    FieldReader reader(source);
    if (StoreError error = ReadCategoryHeader(reader, file, check, categoryName, cardCount)) {
        return error;
    }
    std::string name;
    std::string address;
    for (std::int32_t i = 0; i < cardCount; ++i) {
        const bool whole =
            visit ? reader.ReadStringInPlace(name) && reader.SkipString() && reader.ReadStringInPlace(address)
                  : reader.SkipString() && reader.SkipString() && reader.SkipString();
        if (!whole) {
            cardCount = i;
            return Damaged(file, reader);
        }
        if (visit) {
            visit(name, address);
        }
    }
    return {};
}

StoreError ScanCategoryFile(const std::filesystem::path& file, HeaderCheck check, std::string& categoryName,
                            std::int32_t& cardCount, const CardVisitor& visit) {
    FileSource source;
    if (StoreError error = source.Open(file)) {
        return error;
    }
    return ScanCategory(source, file, check, categoryName, cardCount, visit);
}

StoreError ReadCategoryFile(const std::filesystem::path& file, ReadMode mode, HeaderCheck check,
                            CategoryTarget target) {
    FileSource source;
    if (StoreError error = source.Open(file)) {
        return error;
    }
    if (mode != ReadMode::ContentsOnDemand) {
        return ReadCategory(source, file, mode, check, target);
    }
    FieldReader reader(source);
    if (StoreError error = ReadCategoryHeader(reader, file, check, target.categoryName, target.cardCount)) {
        return error;
    }
    const int fd = source.DuplicateDescriptor();
    if (fd < 0) {
        return StoreError::FromErrno(StoreErrorKind::CannotOpen, file, errno);
    }
    return ReadCards(reader, file, target, std::make_shared<const StoredContents>(fd, file));
}

StoreError WriteCategory(ByteSink& sink, std::string_view categoryName, const CardTable& cards) {
    FieldWriter writer(sink);
    writer.WriteString(kCategoryHeader);
    writer.WriteString(kCategoryVersion);
    return WriteCategoryBlock(sink, categoryName, cards);
}

StoreError WriteCategoryBlock(ByteSink& sink, std::string_view categoryName, const CardTable& cards) {
    FieldWriter writer(sink);
    writer.WriteString(categoryName);
    writer.WriteInt32(static_cast<std::int32_t>(cards.Size()));
    const StoredContents* contents = cards.Contents();
    if (contents) {
        if (StoreError error = contents->CheckUnchanged()) {
            return error;
        }
    }
    // Unchanged cards that follow each other in the file are copied from it in one piece.
    StoredSpan run;
    const auto flush = [&]() -> StoreError {
        StoreError error = run.bytes > 0 ? contents->CopyTo(run, sink) : StoreError{};
        run = {};
        return error;
    };
    for (std::size_t i = 0; i < cards.Size(); ++i) {
        if (const std::optional<StoredSpan> stored = contents ? cards.StoredRecord(i) : std::nullopt) {
            if (run.bytes > 0 && run.offset + run.bytes == stored->offset) {
                run.bytes += stored->bytes;
                continue;
            }
            if (StoreError error = flush()) {
                return error;
            }
            run = *stored;
            continue;
        }
        if (StoreError error = flush()) {
            return error;
        }
        writer.WriteString(cards.NameAt(i));
        if (const std::optional<StoredSpan> content = contents ? cards.StoredContent(i) : std::nullopt) {
            if (StoreError error = contents->CopyTo(*content, sink)) {
                return error;
            }
        } else {
            writer.WriteString(cards.At(i).content);
            if (cards.ContentError()) {
                return cards.ContentError();
            }
        }
        writer.WriteString(cards.AddressAt(i));
    }
    if (StoreError error = flush()) {
        return error;
    }
    // A change of the file while it was copied from would have mixed two versions.
    return contents ? contents->CheckUnchanged() : StoreError{};
}

StoreError WriteCategoryFile(const std::filesystem::path& file, std::string_view categoryName, const CardTable& cards,
                             AtomicFileWriter::FolderSync folderSync) {
    if (cards.ContentError()) {
        return cards.ContentError();
    }
    bool fits = cards.Size() <= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
    for (std::size_t i = 0; fits && i < cards.Size(); ++i) {
        // A content still in the file came with a length prefix, so it fits one.
        fits = FitsLengthPrefix(cards.NameAt(i)) && FitsLengthPrefix(cards.AddressAt(i)) &&
               (cards.StoredContent(i) || FitsLengthPrefix(cards.At(i).content));
    }
    if (!fits) {
        return StoreError{StoreErrorKind::CannotWrite, file, "资料太大，无法保存"};
    }
    AtomicFileWriter writer(file);
    if (StoreError error = writer.Open()) {
        return error;
    }
    if (StoreError error = WriteCategory(writer, categoryName, cards)) {
        return error;  // the writer removes its temporary file; the category stays as it was
    }
    return writer.Commit(folderSync);
}

}  // namespace quillet
