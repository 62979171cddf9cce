#pragma once

#include <filesystem>

#include "store/card_table.h"

namespace quillet::bench {

// Cards as users keep them, about 650 bytes each on disk (100,000 cards are some 65 MB): names of 10 to 30
// Chinese characters and a number, in code page 936, too long for a short-string buffer; texts of a few
// hundred bytes, one in fifty a few kilobytes.
CardTable LargeCategory(int cards = 100000);

// A folder in the temporary folder that holds the benchmark's files, removed at exit.
std::filesystem::path ScratchFolder();

}  // namespace quillet::bench
