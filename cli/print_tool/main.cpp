// quintor-print: the pages the print windows would print, into one PDF file. quintor-cli
// runs it for its `print` command, so that the command line itself needs no window toolkit.
#include "cli/cli_common.h"
#include "core/conversions.h"
#include "core/paper_listing.h"
#include "core/slip_layout.h"
#include "core/system_file.h"
#include "render/pdf_file.h"
#include "render/print_renderer.h"

#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <cstdlib>
#include <iostream>
#include <optional>

using namespace quintor;
using namespace quintor::cli;

namespace {

const char* const usageText =
    "print FILE.qtr --layout verticale|orizzontale|carta --pdf OUT.pdf [--from N] [--to M] "
    "[--page A4|A5|Letter|Legal|WxHmm] [--resolution DPI] [--numero] [--margins SX,ALTO] "
    "[--caselle]";

const char* const slipOutOfRangeMessage =
    "Il nº della schedina da stampare non rientra nell'intervallo consentito !\rCorreggere e "
    "riprovare.";
const char* const pdfFailedMessage =
    "Impossibile scrivere il file PDF specificato !\rControllare il nome e la cartella.";

// A paper by the name a user types (A4, A5, Letter, Legal, any case), or "210x297mm",
// millimetres with a decimal point allowed.
std::optional<QPageSize> pageSize(const std::string& text) {
    const QString name = QString::fromStdString(text).toLower();
    for (const auto id : {QPageSize::A4, QPageSize::A5, QPageSize::Letter, QPageSize::Legal})
        if (name == QPageSize::key(id).toLower())
            return QPageSize(id);
    if (!name.endsWith(QStringLiteral("mm")))
        return std::nullopt;
    const QStringList sides = name.chopped(2).split(QLatin1Char('x'));
    if (sides.size() != 2)
        return std::nullopt;
    bool wide = false;
    bool high = false;
    const double w = sides[0].toDouble(&wide);
    const double h = sides[1].toDouble(&high);
    if (!wide || !high || !(w >= 10 && w <= 5000) || !(h >= 10 && h <= 5000))
        return std::nullopt;
    return QPageSize(QSizeF(w, h), QPageSize::Millimeter);
}

// "--margins SX,ALTO": where the first box of the slip lies from the sheet's left and top
// edges, in millimetres, as the windows' calibration shows them.
struct MarginsMillimetres {
    double left = 0;
    double top = 0;
};
std::optional<MarginsMillimetres> marginsMillimetres(const std::string& text, QSizeF sheet) {
    const QStringList parts = QString::fromStdString(text).split(QLatin1Char(','));
    if (parts.size() != 2)
        return std::nullopt;
    bool leftRead = false;
    bool topRead = false;
    const MarginsMillimetres margins{parts[0].toDouble(&leftRead), parts[1].toDouble(&topRead)};
    if (!leftRead || !topRead || !(margins.left >= 0 && margins.left < sheet.width()) ||
        !(margins.top >= 0 && margins.top < sheet.height()))
        return std::nullopt;
    return margins;
}

bool validSlipRange(long long first, long long last, std::size_t finalColumns) {
    return first >= 1 && last >= first && static_cast<std::size_t>(last) <= slipCount(finalColumns);
}

// Stored as fractions of the sheet's width and height, as the windows keep them.
void applyMargins(MarginsMillimetres margins, QSizeF sheet, SlipLayout layout,
                  LayoutValues& values) {
    const Real48 left = Real48::fromValue(static_cast<long double>(margins.left / sheet.width()));
    const Real48 top = Real48::fromValue(static_cast<long double>(margins.top / sheet.height()));
    if (layout == SlipLayout::vertical) {
        values.vertical[0] = left;
        values.vertical[1] = top;
    } else {
        values.horizontal[0] = left;
        values.horizontal[1] = top;
    }
}

std::optional<long long> number(const Arguments& args, const char* name, long long fallback) {
    const std::string* text = optionValue(args, name);
    if (!text)
        return fallback;
    const auto value = parseInteger(*text);
    if (!value)
        return std::nullopt;
    return *value;
}

// The plain-paper listing of final columns first..last; the pages painted.
std::size_t paintListingPages(QPainter& painter, QPdfWriter& writer, const std::string& file,
                              const SystemState& system, long long first, long long last) {
    ListingRequest request;
    request.systemFile = file;
    request.markedNumbers = system.markedNumbers();
    request.finalColumns = system.finalColumns;
    request.first = static_cast<std::size_t>(first);
    request.last = static_cast<std::size_t>(last);
    const std::size_t count = request.last - request.first + 1;
    constexpr std::size_t reportEvery = 100 * listingProgressStep;
    return paintListing(painter, writer, request,
                        [count](std::size_t done) {
                            if (count >= reportEvery && (done % reportEvery == 0 || done == count))
                                std::cerr << "colonne stampate: " << done << " di " << count
                                          << std::endl;
                            return true;
                        })
        .pages;
}

// Slips first..last, one a page, noting the columns that did not fit whole.
std::size_t paintSlipPages(QPainter& painter, QPdfWriter& writer, SlipLayout layout,
                           const SystemState& system, long long first, long long last, bool label,
                           bool boxes) {
    std::size_t pages = 0;
    std::vector<std::size_t> incomplete;
    const PageSize printable = printablePage(writer);
    for (auto k = static_cast<std::size_t>(first); k <= static_cast<std::size_t>(last); ++k) {
        if (k > static_cast<std::size_t>(first))
            writer.newPage();
        SlipPicture picture =
            slipPicture(layout, system.layout, printable, system.finalColumns, k, label);
        if (boxes)
            picture.boxes = slipBoxes(layout, system.layout, printable);
        paintSlip(painter, picture);
        incomplete.insert(incomplete.end(), picture.plan.incompleteRows.begin(),
                          picture.plan.incompleteRows.end());
        ++pages;
    }
    if (!incomplete.empty())
        note(incompleteColumnsMessage(incomplete));
    return pages;
}

} // namespace

