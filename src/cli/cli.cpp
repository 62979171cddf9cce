#include "cli/cli.h"

#include <iostream>
#include <iterator>
#include <optional>

#include "store/card_store.h"
#include "store/card_text.h"
#include "store/codec.h"
#include "store/instance_lock.h"
#include "store/program_folder.h"

namespace quillet {
namespace {

constexpr int kDone = 0;
constexpr int kRefused = 1;
constexpr int kUsage = 2;

constexpr std::string_view kUsageText =
    "用法：quillet-cli [--home 文件夹] 命令 ...\n"
    "  categories 资料库                      列出类别：文件名、卡片数、类别名\n"
    "  cards 资料库 类别                      列出类别中的卡片\n"
    "  show 资料库 类别 卡片                  显示卡片内容\n"
    "  new-category 资料库 类别               新建类别\n"
    "  add 资料库 类别 卡片 [--address 网址]  加入卡片，内容从标准输入读出\n"
    "  check                                  检查所有类别文件\n"
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

class Cli final {
public:
    Cli(std::istream& in, std::ostream& out, std::ostream& err) : m_in(in), m_out(out), m_err(err) {}

    int Run(std::vector<std::string> args) {
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
        m_store.SetProgramFolder(home);
        const std::string command = args[0];
        args.erase(args.begin());

        // Finishing an interrupted renumbering needs the lock; while the program runs, it has done so itself.
        const bool locked = m_lock.TryAcquire();
        if (locked) {
            if (StoreError error = RecoverInterruptedWork(m_store.CategoryFolder())) {
                m_err << error.Message() << '\n';
            }
        }
        const bool writes = command == "new-category" || command == "add";
        if (writes && !locked) {
            m_err << "青榆资料夹正在运行，请先退出程序再修改资料。\n";
            return kRefused;
        }

        if (command == "check" && args.empty()) {
            return Check();
        }
        if (args.empty()) {
            return Usage();
        }
        const std::optional<int> library = ParseLibrary(args[0]);
        if (!library) {
            m_err << "没有这个资料库：" << args[0] << '\n';
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
    std::vector<CategoryInfo> List() const {
        return ReadCategoryList(m_store.CategoryFolder(), m_store.currentLibrary, HeaderCheck::Check);
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
            m_out << info.file.filename().string() << '\t' << info.cardCount << '\t' << ToUtf8(info.name) << '\n';
        }
        return status;
    }

    // The first readable category of that name in list order.
    std::optional<std::filesystem::path> FindCategory(const std::string& utf8Name) {
        const std::string name = ToStoredText(utf8Name);
        for (const CategoryInfo& info : List()) {
            if (!info.error && info.name == name) {
                return info.file;
            }
        }
        m_err << "没有这个类别：" << utf8Name << '\n';
        return std::nullopt;
    }

    // Loads the category; cards read before damage are kept, and the damage is reported.
    bool LoadCategory(const std::filesystem::path& file) {
        if (StoreError error = m_store.LoadCategory(file, ReadMode::Full, HeaderCheck::Check)) {
            m_err << error.Message() << '\n';
            return false;
        }
        return true;
    }

    int Cards(const std::string& category) {
        const std::optional<std::filesystem::path> file = FindCategory(category);
        if (!file) {
            return kRefused;
        }
        const bool whole = LoadCategory(*file);
        for (const CardRecord& card : m_store.openTable) {
            m_out << ToUtf8(card.name);
            if (m_store.currentLibrary == kWebLibrary) {
                m_out << '\t' << ToUtf8(card.address);
            }
            m_out << '\n';
        }
        return whole ? kDone : kRefused;
    }

    int Show(const std::string& category, const std::string& cardName) {
        const std::optional<std::filesystem::path> file = FindCategory(category);
        if (!file) {
            return kRefused;
        }
        const bool whole = LoadCategory(*file);
        const std::size_t index = m_store.openTable.FindFirst(ToStoredText(cardName));
        if (index == m_store.openTable.Size()) {
            m_err << "没有这张卡片：" << cardName << '\n';
            return kRefused;
        }
        m_out << ToUtf8(EditorText(m_store.currentLibrary, m_store.openTable.At(index)));
        return whole ? kDone : kRefused;
    }

    int NewCategory(const std::string& utf8Name) {
        const std::string name = ToStoredText(utf8Name);
        if (IsMissingName(name)) {
            m_err << "请输入类别名称！\n";
            return kRefused;
        }
        if (!m_store.IsCategoryNameFree(name)) {
            m_err << "这个类型已经存在，不能重复加入！\n";
            return kRefused;
        }
        m_store.EnsureDataFolder();
        const std::filesystem::path file = *m_store.NewCategoryPath(m_store.currentLibrary);
        m_store.currentCategoryName = name;
        m_store.openTable.Clear();
        if (StoreError error = m_store.SaveCategory(file)) {
            m_err << error.Message() << '\n';
            return kRefused;
        }
        m_out << file.filename().string() << '\n';
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
        m_store.libraryStates[m_store.currentLibrary].categoryPath = file->string();
        StoreError readError;
        switch (m_store.CheckCardName(card.name, &readError)) {
            case CardNameCheck::Taken:
                m_err << "卡片名已经存在，不能重复加入！\n";
                return kRefused;
            case CardNameCheck::Unreadable:
                // Writing back what could be read would drop the rest of the file.
                m_err << readError.Message() << "\n卡片没有加入。\n";
                return kRefused;
            case CardNameCheck::Free:
                break;
        }
        card.content = ToStoredText(std::string(std::istreambuf_iterator<char>(m_in), {}));
        m_store.openTable.Append(std::move(card));
        if (StoreError error = m_store.SaveCategory(*file)) {
            m_err << error.Message() << "\n卡片没有加入。\n";
            return kRefused;
        }
        return kDone;
    }

    int Check() {
        int status = kDone;
        for (int library = 0; library < kLibraryCount; ++library) {
            for (const std::filesystem::path& file : CategoryFiles(m_store.CategoryFolder(), library)) {
                CardTable cards;
                std::string name;
                std::int32_t count = 0;
                if (StoreError error =
                        ReadCategoryFile(file, ReadMode::Full, HeaderCheck::Check, {name, count, &cards})) {
                    m_out << file.filename().string() << '\t' << error.Message() << '\n';
                    status = kRefused;
                }
            }
        }
        return status;
    }

    std::istream& m_in;
    std::ostream& m_out;
    std::ostream& m_err;
    CardStore m_store;
    InstanceLock m_lock;
};

}  // namespace

int RunCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err) {
    return Cli(in, out, err).Run(args);
}

}  // namespace quillet
