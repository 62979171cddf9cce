#include "cli/cli.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <iostream>
#include <iterator>
#include <optional>

#include "cli/terminal_text.h"
#include "store/backup_file.h"
#include "store/backup_import.h"
#include "store/card_search.h"
#include "store/card_store.h"
#include "store/card_text.h"
#include "store/codec.h"
#include "store/program_folder.h"
#include "store/recycle_bin.h"
#include "store/search_results.h"
#include "store/statistics.h"
#include "tools/favorites_exchange.h"

namespace quillet {
namespace {

constexpr int kDone = 0;
constexpr int kRefused = 1;
constexpr int kUsage = 2;
constexpr int kLockPatienceMs = 5000;

constexpr std::string_view kUsageText =
    "用法：quillet-cli [--home 文件夹] 命令 ...\n"
    "  categories 资料库                      列出类别：文件名、卡片数、类别名\n"
    "  cards 资料库 类别                      列出类别中的卡片\n"
    "  show 资料库 类别 卡片 [--raw]          显示卡片内容（--raw：行尾保持 CR LF）\n"
    "  new-category 资料库 类别               新建类别\n"
    "  add 资料库 类别 卡片 [--address 网址] [--raw]\n"
    "                                         加入卡片，内容从标准输入读出（--raw：行尾不改成 CR LF）\n"
    "  check                                  检查所有类别文件\n"
    "  search 文字 [选项]                     查找卡片，每行一个结果：资料库、类别、卡片（站点还有网址）\n"
    "    --by name|content|both               按卡片名（默认）、按内容或网址、两者都有\n"
    "    --lib 资料库                         只查这个资料库，可以多次给出；默认查找全部\n"
    "    --ignore-case                        英文字母不分大小写\n"
    "    --all-words                          以空格分开的每个词都要找到\n"
    "    --save                               把结果存入 Quillet.sch，阅读模式显示它们\n"
    "    --                                   其后的参数是要查找的文字，即使以 -- 开头\n"
    "  stats                                  资料统计：每个资料库的类别和卡片数\n"
    "  backup 文件                            把所有资料备份到一个文件（.quo）\n"
    "  restore 文件 [--overwrite] [--dry-run]  把备份文件合并进来，打印导入记录\n"
    "  favorites import 位置 [--overwrite]    把收藏夹文件夹或书签文件（.html）中的站点导入“网络资源”\n"
    "  trash list                             回收站：编号、时间、资料库、类别、卡片\n"
    "  trash restore 编号...                  把回收站中的这些项目放回原处\n"
    "  trash empty                            清空回收站\n"
    "  favorites export 位置                  把“网络资源”的站点导出成收藏夹文件夹或书签文件（.html）\n"
    "    --overwrite                          同名卡片用备份中的覆盖（默认保留原有的）\n"
    "    --dry-run                            只打印导入记录，什么也不写\n"
    "名称中的控制字符和反斜杠显示为 \\n、\\t、\\xHH 这样的转义形式。\n"
    "资料库：0 到 3、资料库名称（编程资料、软件资料、我的资料、网络资源）或文件前缀（Qulan、Quuse、Quown、Quweb）\n";

std::optional<int> ParseLibrary(const std::string& text) {
    for (int library = 0; library < kLibraryCount; ++library) {
        const LibraryInfo& info = kLibraries[library];
        const std::string_view prefix = info.filePrefix.substr(0, info.filePrefix.size() - 1);
        if (text == std::to_string(library) || text == info.name || text == prefix) {
            return library;
        }
    }
    return std::nullopt;
}

bool IsMissingName(const std::string& name) { return name.empty() || name == " "; }

// Lines of stored names for standard output, escaped, written out in blocks.
class EscapedLines final {
public:
    explicit EscapedLines(std::ostream& out) : m_out(out) {}

