#pragma once

#include "core/archive.h"

#include <filesystem>
#include <functional>

namespace quintor {

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

} // namespace quintor
