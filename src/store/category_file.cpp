#include "category_file.h"

#include <unistd.h>

#include <algorithm>
#include <limits>
#include <new>

#include "atomic_file.h"
#include "field_reader.h"
#include "field_writer.h"

namespace quillet {
namespace {

constexpr std::size_t kLoadGrowthStep = 500;
// Room is reserved for at most one record per this many bytes left; a table with smaller cards grows as they
// arrive.
constexpr std::uint64_t kReservedBytesPerRecord = 512;

StoreError Damaged(const std::filesystem::path& file, const FieldReader& reader) {
    return StoreError{reader.ReadError() ? StoreErrorKind::CannotRead : StoreErrorKind::Damaged, file,
                      reader.Failure()};
}

std::uint64_t MemoryOf(const CardRecord& record) {
    return sizeof(CardRecord) + record.name.capacity() + record.content.capacity() + record.address.capacity();
}

bool FitsLengthPrefix(const CardRecord& record) {
    constexpr std::size_t kMax = std::numeric_limits<std::uint32_t>::max();
    return record.name.size() <= kMax && record.content.size() <= kMax && record.address.size() <= kMax;
}

}  // namespace

namespace {

// Fields 1 to 4 into the target; on any failure the target keeps what was read whole so far.
StoreError ReadHeader(FieldReader& reader, const std::filesystem::path& file, HeaderCheck check,
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

}  // namespace

StoreError ReadCategory(ByteSource& source, const std::filesystem::path& file, ReadMode mode, HeaderCheck check,
                        CategoryTarget target) {
    FieldReader reader(source);
    if (StoreError error = ReadHeader(reader, file, check, target.categoryName, target.cardCount)) {
        return error;
    }
    const std::int32_t count = target.cardCount;
    if (mode == ReadMode::HeaderOnly) {
        return {};
    }

    CardTable& cards = *target.cards;
    cards.Clear();
    cards.SetGrowthStep(kLoadGrowthStep);
    const std::uint64_t budget =
        target.memoryBudget > 0 ? target.memoryBudget : DefaultMemoryBudget(reader.Position() + reader.Remaining());
    std::uint64_t used = 0;
    try {
        // Never reserved from the count alone: a damaged count cannot make us allocate more than a small part
        // of what the file holds.
        cards.Reserve(
            static_cast<std::size_t>(std::min<std::uint64_t>(count, reader.Remaining() / kReservedBytesPerRecord)));
        for (std::int32_t i = 0; i < count; ++i) {
            CardRecord record;
            if (!reader.ReadString(record.name) || !reader.ReadString(record.content) ||
                !reader.ReadString(record.address)) {
                target.cardCount = static_cast<std::int32_t>(cards.Size());
                return Damaged(file, reader);
            }
            used += MemoryOf(record);
            if (used > budget) {
                target.cardCount = static_cast<std::int32_t>(cards.Size());
                return StoreError{
                    StoreErrorKind::Damaged, file,
                    "卡片数量或大小超出了可用内存，只读出了前 " + std::to_string(cards.Size()) + " 张卡片"};
            }
            cards.Append(std::move(record));
        }
    } catch (const std::bad_alloc&) {
        target.cardCount = static_cast<std::int32_t>(cards.Size());
        return StoreError{StoreErrorKind::CannotRead, file,
                          "内存不足，只读出了前 " + std::to_string(cards.Size()) + " 张卡片"};
    }
    return {};
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
    if (StoreError error = ReadHeader(reader, file, check, categoryName, cardCount)) {
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
    return ReadCategory(source, file, mode, check, target);
}

void WriteCategory(ByteSink& sink, std::string_view categoryName, const CardTable& cards) {
    FieldWriter writer(sink);
    writer.WriteString(kCategoryHeader);
    writer.WriteString(kCategoryVersion);
    writer.WriteString(categoryName);
    writer.WriteInt32(static_cast<std::int32_t>(cards.Size()));
    for (const CardRecord& record : cards) {
        writer.WriteString(record.name);
        writer.WriteString(record.content);
        writer.WriteString(record.address);
    }
}

StoreError WriteCategoryFile(const std::filesystem::path& file, std::string_view categoryName, const CardTable& cards) {
    if (cards.Size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()) ||
        !std::all_of(cards.begin(), cards.end(), FitsLengthPrefix)) {
        return StoreError{StoreErrorKind::CannotWrite, file, "资料太大，无法保存"};
    }
    AtomicFileWriter writer(file);
    if (StoreError error = writer.Open()) {
        return error;
    }
    WriteCategory(writer, categoryName, cards);
    return writer.Commit();
}

}  // namespace quillet
