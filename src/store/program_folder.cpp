#include "program_folder.h"

#include <unistd.h>

#include <cstdlib>

namespace quillet {

std::filesystem::path ExecutableFolder() {
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        return std::filesystem::current_path(error);
    }
    return exe.parent_path();
}

std::filesystem::path DefaultProgramFolder() {
    std::filesystem::path folder = ExecutableFolder();
    if (::access(folder.c_str(), W_OK) == 0) {
        return folder;
    }
    std::filesystem::path dataHome;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) {
        dataHome = xdg;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        dataHome = std::filesystem::path(home) / ".local" / "share";
    } else {
        return folder;
    }
    folder = dataHome / "Quillet";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    return folder;
}

}  // namespace quillet
