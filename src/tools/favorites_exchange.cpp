#include "tools/favorites_exchange.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <set>
#include <unordered_map>

#include "store/atomic_file.h"
#include "store/category_file.h"
#include "store/codec.h"
#include "store/data_folder.h"
#include "store/libraries.h"
#include "store/recycle_bin.h"
#include "tools/ascii_case.h"
#include "tools/bookmarks_file.h"
#include "tools/shortcut_file.h"

namespace quillet {
namespace {

constexpr std::string_view kRootCategory = "IE收藏夹未分类别站点";
constexpr std::string_view kExportFolder = "青榆资料夹－导出站点";
constexpr std::size_t kLargestShortcut = 64 * 1024;
constexpr int kDeepestFolder = 32;
constexpr std::size_t kLongestFileName = 255;

std::string Format(const char* pattern, int a, int b = 0, int c = 0) {
    char line[160];
    std::snprintf(line, sizeof line, pattern, a, b, c);
    return line;
}

std::string Dashes(int count) {
    std::string dashes;
    for (int i = 0; i < count; ++i) {
        dashes += "－";
    }
    return dashes;
}

// Up to `limit` bytes of a regular file; nothing for anything else (a FIFO, a device, a link), without blocking.
std::optional<std::string> ReadRegularFile(const std::filesystem::path& file, std::uint64_t limit) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    struct stat status {};
    std::optional<std::string> bytes;
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode)) {
        bytes.emplace();
        char buffer[65536];
        while (bytes->size() < limit) {
            const ssize_t got = ::read(
                fd, buffer, static_cast<std::size_t>(std::min<std::uint64_t>(sizeof buffer, limit - bytes->size())));
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got <= 0) {
                break;
            }
            bytes->append(buffer, static_cast<std::size_t>(got));
        }
    }
    ::close(fd);
    return bytes;
}

struct Entry {
    std::string name;  // UTF-8, as the file system has it
    std::filesystem::file_type type;
};

// A folder's entries in byte order of their names, links seen as links.
std::vector<Entry> SortedEntries(const std::filesystem::path& folder) {
    std::vector<Entry> entries;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code typeError;
        entries.push_back({it->path().filename().string(), it->symlink_status(typeError).type()});
    }
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.name < b.name; });
    return entries;
}

std::optional<FavoriteSite> ReadShortcut(const std::filesystem::path& file, const std::string& fileName) {
    const std::optional<std::string> bytes = ReadRegularFile(file, kLargestShortcut);
    const std::optional<std::string> address = bytes ? ReadShortcutAddress(*bytes) : std::nullopt;
    if (!address) {
        return std::nullopt;
    }
    return FavoriteSite{ToStoredText(fileName.substr(0, fileName.size() - 4)), *address, std::nullopt};
}

// A name that may stand as one component of a path below the chosen folder.
bool IsSafeFileName(const std::string& utf8) {
    return !utf8.empty() && utf8 != "." && utf8 != ".." && utf8.size() <= kLongestFileName &&
           utf8.find_first_of(std::string_view("/\0\r\n", 4)) == std::string::npos;
}

bool BreaksShortcut(std::string_view address) {
    return address.find_first_of(std::string_view("\r\n\0", 3)) != address.npos;
}

// The folder, made if missing; an existing one must be a real folder, not a link to somewhere else.
bool MakeRealFolder(const std::filesystem::path& folder) {
    if (::mkdir(folder.c_str(), 0777) == 0) {
        return true;
    }
    struct stat status {};
    return errno == EEXIST && ::lstat(folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool WriteShortcut(const std::filesystem::path& file, std::string_view bytes) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
        return false;
    }
    bool written = true;
    for (std::size_t done = 0; written && done < bytes.size();) {
        const ssize_t got = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        written = got > 0;
        done += got > 0 ? static_cast<std::size_t>(got) : 0;
    }
    return ::close(fd) == 0 && written;
}

struct WebCategory {
    std::filesystem::path file;
    std::string name;
    CardTable cards;
};

// The web library's readable categories in file order, each read whole; the others named in the log.
std::vector<WebCategory> ReadWebCategories(const std::filesystem::path& dataFolder, const FavoritesLog& log,
                                           StoreError& listError) {
    std::vector<WebCategory> categories;
    for (const std::filesystem::path& file : CategoryFiles(dataFolder, kWebLibrary, &listError)) {
        WebCategory category{file, {}, {}};
        std::int32_t count = 0;
        if (StoreError error =
                ReadCategoryFile(file, ReadMode::Full, HeaderCheck::Check, {category.name, count, &category.cards})) {
            log(error.Message() + "，这个类别没有导出");
            continue;
        }
        categories.push_back(std::move(category));
    }
    return categories;
}

