#pragma once

#include <string>

#include "card_record.h"

namespace quillet {

// A site as the editor shows it: name, two blanks, the address in brackets, a blank line, the description.
std::string SiteText(const CardRecord& site);

// What the entry-mode editor shows for a card of this library (0 to 3).
std::string EditorText(int library, const CardRecord& card);

// A hit of the search results: name, three blanks, the address, a blank, a blank line, the content.
std::string SearchHitText(const CardRecord& hit);

// A card as "save card as text" writes it: the editor's text for libraries 0 to 3, a search hit for 4.
std::string ExportText(int library, const CardRecord& card);

// What a text export writes: UTF-8 with LF line ends, as Linux editors expect, or the stored bytes (code page
// 936, CR LF) for exchange with the original format's users.
std::string ExportFileBytes(const std::string& storedText, bool storedBytes);

}  // namespace quillet

namespace quillet {

// The editor's text for a selected category: its name and its number of cards (or sites).
std::string CategorySummary(int library, const std::string& categoryName, int cardCount);

}  // namespace quillet
