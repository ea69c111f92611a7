// quintor-print: the pages the print windows would print, into one PDF file. quintor-cli
// runs it for its `print` command, so that the command line itself needs no window toolkit.
#include "cli/cli_common.h"
#include "core/conversions.h"
#include "core/paper_listing.h"
#include "core/slip_layout.h"
#include "core/system_file.h"
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
    "[--page A4|WxHmm] [--resolution DPI] [--numero]";

const char* const slipOutOfRangeMessage =
    "Il nº della schedina da stampare non rientra nell'intervallo consentito !\rCorreggere e "
    "riprovare.";
const char* const pdfFailedMessage =
    "Impossibile scrivere il file PDF specificato !\rControllare il nome e la cartella.";

// A4, or "210x297mm".
std::optional<QPageSize> pageSize(const std::string& text) {
    if (text == "A4")
        return QPageSize(QPageSize::A4);
    if (!text.ends_with("mm"))
        return std::nullopt;
    const std::string size = text.substr(0, text.size() - 2);
    const auto cross = size.find('x');
    if (cross == std::string::npos)
        return std::nullopt;
    const auto w = parseInteger(std::string_view(size).substr(0, cross));
    const auto h = parseInteger(std::string_view(size).substr(cross + 1));
    if (!w || !h || *w <= 0 || *h <= 0 || *w > 5000 || *h > 5000)
        return std::nullopt;
    return QPageSize(QSizeF(*w, *h), QPageSize::Millimeter);
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
                           const SystemState& system, long long first, long long last, bool label) {
    std::size_t pages = 0;
    std::vector<std::size_t> incomplete;
    const PageSize printable = printablePage(writer);
    for (auto k = static_cast<std::size_t>(first); k <= static_cast<std::size_t>(last); ++k) {
        if (k > static_cast<std::size_t>(first))
            writer.newPage();
        const SlipPicture picture =
            slipPicture(layout, system.layout, printable, system.finalColumns, k, label);
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
        args, {"--layout", "--pdf", "--from", "--to", "--page", "--resolution"}, {"--numero"});
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

    SystemState system;
    if (!readSystemFile(args[0], system))
        return refuse(unreadableSystemMessage);
    const std::size_t columns = system.finalColumns.size();
    const auto to =
        number(args, "--to", static_cast<long long>(listing ? columns : slipCount(columns)));
    if (!to)
        return usage(usageText);
    if (listing) {
        if (!validListingRange(*from, *to, columns))
            return refuse(listingRangeMessage);
    } else if (*from < 1 || *to < *from || static_cast<std::size_t>(*to) > slipCount(columns)) {
        return refuse(slipOutOfRangeMessage);
    }

    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    QPdfWriter writer(QString::fromStdString(*pdfName));
    writer.setCreator(QStringLiteral("Quintor"));
    writer.setPageLayout(QPageLayout(*page, QPageLayout::Portrait, QMarginsF()));
    writer.setResolution(static_cast<int>(*resolution));
    QPainter painter;
    if (!painter.begin(&writer))
        return refuse(pdfFailedMessage);

    const std::size_t pages = listing
                                  ? paintListingPages(painter, writer, args[0], system, *from, *to)
                                  : paintSlipPages(painter, writer, layout, system, *from, *to,
                                                   hasFlag(args, "--numero"));
    if (!painter.end())
        return refuse(pdfFailedMessage);
    std::cout << "pagine: " << pages << '\n';
    return finishOutput(ok);
}
