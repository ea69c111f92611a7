#include "core/archive_service.h"

#include <chrono>

namespace quintor {

void ArchiveService::startReading(const std::filesystem::path& file) {
    const std::lock_guard lock(mutex_);
    if (reading_.valid())
        reading_.wait();
    file_ = file;
    reading_ = std::async(std::launch::async, [file] { return Archive::read(file); });
}

bool ArchiveService::reading(const std::filesystem::path& file) const {
    const std::lock_guard lock(mutex_);
    return reading_.valid() && file_ == file &&
           reading_.wait_for(std::chrono::seconds{0}) != std::future_status::ready;
}

Expected<Archive> ArchiveService::take(const std::filesystem::path& file) {
    std::unique_lock lock(mutex_);
    if (reading_.valid() && file_ == file) {
        auto taken = std::move(reading_);
        lock.unlock();
        return taken.get();
    }
    lock.unlock();
    return Archive::read(file);
}

void ArchiveService::wait() const {
    const std::lock_guard lock(mutex_);
    if (reading_.valid())
        reading_.wait();
}

} // namespace quintor
