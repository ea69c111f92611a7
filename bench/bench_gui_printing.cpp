// Printing speed and memory through the print windows, into PDF files, offscreen:
// a print-all run of 10,000 columns (2,000 slips) into one PDF, a plain-paper listing of
// 1,000,000 columns, and how long a print window takes to open on 1,000,000 columns.
#include "gui/common/column_list_window.h"
#include "gui/common/prompter.h"
#include "gui/print/paper_listing_window.h"
#include "gui/print/printer.h"
#include "gui/print/vertical_slip_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>

#include <cstdio>
#include <fstream>
#include <vector>

#include <unistd.h>

using namespace quintor;

namespace {

// Names the PDF file for "Salva PDF"; answers Yes to anything asked.
class FilePrompter : public Prompter {
public:
    QString file;
    QMessageBox::StandardButton ask(QWidget*, const Question&) override { return QMessageBox::Yes; }
    QString openFileName(QWidget*, const FileRequest&) override { return {}; }
    QString saveFileName(QWidget*, const FileRequest&) override { return file; }
};

// Resident memory now, in MiB.
double residentMiB() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

std::vector<Column> columns(std::size_t count) {
    std::vector<Column> list(count);
    std::uint32_t seed = 12345;
    for (Column& column : list)
        for (std::size_t k = 0; k < 6; ++k) {
            seed = seed * 134775813u + 1u;
            column[k] = static_cast<std::uint8_t>(1 + (std::uint64_t{seed} * 90 >> 32));
        }
    return list;
}

double seconds(const QElapsedTimer& clock) {
    return double(clock.nsecsElapsed()) / 1e9;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    FilePrompter prompter;
    Prompter::install(&prompter);
    QTemporaryDir dir;
    programPrinter().setOutputFileName(dir.filePath(QStringLiteral("stampante.pdf")));
    ColumnListWindow columnList;

    {
        SystemState state;
        state.finalColumns = columns(10000);
        VerticalSlipWindow window(state, columnList);
        window.show();
        auto* progress = window.findChild<QProgressBar*>(QStringLiteral("progressBar"));
        double at500 = 0;
        double at2000 = 0;
        QObject::connect(progress, &QProgressBar::valueChanged, [&](int slip) {
            if (slip == 500)
                at500 = residentMiB();
            if (slip == 2000)
                at2000 = residentMiB();
        });
        prompter.file = dir.filePath(QStringLiteral("schedine.pdf"));
        QElapsedTimer clock;
        clock.start();
        window.findChild<QPushButton*>(QStringLiteral("savePdfButton"))->click();
        const double elapsed = seconds(clock);
        std::printf("stampa di tutte le schedine: 10000 colonne, 2000 pagine PDF in %.2f s "
                    "(limite 10 s); memoria residente %.1f MiB alla schedina 500, %.1f MiB "
                    "alla 2000; PDF di %.1f MiB\n",
                    elapsed, at500, at2000,
                    double(QFileInfo(prompter.file).size()) / (1024.0 * 1024.0));
    }
    {
        SystemState state;
        state.finalColumns = columns(1000000);
        for (int n = 1; n <= 90; n += 3)
            state.marked[static_cast<std::size_t>(n)] = 1;
        state.fileName = "/tmp/Sistem1.Qtr";

        QElapsedTimer clock;
        clock.start();
        auto* upright = new VerticalSlipWindow(state, columnList);
        upright->show();
        QApplication::processEvents();
        const double openSlips = seconds(clock);
        delete upright;
        clock.restart();
        PaperListingWindow window(state);
        window.show();
        QApplication::processEvents();
        const double openListing = seconds(clock);
        std::printf("apertura su 1000000 colonne: stampa verticale %.3f s, colonne su carta "
                    "%.3f s (limite 0.2 s)\n",
                    openSlips, openListing);

        prompter.file = dir.filePath(QStringLiteral("elenco.pdf"));
        const double before = residentMiB();
        clock.restart();
        window.findChild<QPushButton*>(QStringLiteral("savePdfButton"))->click();
        const double elapsed = seconds(clock);
        std::printf("colonne su carta: 1000000 colonne in PDF in %.2f s (limite 60 s); memoria "
                    "residente %.1f MiB prima, %.1f MiB dopo; PDF di %.1f MiB\n",
                    elapsed, before, residentMiB(),
                    double(QFileInfo(prompter.file).size()) / (1024.0 * 1024.0));
    }
    Prompter::install(nullptr);
    return 0;
}