    void AddStored(std::string_view stored) {
        m_utf8.clear();
        AppendAsUtf8(stored, m_utf8);
        AppendEscapedName(m_utf8, m_lines);
    }
    void AddText(std::string_view utf8) { m_lines += utf8; }
    // UTF-8 that may hold names from outside: escaped as names are.
    void AddEscaped(std::string_view utf8) { AppendEscapedName(utf8, m_lines); }
    void AddTab() { m_lines += '\t'; }
    void EndLine() {
        m_lines += '\n';
        if (m_lines.size() >= kBlock) {
            Flush();
        }
    }
    void Flush() {
        m_out << m_lines;
        m_lines.clear();
    }

private:
    static constexpr std::size_t kBlock = 64 * 1024;
    std::ostream& m_out;
    std::string m_lines;
    std::string m_utf8;
};

struct SearchCommand {
    SearchRequest request;
    bool save = false;
};

// The search text and its options in any order; nullopt for anything else, with the reason in `error`.
std::optional<SearchCommand> ParseSearch(const std::vector<std::string>& args, std::string& error) {
    SearchCommand command;
    std::optional<std::string> text;
    bool librariesGiven = false;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (optionsEnded && !text) {
            text = arg;
        } else if (arg == "--by" && hasValue) {
            const std::string& by = args[++i];
            if (by == "name") {
                command.request.by = SearchBy::Name;
            } else if (by == "content") {
                command.request.by = SearchBy::Content;
            } else if (by == "both") {
                command.request.by = SearchBy::Both;
            } else {
                error = "查找方式只能是 name、content 或 both：" + EscapedName(by);
                return std::nullopt;
            }
        } else if (arg == "--lib" && hasValue) {
            const std::optional<int> library = ParseLibrary(args[++i]);
            if (!library) {
                error = "没有这个资料库：" + EscapedName(args[i]);
                return std::nullopt;
            }
            if (!librariesGiven) {
                command.request.libraries.fill(false);
                librariesGiven = true;
            }
            command.request.libraries[static_cast<std::size_t>(*library)] = true;
        } else if (arg == "--save") {
            command.save = true;
        } else if (arg == "--ignore-case") {
            command.request.ignoreCase = true;
        } else if (arg == "--all-words") {
            command.request.allWords = true;
        } else if (arg.starts_with("--") && !optionsEnded) {
            if (arg.size() == 2) {
                optionsEnded = true;  // what follows is text, even when it starts with "--"
                continue;
            }
            error = "不认识的选项：" + EscapedName(arg);
            return std::nullopt;
        } else if (!text) {
            text = arg;
        } else {
            error = "查找文字只能给出一个。";
            return std::nullopt;
        }
    }
    if (!text) {
        error = "请给出要查找的文字。";
        return std::nullopt;
    }
    command.request.text = ToStoredText(*text);
    return command;
}

class Cli final {
public:
    Cli(std::istream& in, std::ostream& out, std::ostream& err) : m_in(in), m_out(out), m_err(err) {}