std::vector<FavoriteSite> SitesOf(const CardTable& cards) {
    std::vector<FavoriteSite> sites;
    for (std::size_t i = 0; i < cards.Size(); ++i) {
        const CardRecord& card = cards.At(i);
        sites.push_back({card.name, card.address, card.content});
    }
    return sites;
}

int ExportCategoryFolder(const std::filesystem::path& root, const WebCategory& category, const FavoritesLog& log) {
    const std::string folderName = ToUtf8(category.name);
    if (!IsSafeFileName(folderName)) {
        log("“" + folderName + "”不能用作文件夹名，这个类别没有导出");
        return 0;
    }
    const std::filesystem::path folder = root / folderName;
    if (!MakeRealFolder(folder)) {
        log("文件夹“" + folder.string() + "”不能建立（或者不是真正的文件夹），这个类别没有导出");
        return 0;
    }
    int written = 0;
    std::set<std::string> fileNames;
    for (std::size_t i = 0; i < category.cards.Size(); ++i) {
        const CardRecord& card = category.cards.At(i);
        const std::string fileName = ToUtf8(card.name) + ".url";
        if (!IsSafeFileName(fileName)) {
            log(" " + ToUtf8(card.name) + " [名称不能用作文件名，未导出]");
        } else if (BreaksShortcut(card.address)) {
            log(" " + ToUtf8(card.name) + " [网址中有换行符，未导出]");
        } else if (!fileNames.insert(fileName).second) {
            log(" " + ToUtf8(card.name) + " [与前面的站点同名，未导出]");
        } else if (!WriteShortcut(folder / fileName, ShortcutFileBytes(card.address))) {
            log(" " + ToUtf8(card.name) + " [文件不能写入，未导出]");
        } else {
            ++written;
        }
    }
    return written;
}

// The first web category of that name, read whole; a new file under the first free number when there is none.
struct Target {
    std::filesystem::path file;
    CardTable cards;
    bool exists = false;
    StoreError error;
};

Target FindWebCategory(const std::filesystem::path& dataFolder, const std::string& name) {
    Target target;
    for (const CategoryInfo& info : ReadCategoryList(dataFolder, kWebLibrary, HeaderCheck::Check, &target.error)) {
        if (!info.error && info.name == name) {
            target.file = info.file;
            target.exists = true;
            std::string storedName;
            std::int32_t count = 0;
            target.error =
                ReadCategoryFile(info.file, ReadMode::Full, HeaderCheck::Check, {storedName, count, &target.cards});
            return target;
        }
    }
    if (!target.error) {
        target.file = FirstFreeCategoryPath(dataFolder, kWebLibrary);
    }
    return target;
}

class SiteMerger final {
public:
    SiteMerger(CardTable& cards, bool overwrite, FavoritesOutcome& outcome, const FavoritesLog& log)
        : m_cards(cards), m_overwrite(overwrite), m_outcome(outcome), m_log(log) {
        for (std::size_t i = 0; i < cards.Size(); ++i) {
            m_first.try_emplace(std::string(cards.NameAt(i)), i);
        }
    }

    // Compared with the cards read at the start and the sites added before it.
    void Merge(const FavoriteSite& site, const std::string& description) {
        const CardRecord card{site.name, site.description.value_or(description), site.address};
        const auto found = m_first.find(site.name);
        if (found == m_first.end()) {
            m_first.emplace(site.name, m_cards.Size());
            m_cards.Append(card);
            ++m_outcome.added;
            m_changed = true;
            m_log(ToUtf8(site.name) + " [新加]");
        } else if (m_overwrite) {
            m_replaced.Append(m_cards.At(found->second));
            m_cards.Replace(found->second, card);
            ++m_outcome.overwritten;
            m_changed = true;
            m_log(ToUtf8(site.name) + " [已覆盖]");
        } else {
            ++m_outcome.notOverwritten;
            m_log(ToUtf8(site.name) + " [未覆盖]");
        }
    }
    bool Changed() const { return m_changed; }
    // The category's cards that sites were written over, as they were.
    const CardTable& Replaced() const { return m_replaced; }

private:
    CardTable& m_cards;
    bool m_overwrite;
    FavoritesOutcome& m_outcome;
    const FavoritesLog& m_log;
    std::unordered_map<std::string, std::size_t> m_first;
    CardTable m_replaced;
    bool m_changed = false;
};

