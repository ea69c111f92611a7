#pragma once

#include "core/archive.h"
#include "core/expected.h"

#include <filesystem>
#include <future>
#include <mutex>

namespace quintor {

// The program's archive of winning columns, with the reading of its file that the program
// starts on a thread of its own as soon as it knows the folder, so that a long archive is read
// while the windows are being built. Whoever loads the archive then takes that reading
// (waiting for its end if need be); a reading of another file, or none started, means
// Archive::read(file) now. Each reading ahead is taken once. Nothing here calls anyone back:
// a window that needs the archive loaded finishes the loading itself.
class ArchiveService {
public:
    ArchiveService() = default;
    ArchiveService(const ArchiveService&) = delete;
    ArchiveService& operator=(const ArchiveService&) = delete;

    // The archive as the program last loaded or changed it.
    Archive& archive() { return archive_; }
    const Archive& archive() const { return archive_; }

    // Starts reading file ahead. One reading at a time: an earlier one not taken is waited
    // for and dropped.
    void startReading(const std::filesystem::path& file);
    // Whether a reading ahead of file is still going on.
    bool reading(const std::filesystem::path& file) const;
    // The reading ahead of file, waited for; Archive::read(file) when there is none.
    Expected<Archive> take(const std::filesystem::path& file);
    // Returns once the reading ahead, if any, has ended; it stays there to be taken.
    void wait() const;

private:
    Archive archive_;
    mutable std::mutex mutex_;
    std::filesystem::path file_;
    std::future<Expected<Archive>> reading_;
};

} // namespace quintor
