#include "bench_data.h"

#include <stdlib.h>

#include <random>
#include <string>

#include "store/codec.h"

namespace quillet::bench {

CardTable LargeCategory(int cards) {
    std::mt19937 random(42);
    std::uniform_int_distribution<int> nameLength(10, 30);
    std::uniform_int_distribution<int> textLength(200, 900);
    // Common characters, two bytes each in code page 936.
    const std::string pool = ToStoredText(
        "的一是在不了有和人这中大为上个国我以要他时来用们生到作地于出就分对成会可主发年动同工也能下过子说产种面而方后多"
        "定"
        "行学法所民得经十三之进着等部度家电力里如水化高自二理起小物现实加量都两体制机当使点从业本去把性好应开它合还因由"
        "其");
    std::uniform_int_distribution<std::size_t> pick(0, pool.size() / 2 - 1);
    const std::string line = ToStoredText("青榆资料夹：卡片的内容，一行文字 card text\r\n");
    CardTable table;
    table.SetGrowthStep(500);
    for (int i = 0; i < cards; ++i) {
        std::string name;
        for (int c = nameLength(random); c > 0; --c) {
            name += pool.substr(2 * pick(random), 2);
        }
        name += std::to_string(i);
        std::string text;
        const int length = (i % 50 == 0) ? 4000 : textLength(random);
        while (static_cast<int>(text.size()) < length) {
            text += line;
        }
        table.Append({std::move(name), std::move(text), ""});
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
