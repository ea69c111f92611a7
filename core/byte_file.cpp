#include "core/byte_file.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <random>
#include <string>
#include <system_error>
#include <thread>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quintor {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view temporaryMarker = ".quintor-";
constexpr std::size_t temporaryTagLength = 8;

std::optional<std::vector<std::uint8_t>> readPlainFile(const fs::path& file, std::size_t limit,
                                                       bool refuseLonger) {
    // A FIFO would block and a device may never end: only plain files are read.
    std::error_code error;
    if (!fs::is_regular_file(file, error))
        return std::nullopt;
    std::FILE* stream = std::fopen(file.c_str(), "rb");
    if (!stream)
        return std::nullopt;
    std::vector<std::uint8_t> bytes;
    // The size is only a hint (the file may change while it is read), but it spares a
    // big file its reallocations.
    const std::uintmax_t expected = fs::file_size(file, error);
    if (!error)
        bytes.reserve(static_cast<std::size_t>(std::min<std::uintmax_t>(expected, limit)));
    std::uint8_t buffer[65536];
    bool failed = false;
    while (bytes.size() < limit) {
        const std::size_t wanted = std::min(sizeof buffer, limit - bytes.size());
        const std::size_t got = std::fread(buffer, 1, wanted, stream);
        bytes.insert(bytes.end(), buffer, buffer + got);
        if (got < wanted) {
            failed = std::ferror(stream) != 0;
            break;
        }
    }
    // Full up to the limit: one byte more tells a file of exactly that length from a longer one.
    if (!failed && refuseLonger && bytes.size() == limit && std::fgetc(stream) != EOF)
        failed = true;
    std::fclose(stream);
    if (failed)
        return std::nullopt;
    return bytes;
}

std::string randomTag() {
    static std::atomic<std::uint64_t> counter{[] {
        std::random_device device;
        return (std::uint64_t{device()} << 32) ^ device();
    }()};
    // A 64-bit mix of the counter: consecutive names look unrelated.
    std::uint64_t x = counter.fetch_add(0x9E3779B97F4A7C15ull);
    x ^= x >> 31;
    x *= 0xBF58476D1CE4E5B9ull;
    x ^= x >> 29;
    static constexpr char digits[] = "0123456789abcdef";
    std::string tag(temporaryTagLength, '0');
    for (char& c : tag) {
        c = digits[x & 15];
        x >>= 4;
    }
    return tag;
}

std::string temporaryNameFor(std::string_view prefix) {
    return std::string(prefix) + std::string(temporaryMarker) + std::to_string(::getpid()) + "-" +
           randomTag();
}

