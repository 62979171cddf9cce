#include "card_text.h"

#include "codec.h"
#include "libraries.h"

namespace quillet {

std::string SiteText(const CardRecord& site) { return site.name + "  [ " + site.address + " ]\r\n\r\n" + site.content; }

std::string EditorText(int library, const CardRecord& card) {
    return library == kWebLibrary ? SiteText(card) : card.content;
}

std::string SearchHitText(const CardRecord& hit) { return hit.name + "   " + hit.address + " \r\n\r\n" + hit.content; }

std::string ExportText(int library, const CardRecord& card) {
    return library == kSearchResultsLibrary ? SearchHitText(card) : EditorText(library, card);
}

std::string ExportFileBytes(const std::string& storedText, bool storedBytes) {
    if (storedBytes) {
        return storedText;
    }
    const std::string utf8 = ToUtf8(storedText);
    std::string lines;
    lines.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (!(utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n')) {
            lines += utf8[i];
        }
    }
    return lines;
}

}  // namespace quillet

namespace quillet {

std::string CategorySummary(int library, const std::string& categoryName, int cardCount) {
    const char* countLabel = library == kWebLibrary ? " \r\n收集站点数：" : " \r\n资料卡片数：";
    return ToStoredText("当前类别为：") + categoryName + ToStoredText(countLabel) + std::to_string(cardCount) + " ";
}

}  // namespace quillet
