#include "data_folder.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

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

namespace {

template <class Wanted>
std::vector<std::filesystem::path> FilesOf(const std::filesystem::path& dataFolder, StoreError* listError,
                                           Wanted&& wanted) {
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (std::filesystem::directory_iterator it(dataFolder, error), end; !error && it != end; it.increment(error)) {
        std::error_code typeError;
        if (wanted(it->path().filename().string()) && !it->is_directory(typeError)) {
            files.push_back(it->path());
        }
    }
    if (error && error != std::errc::no_such_file_or_directory && listError) {
        *listError = StoreError::FromErrno(StoreErrorKind::CannotOpen, dataFolder, error.value());
    }
    std::sort(files.begin(), files.end(),
              [](const auto& a, const auto& b) { return a.filename().native() < b.filename().native(); });
    return files;
}

}  // namespace

std::vector<std::filesystem::path> CategoryFiles(const std::filesystem::path& dataFolder, int library,
                                                 StoreError* listError) {
    if (!IsLibrary(library)) {
        return {};
    }
    return FilesOf(dataFolder, listError,
                   [library](const std::string& name) { return IsCategoryFileName(library, name); });
}

std::vector<std::filesystem::path> SetAsideFiles(const std::filesystem::path& dataFolder, StoreError* listError) {
    return FilesOf(dataFolder, listError, [](const std::string& name) {
        if (!name.ends_with(kRenumberSuffix)) {
            return false;
        }
        const std::string original = name.substr(0, name.size() - kRenumberSuffix.size());
        for (int library = 0; library < kLibraryCount; ++library) {
            if (IsCategoryFileName(library, original)) {
                return true;
            }
        }
        return false;
    });
}

StoreError RestoreSetAsideFile(const std::filesystem::path& setAside, std::filesystem::path& restored) {
    const std::string name = setAside.filename().string();
    if (!name.ends_with(kRenumberSuffix)) {
        return StoreError{StoreErrorKind::Refused, setAside, "这不是排序时留下的文件"};
    }
    std::filesystem::path target = setAside.parent_path() / name.substr(0, name.size() - kRenumberSuffix.size());
    int library = 0;
    while (library < kLibraryCount && !IsCategoryFileName(library, target.filename().string())) {
        ++library;
    }
    if (library == kLibraryCount) {
        return StoreError{StoreErrorKind::Refused, setAside, "这不是排序时留下的文件"};
    }
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (::renameat2(AT_FDCWD, setAside.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) {
            SyncFolder(setAside.parent_path());
            restored = target;
            return {};
        }
        if (errno != EEXIST) {
            return StoreError::FromErrno(StoreErrorKind::CannotRename, setAside, errno);
        }
        target = FirstFreeCategoryPath(setAside.parent_path(), library);
    }
    return StoreError::FromErrno(StoreErrorKind::CannotRename, setAside, EEXIST);
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

std::vector<CategoryInfo> ReadCategoryList(const std::filesystem::path& dataFolder, int library, HeaderCheck check,
                                           StoreError* listError) {
    std::vector<CategoryInfo> list;
    for (const std::filesystem::path& file : CategoryFiles(dataFolder, library, listError)) {
        CategoryInfo info;
        info.file = file;
        info.error = ReadCategoryFile(file, ReadMode::HeaderOnly, check, {info.name, info.cardCount});
        list.push_back(std::move(info));
    }
    return list;
}

}  // namespace quillet