    int Run(std::vector<std::string> args) {
        for (std::size_t i = 0; i < args.size(); ++i) {
            if (!IsValidUtf8(args[i])) {
                m_err << "第 " << i + 1 << " 个参数不是有效的 UTF-8 文本，没有执行。\n";
                return kUsage;
            }
        }
        std::filesystem::path home;
        if (args.size() >= 2 && args[0] == "--home") {
            home = args[1];
            args.erase(args.begin(), args.begin() + 2);
        } else {
            home = DefaultProgramFolder();
        }
        if (args.empty()) {
            return Usage();
        }
        // Said plainly, not as a lock file that cannot be made: a mistyped --home is the usual cause.
        if (std::error_code error; !std::filesystem::is_directory(home, error)) {
            m_err << "程序文件夹“" << home.string() << "”不存在\n";
            return kRefused;
        }
        m_store.SetProgramFolder(home);
        const std::string command = args[0];
        args.erase(args.begin());
        std::optional<SearchCommand> search;
        if (command == "search") {
            std::string error;
            search = ParseSearch(args, error);
            if (!search) {
                m_err << error << '\n';
                return Usage();
            }
        } else {
            m_raw = std::erase(args, std::string("--raw")) > 0;
        }
        bool overwriteSites = false;
        if (command == "favorites") {
            overwriteSites = std::erase(args, std::string("--overwrite")) > 0;
        }
        ImportOptions restore;
        if (command == "restore") {
            restore.overwrite = std::erase(args, std::string("--overwrite")) > 0;
            restore.dryRun = std::erase(args, std::string("--dry-run")) > 0;
        }

        // A backup reads every category while nobody writes; a dry run only where there is a folder to guard.
        const bool writes =
            command == "new-category" || command == "add" || (search && search->save) || command == "backup" ||
            command == "favorites" || (command == "trash" && !(args.size() == 1 && args[0] == "list")) ||
            (command == "restore" && (!restore.dryRun || std::filesystem::is_directory(m_store.CategoryFolder())));
        // The text comes first: a slow standard input must not keep the folder locked.
        if (command == "add" && !ReadInput(m_content)) {
            return kUsage;
        }
        if (writes) {
            if (command == "new-category" || search || (command == "restore" && !restore.dryRun) ||
                command == "favorites") {
                m_store.EnsureDataFolder();
            }
            // Writers wait a moment for each other; the program holds the lock for its whole run.
            if (StoreError error = m_store.AcquireDataLock("quillet-cli " + command, DataFolderLock::Hold::Brief,
                                                           std::chrono::milliseconds(kLockPatienceMs))) {
                m_err << error.Message() << '\n';
                return kRefused;
            }
        } else {
            // Only a command that can take the lock at once may finish interrupted work; while someone else
            // writes the folder, that is theirs to do.
            m_store.AcquireDataLock("quillet-cli " + command);
        }
        if (m_store.HoldsDataLock()) {
            if (StoreError error = m_store.RecoverInterruptedWork()) {
                m_err << error.Message() << '\n';
                m_recoveryFailed = true;
            }
        }

        if (command == "check" && args.empty()) {
            return Check();
        }
        if (command == "stats" && args.empty()) {
            return Stats();
        }
        if (command == "backup" && args.size() == 1) {
            return Backup(args[0]);
        }
        if (command == "restore" && args.size() == 1) {
            return Restore(args[0], restore);
        }
        if (command == "trash" && !args.empty()) {
            return Trash(args);
        }
        if (command == "favorites" && args.size() == 2 && (args[0] == "import" || args[0] == "export")) {
            return Favorites(args[0] == "import", args[1], overwriteSites);
        }
        if (search) {
            return Search(*search);
        }
        if (args.empty()) {
            return Usage();
        }
        const std::optional<int> library = ParseLibrary(args[0]);
        if (!library) {
            m_err << "没有这个资料库：" << EscapedName(args[0]) << '\n';
            return kUsage;
        }
        m_store.currentLibrary = *library;
        if (command == "categories" && args.size() == 1) {
            return Categories();
        }
        if (command == "cards" && args.size() == 2) {
            return Cards(args[1]);
        }
        if (command == "show" && args.size() == 3) {
            return Show(args[1], args[2]);
        }
        if (command == "new-category" && args.size() == 2) {
            return NewCategory(args[1]);
        }
        if (command == "add" && (args.size() == 3 || (args.size() == 5 && args[3] == "--address"))) {
            if (args.size() == 5 && *library != kWebLibrary) {
                m_err << "只有“网络资源”的站点才有网址。\n";
                return kUsage;
            }
            return Add(args[1], args[2], args.size() == 5 ? args[4] : std::string());
        }
        return Usage();
    }

private:
    // The library's categories; a folder that cannot be listed is reported and counts as a failure.
    std::vector<CategoryInfo> List() {
        StoreError listError;
        std::vector<CategoryInfo> list =
            ReadCategoryList(m_store.CategoryFolder(), m_store.currentLibrary, HeaderCheck::Check, &listError);
        if (listError) {
            m_err << listError.Message() << '\n';
            m_listFailed = true;
        }
        return list;
    }

    int Usage() {
        m_err << kUsageText;
        return kUsage;
    }

    int Categories() {
        int status = kDone;
        for (const CategoryInfo& info : List()) {
            if (info.error) {
                m_err << info.error.Message() << '\n';
                status = kRefused;
                continue;
            }
            m_out << EscapedName(info.file.filename().string()) << '\t' << info.cardCount << '\t'
                  << EscapedName(ToUtf8(info.name)) << '\n';
        }
        return m_listFailed ? kRefused : status;
    }

