#pragma once

#include <filesystem>

namespace quillet {

// The folder that holds the data folder and the settings: the running executable's folder, or the per-user
// data folder (~/.local/share/Quillet) when the executable's folder cannot be written.
std::filesystem::path DefaultProgramFolder();

// The folder of the running executable, without a trailing separator.
std::filesystem::path ExecutableFolder();

}  // namespace quillet
