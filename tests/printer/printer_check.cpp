// Prints through a real print queue with the program's own printer and windows, then finds
// the PDF the queue wrote, renders it and checks that the marks lie where the geometry says
// and where the command line's PDF has them.
// Usage: printer_check QUEUE WORKDIR PRINT_TOOL OUTDIR...  (run by scripts/test-printer.sh)
//        printer_check --rifiutata QUEUE WORKDIR   (the queue refuses jobs: the window must
//        say so and keep its slip numbers)
#include "core/program_folder.h"
#include "core/slip_layout.h"
#include "core/system_file.h"
#include "gui/common/column_list_window.h"
#include "gui/print/printer.h"
#include "gui/print/vertical_slip_window.h"
#include "render/print_renderer.h"
#include "tests/gui/support/pdf_marks.h"
#include "tests/gui/support/scripted_prompter.h"

#include <QApplication>
#include <QDateTime>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QThread>

#include <cstdio>
#include <vector>

using namespace quintor;

namespace {

constexpr int renderDpi = 150;
constexpr int waitSeconds = 90;
constexpr int tolerance = 4; // pixels at renderDpi

int fail(const QString& message) {
    std::fprintf(stderr, "test-printer: %s\n", qPrintable(message));
    return 1;
}

// PDF files under the folders newer than `since`, oldest first.
QFileInfoList newPdfs(const QStringList& folders, const QDateTime& since) {
    QFileInfoList found;
    for (const QString& folder : folders) {
        QDirIterator it(folder, {QStringLiteral("*.pdf")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QFileInfo info(it.next());
            if (info.lastModified() >= since)
                found.append(info);
        }
    }
    std::sort(found.begin(), found.end(), [](const QFileInfo& a, const QFileInfo& b) {
        return a.lastModified() < b.lastModified();
    });
    return found;
}

// Waits until `count` PDFs exist and have stopped growing.
QFileInfoList waitForPdfs(const QStringList& folders, const QDateTime& since, int count) {
    QElapsedTimer clock;
    clock.start();
    qint64 lastTotal = -1;
    while (clock.elapsed() < waitSeconds * 1000) {
        QFileInfoList found = newPdfs(folders, since);
        qint64 total = 0;
        for (QFileInfo& info : found) {
            info.refresh();
            total += info.size();
        }
        if (found.size() >= count && total > 0 && total == lastTotal)
            return found;
        lastTotal = total;
        QThread::msleep(500);
    }
    return newPdfs(folders, since);
}

bool darkNear(const QImage& image, QPointF at, int radius) {
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx) {
            const QPoint p(int(at.x()) + dx, int(at.y()) + dy);
            if (image.rect().contains(p) && qGray(image.pixel(p)) < 100)
                return true;
        }
    return false;
}

// Checks one printed page against the marks it should carry. Every dark pixel must belong
// to a mark or to the label in the corner.
QString checkPage(const QString& pdf, const SlipPicture& picture, QPointF origin, double scale,
                  const QString& work, const QString& name) {
    const QString base = work + QLatin1Char('/') + name;
    // The queue may still be finishing the file on a busy machine: a few tries, a second apart.
    bool rendered = false;
    for (int attempt = 0; attempt < 15 && !rendered; ++attempt) {
        if (attempt > 0)
            QThread::msleep(1000);
        QProcess render;
        render.start(QStringLiteral("pdftoppm"),
                     {QStringLiteral("-r"), QString::number(renderDpi), QStringLiteral("-gray"),
                      QStringLiteral("-singlefile"), pdf, base});
        rendered = render.waitForFinished(60000) && render.exitCode() == 0;
    }
    if (!rendered)
        return QStringLiteral("pdftoppm non ha potuto leggere %1").arg(pdf);
    const QImage image(base + QStringLiteral(".pgm"));
    if (image.isNull())
        return QStringLiteral("immagine di %1 illeggibile").arg(pdf);
    auto toImage = [&](double x, double y) {
        return QPointF((origin.x() + x) * scale, (origin.y() + y) * scale);
    };
    for (const SlipMark& mark : picture.plan.marks) {
        const QPointF centre =
            toImage((mark.rect.x1 + mark.rect.x2) / 2.0, (mark.rect.y1 + mark.rect.y2) / 2.0);
        if (!darkNear(image, centre, tolerance))
            return QStringLiteral("%1: nessun segno per il %2 della colonna %3 vicino a (%4, %5)")
                .arg(name)
                .arg(mark.number)
                .arg(mark.slipColumn)
                .arg(centre.x())
                .arg(centre.y());
    }
    const double labelSide = picture.label.empty() ? 0 : 200; // device units around the label
    int stray = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) >= 100)
                continue;
            const double dx = x / scale - origin.x();
            const double dy = y / scale - origin.y();
            bool explained = dx < labelSide && dy < labelSide && dx > -10 && dy > -10;
            for (const SlipMark& mark : picture.plan.marks) {
                const double slack = tolerance / scale;
                explained =
                    explained || (dx >= mark.rect.x1 - slack && dx <= mark.rect.x2 + slack &&
                                  dy >= mark.rect.y1 - slack && dy <= mark.rect.y2 + slack);
            }
            stray += !explained;
        }
    if (stray > 0)
        return QStringLiteral("%1: %2 punti scuri fuori dai segni").arg(name).arg(stray);
    if (!picture.label.empty() && !darkNear(image, toImage(40, 40), 8))
        return QStringLiteral("%1: manca l'etichetta della schedina").arg(name);
    std::printf("test-printer: %s: %zu segni al loro posto\n", qPrintable(name),
                picture.plan.marks.size());
    return {};
}