void EndLog(const FavoritesLog& log, const std::string& summary) {
    log(" ");
    log(Dashes(23));
    log(summary);
}

}  // namespace

std::filesystem::path DefaultFavoritesFolder(bool forExport) {
    const char* home = std::getenv("HOME");
    std::filesystem::path folder = std::filesystem::path(home && *home ? home : "/") / "Favorites";
    return forExport ? folder / kExportFolder : folder;
}

bool IsBookmarksFile(const std::filesystem::path& path) {
    const std::string extension = path.extension().string();
    return EqualsIgnoringCase(extension, ".html") || EqualsIgnoringCase(extension, ".htm");
}

std::filesystem::path ExpandedFavoritesPath(const std::string& typed) {
    std::filesystem::path path = typed;
    if (typed == "~" || typed.starts_with("~/")) {
        const char* home = std::getenv("HOME");
        path = std::filesystem::path(home ? home : "") / typed.substr(std::min<std::size_t>(2, typed.size()));
    }
    return path.is_absolute() ? path.lexically_normal() : std::filesystem::path();
}

FavoritesTree ReadShortcutFolder(const std::filesystem::path& folder, const FavoritesLog& log) {
    FavoritesTree tree;
    std::vector<std::string> topFolders;
    for (const Entry& entry : SortedEntries(folder)) {
        if (entry.type == std::filesystem::file_type::directory) {
            topFolders.push_back(entry.name);
        } else if (entry.type == std::filesystem::file_type::regular && IsShortcutFileName(entry.name)) {
            if (std::optional<FavoriteSite> site = ReadShortcut(folder / entry.name, entry.name)) {
                tree.rootSites.push_back(std::move(*site));
            }
        }
    }
    for (const std::string& top : topFolders) {
        FavoritesTree::Folder collected{ToStoredText(top), {}};
        // Depth first in name order, as a recursive walk would go, with a stack of its own.
        struct Level {
            std::filesystem::path folder;
            std::vector<Entry> entries;
            std::size_t next = 0;
        };
        std::vector<Level> stack;
        stack.push_back({folder / top, SortedEntries(folder / top)});
        while (!stack.empty()) {
            Level& level = stack.back();
            if (level.next == level.entries.size()) {
                stack.pop_back();
                continue;
            }
            const Entry entry = level.entries[level.next++];
            const std::filesystem::path path = level.folder / entry.name;
            if (entry.type == std::filesystem::file_type::directory) {
                if (stack.size() >= kDeepestFolder) {
                    log("文件夹“" + path.string() + "”太深，没有读入");
                } else {
                    stack.push_back({path, SortedEntries(path)});
                }
            } else if (entry.type == std::filesystem::file_type::regular && IsShortcutFileName(entry.name)) {
                if (std::optional<FavoriteSite> site = ReadShortcut(path, entry.name)) {
                    collected.sites.push_back(std::move(*site));
                }
            }
        }
        tree.folders.push_back(std::move(collected));
    }
    return tree;
}

FavoritesOutcome ExportFavorites(const std::filesystem::path& dataFolder, const std::filesystem::path& target,
                                 const FavoritesLog& log) {
    FavoritesOutcome outcome;
    if (!target.is_absolute()) {
        outcome.error = StoreError{StoreErrorKind::Refused, target, "请给出完整的路径（以 / 或 ~/ 开头）"};
        log(outcome.error.Message());
        return outcome;
    }
    const bool bookmarks = IsBookmarksFile(target);
    std::error_code error;
    std::filesystem::create_directories(bookmarks ? target.parent_path() : target, error);
    const std::filesystem::path folder = bookmarks ? target.parent_path() : target;
    if (!std::filesystem::is_directory(folder, error)) {
        outcome.error = StoreError{StoreErrorKind::CannotWrite, folder, "文件夹不能建立"};
        log(outcome.error.Message());
        return outcome;
    }
    StoreError listError;
    const std::vector<WebCategory> categories = ReadWebCategories(dataFolder, log, listError);
    if (listError) {
        outcome.error = listError;
        log(listError.Message());
        return outcome;
    }
    std::vector<BookmarksCategory> collected;
    for (const WebCategory& category : categories) {
        int written = 0;
        if (bookmarks) {
            collected.push_back({category.name, SitesOf(category.cards)});
            written = static_cast<int>(category.cards.Size());
        } else {
            written = ExportCategoryFolder(target, category, log);
        }
        outcome.exported += written;
        log("");
        log(ToUtf8(category.name) + "－－－导出站点：[ " + std::to_string(written) + " ]");
    }
    if (bookmarks) {
        if (StoreError writeError = WriteFileAtomically(target, WriteBookmarks(collected))) {
            outcome.error = writeError;
            outcome.exported = 0;
            log(writeError.Message() + "，书签文件没有写成");
        }
    }
    EndLog(log, Format("导出工作结束,共导出站点[%d]个", outcome.exported));
    return outcome;
}

