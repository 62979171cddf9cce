#include "backup_import.h"

#include <cstdio>
#include <map>
#include <set>
#include <unordered_map>

#include "atomic_file.h"
#include "backup_file.h"
#include "byte_source.h"
#include "category_file.h"
#include "codec.h"
#include "data_folder.h"
#include "recycle_bin.h"

namespace quillet {
namespace {

constexpr const char* kLibraryMarkers[kLibraryCount] = {
    "【编程资料】:", "【软件资料】:", "【我的资料】:", "【网络资源】:"};

// Every file is synced as it is written; the folder once, when the import ends however it ends.
constexpr auto kLater = AtomicFileWriter::FolderSync::Later;

std::string Stored(std::string_view utf8) { return ToStoredText(utf8); }

std::string Counted(const char* utf8Format, int a, int b = 0, int c = 0, int d = 0) {
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, utf8Format, a, b, c, d);
    return Stored(buffer);
}

// A library's categories by name, the first file in file order for each; built once per library and joined by
// the categories this import creates.
class LibraryIndex final {
public:
    LibraryIndex(const std::filesystem::path& dataFolder, int library) : m_dataFolder(dataFolder), m_library(library) {
        for (const CategoryInfo& info : ReadCategoryList(dataFolder, library, HeaderCheck::Check)) {
            // A file that cannot be opened or is no category file is passed over, as if it were not there.
            if (!info.error) {
                m_files.emplace(info.name, info.file);
            }
        }
    }

    const std::filesystem::path* Find(const std::string& name) const {
        const auto found = m_files.find(name);
        return found == m_files.end() ? nullptr : &found->second;
    }

    // The first free number, going on from the last one taken: numbers are never reused within an import.
    std::filesystem::path NewFile(const std::string& name) {
        for (;; ++m_nextNumber) {
            std::filesystem::path candidate = CategoryFilePath(m_dataFolder, m_library, m_nextNumber);
            std::error_code error;
            if (!m_planned.contains(candidate) &&
                !std::filesystem::exists(std::filesystem::symlink_status(candidate, error))) {
                ++m_nextNumber;
                m_planned.insert(candidate);
                m_files.emplace(name, candidate);
                return candidate;
            }
        }
    }

private:
    std::filesystem::path m_dataFolder;
    int m_library;
    std::unordered_map<std::string, std::filesystem::path> m_files;
    std::set<std::filesystem::path> m_planned;
    int m_nextNumber = 1;
};

// The category files this import has written, or in a dry run would have: a dry run reads them from here.
struct Written {
    std::string name;
    CardTable cards;
};

}  // namespace

std::string ImportEndMessage(const ImportOutcome& outcome) {
    switch (outcome.end) {
        case ImportEnd::Finished:
            break;
        case ImportEnd::CannotOpen:
            return "导入文件不能打开！";
        case ImportEnd::BadHeader:
            return "导入文件文件格式非法！不能读出！";
        case ImportEnd::Failed:
            return outcome.error.Message() + "\n导入在这里停止了；此前写入的类别都是完整的。";
    }
    return {};
}

MergeCounts MergeCards(CardTable& existing, const CardTable& incoming, bool overwrite, CardTable* replaced) {
    std::unordered_map<std::string, std::size_t> firstOfName;
    firstOfName.reserve(existing.Size());
    for (std::size_t i = 0; i < existing.Size(); ++i) {
        firstOfName.emplace(std::string(existing.NameAt(i)), i);
    }
    MergeCounts counts;
    for (std::size_t i = 0; i < incoming.Size(); ++i) {
        const auto found = firstOfName.find(std::string(incoming.NameAt(i)));
        if (found == firstOfName.end()) {
            // Not looked up again: two incoming cards of one new name are both added.
            existing.Append(incoming.At(i));
            ++counts.added;
        } else if (overwrite) {
            if (replaced) {
                replaced->Append(existing.At(found->second));
            }
            existing.Replace(found->second, incoming.At(i));
            ++counts.overwritten;
        }
    }
    return counts;
}

