#include "bench_data.h"

#include <stdlib.h>

#include <random>
#include <string>

namespace quillet::bench {

CardTable LargeCategory(int cards) {
    std::mt19937 random(42);
    std::uniform_int_distribution<int> textLength(20, 960);
    CardTable table;
    table.SetGrowthStep(500);
    const std::string filler = "青榆资料夹 card text, line\r\n";
    for (int i = 0; i < cards; ++i) {
        std::string text;
        const int length = (i % 50 == 0) ? 4000 : textLength(random);
        while (static_cast<int>(text.size()) < length) {
            text += filler;
        }
        table.Append({"card " + std::to_string(i), std::move(text), ""});
    }
    return table;
}

std::filesystem::path ScratchFolder() {
    struct Folder {
        Folder() {
            std::string pattern = (std::filesystem::temp_directory_path() / "quillet-bench-XXXXXX").string();
            ::mkdtemp(pattern.data());
            path = pattern;
        }
        ~Folder() {
            std::error_code error;
            std::filesystem::remove_all(path, error);
        }
        std::filesystem::path path;
    };
    static const Folder folder;
    return folder.path;
}

}  // namespace quillet::bench
