// Reading vincenti.dat and saving it under the lock of its folder, merging the changes
// another program saved meanwhile.
#include "core/archive.h"

#include "core/byte_file.h"

#include <algorithm>
#include <map>
#include <system_error>

#include <cerrno>
#include <unistd.h>

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

std::string archiveSaveFailedMessage(const std::filesystem::path& file) {
    const std::string first = "Impossibile salvare l'archivio delle colonne vincenti.\r";
    const std::string name = file.filename().string();
    std::error_code error;
    const auto status = std::filesystem::status(file, error);
    if (std::filesystem::is_directory(status))
        return first + name + " è una cartella, non un file.";
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))
        return first + name + " non è un file normale.";
    const auto folder = file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
    if (!std::filesystem::is_directory(folder, error))
        return first + "La cartella " + folder.string() + " non esiste.";
    if (::access(folder.c_str(), W_OK) != 0 && errno != ENOENT)
        return first + "La cartella " + folder.string() + " non consente di scrivere file.";
    return first + "Il file " + name + " non è stato modificato.";
}

std::string archiveFullMessage() {
    return "Un archivio può contenere al massimo " + std::to_string(maxArchiveDraws) +
           " estrazioni.\rL'archivio delle colonne vincenti non è stato modificato.";
}

std::string notAnArchiveMessage(const std::filesystem::path& file) {
    return "Il file " + file.filename().string() +
           " non è un archivio di colonne vincenti.\rIl file non è stato modificato.";
}

std::string allDrawsRejectedMessage(std::size_t rejected) {
    return "Nessuna estrazione del file è valida (scartate: " + std::to_string(rejected) +
           ").\rL'archivio delle colonne vincenti non è stato modificato.";
}

bool readsAsArchive(std::string_view bytes) {
    if (bytes.size() % archiveRecordSize != 0)
        return false;
    const auto records = archiveRecordsFromBytes(bytes);
    return std::all_of(records.begin(), records.end(),
                       [](const ArchiveRecord& record) { return record.isValidDraw(); });
}

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
    archive.readFromDamagedFile_ = !readsAsArchive(*bytes);
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
        return Failure{archiveSaveFailedMessage(file)};
    if (!lock.locked()) // a folder that is not there cannot be locked, however long one waits
        return Failure{lock.folderExists() ? archiveBusyMessage
                                           : archiveSaveFailedMessage(lock.file())};
    if (!lock.version())
        return Failure{archiveSaveFailedMessage(lock.file())};
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
    // Checked on the draws that would be written: a file past the limit could not be read
    // back, by this program or any other.
    if ((merged ? merged->size() : records_.size()) > maxArchiveDraws)
        return Failure{archiveFullMessage()};
    std::string bytes = merged ? archiveImage(*merged) : fileBytes();
    if (!replaceFileContents(lock.file(), bytes, archiveTemporaryName))
        return Failure{archiveSaveFailedMessage(lock.file())};
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
