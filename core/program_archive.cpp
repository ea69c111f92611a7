#include "core/program_archive.h"

#include <future>
#include <mutex>

namespace quintor {

namespace {

std::function<void()>& programArchiveGate() {
    static std::function<void()> gate;
    return gate;
}

} // namespace

Archive& programArchive() {
    static Archive archive;
    if (auto& gate = programArchiveGate(); gate) {
        const auto run = std::move(gate);
        gate = nullptr;
        run();
    }
    return archive;
}

void setProgramArchiveGate(std::function<void()> gate) {
    programArchiveGate() = std::move(gate);
}

namespace {

struct ReadAhead {
    std::mutex mutex;
    std::filesystem::path file;
    std::future<Expected<Archive>> reading;
};

ReadAhead& readAhead() {
    static ReadAhead ahead;
    return ahead;
}

} // namespace

void readArchiveAhead(const std::filesystem::path& file) {
    ReadAhead& ahead = readAhead();
    const std::lock_guard lock(ahead.mutex);
    if (ahead.reading.valid())
        ahead.reading.wait(); // one reading at a time; an earlier one not taken is dropped
    ahead.file = file;
    ahead.reading = std::async(std::launch::async, [file] { return Archive::read(file); });
}

bool archiveReadAheadRunning(const std::filesystem::path& file) {
    ReadAhead& ahead = readAhead();
    const std::lock_guard lock(ahead.mutex);
    return ahead.reading.valid() && ahead.file == file &&
           ahead.reading.wait_for(std::chrono::seconds{0}) != std::future_status::ready;
}

Expected<Archive> takeArchiveRead(const std::filesystem::path& file) {
    ReadAhead& ahead = readAhead();
    std::unique_lock lock(ahead.mutex);
    if (ahead.reading.valid() && ahead.file == file) {
        auto reading = std::move(ahead.reading);
        lock.unlock();
        return reading.get();
    }
    lock.unlock();
    return Archive::read(file);
}

} // namespace quintor
