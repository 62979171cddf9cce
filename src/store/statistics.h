#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace quillet {

struct Statistics {
    // Stored text (code page 936), one entry per line: for each library a separator, its heading, a line per
    // category ("%2d） %s [卡片:%d]", numbered within the library) and a separator.
    std::vector<std::string> lines;
    // Category files whose header is not a category file's, or that end inside it: no line, no number. UTF-8
    // messages naming the file. Files that cannot be opened are passed over silently.
    std::vector<std::string> unreadable;
};

// The card counts as the files store them.
Statistics StoreStatistics(const std::filesystem::path& dataFolder);

}  // namespace quillet
