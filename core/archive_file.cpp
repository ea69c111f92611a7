// Reading vincenti.dat and saving it under the lock of its folder, merging the changes
// another program saved meanwhile.
#include "core/archive.h"

#include "core/byte_file.h"

#include <algorithm>
#include <map>
#include <system_error>

namespace quintor {

namespace {

// Applies the changes that turned base into ours to theirs: records of base that ours no
// longer holds are removed from theirs, records of ours that base did not hold are added in
// date order. Nothing when an added record's date is in theirs with other numbers.
Expected<std::vector<ArchiveRecord>> applyChanges(const std::vector<ArchiveRecord>& base,
                                                  const std::vector<ArchiveRecord>& ours,
                                                  std::vector<ArchiveRecord> theirs) {
    std::map<std::string, std::size_t> unmatched;
    for (const auto& record : base)
        ++unmatched[archiveRecordImage(record)];
    std::vector<const ArchiveRecord*> added;
    for (const auto& record : ours) {
        auto found = unmatched.find(archiveRecordImage(record));
        if (found != unmatched.end() && found->second > 0)
            --found->second;
        else
            added.push_back(&record);
    }
    // What is left unmatched in base is what ours removed (or replaced).
    Archive result;
    {
        std::vector<ArchiveRecord> kept;
        kept.reserve(theirs.size());
        for (auto& record : theirs) {
            auto found = unmatched.find(archiveRecordImage(record));
            if (found != unmatched.end() && found->second > 0)
                --found->second;
            else
                kept.push_back(std::move(record));
        }
        result = Archive{std::move(kept)};
    }
    for (const ArchiveRecord* record : added) {
        const std::string image = archiveRecordImage(*record);
        const auto& records = result.records();
        if (std::any_of(records.begin(), records.end(),
                        [&](const ArchiveRecord& r) { return archiveRecordImage(r) == image; }))
            continue; // the other program added the same draw
        if (result.hasDate(record->date) || !result.insert(*record))
            return Failure{archiveChangedMessage};
    }
    return result.records();
}

} // namespace

Expected<Archive> Archive::read(const std::filesystem::path& file) {
    // Saves hold the folder's lock exclusively: under the shared one the file read is the one
    // whose identity is recorded, the base that this archive's next save merges against.
    const FileLock lock(file, LockKind::shared);
    return readUnlocked(file, lock);
}

Expected<Archive> Archive::readUnlocked(const std::filesystem::path& file, const FileLock& lock) {
    const auto version = lock.version();
    if (version && !version->identity.exists) {
        Archive empty;
        empty.disk_ = DiskCopy{*version, {}};
        return empty;
    }
    const auto& real = lock.file();
    auto bytes = readWholeFile(real.empty() ? file : real, maxArchiveDraws * archiveRecordSize);
    if (!bytes)
        return Failure{bytes.error()};
    Archive archive{archiveRecordsFromBytes(*bytes)};
    // The identity is the one from before the read: a program writing without the lock that
    // changed the file meanwhile makes the next save merge rather than replace.
    if (version)
        archive.disk_ = DiskCopy{*version, std::move(bytes.value())};
    return archive;
}

Archive Archive::load(const std::filesystem::path& file) {
    auto archive = read(file);
    return archive ? std::move(archive.value()) : Archive{};
}

Expected<std::size_t> Archive::save(const std::filesystem::path& file) {
    // Every program saving this archive takes the same lock, so the check below and the
    // rename that follows it are one step for the others.
    const FileLock lock(file, LockKind::exclusive);
    if (lock.file().empty())
        return Failure{saveFailedMessage};
    if (!lock.locked()) // a folder that is not there cannot be locked, however long one waits
        return Failure{lock.folderExists() ? archiveBusyMessage : saveFailedMessage};
    if (!lock.version())
        return Failure{saveFailedMessage};
    std::optional<std::vector<ArchiveRecord>> merged;
    // Without a base (an archive built in memory, or a file read while it was being
    // replaced, or another file) the file is simply replaced.
    if (disk_ && lock.changedSince(disk_->version)) {
        auto theirs = readUnlocked(lock.file(), lock); // this save holds the lock already
        if (!theirs)
            return Failure{archiveChangedMessage};
        auto applied = applyChanges(archiveRecordsFromBytes(disk_->bytes), records_,
                                    std::move(theirs.value().records_));
        if (!applied)
            return Failure{applied.error()};
        merged = std::move(applied.value());
    }
    std::string bytes = merged ? archiveImage(*merged) : fileBytes();
    if (!replaceFileContents(lock.file(), bytes, archiveTemporaryName))
        return Failure{saveFailedMessage};
    mergedOnLastSave_ = merged.has_value();
    if (merged)
        records_ = std::move(*merged);
    if (const auto saved = lock.version())
        disk_ = DiskCopy{*saved, std::move(bytes)};
    else
        disk_.reset();
    return records_.size();
}

} // namespace quintor
