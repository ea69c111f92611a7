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

    long long y = 0;
    if (options.fileName) {
        const std::string name =
            "[ " + std::filesystem::path(std::string(systemFile)).filename().string() + " ]";
        layout.headings.push_back({centred(page.width, measure.textWidth(name)), 0, name});
        y = 2 * r;
    }
    if (options.markedNumbers) {
        const auto lines = markedNumberLines(markedNumbers);
        const long long x = centred(page.width, measure.textWidth(lines[0]));
        layout.headings.push_back({x, y, lines[0]});
        y += r;
        for (std::size_t k = 1; k < lines.size(); ++k) {
            if (lines[k].empty())
                continue;
            y += 2;
            layout.headings.push_back({x, y, lines[k]});
            y += r;
        }
        y += r;
    }
    if (options.columnCount) {
        const std::string text = "Nº di colonne: " + std::to_string(count);
        layout.headings.push_back({centred(page.width, measure.textWidth(text)), y, text});
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

ListingCursor::Place ListingCursor::next() {
    const std::size_t place = index_ % columnsPerListingLine;
    Place result;
    if (index_ > 0 && place == 0) {
        y_ += lineHeight_ + 2;
        if (pageHeight_ < static_cast<long double>(y_ + lineHeight_ + 2)) {
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