bool useQueue(const QString& queue) {
    QPrinter& printer = programPrinter();
    printer.setOutputFileName(QString());
    printer.setOutputFormat(QPrinter::NativeFormat);
    printer.setPrinterName(queue);
    printer.setPageSize(QPageSize(QPageSize::A4));
    return printer.printerName() == queue && printerQueues().contains(queue);
}

SystemState checkedSystem() {
    SystemState state;
    state.finalColumns = {{1, 7, 20, 44, 77, 90},
                          {6, 21, 35, 49, 63, 76},
                          {2, 13, 28, 51, 69, 88},
                          {5, 17, 33, 40, 58, 81},
                          {9, 22, 37, 46, 70, 84}};
    return state;
}

// The queue refuses jobs: printing a slip must tell the user and leave the slip numbers
// where they were, since nothing was printed.
int checkRefusedJob(const QString& queue, const QString& work) {
    setProgramFolder(work.toStdString());
    test::ScriptedPrompter prompter;
    if (!useQueue(queue))
        return fail(QStringLiteral("la coda %1 non è visibile al programma").arg(queue));
    SystemState state = checkedSystem();
    state.finalColumns.resize(10); // two slips
    ColumnListWindow columnList;
    VerticalSlipWindow window(state, columnList);
    window.show();
    window.findChild<QPushButton*>(QStringLiteral("printSlipButton"))->click();
    const QString expected = QString::fromUtf8(printFailedMessage);
    if (prompter.lastText() != expected)
        return fail(QStringLiteral("lavoro rifiutato: attesa la segnalazione, la finestra ha "
                                   "detto \"%1\"")
                        .arg(prompter.lastText()));
    const QString next = window.findChild<QLineEdit*>(QStringLiteral("slipNumberEdit"))->text();
    if (next != QStringLiteral("1"))
        return fail(
            QStringLiteral("lavoro rifiutato: la schedina seguente è passata a %1").arg(next));
    std::printf("test-printer: lavoro rifiutato dalla coda segnalato, numeri fermi\n");
    return 0;
}

