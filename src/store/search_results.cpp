#include "search_results.h"

#include <algorithm>

#include "atomic_file.h"
#include "category_file.h"
#include "field_reader.h"
#include "field_writer.h"

namespace quillet {
namespace {

// What one record costs in memory beyond its bytes, for the budget.
constexpr std::uint64_t kRecordMemory = sizeof(CardRecord) + 64;
constexpr std::uint64_t kReservedBytesPerRecord = 64;

}  // namespace

void WriteSearchResults(ByteSink& sink, std::string_view searchText, const CardTable& results) {
    FieldWriter writer(sink);
    writer.WriteString(searchText);
    writer.WriteInt32(static_cast<std::int32_t>(results.Size()));
    for (std::size_t i = 0; i < results.Size(); ++i) {
        const CardRecord& record = results.At(i);
        writer.WriteString(record.name);
        writer.WriteString(record.content);
        writer.WriteString(record.address);
    }
}

StoreError ReadSearchResults(ByteSource& source, const std::filesystem::path& file, std::string& searchText,
                             CardTable& results, std::uint64_t memoryBudget) {
    FieldReader reader(source);
    auto damaged = [&](std::string reason) { return StoreError{StoreErrorKind::Damaged, file, std::move(reason)}; };
    std::string text;
    std::int32_t stored = 0;
    if (!reader.ReadString(text) || !reader.ReadInt32(stored)) {
        return damaged(reader.Failure());
    }
    const auto count = static_cast<std::uint32_t>(stored);
    // Every record takes at least three bytes: a count beyond that is made up, and nothing is reserved for it.
    if (count > reader.Remaining() / 3) {
        return damaged("结果数（" + std::to_string(count) + "）超出了文件所能容纳的数目");
    }
    const std::uint64_t budget =
        memoryBudget > 0 ? memoryBudget : DefaultMemoryBudget(reader.Position() + reader.Remaining());
    std::uint64_t used = 0;
    CardTable read;
    // Reserved for what the file could hold of ordinary results, never from the count alone.
    read.Reserve(
        static_cast<std::size_t>(std::min<std::uint64_t>(count, reader.Remaining() / kReservedBytesPerRecord)));
    for (std::uint32_t i = 0; i < count; ++i) {
        CardRecord record;
        if (!reader.ReadString(record.name) || !reader.ReadString(record.content) ||
            !reader.ReadString(record.address)) {
            return damaged(reader.Failure());
        }
        used += kRecordMemory + record.name.size() + record.content.size() + record.address.size();
        if (used > budget) {
            return damaged("结果占用的内存超出了限度");
        }
        read.Append(std::move(record));
    }
    searchText = std::move(text);
    results = std::move(read);
    return {};
}

StoreError LoadSearchResults(const std::filesystem::path& file, std::string& searchText, CardTable& results) {
    std::error_code missing;
    if (!std::filesystem::exists(file, missing)) {
        return {};
    }
    FileSource source;
    if (StoreError error = source.Open(file)) {
        return error;
    }
    StoreError error = ReadSearchResults(source, file, searchText, results);
    if (error && source.ReadErrno() != 0) {
        error = StoreError::FromErrno(StoreErrorKind::CannotRead, file, source.ReadErrno());
    }
    return error;
}

StoreError SaveSearchResults(const std::filesystem::path& file, std::string_view searchText, const CardTable& results) {
    AtomicFileWriter writer(file);
    if (StoreError error = writer.Open()) {
        return error;
    }
    WriteSearchResults(writer, searchText, results);
    return writer.Commit();
}

}  // namespace quillet
