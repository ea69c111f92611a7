#pragma once

#include "core/byte_file.h"
#include "core/column.h"
#include "core/expected.h"
#include "core/random.h"

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quintor {

inline constexpr std::size_t archiveRecordSize = 29;
inline constexpr std::size_t archiveDateLength = 10;
inline constexpr std::size_t archiveJollyLength = 3; // in memory; the file keeps the last two

inline constexpr const char* archiveFileName = "vincenti.dat";
inline constexpr const char* archiveTemporaryName = "cln.dat";
inline constexpr const char* updateFileName = "aggiorna.dat";

// No archive or file of draws is read, built or merged beyond this many draws: far more than
// a century of three draws a week, and small enough to hold in memory.
inline constexpr std::size_t maxArchiveDraws = 1000000;
// The longest file of draws read: a CSV line is rarely over 40 bytes.
inline constexpr std::size_t maxDrawFileBytes = std::size_t{64} * 1024 * 1024;

// What keeps six numbers and a jolly from being a real draw (six distinct numbers 1..90 and a
// jolly 1..90 that is not one of them); the first fault found, in this order.
enum class DrawFault { none, numberOutOfRange, jollyOutOfRange, repeatedNumber, jollyAmongNumbers };
DrawFault drawFault(const Column& numbers, int jolly);

// One past draw, as the archive keeps it: the three texts exactly as stored, and the six
// numbers and the jolly read once from them for the engines.
struct ArchiveRecord {
    std::string date;   // "dd/mm/yyyy"
    std::string column; // 17-character column text
    std::string jolly;  // a blank and the jolly in two characters (3 characters)
    Column numbers{};   // parseColumn of the column text
    std::uint8_t jollyNumber = 0;
    // The date text read as a date once, so that ordering never re-parses; empty when the
    // text is not a date (possible only for records read from a damaged file).
    std::optional<std::chrono::sys_days> day;

    // A record from the three texts as a file holds them (the jolly in two characters);
    // the numbers are read from the texts, nothing is checked.
    static ArchiveRecord fromFileFields(std::string_view date, std::string_view column,
                                        std::string_view jolly2);
    // A record built from values: the texts are the program's own forms of them.
    static ArchiveRecord fromValues(std::chrono::year_month_day date, const Column& numbers,
                                    int jolly);

    // A record whose date converts and whose texts hold six distinct numbers 1..90 and a
    // jolly 1..90 apart from them: the only kind that a merge or an import may add.
    bool isValidDraw() const;
};

// Converts what the user typed in the entry box: the date, the six numbers, the jolly.
// Conversion failures give the runtime's message; a column with fewer than six numbers or a
// repeated number, a number or a jolly outside 1..90, a jolly among the six, or a date that does
// not fit the ten-character text give an Italian message. Either way nothing has been changed.
Expected<ArchiveRecord> recordFromEntry(std::string_view dateText, std::string_view columnText,
                                        std::string_view jollyText);

inline constexpr const char* entryColumnMessage =
    "La colonna deve contenere sei numeri compresi tra 1 e 90,\rseparati da uno spazio.";
inline constexpr const char* entryJollyMessage = "Il numero Jolly deve essere compreso tra 1 e 90.";
inline constexpr const char* entryRepeatedMessage =
    "La colonna non può contenere due volte lo stesso numero.";
inline constexpr const char* entryJollyRepeatedMessage =
    "Il numero Jolly deve essere diverso dai sei numeri della colonna.";
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

// Italian weekday name of a date: "Domenica" .. "Sabato".
std::string weekdayName(std::chrono::year_month_day date);

// What a merge did with the draws it was given.
struct MergeCounts {
    std::size_t added = 0;
    std::size_t present = 0;  // date text already in the archive
    std::size_t rejected = 0; // date that does not convert, or numbers outside 1..90
};

// The draws of a file to merge: an archive-format file (29-byte records) or a CSV file of
// draws (date, six numbers, jolly; optional header; "," or ";"; dd/mm/yyyy or yyyy-mm-dd).
// Lines or records that cannot be draws are counted in rejected, not returned.
struct RejectedLine {
    std::size_t line = 0; // 1 for the file's first line
    std::string reason;   // Italian, for the user
};
struct DrawFile {
    std::vector<ArchiveRecord> draws;
    std::size_t rejected = 0;
    std::vector<RejectedLine> rejectedLines; // the lines of a CSV file behind rejected
};
Expected<DrawFile> readDrawFile(const std::filesystem::path& file);
// The same, from text already in memory.
DrawFile parseCsvDraws(std::string_view text);

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
    // shared lock of the file's folder; the file as read is what permanenti merges against.
    static Expected<Archive> read(const std::filesystem::path& file);

    // True when some record has exactly this date text.
    bool ce_gia(std::string_view dateText) const;

    // Inserts in date order: after the last record when on or after its date, else before
    // the first record dated on or after it. Returns the new record's index (0-based). Fails,
    // leaving the archive unchanged, when a date involved does not convert.
    Expected<std::size_t> inserisci(ArchiveRecord record);

    // Overwrites the record at index in place; it keeps its position whatever its date.
    void replace(std::size_t index, ArchiveRecord record);

    // Removes records first..last (0-based, inclusive) unless fewer than three would remain.
    Expected<std::size_t> remove(std::size_t first, std::size_t last);

    // No records; the file this archive was read from stays its base (see permanenti), so
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
    // are refused with archiveChangedMessage. On any failure file and this archive are
    // untouched. Returns the number of records saved.
    Expected<std::size_t> permanenti(const std::filesystem::path& file);
    // Whether the last successful save merged another program's changes into this archive.
    bool mergedOnLastSave() const { return mergedOnLastSave_; }

private:
    // The file as it was when this archive last matched it: the base its changes apply to.
    struct DiskCopy {
        std::filesystem::path file;
        FileIdentity identity;
        std::string bytes;
    };
    // read without the folder's lock; real is file with its links followed.
    static Expected<Archive> readUnlocked(const std::filesystem::path& file,
                                          const std::filesystem::path& real);

    std::vector<ArchiveRecord> records_;
    std::optional<DiskCopy> disk_;
    bool mergedOnLastSave_ = false;
};

