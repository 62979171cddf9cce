#include "backup_file.h"

#include <algorithm>
#include <system_error>

#include "atomic_file.h"
#include "category_file.h"
#include "data_folder.h"
#include "field_writer.h"

namespace quillet {

StoreError BackupReader::Failure() const {
    return StoreError{m_fields.ReadError() ? StoreErrorKind::CannotRead : StoreErrorKind::Damaged, m_file,
                      m_fields.Failure()};
}

StoreError BackupReader::ReadHeader() {
    std::string header;
    if (!m_fields.ReadString(header)) {
        return Failure();
    }
    if (header != kBackupHeader) {
        return StoreError{StoreErrorKind::BadHeader, m_file, "导入文件文件格式非法！不能读出！"};
    }
    std::string version;
    return m_fields.ReadString(version) ? StoreError{} : Failure();
}

StoreError BackupReader::ReadSectionCount(std::int32_t& count) {
    if (!m_fields.ReadInt32(count)) {
        return Failure();
    }
    count = std::max(count, 0);
    return {};
}

StoreError BackupReader::ReadBlock(std::string& categoryName, CardTable& cards) {
    if (m_fields.Failed()) {
        return Failure();
    }
    std::int32_t count = 0;
    return ReadCategoryBlock(m_fields, m_file, {categoryName, count, &cards, m_memoryBudget});
}

namespace {

// Where a backup of that name really goes: through a symbolic link to the file it names, so that the link
// stays and the file is replaced.
std::filesystem::path ResolvedTarget(const std::filesystem::path& target) {
    std::error_code error;
    if (!std::filesystem::is_symlink(target, error)) {
        return target;
    }
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(target, error);
    return error ? target : resolved;
}

std::string LeftOutReason(const StoreError& error) {
    if (error.kind == StoreErrorKind::BadHeader) {
        return "“" + error.file.string() + "”不是类别文件（文件头不对），没有备份";
    }
    return error.Message() + "，没有备份";
}

}  // namespace

ExportOutcome ExportBackup(const std::filesystem::path& dataFolder, const std::filesystem::path& target) {
    ExportOutcome outcome;
    const std::filesystem::path file = ResolvedTarget(target);
    AtomicFileWriter writer(file);
    if (StoreError error = writer.Open()) {
        outcome.error = error;
        return outcome;
    }
    FieldWriter fields(writer);
    fields.WriteString(kBackupHeader);
    fields.WriteString(kBackupVersion);
    for (int library = 0; library < kLibraryCount; ++library) {
        StoreError listError;
        const std::vector<std::filesystem::path> files = CategoryFiles(dataFolder, library, &listError);
        if (listError) {
            outcome.error = listError;
            return outcome;
        }
        // The count comes first: every file's structure is checked before its section is written, then each is
        // read and copied in turn, its contents straight from the file, so that only one is open at a time.
        std::vector<std::filesystem::path> readable;
        readable.reserve(files.size());
        for (const std::filesystem::path& categoryFile : files) {
            std::string name;
            std::int32_t count = 0;
            if (StoreError error = ScanCategoryFile(categoryFile, HeaderCheck::Check, name, count)) {
                outcome.leftOut.push_back(LeftOutReason(error));
                continue;
            }
            readable.push_back(categoryFile);
        }
        fields.WriteInt32(static_cast<std::int32_t>(readable.size()));
        for (const std::filesystem::path& categoryFile : readable) {
            std::string name;
            std::int32_t count = 0;
            CardTable cards;
            StoreError error =
                ReadCategoryFile(categoryFile, ReadMode::ContentsOnDemand, HeaderCheck::Check, {name, count, &cards});
            if (!error) {
                error = WriteCategoryBlock(writer, name, cards);
            }
            if (error) {
                // Readable a moment ago and now gone or changed: the backup would not be what it says.
                outcome.error = error;
                return outcome;
            }
            outcome.cards += cards.Size();
        }
        outcome.categories[static_cast<std::size_t>(library)] = static_cast<int>(readable.size());
    }
    outcome.error = writer.Commit();
    return outcome;
}

std::filesystem::path WithBackupExtension(const std::filesystem::path& chosen) {
    if (chosen.has_extension()) {
        return chosen;
    }
    std::filesystem::path named = chosen;
    named += kBackupExtension;
    return named;
}

}  // namespace quillet
