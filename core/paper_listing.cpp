#include "core/paper_listing.h"

#include "core/rounding.h"

#include <algorithm>
#include <filesystem>

namespace quintor {

namespace {

void appendNumber(std::string& line, int n) {
    line += std::to_string(n);
    line += n < 10 ? "  " : " ";
}

long long centred(long double pageWidth, long long textWidth) {
    // Truncated toward zero, as an integer division would.
    return static_cast<long long>((pageWidth - static_cast<long double>(textWidth)) / 2);
}

// The size a heading is drawn at: the listing's, or the largest smaller one at which the
// widest of its lines fits the page (the listing's size is rounded to the nearest point, so
// a line as long as the reference can overflow by a few percent). 0 stands for the
// listing's own size. Leaves the measure at the listing's size.
int headingPointSize(TextMeasure& measure, int listingSize, long double pageWidth,
                     std::string_view widest) {
    int size = listingSize;
    measure.setPointSize(size);
    while (size > 1 && static_cast<long double>(measure.textWidth(widest)) > pageWidth)
        measure.setPointSize(--size);
    measure.setPointSize(listingSize);
    return size == listingSize ? 0 : size;
}

// Width of text at the heading size (0: the listing's size); leaves the measure at the
// listing's size.
long long headingWidth(TextMeasure& measure, int listingSize, int size, std::string_view text) {
    if (size == 0)
        return measure.textWidth(text);
    measure.setPointSize(size);
    const long long width = measure.textWidth(text);
    measure.setPointSize(listingSize);
    return width;
}

} // namespace

std::string listingReferenceLine() {
    std::string line = "Sistema: ";
    for (int n = 1; n <= 30; ++n)
        appendNumber(line, n);
    return line;
}

std::vector<std::string> markedNumberLines(std::span<const int> markedNumbers) {
    std::vector<std::string> lines{"Sistema: ", markedNumbers.size() > 30 ? "        " : "",
                                   markedNumbers.size() > 60 ? "        " : ""};
    for (std::size_t i = 0; i < markedNumbers.size(); ++i)
        appendNumber(lines[std::min<std::size_t>(i / 30, 2)], markedNumbers[i]);
    return lines;
}

ListingLayout layoutListing(TextMeasure& measure, PageSize page, const ListingOptions& options,
                            std::string_view systemFile, std::span<const int> markedNumbers,
                            std::size_t count) {
    ListingLayout layout;
    const std::string reference = listingReferenceLine();
    measure.setPointSize(listingMeasuringPointSize);
    const long long widthAt20 = measure.textWidth(reference);
    if (widthAt20 > 0)
        layout.pointSize = static_cast<int>(std::clamp<long long>(
            roundHalfEven(listingMeasuringPointSize * page.width / widthAt20), 1, 4000));
    measure.setPointSize(layout.pointSize);
    const long long r = measure.textHeight("Hg") + 1;
    layout.lineHeight = r;
    layout.referenceWidth = measure.textWidth(reference);

    const int listingSize = layout.pointSize;
    // A heading centred on the page, made smaller when it would not fit.
    auto heading = [&](long long y, const std::string& text) {
        const int size = headingPointSize(measure, listingSize, page.width, text);
        layout.headings.push_back(
            {centred(page.width, headingWidth(measure, listingSize, size, text)), y, text, size});
    };
    long long y = 0;
    if (options.fileName) {
        heading(0,
                "[ " + std::filesystem::path(std::string(systemFile)).filename().string() + " ]");
        y = 2 * r;
    }
    if (options.markedNumbers) {
        // The three lines share the first one's start and size, so their numbers stay in
        // columns.
        const auto lines = markedNumberLines(markedNumbers);
        heading(y, lines[0]);
        const ListingText first = layout.headings.back();
        y += r;
        for (std::size_t k = 1; k < lines.size(); ++k) {
            if (lines[k].empty())
                continue;
            y += 2;
            layout.headings.push_back({first.x, y, lines[k], first.pointSize});
            y += r;
        }
        y += r;
    }
    if (options.columnCount) {
        heading(y, "Nº di colonne: " + std::to_string(count));
        y += 2 * r;
    }
    layout.columnsTop = y;
    return layout;
}

long long listingColumnX(std::size_t place, long long referenceWidth) {
    return roundHalfEven(static_cast<long double>(place) * referenceWidth * 0.25L) + 1;
}

ListingCursor::ListingCursor(const ListingLayout& layout, long double pageHeight)
    : lineHeight_(layout.lineHeight), referenceWidth_(layout.referenceWidth),
      pageHeight_(pageHeight), y_(layout.columnsTop) {}

bool ListingCursor::lineFits(long long y) const {
    // The text of the line at y stands from y + r + 1 down to y + 2r: its last row of pixels
    // must still be on the page, or the printer cuts it (or drops it in its margin).
    return static_cast<long double>(y + 2 * lineHeight_) <= pageHeight_;
}

ListingCursor::Place ListingCursor::next() {
    const std::size_t place = index_ % columnsPerListingLine;
    Place result;
    if (place == 0) {
        if (index_ > 0)
            y_ += lineHeight_ + 2;
        // A page that already holds something gives way to a new one; an empty page keeps
        // even a line too tall for it, so the listing always ends.
        if (!lineFits(y_) && (index_ > 0 || y_ > 0)) {
            result.newPage = true;
            y_ = 0;
        }
    }
    ++index_;
    result.x = listingColumnX(place, referenceWidth_);
    result.y = y_ + lineHeight_ + 1;
    return result;
}

long long leadingInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long long value = 0;
    constexpr long long ceiling = 1'000'000'000'000LL; // far beyond any column count
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min(ceiling, value * 10 + (text[i] - '0'));
    return negative ? -value : value;
}

bool validListingRange(long long first, long long last, std::size_t finalColumns) {
    const auto count = static_cast<long long>(finalColumns);
    return finalColumns > 0 && first <= last && first >= 1 && first <= count && last >= 1 &&
           last <= count;
}

} // namespace quintor
