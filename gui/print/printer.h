#pragma once

#include <QPainter>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QPagedPaintDevice;
class QPdfWriter;
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

// The pages of one command. On a printer queue each page is a print job of its own (slips
// are fed one by one); into a PDF file, whether the printer writes to a file or the user
// chose "Salva PDF", the command's pages make one document.
class PageSequence {
public:
    // On the program's printer.
    PageSequence();
    // Into the PDF file named, with the program's printer's paper and resolution.
    explicit PageSequence(const QString& pdfFile);
    ~PageSequence();
    PageSequence(const PageSequence&) = delete;
    PageSequence& operator=(const PageSequence&) = delete;

    // Begins the next page (and, on a queue, its job). False when the device refused.
    bool startPage();
    // Ends the document; false when the device reported a failure.
    bool finish();
    QPainter& painter() { return painter_; }
    QPagedPaintDevice& device() { return *device_; }
    int pages() const { return pages_; }

private:
    std::unique_ptr<QPdfWriter> pdf_;
    QPagedPaintDevice* device_ = nullptr;
    bool jobPerPage_ = false;
    QPainter painter_;
    int pages_ = 0;
};

// Where a print command of a window goes: the program's printer when it can print (a queue
// exists, or it writes to a file), else, if the user agrees, a PDF file. Null when the user
// declined. A non-empty pdfFile skips the question.
std::unique_ptr<PageSequence> openPrintTarget(QWidget* parent, const QString& pdfFile = {});
// Asks for the name of a PDF file to write ("" when cancelled).
QString askPdfFileName(QWidget* parent);

// Gives the print preview's zoom box, page number field and page view Italian accessible
// names: the dialog leaves them without one.
void namePreviewControls(QPrintPreviewDialog& preview);

} // namespace quintor
