#include "renumber.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <optional>
#include <set>
#include <sstream>

#include "atomic_file.h"
#include "byte_source.h"
#include "data_folder.h"
#include "libraries.h"

namespace quillet {
namespace {

constexpr std::string_view kJournalMagic = "QuilletRenumber 2";
constexpr std::string_view kPhaseCopying = "copying";
constexpr std::string_view kPhaseRemoving = "removing";

// What a file held when the renumbering started, so recovery touches only files it made or moved itself.
struct Fingerprint {
    std::uint64_t size = 0;
    std::uint64_t hash = 0;
    bool operator==(const Fingerprint&) const = default;
};

struct Journal {
    int library = -1;
    bool copiesComplete = false;
    std::vector<std::string> oldNames;  // file names in the new order; entry i becomes number i + 1
    std::vector<Fingerprint> prints;    // one per entry
};

// FNV-1a over the whole file; nothing when it cannot be read.
std::optional<Fingerprint> FingerprintOf(const std::filesystem::path& file) {
    FileSource source;
    if (source.Open(file)) {
        return std::nullopt;
    }
    Fingerprint print{source.Remaining(), 14695981039346656037ull};
    std::string chunk;
    while (source.Remaining() > 0) {
        chunk.resize(static_cast<std::size_t>(std::min<std::uint64_t>(source.Remaining(), 1 << 20)));
        if (!source.Read(chunk.data(), chunk.size())) {
            return std::nullopt;
        }
        for (const char c : chunk) {
            print.hash = (print.hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
        }
    }
    return print;
}

bool Holds(const std::filesystem::path& file, const Fingerprint& expected) {
    const std::optional<Fingerprint> print = FingerprintOf(file);
    return print && *print == expected;
}

std::filesystem::path JournalPath(const std::filesystem::path& dataFolder) { return dataFolder / kRenumberJournalName; }

std::filesystem::path Aside(const std::filesystem::path& file) {
    std::filesystem::path moved = file;
    moved += kRenumberSuffix;
    return moved;
}

bool Exists(const std::filesystem::path& file) {
    std::error_code error;
    return std::filesystem::exists(std::filesystem::symlink_status(file, error));
}

class Run final {
public:
    Run(std::filesystem::path dataFolder, RenumberProbe probe)
        : m_folder(std::move(dataFolder)), m_probe(std::move(probe)) {}

    // Each change on disk goes through here, so the probe sees every one.
    bool Allow(RenumberStep step, std::size_t index = 0) const { return !m_probe || m_probe(step, index); }

    StoreError WriteJournal(const Journal& journal, RenumberStep step) const {
        if (!Allow(step)) {
            return StoreError::FromErrno(StoreErrorKind::CannotWrite, JournalPath(m_folder), EIO);
        }
        std::string text(kJournalMagic);
        text += '\n';
        text += journal.copiesComplete ? kPhaseRemoving : kPhaseCopying;
        text += '\n' + std::to_string(journal.library) + '\n';
        for (std::size_t i = 0; i < journal.oldNames.size(); ++i) {
            text += journal.oldNames[i] + '\t' + std::to_string(journal.prints[i].size) + '\t' +
                    std::to_string(journal.prints[i].hash) + '\n';
        }
        return WriteFileAtomically(JournalPath(m_folder), text);
    }

    StoreError RenameFile(const std::filesystem::path& from, const std::filesystem::path& to, RenumberStep step,
                          std::size_t index) const {
        if (!Allow(step, index)) {
            return StoreError::FromErrno(StoreErrorKind::CannotRename, from, EIO);
        }
        if (std::rename(from.c_str(), to.c_str()) != 0) {
            return StoreError::FromErrno(StoreErrorKind::CannotRename, from, errno);
        }
        return {};
    }

    StoreError CopyFile(const std::filesystem::path& from, const std::filesystem::path& to, std::size_t index) const {
        if (!Allow(RenumberStep::CopyToNumber, index)) {
            return StoreError::FromErrno(StoreErrorKind::CannotWrite, to, EIO);
        }
        FileSource source;
        if (StoreError error = source.Open(from)) {
            return error;
        }
        AtomicFileWriter writer(to);
        if (StoreError error = writer.Open()) {
            return error;
        }
        if (!CopyRest(source, writer)) {
            return StoreError::FromErrno(StoreErrorKind::CannotOpen, from, source.ReadErrno());
        }
        return writer.Commit();
    }

    StoreError RemoveFile(const std::filesystem::path& file, RenumberStep step, std::size_t index) const {
        if (!Allow(step, index)) {
            return StoreError::FromErrno(StoreErrorKind::CannotDelete, file, EIO);
        }
        if (::unlink(file.c_str()) != 0 && errno != ENOENT) {
            return StoreError::FromErrno(StoreErrorKind::CannotDelete, file, errno);
        }
        return {};
    }

    // Puts every file back under its old name and removes the copies that only the new numbering had. A file
    // that is not what the journal says it made or moved is left alone and named in the error.
    StoreError RollBack(const Journal& journal) const {
        StoreError first;
        std::vector<std::string> untouched;
        const std::set<std::string> oldNames(journal.oldNames.begin(), journal.oldNames.end());
        auto copyAt = [&](const std::filesystem::path& file) -> const Fingerprint* {
            for (std::size_t j = 0; j < journal.oldNames.size(); ++j) {
                if (CategoryFilePath(m_folder, journal.library, static_cast<int>(j) + 1) == file) {
                    return &journal.prints[j];
                }
            }
            return nullptr;
        };
        for (std::size_t i = 0; i < journal.oldNames.size(); ++i) {
            const std::filesystem::path file = m_folder / journal.oldNames[i];
            if (!Exists(Aside(file))) {
                continue;
            }
            const Fingerprint* copy = copyAt(file);
            const bool ours = Holds(Aside(file), journal.prints[i]);
            const bool placeFree = !Exists(file) || (copy && Holds(file, *copy));
            if (!ours || !placeFree) {
                untouched.push_back(Aside(file).filename().string());
                continue;
            }
            if (StoreError error = RenameFile(Aside(file), file, RenumberStep::MoveAside, i); error && !first) {
                first = error;
            }
        }
        for (std::size_t i = 0; i < journal.oldNames.size(); ++i) {
            const std::filesystem::path target = CategoryFilePath(m_folder, journal.library, static_cast<int>(i) + 1);
            if (oldNames.contains(target.filename().string()) || !Exists(target)) {
                continue;
            }
            if (!Holds(target, journal.prints[i])) {
                untouched.push_back(target.filename().string());
                continue;
            }
            if (StoreError error = RemoveFile(target, RenumberStep::RemoveOld, i); error && !first) {
                first = error;
            }
        }
        SyncFolder(m_folder);
        return Finish(first, untouched);
    }

    StoreError RemoveAsideFiles(const Journal& journal) const {
        StoreError first;
        std::vector<std::string> untouched;
        for (std::size_t i = 0; i < journal.oldNames.size(); ++i) {
            const std::filesystem::path aside = Aside(m_folder / journal.oldNames[i]);
            if (!Exists(aside)) {
                continue;
            }
            // Removed only while its copy stands at the new number: the card data must be somewhere.
            const std::filesystem::path copy = CategoryFilePath(m_folder, journal.library, static_cast<int>(i) + 1);
            if (!Holds(aside, journal.prints[i]) || !Holds(copy, journal.prints[i])) {
                untouched.push_back(aside.filename().string());
                continue;
            }
            if (StoreError error = RemoveFile(aside, RenumberStep::RemoveOld, i); error && !first) {
                first = error;
            }
        }
        SyncFolder(m_folder);
        return Finish(first, untouched);
    }

private:
    // The journal stays while anything was left alone, so the report comes again until someone looks.
    StoreError Finish(StoreError first, const std::vector<std::string>& untouched) const {
        if (first) {
            return first;
        }
        if (!untouched.empty()) {
            std::string names;
            for (const std::string& name : untouched) {
                names += (names.empty() ? "" : "、") + name;
            }
            return StoreError{StoreErrorKind::Damaged, JournalPath(m_folder),
                              "排序记录与资料文件夹中的文件不符，这些文件保持原样：" + names +
                                  "。请检查它们，确认无误后删除这个排序记录"};
        }
        return FinishJournal();
    }

    StoreError FinishJournal() const {
        StoreError error = RemoveFile(JournalPath(m_folder), RenumberStep::RemoveJournal, 0);
        SyncFolder(m_folder);
        return error;
    }

    std::filesystem::path m_folder;
    RenumberProbe m_probe;
};

bool ParseJournal(const std::string& text, Journal& journal) {
    std::istringstream lines(text);
    std::string magic;
    std::string phase;
    std::string library;
    if (!std::getline(lines, magic) || magic != kJournalMagic || !std::getline(lines, phase) ||
        !std::getline(lines, library)) {
        return false;
    }
    if (phase != kPhaseCopying && phase != kPhaseRemoving) {
        return false;
    }
    journal.copiesComplete = phase == kPhaseRemoving;
    if (library.size() != 1 || !IsLibrary(library[0] - '0')) {
        return false;
    }
    journal.library = library[0] - '0';
    std::set<std::string> seen;
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        std::string name;
        Fingerprint print;
        if (!std::getline(fields, name, '\t') || !(fields >> print.size >> print.hash)) {
            return false;
        }
        // Only plain category file names of that library: a damaged journal must not reach other files.
        if (!IsCategoryFileName(journal.library, name) || name.find('/') != std::string::npos ||
            !seen.insert(name).second) {
            return false;
        }
        journal.oldNames.push_back(name);
        journal.prints.push_back(print);
    }
    return true;
}

StoreError CheckOrder(const std::filesystem::path& dataFolder, int library,
                      const std::vector<std::filesystem::path>& order) {
    std::set<std::string> names;
    for (const std::filesystem::path& file : order) {
        const std::string name = file.filename().string();
        if (file.parent_path() != dataFolder || !IsCategoryFileName(library, name) || !names.insert(name).second) {
            return StoreError{StoreErrorKind::CannotRename, file, "不是这个资料库的类别文件，或者重复出现"};
        }
        if (!Exists(file)) {
            return StoreError::FromErrno(StoreErrorKind::CannotRename, file, ENOENT);
        }
        if (Exists(Aside(file))) {
            return StoreError{StoreErrorKind::CannotRename, Aside(file), "上次排序留下的文件还在，请先处理它"};
        }
    }
    for (std::size_t i = 0; i < order.size(); ++i) {
        const std::filesystem::path target = CategoryFilePath(dataFolder, library, static_cast<int>(i) + 1);
        if (!names.contains(target.filename().string()) && Exists(target)) {
            return StoreError{StoreErrorKind::CannotRename, target, "这个类别文件不在排序列表中，不能覆盖它"};
        }
    }
    return {};
}

}  // namespace

StoreError RenumberCategoryFiles(const std::filesystem::path& dataFolder, int library,
                                 const std::vector<std::filesystem::path>& order, const RenumberProbe& probe) {
    if (!IsLibrary(library)) {
        return StoreError{StoreErrorKind::CannotRename, dataFolder, "资料库编号无效"};
    }
    if (StoreError error = CheckOrder(dataFolder, library, order)) {
        return error;
    }
    bool alreadyInPlace = true;
    Journal journal;
    journal.library = library;
    for (std::size_t i = 0; i < order.size(); ++i) {
        journal.oldNames.push_back(order[i].filename().string());
        alreadyInPlace = alreadyInPlace && order[i] == CategoryFilePath(dataFolder, library, static_cast<int>(i) + 1);
    }
    if (alreadyInPlace) {
        return {};
    }
    for (const std::filesystem::path& file : order) {
        const std::optional<Fingerprint> print = FingerprintOf(file);
        if (!print) {
            return StoreError::FromErrno(StoreErrorKind::CannotRead, file, EIO);
        }
        journal.prints.push_back(*print);
    }

    Run run(dataFolder, probe);
    if (StoreError error = run.WriteJournal(journal, RenumberStep::WriteJournal)) {
        return error;
    }
    auto failAndRollBack = [&](StoreError error) {
        run.RollBack(journal);
        return error;
    };
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (StoreError error = run.RenameFile(order[i], Aside(order[i]), RenumberStep::MoveAside, i)) {
            return failAndRollBack(error);
        }
    }
    SyncFolder(dataFolder);
    for (std::size_t i = 0; i < order.size(); ++i) {
        const std::filesystem::path target = CategoryFilePath(dataFolder, library, static_cast<int>(i) + 1);
        if (StoreError error = run.CopyFile(Aside(order[i]), target, i)) {
            return failAndRollBack(error);
        }
    }
    journal.copiesComplete = true;
    if (StoreError error = run.WriteJournal(journal, RenumberStep::MarkCopied)) {
        journal.copiesComplete = false;
        return failAndRollBack(error);
    }
    return run.RemoveAsideFiles(journal);
}

StoreError RecoverInterruptedWork(const std::filesystem::path& dataFolder) {
    // Every writer of the folder holds its lock, and so does our caller: a temporary file here belongs to a
    // writer that died.
    std::error_code error;
    for (std::filesystem::directory_iterator it(dataFolder, error), end; !error && it != end; it.increment(error)) {
        if (AtomicFileWriter::IsTemporaryName(it->path().filename().string())) {
            ::unlink(it->path().c_str());
        }
    }
    const std::filesystem::path journalPath = JournalPath(dataFolder);
    if (!Exists(journalPath)) {
        return {};
    }
    std::string text;
    if (StoreError readError = ReadWholeFile(journalPath, text)) {
        return readError;
    }
    Journal journal;
    if (!ParseJournal(text, journal)) {
        return StoreError{StoreErrorKind::Damaged, journalPath, "排序记录已损坏，类别文件保持原样"};
    }
    Run run(dataFolder, {});
    return journal.copiesComplete ? run.RemoveAsideFiles(journal) : run.RollBack(journal);
}

}  // namespace quillet