// The program's one archive: the archive window loads and maintains it, the selection and the
// statistics read it.
Archive& programArchive();

// The program starts reading its archive file on a thread of its own as soon as it knows the
// folder, so that a long archive is read while the windows are being built; the archive window
// then takes that reading (waiting for its end if need be). A reading of another file, or none
// started, means Archive::read(file) now. Each reading ahead is taken once.
void readArchiveAhead(const std::filesystem::path& file);
Expected<Archive> takeArchiveRead(const std::filesystem::path& file);
// Whether a reading ahead of file is still going on.
bool archiveReadAheadRunning(const std::filesystem::path& file);
// Run by programArchive() before it answers, while set: the archive window sets it while the
// archive is still being read, so that whatever asks for the archive first waits for it.
void setProgramArchiveGate(std::function<void()> gate);

// The automatic update from "aggiorna.dat" in folder: merges it into archive, saves the
// archive to folder's "vincenti.dat", then renames the update file to "AGG" + five random
// digits 0..8 + ".dat", drawing again while that name is taken. When the save fails the
// archive is left as it was and the update file keeps its name.
struct UpdateOutcome {
    MergeCounts counts;
    std::filesystem::path renamedTo;
};
std::optional<std::filesystem::path> findUpdateFile(const std::filesystem::path& folder);
Expected<UpdateOutcome> mergeUpdateFile(Archive& archive, const std::filesystem::path& folder,
                                        RandomGenerator& random);
std::filesystem::path freeUpdateArchiveName(const std::filesystem::path& folder,
                                            RandomGenerator& random);

// A simulated archive of count draws (at most maxArchiveDraws): six distinct numbers and a jolly
// apart from them, uniformly random from the program's generator, three draws a week (Tuesday,
// Thursday, Saturday) from Saturday 3 January 2009 on.
Archive simulatedArchive(std::size_t count, std::uint32_t seed);

// True when the archive still starts with the draws of the simulated archive that a fresh
// program folder gets (seed 1): the user has not yet replaced it with real draws.
bool isSimulatedArchive(const Archive& archive);

} // namespace quintor