ImportOutcome ImportBackup(const std::filesystem::path& dataFolder, const std::filesystem::path& backup,
                           const ImportOptions& options, const ImportLog& log) {
    ImportOutcome outcome;
    FileSource source;
    if (source.Open(backup)) {
        outcome.end = ImportEnd::CannotOpen;
        return outcome;
    }
    BackupReader reader(source, backup);
    if (StoreError error = reader.ReadHeader()) {
        outcome.end = error.kind == StoreErrorKind::BadHeader ? ImportEnd::BadHeader : ImportEnd::Failed;
        outcome.error = error;
        return outcome;
    }
    if (!options.dryRun) {
        if (StoreError error = CreateFolder(dataFolder)) {
            outcome.end = ImportEnd::Failed;
            outcome.error = error;
            return outcome;
        }
    }
    const auto fail = [&](StoreError error) {
        if (outcome.filesWritten > 0 && !options.dryRun) {
            SyncFolder(dataFolder);
        }
        outcome.end = ImportEnd::Failed;
        outcome.error = std::move(error);
        return outcome;
    };
    std::map<std::filesystem::path, Written> pending;
    std::string name;
    CardTable incoming;
    for (int library = 0; library < kLibraryCount; ++library) {
        log("");
        log(Stored(kLibraryMarkers[library]));
        std::int32_t blocks = 0;
        if (StoreError error = reader.ReadSectionCount(blocks)) {
            return fail(error);
        }
        LibraryIndex index(dataFolder, library);
        for (std::int32_t block = 0; block < blocks; ++block) {
            if (StoreError error = reader.ReadBlock(name, incoming)) {
                return fail(error);
            }
            const int incomingCount = static_cast<int>(incoming.Size());
            if (const std::filesystem::path* match = index.Find(name)) {
                Written merged;
                if (const auto earlier = pending.find(*match); earlier != pending.end()) {
                    merged.name = earlier->second.name;
                    merged.cards = earlier->second.cards;
                } else {
                    std::int32_t count = 0;
                    // A category that cannot be read whole is never written back from the part that was read.
                    if (StoreError error = ReadCategoryFile(*match, ReadMode::ContentsOnDemand, HeaderCheck::Check,
                                                            {merged.name, count, &merged.cards})) {
                        return fail(error);
                    }
                }
                const int existingCount = static_cast<int>(merged.cards.Size());
                CardTable replaced;
                const MergeCounts counts = MergeCards(merged.cards, incoming, options.overwrite, &replaced);
                // A category that gains nothing keeps its file as it is: the same cards, not written again.
                const bool changed = counts.added > 0 || counts.overwritten > 0;
                if (changed && !options.dryRun) {
                    // What the import writes over is kept in the recycle bin first.
                    if (StoreError error = replaced.Empty()
                                               ? StoreError{}
                                               : RecycleBin(dataFolder).TrashCards(library, name, replaced)) {
                        return fail(error);
                    }
                    if (StoreError error = WriteCategoryFile(*match, name, merged.cards, kLater)) {
                        return fail(error);
                    }
                } else if (changed) {
                    merged.name = name;
                    pending[*match] = std::move(merged);
                }
                outcome.filesWritten += changed ? 1 : 0;
                log(Stored(" ++ ") + name);
                log(Counted(" 原卡片:[%d],待加卡片:[%d],新加:[%d],覆盖:[%d] ", existingCount, incomingCount,
                            counts.added, counts.overwritten));
                log(Stored(" +++++++++++++++++++++++++++++++++++++++++++++++++"));
                continue;
            }
            const std::filesystem::path file = index.NewFile(name);
            if (!options.dryRun) {
                if (StoreError error = WriteCategoryFile(file, name, incoming, kLater)) {
                    return fail(error);
                }
            } else {
                pending[file] = Written{name, incoming};
            }
            ++outcome.filesWritten;
            log(Stored(" ++ ") + name + Stored(" "));
            log(Counted(" ++++++++++++++++++++++++++++++ 加入新卡片:[%d]", incomingCount));
        }
    }
    if (outcome.filesWritten > 0 && !options.dryRun) {
        SyncFolder(dataFolder);
    }
    return outcome;
}

}  // namespace quillet
