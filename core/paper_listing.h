#pragma once

#include "core/slip_layout.h"

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quintor {

// Measures text in the font that will draw it, on the device that will print it. The
// listing's layout asks it for sizes; the printing side supplies the fonts.
class TextMeasure {
public:
    virtual ~TextMeasure() = default;
    virtual void setPointSize(int points) = 0;
    // Texts are UTF-8; sizes in device units.
    virtual long long textWidth(std::string_view text) = 0;
    virtual long long textHeight(std::string_view text) = 0;
};

// The listing's font is first set at this size, then scaled so the reference line fills the
// page width.
inline constexpr int listingMeasuringPointSize = 20;
inline constexpr std::size_t columnsPerListingLine = 4;

// "Sistema: 1  2  ... 30 ": 99 characters.
std::string listingReferenceLine();

struct ListingOptions {
    bool markedNumbers = true; // "Stampa sistema"
    bool fileName = true;      // "Stampa nome sistema"
    bool columnCount = true;   // "Stampa il numero di colonne"
};

// A text drawn with its top-left corner at (x, y), at pointSize (0: the listing's size).
struct ListingText {
    long long x = 0;
    long long y = 0;
    std::string text;
    int pointSize = 0;
    friend bool operator==(const ListingText&, const ListingText&) = default;
};

struct ListingLayout {
    int pointSize = listingMeasuringPointSize;
    long long lineHeight = 0;          // height of "Hg" plus 1
    long long referenceWidth = 0;      // width of the reference line
    std::vector<ListingText> headings; // on the first page only
    long long columnsTop = 0;          // y once the headings are drawn
};

// Sizes the font (leaving the measure set to the final size) and places the headings for a
// listing of `count` columns of the system named `systemFile` (its folder is not shown).
ListingLayout layoutListing(TextMeasure& measure, PageSize page, const ListingOptions& options,
                            std::string_view systemFile, std::span<const int> markedNumbers,
                            std::size_t count);

// The three marked-number lines (the second and third empty up to 30 and 60 numbers).
std::vector<std::string> markedNumberLines(std::span<const int> markedNumbers);

// Walks the listed columns in order and says where each one's text goes, four to a line,
// starting a page when a line would not fit wholly above the page's bottom edge.
class ListingCursor {
public:
    ListingCursor(const ListingLayout& layout, long double pageHeight);

    struct Place {
        long long x = 0;
        long long y = 0;
        bool newPage = false; // start a page before drawing this one
    };
    Place next();

private:
    bool lineFits(long long y) const;

    long long lineHeight_;
    long long referenceWidth_;
    long double pageHeight_;
    long long y_;
    std::size_t index_ = 0;
};

// x of the column at place g (0..3) of its line.
long long listingColumnX(std::size_t place, long long referenceWidth);

// A range field as typed: blanks, a sign and the leading digits; no digit gives 0.
long long leadingInteger(std::string_view text);
// first..last lies within the final columns, in order.
inline constexpr const char* listingRangeTitle = "Errore !";
inline constexpr const char* listingRangeMessage =
    "I numeri delle colonne da stampare non rientrano nell'intervallo consentito!\r"
    "Impossibile stampare.";
bool validListingRange(long long first, long long last, std::size_t finalColumns);

} // namespace quintor