    // The first readable category of that name in list order.
    std::optional<std::filesystem::path> FindCategory(const std::string& utf8Name) {
        const std::string name = ToStoredText(utf8Name);
        for (const CategoryInfo& info : List()) {
            if (!info.error && info.name == name) {
                return info.file;
            }
        }
        m_err << "没有这个类别：" << EscapedName(utf8Name) << '\n';
        return std::nullopt;
    }

    // Loads the category; cards read before damage are kept, and the damage is reported.
    bool LoadCategory(const std::filesystem::path& file) {
        if (StoreError error = m_store.LoadCategory(file, ReadMode::ContentsOnDemand, HeaderCheck::Check)) {
            m_err << error.Message() << '\n';
            return false;
        }
        return true;
    }

    bool ReadInput(std::string& utf8) {
        utf8.assign(std::istreambuf_iterator<char>(m_in), {});
        if (!IsValidUtf8(utf8)) {
            m_err << "标准输入不是有效的 UTF-8 文本，卡片没有加入。\n";
            return false;
        }
        utf8 = StoredLineEnds(utf8, m_raw);
        return true;
    }

    int Cards(const std::string& category) {
        const std::optional<std::filesystem::path> file = FindCategory(category);
        if (!file) {
            return kRefused;
        }
        // Streamed: the names go out as they are read, the contents are never kept.
        const bool site = m_store.currentLibrary == kWebLibrary;
        EscapedLines lines(m_out);
        std::string name;
        std::int32_t count = 0;
        const StoreError error = ScanCategoryFile(*file, HeaderCheck::Check, name, count,
                                                  [&](const std::string& cardName, const std::string& address) {
                                                      lines.AddStored(cardName);
                                                      if (site) {
                                                          lines.AddTab();
                                                          lines.AddStored(address);
                                                      }
                                                      lines.EndLine();
                                                  });
        lines.Flush();
        if (error) {
            m_err << error.Message() << '\n';
            return kRefused;
        }
        return kDone;
    }

    int Show(const std::string& category, const std::string& cardName) {
        const std::optional<std::filesystem::path> file = FindCategory(category);
        if (!file) {
            return kRefused;
        }
        const bool whole = LoadCategory(*file);
        const std::size_t index = m_store.openTable.FindFirst(ToStoredText(cardName));
        if (index == m_store.openTable.Size()) {
            m_err << "没有这张卡片：" << EscapedName(cardName) << '\n';
            return kRefused;
        }
        const CardRecord& card = m_store.openTable.At(index);
        if (const StoreError& error = m_store.openTable.ContentError()) {
            m_err << error.Message() << '\n';
            return kRefused;
        }
        m_out << ShownText(ToUtf8(EditorText(m_store.currentLibrary, card)), m_raw);
        return whole ? kDone : kRefused;
    }

    int NewCategory(const std::string& utf8Name) {
        const std::string name = ToStoredText(utf8Name);
        if (IsMissingName(name)) {
            m_err << "请输入类别名称！\n";
            return kRefused;
        }
        StoreError readError;
        switch (m_store.CheckCategoryName(name, &readError)) {
            case CategoryNameCheck::Taken:
                m_err << "这个类型已经存在，不能重复加入！\n";
                return kRefused;
            case CategoryNameCheck::Unreadable:
                m_err << readError.Message() << "\n无法确认类别名称没有重复，类别没有创建。\n";
                return kRefused;
            case CategoryNameCheck::Free:
                break;
        }
        if (StoreError error = m_store.CreateCategory(name)) {
            m_err << error.Message() << '\n';
            return kRefused;
        }
        m_out << m_store.Open().file.filename().string() << '\n';
        return kDone;
    }