// The same slip from the command line's PDF painter: its marks and the queue's must stand
// within 0.1 mm of each other.
QString compareWithCommandLine(const QString& queued, const QString& tool, const QString& work,
                               const SystemState& state) {
    const QString system = work + QStringLiteral("/segni.qtr");
    if (!writeSystemFile(system.toStdString(), state))
        return QStringLiteral("impossibile scrivere %1").arg(system);
    const QString typed = work + QStringLiteral("/riga_di_comando.pdf");
    QProcess run;
    run.start(tool, {system, QStringLiteral("--layout"), QStringLiteral("verticale"),
                     QStringLiteral("--pdf"), typed, QStringLiteral("--to"), QStringLiteral("1")});
    if (!run.waitForFinished(60000) || run.exitCode() != 0)
        return QStringLiteral("%1 non ha scritto %2").arg(tool, typed);
    const auto expected = test::markCentresMillimetres(typed);
    const double distance =
        test::largestMarkDistance(expected, test::markCentresMillimetres(queued));
    if (!(distance < 0.1))
        return QStringLiteral("segni della coda e della riga di comando distanti %1 mm")
            .arg(distance);
    std::printf("test-printer: %zu segni della coda e della riga di comando entro %.3f mm\n",
                expected.size(), distance);
    return {};
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == QStringLiteral("--rifiutata"))
        return checkRefusedJob(args[2], args[3]);
    if (args.size() < 5)
        return fail(QStringLiteral(
            "uso: printer_check CODA CARTELLA_DI_LAVORO QUINTOR_PRINT CARTELLA_PDF..."));
    const QString& queue = args[1];
    const QString& work = args[2];
    const QString& tool = args[3];
    const QStringList outFolders = args.mid(4);
    setProgramFolder(work.toStdString());
    test::ScriptedPrompter prompter;

    QPrinter& printer = programPrinter();
    if (!useQueue(queue))
        return fail(QStringLiteral("la coda %1 non è visibile al programma").arg(queue));

    SystemState state = checkedSystem();
    ColumnListWindow columnList;
    VerticalSlipWindow window(state, columnList);
    window.show();
    const QDateTime since = QDateTime::currentDateTime().addSecs(-2);
    window.findChild<QPushButton*>(QStringLiteral("testSlipButton"))->click();
    QThread::msleep(1200); // distinct times for the two files
    window.findChild<QLineEdit*>(QStringLiteral("slipNumberEdit"))->setText(QStringLiteral("1"));
    window.findChild<QPushButton*>(QStringLiteral("printSlipButton"))->click();
    if (!prompter.asked().isEmpty())
        return fail(QStringLiteral("la finestra ha chiesto: %1").arg(prompter.lastText()));

    const QFileInfoList pdfs = waitForPdfs(outFolders, since, 2);
    if (pdfs.size() < 2)
        return fail(QStringLiteral("dopo %1 s la coda ha scritto %2 PDF su 2 in %3")
                        .arg(waitSeconds)
                        .arg(pdfs.size())
                        .arg(outFolders.join(QStringLiteral(", "))));

    const PageSize page = printablePage(printer);
    // The marks are placed from the sheet's corner, whatever margins the queue declares.
    const QPointF origin(0, 0);
    const double scale = double(renderDpi) / printer.resolution();
    const LayoutValues& values = state.layout;
    QString problem =
        checkPage(pdfs[0].absoluteFilePath(), testSlipPicture(SlipLayout::vertical, values, page),
                  origin, scale, work, QStringLiteral("schedina di prova"));
    if (problem.isEmpty())
        problem =
            checkPage(pdfs[1].absoluteFilePath(),
                      slipPicture(SlipLayout::vertical, values, page, state.finalColumns, 1, false),
                      origin, scale, work, QStringLiteral("schedina 1"));
    if (problem.isEmpty())
        problem = compareWithCommandLine(pdfs[1].absoluteFilePath(), tool, work, state);
    if (problem.isEmpty() && !pdfs[1].fileName().contains(QStringLiteral("schedina")))
        problem = QStringLiteral("il lavoro non porta il suo titolo: %1").arg(pdfs[1].fileName());
    if (!problem.isEmpty())
        return fail(problem);
    std::printf("test-printer: stampa tramite la coda %s riuscita\n", qPrintable(queue));
    return 0;
}
