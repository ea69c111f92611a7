#include "core/byte_file.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <string>
#include <system_error>

#if defined(__unix__)
#include <unistd.h>
#endif

namespace quintor {

namespace fs = std::filesystem;

std::optional<std::vector<std::uint8_t>> readFileBytes(const fs::path& file, std::size_t limit) {
    // A FIFO would block and a device may never end: only plain files are read.
    std::error_code error;
    if (!fs::is_regular_file(file, error))
        return std::nullopt;
    std::FILE* stream = std::fopen(file.c_str(), "rb");
    if (!stream)
        return std::nullopt;
    std::vector<std::uint8_t> bytes;
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
    std::fclose(stream);
    if (failed)
        return std::nullopt;
    return bytes;
}

namespace {

// The file a save really lands in: the target of a link, so that saving through a link
// does not turn the link into a plain file.
fs::path resolvedTarget(const fs::path& file) {
    std::error_code error;
    if (fs::is_symlink(fs::symlink_status(file, error))) {
        const fs::path target = fs::weakly_canonical(file, error);
        if (!error)
            return target;
    }
    return file;
}

std::FILE* createTemporaryBeside(const fs::path& target, fs::path& temporary) {
    static std::atomic<unsigned> counter{0};
    const auto stamp = static_cast<unsigned long long>(
        std::chrono::steady_clock::now().time_since_epoch().count());
    for (int attempt = 0; attempt < 16; ++attempt) {
        temporary = target;
        temporary +=
            ".tmp" + std::to_string(stamp % 1000000) + "-" + std::to_string(counter.fetch_add(1));
        // "x": fail rather than reuse a name that is already there.
        if (std::FILE* stream = std::fopen(temporary.c_str(), "wbx"))
            return stream;
        if (errno != EEXIST)
            return nullptr;
    }
    return nullptr;
}

} // namespace

bool replaceFileContents(const fs::path& file, std::span<const std::uint8_t> bytes) {
    const fs::path target = resolvedTarget(file);
    std::error_code error;
    const fs::file_status existing = fs::status(target, error);
    const bool exists = fs::exists(existing);
    if (exists && !fs::is_regular_file(existing))
        return false;
#if defined(__unix__)
    // Renaming would replace a file its owner made read-only; writing it in place could not.
    if (exists && ::access(target.c_str(), W_OK) != 0)
        return false;
#endif

    fs::path temporary;
    std::FILE* stream = createTemporaryBeside(target, temporary);
    if (!stream)
        return false;
    bool written =
        bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), stream) == bytes.size();
    written = std::fflush(stream) == 0 && written;
#if defined(__unix__)
    // Without this a crash soon after the rename could leave an empty file on some file
    // systems, which is the very loss the temporary file is there to prevent.
    written = written && ::fsync(::fileno(stream)) == 0;
#endif
    written = std::fclose(stream) == 0 && written;
    if (written && exists)
        fs::permissions(temporary, existing.permissions(), fs::perm_options::replace, error);
    if (written)
        fs::rename(temporary, target, error);
    if (!written || error) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return false;
    }
    return true;
}

} // namespace quintor