    int Add(const std::string& category, const std::string& utf8Name, const std::string& address) {
        CardRecord card{ToStoredText(utf8Name), {}, ToStoredText(address)};
        if (IsMissingName(card.name)) {
            m_err << "请输入卡片名！\n";
            return kRefused;
        }
        const std::optional<std::filesystem::path> file = FindCategory(category);
        if (!file) {
            return kRefused;
        }
        card.content = ToStoredText(m_content);
        // Streamed: the name check and the copy of the old cards in one pass each, no table in memory.
        bool nameTaken = false;
        if (StoreError error = m_store.AppendCard(*file, card, nameTaken)) {
            // A damaged category is refused whole: writing back what could be read would drop the rest.
            m_err << error.Message() << "\n卡片没有加入。\n";
            return kRefused;
        }
        if (nameTaken) {
            m_err << "卡片名已经存在，不能重复加入！\n";
            return kRefused;
        }
        return kDone;
    }

    int Check() {
        int status = m_recoveryFailed ? kRefused : kDone;
        const std::filesystem::path folder = m_store.CategoryFolder();
        auto report = [&](const std::filesystem::path& file, const std::string& message) {
            m_out << EscapedName(file.filename().string()) << '\t' << EscapedName(message) << '\n';
            status = kRefused;
        };
        for (int library = 0; library < kLibraryCount; ++library) {
            StoreError listError;
            for (const std::filesystem::path& file : CategoryFiles(folder, library, &listError)) {
                // The structure only: no text is kept or converted.
                std::string name;
                std::int32_t count = 0;
                if (StoreError error = ScanCategoryFile(file, HeaderCheck::Check, name, count)) {
                    report(file, error.Message());
                }
            }
            if (listError) {
                report(folder, listError.Message());
                break;
            }
        }
        for (const std::filesystem::path& file : SetAsideFiles(folder)) {
            report(file, "排序时移开的类别文件没有放回，它不在任何类别列表中；启动程序可以把它恢复为类别");
        }
        for (const TrashItem& item : RecycleBin(folder).List()) {
            if (item.error) {
                report(item.file, "回收站中的这一项已经损坏，不能还原：" + item.error.Message());
            }
        }
        if (!m_store.HoldsDataLock()) {
            m_err << "资料文件夹正被另一个程序使用，本次检查没有处理中断的工作。\n";
        }
        return status;
    }

    int Stats() {
        const Statistics statistics = StoreStatistics(m_store.CategoryFolder());
        EscapedLines lines(m_out);
        for (const std::string& line : statistics.lines) {
            lines.AddStored(line);
            lines.EndLine();
        }
        lines.Flush();
        for (const std::string& message : statistics.unreadable) {
            m_err << message << '\n';
        }
        return statistics.unreadable.empty() ? kDone : kRefused;
    }

    int Backup(const std::filesystem::path& target) {
        const ExportOutcome outcome = ExportBackup(m_store.CategoryFolder(), WithBackupExtension(target));
        for (const std::string& message : outcome.leftOut) {
            m_err << message << '\n';
        }
        if (outcome.error) {
            m_err << outcome.error.Message() << "\n没有备份。\n";
            return kRefused;
        }
        m_out << "已备份 "
              << (outcome.categories[0] + outcome.categories[1] + outcome.categories[2] + outcome.categories[3])
              << " 个类别、" << outcome.cards << " 张卡片\n";
        return outcome.leftOut.empty() ? kDone : kRefused;
    }

    int Restore(const std::filesystem::path& backup, const ImportOptions& options) {
        EscapedLines lines(m_out);
        const ImportOutcome outcome =
            ImportBackup(m_store.CategoryFolder(), backup, options, [&lines](const std::string& line) {
                lines.AddStored(line);
                lines.EndLine();
            });
        lines.Flush();
        if (outcome.end == ImportEnd::Finished) {
            return kDone;
        }
        m_err << ImportEndMessage(outcome) << '\n';
        return kRefused;
    }