// A new file under a unique name in folder: created exclusively, never through a link.
int createTemporary(const fs::path& folder, std::string_view prefix, fs::path& created) {
    for (int attempt = 0; attempt < 32; ++attempt) {
        created = folder / temporaryNameFor(prefix);
        const int fd =
            ::open(created.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

bool writeAll(int fd, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

// The rename is on the disk only once the folder that holds the name is.
void syncFolder(const fs::path& folder) {
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

bool processIsGone(long pid) {
    if (pid <= 0 || pid > 0x3FFFFFFF)
        return true;
    return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

// The process number in a temporary name, or -1 for any other name.
long temporaryOwner(std::string_view name) {
    const std::size_t marker = name.rfind(temporaryMarker);
    if (marker == std::string_view::npos || marker == 0)
        return -1;
    std::string_view rest = name.substr(marker + temporaryMarker.size());
    const std::size_t dash = rest.find('-');
    if (dash == 0 || dash == std::string_view::npos || dash > 10 ||
        rest.size() != dash + 1 + temporaryTagLength)
        return -1;
    long pid = 0;
    for (char c : rest.substr(0, dash)) {
        if (c < '0' || c > '9')
            return -1;
        pid = pid * 10 + (c - '0');
    }
    for (char c : rest.substr(dash + 1))
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return -1;
    return pid;
}

} // namespace

std::optional<std::vector<std::uint8_t>> readFileBytes(const fs::path& file, std::size_t limit) {
    return readPlainFile(file, limit, true);
}

std::optional<std::vector<std::uint8_t>> readFileHead(const fs::path& file, std::size_t limit) {
    return readPlainFile(file, limit, false);
}

std::optional<fs::path> linkTarget(const fs::path& file) {
    fs::path current = file;
    for (int hop = 0; hop < 40; ++hop) {
        std::error_code error;
        const fs::file_status status = fs::symlink_status(current, error);
        if (!fs::is_symlink(status))
            return current;
        const fs::path next = fs::read_symlink(current, error);
        if (error)
            return std::nullopt;
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    return std::nullopt;
}

namespace {

// Whether target may be replaced: a plain file its mode and its owner let the program write,
// or no file yet (exists false). existing receives the file's status.
bool mayReplace(const fs::path& target, struct stat& existing, bool& exists) {
    exists = ::stat(target.c_str(), &existing) == 0;
    if (!exists)
        return errno == ENOENT;
    if (!S_ISREG(existing.st_mode))
        return false;
    // The mode bits decide, not only access(): root passes access() on any file, and a
    // rename would replace a file its owner made read-only.
    return (existing.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 &&
           ::access(target.c_str(), W_OK) == 0;
}

// The mode of the new file fd: the replaced file's, with its owner when the program may give
// it (root saving a user's file), as the new file is the old one's successor; otherwise
// newFileMode when given. False when the mode could not be set.
bool giveMode(int fd, const struct stat* replaced, std::optional<mode_t> newFileMode) {
    if (replaced) {
        if (::fchmod(fd, replaced->st_mode & 07777) != 0)
            return false;
        if (replaced->st_uid != ::geteuid() || replaced->st_gid != ::getegid())
            (void)!::fchown(fd, replaced->st_uid, replaced->st_gid);
        return true;
    }
    return !newFileMode || ::fchmod(fd, *newFileMode) == 0;
}

// replaceFileContentsWith, a new file getting newFileMode when given (otherwise the mode
// open() gives under the umask).
bool replaceContents(const fs::path& file,
                     const std::function<bool(const ByteSink& write)>& produce,
                     std::string_view temporaryPrefix, std::optional<mode_t> newFileMode) {
    const std::optional<fs::path> real = linkTarget(file);
    if (!real || real->filename().empty())
        return false;
    const fs::path& target = *real;
    struct stat existing {};
    bool exists = false;
    if (!mayReplace(target, existing, exists))
        return false;

    const fs::path folder = target.parent_path();
    const fs::path where = folder.empty() ? fs::path(".") : folder;
    // A save killed half-way leaves its temporary file behind; the next save into the same
    // folder clears those whose process is gone, so that they never pile up, whichever
    // program (the windows or the command line) writes there next.
    removeStaleTemporaryFiles(where);
    const std::string prefix =
        temporaryPrefix.empty() ? target.filename().string() : std::string(temporaryPrefix);
    fs::path temporary;
    const int fd = createTemporary(where, prefix, temporary);
    if (fd < 0)
        return false;
    bool sinkFailed = false;
    const ByteSink sink = [&](std::string_view bytes) {
        sinkFailed =
            sinkFailed ||
            !writeAll(fd, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        return !sinkFailed;
    };
    bool written = produce(sink) && !sinkFailed;
    written = written && giveMode(fd, exists ? &existing : nullptr, newFileMode);
    // Without this a crash soon after the rename could leave an empty file on some file
    // systems, which is the very loss the temporary file is there to prevent.
    written = written && ::fsync(fd) == 0;
    written = ::close(fd) == 0 && written;
    if (written)
        written = ::rename(temporary.c_str(), target.c_str()) == 0;
    if (!written) {
        ::unlink(temporary.c_str());
        return false;
    }
    syncFolder(folder);
    return true;
}

} // namespace

bool replaceFileContentsWith(const fs::path& file,
                             const std::function<bool(const ByteSink& write)>& produce,
                             std::string_view temporaryPrefix) {
    return replaceContents(file, produce, temporaryPrefix, std::nullopt);
}

bool copyFileContents(const fs::path& source, const fs::path& file, std::size_t limit) {
    struct stat from {};
    if (::stat(source.c_str(), &from) != 0)
        return false;
    const auto bytes = readFileBytes(source, limit);
    if (!bytes)
        return false;
    const std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    return replaceContents(
        file, [text](const ByteSink& write) { return write(text); }, {},
        static_cast<mode_t>(from.st_mode & 0777));
}

bool replaceFileContents(const fs::path& file, std::span<const std::uint8_t> bytes,
                         std::string_view temporaryPrefix) {
    return replaceFileContents(
        file, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
        temporaryPrefix);
}

bool replaceFileContents(const fs::path& file, std::string_view bytes,
                         std::string_view temporaryPrefix) {
    return replaceFileContentsWith(
        file, [bytes](const ByteSink& write) { return write(bytes); }, temporaryPrefix);
}

bool canCreateFilesIn(const fs::path& folder, std::string_view temporaryPrefix) {
    fs::path probe;
    const int fd = createTemporary(folder, temporaryPrefix, probe);
    if (fd < 0)
        return false;
    const bool closed = ::close(fd) == 0;
    const bool removed = ::unlink(probe.c_str()) == 0;
    return closed && removed;
}

bool isTemporaryFileName(std::string_view name) {
    return temporaryOwner(name) >= 0;
}

std::size_t removeStaleTemporaryFiles(const fs::path& folder, std::chrono::seconds maxAge) {
    std::size_t removed = 0;
    std::error_code error;
    const auto now = fs::file_time_type::clock::now();
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        const long owner = temporaryOwner(name);
        if (owner < 0)
            continue;
        std::error_code ignored;
        // Only plain files: the program never makes anything else under such a name.
        if (!fs::is_regular_file(it->symlink_status(ignored)))
            continue;
        const auto modified = fs::last_write_time(it->path(), ignored);
        const bool old = !ignored && now - modified > maxAge;
        if ((owner != ::getpid() && processIsGone(owner)) || old)
            removed += fs::remove(it->path(), ignored) ? 1 : 0;
    }
    return removed;
}

FolderLock::FolderLock(const fs::path& folder, LockKind kind, std::chrono::milliseconds timeout) {
    fd_ = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0)
        return;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    const int operation = kind == LockKind::shared ? LOCK_SH : LOCK_EX;
    while (::flock(fd_, operation | LOCK_NB) != 0) {
        if ((errno != EWOULDBLOCK && errno != EINTR) ||
            std::chrono::steady_clock::now() >= deadline) {
            ::close(fd_);
            fd_ = -1;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds{2});
    }
}

FolderLock::~FolderLock() {
    if (fd_ >= 0)
        ::close(fd_); // closing the last descriptor drops the lock
}

std::optional<FileIdentity> fileIdentity(const fs::path& file) {
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0) {
        if (errno == ENOENT)
            return FileIdentity{};
        return std::nullopt;
    }
    FileIdentity identity;
    identity.exists = true;
    identity.device = static_cast<std::uint64_t>(st.st_dev);
    identity.inode = static_cast<std::uint64_t>(st.st_ino);
    identity.size = static_cast<std::uint64_t>(st.st_size);
    identity.modifiedNs =
        static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return identity;
}

fs::path realFilePath(const fs::path& file) {
    const auto real = linkTarget(file);
    if (!real)
        return {};
    std::error_code error;
    const auto folder = fs::weakly_canonical(fs::absolute(real->parent_path(), error), error);
    return error ? *real : folder / real->filename();
}

FileLock::FileLock(const fs::path& file, LockKind kind) : real_(realFilePath(file)) {
    if (!real_.empty())
        lock_.emplace(real_.parent_path(), kind);
}

bool FileLock::folderExists() const {
    std::error_code error;
    return !real_.empty() && fs::is_directory(real_.parent_path(), error);
}

std::optional<DiskVersion> FileLock::version() const {
    if (real_.empty())
        return std::nullopt;
    const auto identity = fileIdentity(real_);
    if (!identity)
        return std::nullopt;
    return DiskVersion{real_, *identity};
}

bool FileLock::changedSince(const std::optional<DiskVersion>& base) const {
    if (!base || real_.empty() || base->file != real_)
        return false;
    const auto now = version();
    return !now || !(now->identity == base->identity);
}

} // namespace quintor
