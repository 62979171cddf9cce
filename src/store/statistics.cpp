#include "statistics.h"

#include <cstdio>

#include "codec.h"
#include "data_folder.h"
#include "libraries.h"

namespace quillet {
namespace {

const std::string kSeparator(50, '-');
constexpr const char* kHeadings[kLibraryCount] = {"“编程资料”栏:", "“软件资料”栏:", "“我的资料”栏:", "“网络资源”栏:"};

}  // namespace

Statistics StoreStatistics(const std::filesystem::path& dataFolder) {
    Statistics statistics;
    for (int library = 0; library < kLibraryCount; ++library) {
        statistics.lines.push_back(kSeparator);
        statistics.lines.push_back(ToStoredText(kHeadings[library]));
        int number = 0;
        for (const CategoryInfo& info : ReadCategoryList(dataFolder, library, HeaderCheck::Check)) {
            if (info.error.kind == StoreErrorKind::CannotOpen) {
                continue;
            }
            if (info.error) {
                statistics.unreadable.push_back(info.error.Message());
                continue;
            }
            char numberText[16];
            std::snprintf(numberText, sizeof numberText, "%2d", ++number);
            statistics.lines.push_back(numberText + ToStoredText("） ") + info.name + ToStoredText(" [卡片:") +
                                       std::to_string(info.cardCount) + "]");
        }
        statistics.lines.push_back(kSeparator);
    }
    return statistics;
}

}  // namespace quillet
