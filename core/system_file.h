#pragma once

#include "core/byte_file.h"
#include "core/system_state.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quintor {

inline constexpr std::size_t systemHeaderSize = 791;
inline constexpr std::size_t systemColumnSize = 6;

// What the user is told when a system file cannot be opened or saved.
inline constexpr const char* systemReadErrorMessage =
    "Impossibile leggere dal file specificato!\rCorreggere e riprovare.";
inline constexpr const char* systemWriteErrorMessage =
    "Si è verificato un errore durante il salvataggio del sistema !\rImpossibile scrivere sul "
    "disco.";

inline constexpr const char* systemBusyMessage =
    "Il file del sistema è in uso da un altro programma.\rIl file non è stato modificato: "
    "riprovare tra poco.";
inline constexpr const char* systemChangedMessage =
    "Un altro programma ha modificato il file del sistema mentre veniva elaborato.\rIl file non "
    "è stato modificato: riprovare.";

// Reads a system file into state (all but the file name and the modified flag). On failure
// the state is as a failed read leaves it: no final columns, no marked numbers, whatever
// else was read before the failure kept. Column bytes are taken as they are.
bool readSystemFile(const std::filesystem::path& file, SystemState& state);
// The same under the shared lock of the file's folder (FileLock); version gets the version
// read, the base that saveSystemFile checks (nothing when the read fails).
bool readSystemFile(const std::filesystem::path& file, SystemState& state,
                    std::optional<DiskVersion>& version);

// The column filters saved beside a system file, line by line (see readFilterLines); none
// when there is no such file or it cannot be read.
FilterLines readSystemFilterFile(const std::filesystem::path& file);
ColumnFilters readSystemFilters(const std::filesystem::path& file);

// What the user is told of the lines of a system's filter file that could not be read; empty
// when there are none.
std::string unreadFilterLinesMessage(const std::filesystem::path& file,
                                     const std::vector<UnreadFilterLine>& unread);

// Writes the system to file through a temporary file in the same folder, so a failed write
// leaves the previous file whole; its filters go beside it (filterSidecarName), put back as
// they were when the system file cannot be saved, and a stale filter file is removed when
// the system has none. Does not touch the modified flag or the recent-files list.
bool writeSystemFile(const std::filesystem::path& file, const SystemState& state);

// writeSystemFile under the exclusive lock of the file's folder, which every save of a system
// file takes. When file is the one base was read from or last saved to and another program
// has changed it since, nothing is written and the result is changedOnDisk: the caller reads
// it again or asks, never overwrites that change unasked. On success base becomes the version
// saved. writeSystemFile itself takes the lock and checks nothing.
enum class SystemSaveResult { saved, changedOnDisk, busy, failed };
SystemSaveResult saveSystemFile(const std::filesystem::path& file, const SystemState& state,
                                std::optional<DiskVersion>& base);

// The bytes writeSystemFile writes: 791-byte header, then six bytes per final column.
std::vector<std::uint8_t> systemFileBytes(const SystemState& state);

// Only the final columns of a system file (the column import reads these). A file shorter
// than the header holds no columns; a trailing partial column is left out. Fails only when
// the file cannot be read at all.
bool readSystemColumns(const std::filesystem::path& file, std::vector<Column>& columns);

// The name a typed system file name stands for: ".qtr" is added when the name has no
// extension, and a file in the same folder whose name differs only in letter case is the
// one meant (so "dopo" finds dopo.QTR, and never makes a twin of it).
std::filesystem::path systemFileNameFor(const std::filesystem::path& typed);

// The lowest n >= from such that no file of folder is named "Sistem<n>.Qtr" in any case.
int firstFreeSystemNumber(const std::filesystem::path& folder, int from);
std::string newSystemFileName(int number); // "Sistem<n>.Qtr"

} // namespace quintor
