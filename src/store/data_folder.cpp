#include "data_folder.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

#include "atomic_file.h"
#include "libraries.h"

namespace quillet {

std::filesystem::path DataFolderOf(const std::filesystem::path& programFolder) {
    return programFolder / kDataFolderName;
}

StoreError CreateFolder(const std::filesystem::path& folder) {
    if (::mkdir(folder.c_str(), 0755) != 0 && errno != EEXIST) {
        return StoreError::FromErrno(StoreErrorKind::CannotWrite, folder, errno);
    }
    return {};
}

std::string PaddedCategoryNumber(int number) {
    std::string digits = std::to_string(number);
    if (digits.size() < 3) {
        digits.insert(0, 3 - digits.size(), '0');
    }
    return digits;
}

bool IsCategoryFileName(int library, std::string_view fileName) {
    return IsLibrary(library) && fileName.starts_with(kLibraries[library].filePrefix) &&
           !fileName.ends_with(kRenumberSuffix) && !AtomicFileWriter::IsTemporaryName(fileName);
}

std::vector<std::filesystem::path> CategoryFiles(const std::filesystem::path& dataFolder, int library) {
    std::vector<std::filesystem::path> files;
    if (!IsLibrary(library)) {
        return files;
    }
    std::error_code error;
    for (std::filesystem::directory_iterator it(dataFolder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (IsCategoryFileName(library, name) && !it->is_directory(error)) {
            files.push_back(it->path());
        }
    }
    std::sort(files.begin(), files.end(),
              [](const auto& a, const auto& b) { return a.filename().native() < b.filename().native(); });
    return files;
}

std::filesystem::path CategoryFilePath(const std::filesystem::path& dataFolder, int library, int number) {
    return dataFolder / (std::string(kLibraries[library].filePrefix) + PaddedCategoryNumber(number));
}

std::filesystem::path FirstFreeCategoryPath(const std::filesystem::path& dataFolder, int library) {
    for (int number = 1;; ++number) {
        std::filesystem::path candidate = CategoryFilePath(dataFolder, library, number);
        std::error_code error;
        if (!std::filesystem::exists(std::filesystem::symlink_status(candidate, error))) {
            return candidate;
        }
    }
}

std::vector<CategoryInfo> ReadCategoryList(const std::filesystem::path& dataFolder, int library, HeaderCheck check) {
    std::vector<CategoryInfo> list;
    for (const std::filesystem::path& file : CategoryFiles(dataFolder, library)) {
        CategoryInfo info;
        info.file = file;
        info.error = ReadCategoryFile(file, ReadMode::HeaderOnly, check, {info.name, info.cardCount});
        list.push_back(std::move(info));
    }
    return list;
}

}  // namespace quillet
