#include "data_folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

namespace quillet {
namespace {

std::filesystem::path LockPath(const std::filesystem::path& dataFolder) { return dataFolder / kDataLockName; }

constexpr std::string_view kWholeRun = "whole-run";
constexpr std::string_view kBrief = "brief";

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

StoreError LockError(const std::filesystem::path& dataFolder, std::string reason) {
    return StoreError{StoreErrorKind::Locked, dataFolder, std::move(reason)};
}

}  // namespace

DataFolderLock::~DataFolderLock() { Release(); }

bool DataFolderLock::HeldFor(const std::filesystem::path& dataFolder) const {
    return m_fd >= 0 && m_folder == dataFolder;
}

StoreError DataFolderLock::Acquire(const std::filesystem::path& dataFolder, std::string_view holder, Hold hold,
                                   std::chrono::milliseconds patience) {
    if (HeldFor(dataFolder)) {
        return Confirm();
    }
    Release();
    const std::filesystem::path path = LockPath(dataFolder);
    const auto deadline = std::chrono::steady_clock::now() + patience;
    for (;;) {
        // No links followed and nothing but a regular file: a planted FIFO or link cannot hang or redirect us.
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
        if (fd < 0) {
            return StoreError::FromErrno(StoreErrorKind::Locked, path, errno);
        }
        struct stat opened {};
        if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
            ::close(fd);
            return LockError(path, "锁文件不是普通文件");
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            ::close(fd);
            if (error != EWOULDBLOCK) {
                return StoreError::FromErrno(StoreErrorKind::Locked, path, error);
            }
            bool wholeRun = false;
            const std::string who = DescribeHolder(dataFolder, &wholeRun);
            if (wholeRun || std::chrono::steady_clock::now() >= deadline) {
                return LockError(dataFolder, "资料文件夹正在被" + (who.empty() ? std::string("另一个程序") : who) +
                                                 "使用，现在不能修改资料");
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            continue;
        }
        // The file may have been removed between our open and our lock; then the lock guards nothing.
        struct stat onDisk {};
        if (::lstat(path.c_str(), &onDisk) != 0 || !SameFile(opened, onDisk)) {
            ::close(fd);
            continue;
        }
        m_fd = fd;
        m_folder = dataFolder;
        const std::string text = std::string(holder) + "（进程 " + std::to_string(::getpid()) + "）\n" +
                                 std::string(hold == Hold::WholeRun ? kWholeRun : kBrief) + "\n";
        if (::ftruncate(fd, 0) == 0) {
            [[maybe_unused]] const ssize_t written = ::pwrite(fd, text.data(), text.size(), 0);
        }
        return {};
    }
}

StoreError DataFolderLock::Confirm() const {
    if (m_fd < 0) {
        return LockError(m_folder, "没有取得资料文件夹的写入权");
    }
    struct stat held {};
    struct stat onDisk {};
    if (::fstat(m_fd, &held) != 0 || ::lstat(LockPath(m_folder).c_str(), &onDisk) != 0 || !SameFile(held, onDisk)) {
        return LockError(m_folder, "资料文件夹的锁文件被删除或替换了，为了安全，现在不能修改资料，请重新启动程序");
    }
    return {};
}

void DataFolderLock::Release() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    m_folder.clear();
}

std::string DataFolderLock::DescribeHolder(const std::filesystem::path& dataFolder, bool* wholeRun) {
    const int fd = ::open(LockPath(dataFolder).c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return {};
    }
    char buffer[256];
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    ::close(fd);
    if (got <= 0) {
        return {};
    }
    std::string text(buffer, static_cast<std::size_t>(got));
    const std::size_t lineEnd = text.find('\n');
    if (wholeRun) {
        *wholeRun = lineEnd != std::string::npos && text.compare(lineEnd + 1, kWholeRun.size(), kWholeRun) == 0;
    }
    text = text.substr(0, lineEnd);
    // Only the holder's own words, never control characters from a planted file.
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 0x20) {
            c = ' ';
        }
    }
    return text;
}

}  // namespace quillet
