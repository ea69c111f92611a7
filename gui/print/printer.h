#pragma once

#include <QPainter>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class QPagedPaintDevice;
class QPrintPreviewDialog;
class QPrinter;
class QWidget;

namespace quintor {

// The one printer of the program, created on first use and kept for the whole run, so the
// printer, paper and orientation chosen in its set-up dialog stay chosen.
QPrinter& programPrinter();

// "Imposta stampante": the platform's print dialog on the program's printer. True when the
// user confirmed it.
bool setUpPrinter(QWidget* parent);

// Names of the printer queues of the system; tests replace the lookup.
QStringList printerQueues();
void setPrinterQueueLookup(std::function<QStringList()> lookup);

inline constexpr const char* noPrinterTitle = "Attenzione";
inline constexpr const char* noPrinterQuestion =
    "Non è installata nessuna stampante.\rSalvare la stampa in un file PDF ?";
inline constexpr const char* printFailedTitle = "Errore";
inline constexpr const char* printFailedMessage =
    "Impossibile avviare la stampa !\rControllare la stampante o il file di destinazione.";
inline constexpr const char* pdfFilter = "Documento PDF (*.pdf)|*.pdf";

enum class PrintOutcome { done, failed, stopped };

// The pages of one command. On a printer queue each page is a print job of its own (slips
// are fed one by one); into a PDF file, whether the printer writes to a file or the user
// chose "Salva PDF", the command's pages make one document.
class PageSequence {
public:
    // On the program's printer.
    PageSequence();
    // On a PDF writer that painter is already active on, its first page begun.
    PageSequence(QPainter& painter, QPagedPaintDevice& pdf);
    ~PageSequence();
    PageSequence(const PageSequence&) = delete;
    PageSequence& operator=(const PageSequence&) = delete;

    // Begins the next page (and, on a queue, its job, under the title given). False when the
    // device refused.
    bool startPage(const QString& jobTitle = {});
    // Ends the page; on a queue this sends its job, and false means the queue refused it.
    bool endPage();
    // Ends the printer's document; false when the device reported a failure.
    bool finish();
    QPainter& painter() { return *painter_; }
    QPagedPaintDevice& device() { return *device_; }
    int pages() const { return pages_; }

private:
    QPagedPaintDevice* device_ = nullptr;
    bool jobPerPage_ = false;
    QPainter ownPainter_;
    QPainter* painter_ = &ownPainter_;
    int pages_ = 0;

    // Ends the printer's document: the job goes to the queue.
    bool endJob();
};

// What a print command does on its pages: done, stopped by the user, or refused by the
// device.
using PrintWork = std::function<PrintOutcome(PageSequence&)>;

// Runs a print command's work where it goes: into pdfFile when one is named ("Salva PDF"),
// else on the program's printer when it can print (a queue exists, or it writes to a file),
// else, if the user agrees, into a PDF file the user names. A PDF file is replaced only by a
// whole document: a failed write leaves the old file as it was. A stopped "Salva PDF" leaves
// no file; a stopped print to the printer's file keeps the pages printed, as paper would.
// Nothing when the user declined.
std::optional<PrintOutcome> runPrint(QWidget* parent, const QString& pdfFile,
                                     const PrintWork& work);
// Asks for the name of a PDF file to write ("" when cancelled); an existing file is replaced
// only when the user says so.
QString askPdfFileName(QWidget* parent);

// Gives the print preview's zoom box, page number field and page view Italian accessible
// names: the dialog leaves them without one.
void namePreviewControls(QPrintPreviewDialog& preview);

} // namespace quintor
