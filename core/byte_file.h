#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace quintor {

inline constexpr std::size_t defaultReadLimit = std::size_t{256} * 1024 * 1024;

// The whole content of a plain file (links followed), or nothing when it is missing, is not
// a plain file, cannot be read or is longer than limit bytes: a file too big to hold is
// refused, never cut short nor allocated.
std::optional<std::vector<std::uint8_t>> readFileBytes(const std::filesystem::path& file,
                                                       std::size_t limit = defaultReadLimit);
// At most the first limit bytes of a plain file, for readers that look at a fixed-size head.
std::optional<std::vector<std::uint8_t>> readFileHead(const std::filesystem::path& file,
                                                      std::size_t limit);

// The file a path really names: symbolic links followed one by one (a relative link from
// its own folder), up to the first name that is not a link, which need not exist (a
// dangling link names the file it would point to). Nothing when the links loop.
std::optional<std::filesystem::path> linkTarget(const std::filesystem::path& file);

// The one way every file of the program is written. The bytes go to a new temporary file
// created exclusively, under a name no one else uses, in the real file's folder (prefix, or
// the file's own name when empty, followed by ".quintor-PID-XXXXXXXX"); it is flushed to the
// disk, given the old file's permissions, renamed over the real file and the folder flushed.
// A link keeps being a link: the file it points to (or, dangling, would point to) gets the
// bytes. Before it starts, the folder's stale temporary files (removeStaleTemporaryFiles) are
// removed. Refused, leaving everything as it was: a read-only file (no write bit, whoever
// runs the program), a directory or device, a link loop, any failed step.
bool replaceFileContents(const std::filesystem::path& file, std::span<const std::uint8_t> bytes,
                         std::string_view temporaryPrefix = {});
bool replaceFileContents(const std::filesystem::path& file, std::string_view bytes,
                         std::string_view temporaryPrefix = {});
// The same for content too large to hold at once: produce is handed a sink that writes its
// bytes to the temporary file (false once a write fails) and returns whether it produced
// everything. When it returns false the real file is left as it was.
using ByteSink = std::function<bool(std::string_view bytes)>;
bool replaceFileContentsWith(const std::filesystem::path& file,
                             const std::function<bool(const ByteSink& write)>& produce,
                             std::string_view temporaryPrefix = {});

// A copy of the plain file source (at most limit bytes) saved to file as replaceFileContents
// saves; a new file gets the permission bits of source, so that a program copied stays
// runnable. False when source cannot be read or the save fails.
bool copyFileContents(const std::filesystem::path& source, const std::filesystem::path& file,
                      std::size_t limit = defaultReadLimit);

// Whether a new file can be created in folder: one is created exclusively under a unique
// name with the given prefix, closed and removed.
bool canCreateFilesIn(const std::filesystem::path& folder, std::string_view temporaryPrefix);

// True for a name that replaceFileContents gives its temporary files.
bool isTemporaryFileName(std::string_view name);

// Removes from folder the temporary files that a save left behind when it was killed: files
// of the program's own pattern whose process is gone, or older than maxAge. Returns how many.
std::size_t removeStaleTemporaryFiles(const std::filesystem::path& folder,
                                      std::chrono::seconds maxAge = std::chrono::hours{24});

// A lock (flock) on a folder, held from construction to destruction: exclusive for a save,
// so that two programs never save the same file at once, or shared for a read, so that no
// save replaces the file half-way through it. Waits up to timeout for other holders.
enum class LockKind { exclusive, shared };
class FolderLock {
public:
    explicit FolderLock(const std::filesystem::path& folder, LockKind kind = LockKind::exclusive,
                        std::chrono::milliseconds timeout = std::chrono::seconds{10});
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    bool locked() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

// What tells one version of a file from another without reading it: which file (device and
// inode), its length and its modification time. A missing file has exists false.
struct FileIdentity {
    bool exists = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;
    bool operator==(const FileIdentity&) const = default;
};
std::optional<FileIdentity> fileIdentity(const std::filesystem::path& file);

// A file as a program last read or saved it: the real file (see realFilePath) and the
// identity it had then. A save checks it to tell another program's change from its own.
struct DiskVersion {
    std::filesystem::path file;
    FileIdentity identity;
};

// The file a read or a save of file really reaches: links followed (linkTarget), its folder
// made absolute and canonical, so that two names of one file compare equal. Empty when the
// links loop.
std::filesystem::path realFilePath(const std::filesystem::path& file);

// The lock (FolderLock) of the folder of the file a path names, for one read or one save of
// it, and what is on disk under it. Every program that saves a file of the folder takes it
// exclusively, so that the check of the file and the rename that replaces it are one step
// for the others; a reader takes it shared, so that the version it records is the content it
// reads.
class FileLock {
public:
    FileLock(const std::filesystem::path& file, LockKind kind);
    // The real file; empty when the path's links loop (nothing is locked then).
    const std::filesystem::path& file() const { return real_; }
    bool locked() const { return lock_ && lock_->locked(); }
    // Whether the file's folder is there: a lock that failed on a missing folder will not
    // succeed by waiting.
    bool folderExists() const;
    // The file's version on disk now; nothing when it cannot be told.
    std::optional<DiskVersion> version() const;
    // Whether another program has changed the file since base was taken: base names this
    // very file and the file on disk is no longer that version. False without a base, or
    // when base is another file (a save under a new name replaces whatever is there).
    bool changedSince(const std::optional<DiskVersion>& base) const;

private:
    std::filesystem::path real_;
    std::optional<FolderLock> lock_;
};

} // namespace quintor
