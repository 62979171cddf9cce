#include "category_file.h"

#include <algorithm>
#include <limits>

#include "atomic_file.h"
#include "field_reader.h"
#include "field_writer.h"

namespace quillet {
namespace {

constexpr std::size_t kLoadGrowthStep = 500;
// The smallest record on disk: three empty strings of one prefix byte each.
constexpr std::uint64_t kSmallestRecord = 3;

StoreError Damaged(const std::filesystem::path& file, const FieldReader& reader) {
    return StoreError{StoreErrorKind::Damaged, file, reader.Failure()};
}

bool FitsLengthPrefix(const CardRecord& record) {
    constexpr std::size_t kMax = std::numeric_limits<std::uint32_t>::max();
    return record.name.size() <= kMax && record.content.size() <= kMax && record.address.size() <= kMax;
}

}  // namespace

StoreError ReadCategory(ByteSource& source, const std::filesystem::path& file, ReadMode mode, HeaderCheck check,
                        CategoryTarget target) {
    FieldReader reader(source);
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
    target.categoryName = std::move(name);
    std::int32_t count = 0;
    if (!reader.ReadInt32(count)) {
        return Damaged(file, reader);
    }
    // A negative count means no cards, in a listing as in a full read.
    count = std::max(count, 0);
    target.cardCount = count;
    if (mode == ReadMode::HeaderOnly) {
        return {};
    }

    CardTable& cards = *target.cards;
    cards.Clear();
    cards.SetGrowthStep(kLoadGrowthStep);
    // Reserved from what the file can hold, never from the count alone: a damaged count cannot make us
    // allocate more than the file's size.
    cards.Reserve(static_cast<std::size_t>(std::min<std::uint64_t>(count, reader.Remaining() / kSmallestRecord)));
    for (std::int32_t i = 0; i < count; ++i) {
        CardRecord record;
        if (!reader.ReadString(record.name) || !reader.ReadString(record.content) ||
            !reader.ReadString(record.address)) {
            target.cardCount = static_cast<std::int32_t>(cards.Size());
            return Damaged(file, reader);
        }
        cards.Append(std::move(record));
    }
    return {};
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
