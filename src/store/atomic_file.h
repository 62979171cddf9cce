#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "byte_sink.h"
#include "store_error.h"

namespace quillet {

// Replaces a file so that a crash at any moment leaves either the old file or the new one, whole: the bytes go
// to a temporary file in the same folder, which is synced and then renamed over the target. Temporary names
// start with a dot, so no library's file pattern ever matches one.
class AtomicFileWriter final : public ByteSink {
public:
    enum class Target {
        Replace,  // the target may exist and is replaced
        New,      // the target must not exist, not even if it appears while we write
    };

    explicit AtomicFileWriter(std::filesystem::path target, Target kind = Target::Replace);
    ~AtomicFileWriter() override;
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // Refuses a read-only target, as writing it in place would.
    StoreError Open();
    void Write(std::string_view bytes) override;
    // The folder's sync makes the rename itself survive a power loss; a caller that replaces many files may
    // leave it to one SyncFolder at the end (a loss before then finds each file old or new, whole).
    enum class FolderSync { Now, Later };
    // Syncs, renames over the target and syncs the folder. Without a commit the target stays untouched.
    StoreError Commit(FolderSync folderSync = FolderSync::Now);

    static bool IsTemporaryName(std::string_view fileName);

private:
    void Flush();
    void WriteOut(std::string_view bytes);
    void Discard();

    static constexpr std::size_t kBufferSize = 1024 * 1024;

    std::filesystem::path m_target;
    Target m_kind;
    std::filesystem::path m_temporary;
    int m_fd = -1;
    std::string m_buffer;
    int m_writeErrno = 0;
};

// Writes bytes to a file crash-safely in one call.
StoreError WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                               AtomicFileWriter::Target kind = AtomicFileWriter::Target::Replace);

// The mode a new file gets: read and write for all, less the process's umask.
unsigned NewFileMode();

// Makes a rename or removal in the folder durable.
void SyncFolder(const std::filesystem::path& folder);

}  // namespace quillet