FavoritesOutcome ImportFavoritesTree(const std::filesystem::path& dataFolder, const FavoritesTree& tree, bool overwrite,
                                     const FavoritesLog& log) {
    FavoritesOutcome outcome;
    const auto importInto = [&](const std::string& name, const std::vector<FavoriteSite>& sites,
                                const std::string& description, bool writeWhenEmpty) {
        Target target = FindWebCategory(dataFolder, name);
        if (target.error) {
            // Never written back from the part that could be read.
            log(target.error.Message() + "，这一栏的站点没有导入");
            return target.error;
        }
        SiteMerger merger(target.cards, overwrite, outcome, log);
        for (const FavoriteSite& site : sites) {
            merger.Merge(site, description);
        }
        const bool write = target.exists ? merger.Changed() : (writeWhenEmpty || !target.cards.Empty());
        if (write) {
            // What the import writes over is kept in the recycle bin first.
            if (StoreError error = merger.Replaced().Empty()
                                       ? StoreError{}
                                       : RecycleBin(dataFolder).TrashCards(kWebLibrary, name, merger.Replaced())) {
                log(error.Message() + "，这一栏的站点没有导入");
                return error;
            }
            if (StoreError error =
                    WriteCategoryFile(target.file, name, target.cards, AtomicFileWriter::FolderSync::Later)) {
                log(error.Message() + "，这一栏的站点没有导入");
                return error;
            }
            ++outcome.filesWritten;
        }
        return StoreError{};
    };

    log("－－－IE收藏夹根目录下的站点：" + Dashes(9));
    const std::string root = ToStoredText(kRootCategory);
    StoreError failed = importInto(root, tree.rootSites, ToStoredText("从IE收藏夹根目录中导入的站点"), false);
    for (const FavoritesTree::Folder& folder : tree.folders) {
        log(" ");
        log("－－－" + ToUtf8(folder.name) + Dashes(17));
        if (folder.name.empty()) {
            log("（栏目没有名称，没有导入）");
            continue;
        }
        const std::string description = ToStoredText("从IE收藏夹[") + folder.name + ToStoredText("]栏目中导入的站点");
        if (StoreError error = importInto(folder.name, folder.sites, description, true); error && !failed) {
            failed = error;
        }
    }
    if (outcome.filesWritten > 0) {
        SyncFolder(dataFolder);
    }
    outcome.error = failed;
    EndLog(log, Format("新加站点[%d],未覆盖站点[%d],覆盖站点[%d]", outcome.added, outcome.notOverwritten,
                       outcome.overwritten));
    return outcome;
}

FavoritesOutcome ImportFavorites(const std::filesystem::path& dataFolder, const std::filesystem::path& source,
                                 bool overwrite, const FavoritesLog& log) {
    if (!source.is_absolute()) {
        FavoritesOutcome outcome;
        outcome.error = StoreError{StoreErrorKind::Refused, source, "请给出完整的路径（以 / 或 ~/ 开头）"};
        log(outcome.error.Message());
        return outcome;
    }
    if (IsBookmarksFile(source)) {
        const std::optional<std::string> html = ReadRegularFile(source, kLargestBookmarksFile + 1);
        if (!html || html->size() > kLargestBookmarksFile) {
            FavoritesOutcome outcome;
            outcome.error = StoreError{StoreErrorKind::CannotOpen, source,
                                       html ? "书签文件太大（超过 64 MB），没有导入" : "书签文件不能打开"};
            log(outcome.error.Message());
            return outcome;
        }
        return ImportFavoritesTree(dataFolder, ParseBookmarks(*html), overwrite, log);
    }
    std::error_code error;
    if (!std::filesystem::is_directory(source, error)) {
        FavoritesOutcome outcome;
        outcome.error = StoreError{StoreErrorKind::CannotOpen, source, "收藏夹文件夹不存在"};
        log(outcome.error.Message());
        return outcome;
    }
    return ImportFavoritesTree(dataFolder, ReadShortcutFolder(source, log), overwrite, log);
}

}  // namespace quillet
