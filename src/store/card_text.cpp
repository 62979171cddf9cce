#include "card_text.h"

#include "libraries.h"

namespace quillet {

std::string SiteText(const CardRecord& site) { return site.name + "  [ " + site.address + " ]\r\n\r\n" + site.content; }

std::string EditorText(int library, const CardRecord& card) {
    return library == kWebLibrary ? SiteText(card) : card.content;
}

}  // namespace quillet