    int Trash(const std::vector<std::string>& args) {
        RecycleBin bin(m_store.CategoryFolder());
        if (args[0] == "list" && args.size() == 1) {
            EscapedLines lines(m_out);
            for (const TrashItem& item : bin.List()) {
                char when[32] = "";
                const std::time_t time = static_cast<std::time_t>(item.deletedAt);
                std::tm local{};
                std::strftime(when, sizeof when, "%Y-%m-%d %H:%M:%S", localtime_r(&time, &local));
                lines.AddText(item.id);
                lines.AddTab();
                lines.AddText(when);
                lines.AddTab();
                lines.AddText(kLibraries[static_cast<std::size_t>(item.library)].name);
                lines.AddTab();
                lines.AddStored(item.categoryName);
                lines.AddTab();
                if (item.error) {
                    lines.AddText("（已损坏）");
                } else if (item.kind == TrashItem::Kind::Category) {
                    lines.AddText("（整个类别，" + std::to_string(item.cardNames.size()) + " 张卡片）");
                } else {
                    for (std::size_t i = 0; i < item.cardNames.size(); ++i) {
                        lines.AddText(i == 0 ? "" : "、");
                        lines.AddStored(item.cardNames[i]);
                    }
                }
                lines.EndLine();
            }
            lines.Flush();
            return kDone;
        }
        if (args[0] == "empty" && args.size() == 1) {
            if (StoreError error = bin.Empty()) {
                m_err << error.Message() << '\n';
                return kRefused;
            }
            return kDone;
        }
        if (args[0] == "restore" && args.size() >= 2) {
            int status = kDone;
            for (std::size_t i = 1; i < args.size(); ++i) {
                RestoreOutcome outcome;
                if (StoreError error = bin.Restore(args[i], &outcome)) {
                    m_err << error.Message() << '\n';
                    status = kRefused;
                    continue;
                }
                m_out << EscapedName(outcome.file.filename().string()) << '\t'
                      << EscapedName(ToUtf8(outcome.categoryName)) << '\n';
            }
            return status;
        }
        return Usage();
    }

    int Favorites(bool import, const std::filesystem::path& place, bool overwrite) {
        EscapedLines lines(m_out);
        const FavoritesLog log = [&lines](const std::string& line) {
            lines.AddEscaped(line);
            lines.EndLine();
        };
        std::error_code ignored;
        const std::filesystem::path absolute = std::filesystem::absolute(place, ignored);
        const FavoritesOutcome outcome = import ? ImportFavorites(m_store.CategoryFolder(), absolute, overwrite, log)
                                                : ExportFavorites(m_store.CategoryFolder(), absolute, log);
        lines.Flush();
        return outcome.error ? kRefused : kDone;
    }

    int Search(const SearchCommand& command) {
        // The same refusal as the reading window's: an empty text would find every card.
        if (command.request.text.empty()) {
            m_err << "搜索字串不能为空！\n";
            return kRefused;
        }
        SearchOutcome outcome = SearchCards(m_store.CategoryFolder(), command.request);
        EscapedLines lines(m_out);
        for (const SearchHit& hit : outcome.hits) {
            lines.AddText(kLibraries[static_cast<std::size_t>(hit.library)].name);
            lines.AddTab();
            lines.AddStored(hit.categoryName);
            lines.AddTab();
            lines.AddStored(hit.card.name);
            if (hit.library == kWebLibrary) {
                lines.AddTab();
                lines.AddStored(hit.card.address);
            }
            lines.EndLine();
        }
        lines.Flush();
        int status = kDone;
        for (const std::string& message : outcome.unreadable) {
            m_err << message << "\n这个文件没有查找。\n";
            status = kRefused;
        }
        if (command.save) {
            CardTable results;
            results.Reserve(outcome.hits.size());
            for (SearchHit& hit : outcome.hits) {
                results.Append(std::move(hit.card));
            }
            if (StoreError error = SaveSearchResults(m_store.CategoryFolder() / kSearchResultsFileName,
                                                     command.request.text, results)) {
                m_err << error.Message() << "\n查找结果没有保存。\n";
                status = kRefused;
            }
        }
        return status;
    }

    std::istream& m_in;
    std::ostream& m_out;
    std::ostream& m_err;
    CardStore m_store;
    bool m_raw = false;
    std::string m_content;  // UTF-8, line ends already as stored
    bool m_listFailed = false;
    bool m_recoveryFailed = false;
};

}  // namespace

int RunCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err) {
    return Cli(in, out, err).Run(args);
}

}  // namespace quillet
