#pragma once

#include <array>
#include <atomic>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "card_record.h"
#include "libraries.h"

namespace quillet {

enum class SearchBy { Name = 0, Content = 1, Both = 2 };  // content: the content or the address

struct SearchRequest {
    std::string text;  // stored text
    SearchBy by = SearchBy::Name;
    std::array<bool, 4> libraries{true, true, true, true};
    // Beyond the dialog: ASCII letters in either case, and every blank-separated word somewhere in the card.
    bool ignoreCase = false;
    bool allWords = false;
};

struct SearchHit {
    int library = 0;
    std::string categoryName;  // stored text
    CardRecord card;
};

struct SearchOutcome {
    std::vector<SearchHit> hits;  // library order, then file order, then card order
    // Files that could not be read or are damaged: they gave no results. UTF-8 messages naming the file.
    std::vector<std::string> unreadable;
    bool stopped = false;
};

// What a running search has done so far, read by another thread.
class SearchProgress final {
public:
    struct Snapshot {
        bool running = false;
        int found = 0;
        std::string categoryName;  // stored text: the category of the last card found
        int foundInCategory = 0;
    };

    void Begin();
    void Found(const std::string& categoryName, int inCategory, int total);
    void Finish();
    Snapshot Get() const;

private:
    mutable std::mutex m_mutex;
    Snapshot m_state;
};

// Searches the category files of the ticked libraries in the data folder. Each file is read once into one
// buffer and scanned in place; only the cards found are copied. A set `stop` ends the search after the card at
// hand with what was found so far.
SearchOutcome SearchCards(const std::filesystem::path& dataFolder, const SearchRequest& request,
                          SearchProgress* progress = nullptr, const std::atomic<bool>* stop = nullptr);

}  // namespace quillet
