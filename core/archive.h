#pragma once

// The archive of winning columns and its file, vincenti.dat. This header brings the whole of
// the archive's interface: the record format, the files of draws to merge, the program's own
// archive read ahead, the update file and the simulated archive.
#include "core/archive_record.h"
#include "core/byte_file.h"
#include "core/draw_file.h"
#include "core/expected.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quintor {

inline constexpr const char* archiveFileName = "vincenti.dat";
inline constexpr const char* archiveTemporaryName = "cln.dat";

// No archive or file of draws is read, built or merged beyond this many draws: far more than
// a century of three draws a week, and small enough to hold in memory.
inline constexpr std::size_t maxArchiveDraws = 1000000;

inline constexpr const char* tooFewLeftMessage =
    "Impossibile eliminare tutte le colonne.\rDevono esistere almeno tre colonne vincenti.";
inline constexpr const char* saveFailedMessage =
    "Impossibile salvare l'archivio delle colonne vincenti.\rIl file vincenti.dat non è "
    "stato modificato.";
inline constexpr const char* archiveBusyMessage =
    "L'archivio delle colonne vincenti è in uso da un altro programma.\rIl file vincenti.dat "
    "non è stato modificato: riprovare tra poco.";
inline constexpr const char* archiveChangedMessage =
    "Un altro programma ha modificato le stesse colonne vincenti dell'archivio.\rIl file "
    "vincenti.dat non è stato modificato: riaprire l'archivio e ripetere le modifiche.";

// Why an archive could not be saved to file, naming the file (and the folder) in question.
std::string archiveSaveFailedMessage(const std::filesystem::path& file);
// A save that would leave more than maxArchiveDraws draws in the file.
std::string archiveFullMessage();
// A file that should be an archive but whose bytes are not records of draws.
std::string notAnArchiveMessage(const std::filesystem::path& file);

// A file of draws of which not one could be merged.
std::string allDrawsRejectedMessage(std::size_t rejected);

// True when bytes are whole 29-byte records, each a real draw: what the program itself writes.
bool readsAsArchive(std::string_view bytes);

// What a merge did with the draws it was given.
struct MergeCounts {
    std::size_t added = 0;
    std::size_t present = 0;  // date text already in the archive
    std::size_t rejected = 0; // date that does not convert, or numbers outside 1..90
};

// The archive of winning columns, oldest first.
class Archive {
public:
    Archive() = default;
    explicit Archive(std::vector<ArchiveRecord> records) : records_(std::move(records)) {}

    const std::vector<ArchiveRecord>& records() const { return records_; }
    std::size_t size() const { return records_.size(); }
    bool empty() const { return records_.empty(); }
    const ArchiveRecord& operator[](std::size_t index) const { return records_[index]; }

    // The newest draws' numbers, newest first, at most limit of them: what the scoring,
    // the selection and the statistics read.
    std::vector<Column> newestFirst(std::size_t limit) const;

    // Reads 29-byte records; a trailing partial record is ignored. A missing file is an
    // empty archive.
    static Archive load(const std::filesystem::path& file);
    // The same, telling a file that exists but cannot be read from a missing one. Read under a
    // shared lock of the file's folder; the file as read is what save() merges against.
    static Expected<Archive> read(const std::filesystem::path& file);

    // Whether the file read was not an archive as the program writes it (see readsAsArchive):
    // its records were read as far as they went, but saving them over it would lose the rest.
    bool readFromDamagedFile() const { return readFromDamagedFile_; }

    // True when some record has exactly this date text.
    bool hasDate(std::string_view dateText) const;

    // Inserts in date order: after the last record when on or after its date, else before
    // the first record dated on or after it. Returns the new record's index (0-based). Fails,
    // leaving the archive unchanged, when a date involved does not convert.
    Expected<std::size_t> insert(ArchiveRecord record);

    // Overwrites the record at index in place; it keeps its position whatever its date.
    void replace(std::size_t index, ArchiveRecord record);

    // Removes records first..last (0-based, inclusive) unless fewer than three would remain.
    Expected<std::size_t> remove(std::size_t first, std::size_t last);

    // No records; the file this archive was read from stays its base (see save()), so
    // saving an emptied and refilled archive replaces the old draws, not another program's.
    void clear() { records_.clear(); }

    // Adds every valid draw whose date text is not yet present, in date order.
    MergeCounts merge(const std::vector<ArchiveRecord>& draws);

    // The file image: 29 bytes per record, oldest first.
    std::string fileBytes() const;

    // Saves the archive to file through replaceFileContents (temporary files named after
    // "cln.dat"), holding a lock on the file's folder for the length of the save. When file
    // is the one this archive was read from or last saved to and another program has changed
    // it since, the draws on disk are reloaded and this archive's own changes (records added,
    // removed or modified since then) are applied to them: the other program's draws are
    // kept, and this archive becomes the merged one. Changes to the same date on both sides
    // are refused with archiveChangedMessage, more than maxArchiveDraws draws with
    // archiveFullMessage. On any failure file and this archive are untouched. Returns the
    // number of records saved.
    Expected<std::size_t> save(const std::filesystem::path& file);
    // Whether the last successful save merged another program's changes into this archive.
    bool mergedOnLastSave() const { return mergedOnLastSave_; }

private:
    // The file as it was when this archive last matched it: the base its changes apply to.
    struct DiskCopy {
        DiskVersion version;
        std::string bytes;
    };
    // read without taking the folder's lock: the caller holds lock, on file.
    static Expected<Archive> readUnlocked(const std::filesystem::path& file, const FileLock& lock);

    std::vector<ArchiveRecord> records_;
    std::optional<DiskCopy> disk_;
    bool mergedOnLastSave_ = false;
    bool readFromDamagedFile_ = false;
};

} // namespace quintor

// The parts that build on Archive.
#include "core/archive_update.h"
#include "core/simulated_archive.h"
