#pragma once

#include <QPageLayout>

#include <filesystem>
#include <functional>

class QPainter;
class QPdfWriter;

namespace quintor {

enum class PdfOutcome {
    written, // the file now holds the whole document
    failed,  // a write failed or the file cannot be replaced: the old one is as it was
    stopped, // the painting gave up: nothing was written
};

// Paints a PDF document into file through the program's one way of writing files: the pages
// go to a temporary file beside it, which replaces the file only once the document is whole,
// so a full disk, a stop or a crash never leaves a cut document under the name, and an
// earlier good file stays. Anything that is not a plain file or a new name (a folder, a
// device, a pipe) is refused before a page is painted. paint draws the pages on the painter,
// which is active on the writer; it returns false when it stopped before the end.
PdfOutcome writePdfFile(const std::filesystem::path& file, const QPageLayout& layout,
                        int resolution, const std::function<bool(QPainter&, QPdfWriter&)>& paint);

} // namespace quintor
