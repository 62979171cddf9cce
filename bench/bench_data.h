#pragma once

#include <filesystem>

#include "store/card_table.h"

namespace quillet::bench {

// 100,000 cards of mixed sizes, about 50 MB on disk: short names, texts from a few bytes to a few kilobytes.
CardTable LargeCategory(int cards = 100000);

// A folder in the temporary folder that holds the benchmark's files, removed at exit.
std::filesystem::path ScratchFolder();

}  // namespace quillet::bench