int main(int argc, char** argv) {
    // Painting a PDF needs fonts, not a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // stderr carries the program's own messages only; the toolkit's notes stay out of it.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtFatalMsg) {
            std::cerr << text.toStdString() << '\n';
            std::abort();
        }
    });
    const Arguments args(argv + 1, argv + argc);
    const std::string* layoutName = optionValue(args, "--layout");
    const std::string* pdfName = optionValue(args, "--pdf");
    const auto positional = positionalArguments(
        args, {"--layout", "--pdf", "--from", "--to", "--page", "--resolution", "--margins"},
        {"--numero", "--caselle"});
    if (!positional || positional->size() != 1 || args[0].starts_with("--") || !layoutName ||
        !pdfName)
        return usage(usageText);
    const bool listing = *layoutName == "carta";
    if (!listing && *layoutName != "verticale" && *layoutName != "orizzontale")
        return usage(usageText);
    const SlipLayout layout =
        *layoutName == "orizzontale" ? SlipLayout::horizontal : SlipLayout::vertical;
    const auto page = pageSize(optionValue(args, "--page") ? *optionValue(args, "--page") : "A4");
    const auto resolution = number(args, "--resolution", 600);
    const auto from = number(args, "--from", 1);
    if (!page || !resolution || *resolution < 36 || *resolution > 4800 || !from)
        return usage(usageText);

    std::optional<MarginsMillimetres> margins;
    if (const std::string* typed = optionValue(args, "--margins")) {
        margins = marginsMillimetres(*typed, page->size(QPageSize::Millimeter));
        if (!margins)
            return usage(usageText);
    }

    SystemState system;
    if (!readSystemFile(args[0], system))
        return refuse(unreadableSystemMessage);
    if (margins)
        applyMargins(*margins, page->size(QPageSize::Millimeter), layout, system.layout);
    const std::size_t columns = system.finalColumns.size();
    const auto to =
        number(args, "--to", static_cast<long long>(listing ? columns : slipCount(columns)));
    if (!to)
        return usage(usageText);
    if (listing) {
        if (!validListingRange(*from, *to, columns))
            return refuse(listingRangeMessage);
    } else if (!validSlipRange(*from, *to, columns)) {
        return refuse(slipOutOfRangeMessage);
    }

    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    std::size_t pages = 0;
    const PdfOutcome outcome = writePdfFile(
        *pdfName, QPageLayout(*page, QPageLayout::Portrait, QMarginsF()),
        static_cast<int>(*resolution), [&](QPainter& painter, QPdfWriter& writer) {
            pages = listing ? paintListingPages(painter, writer, args[0], system, *from, *to)
                            : paintSlipPages(painter, writer, layout, system, *from, *to,
                                             hasFlag(args, "--numero"), hasFlag(args, "--caselle"));
            return true;
        });
    if (outcome != PdfOutcome::written)
        return refuse(pdfFailedMessage);
    std::cout << "pagine: " << pages << '\n';
    return finishOutput(ok);
}
