#include "core/paper_listing.h"

#include <gtest/gtest.h>

#include <numeric>

using namespace quintor;

namespace {

// Every character 3 units wide per point, every text 5 units high per point: at 16 points
// the reference line is 99 x 48 = 4752 wide and a line 81 high.
class FixedPitchMeasure : public TextMeasure {
public:
    void setPointSize(int points) override { points_ = points; }
    long long textWidth(std::string_view text) override {
        long long characters = 0;
        for (unsigned char c : text)
            characters += (c & 0xC0) != 0x80; // count UTF-8 characters, not bytes
        return characters * 3 * points_;
    }
    long long textHeight(std::string_view) override { return 5LL * points_; }

private:
    int points_ = 0;
};

const PageSize a4{4800, 6600};

std::vector<int> numbersUpTo(int count) {
    std::vector<int> numbers(static_cast<std::size_t>(count));
    std::iota(numbers.begin(), numbers.end(), 1);
    return numbers;
}

ListingLayout layoutWith(ListingOptions options, std::span<const int> marked, std::size_t count,
                         PageSize page = a4) {
    FixedPitchMeasure measure;
    return layoutListing(measure, page, options, "/home/utente/sistemi/Sistem1.Qtr", marked, count);
}

} // namespace

TEST(PaperListing, FontFillsThePageWidthWithTheReferenceLine) {
    const std::string reference = listingReferenceLine();
    EXPECT_EQ(reference.size(), 99u);
    EXPECT_TRUE(reference.starts_with("Sistema: 1  2  3  "));
    EXPECT_NE(reference.find(" 9  10 11 "), std::string::npos);
    EXPECT_TRUE(reference.ends_with("29 30 "));

    const ListingLayout layout = layoutWith({}, {}, 9);
    EXPECT_EQ(layout.pointSize, 16); // 20 x 4800 / 5940 = 16.16
    EXPECT_EQ(layout.referenceWidth, 4752);
    EXPECT_EQ(layout.lineHeight, 81);
    EXPECT_EQ(layoutWith({}, {}, 9, {4900.5L, 6600}).pointSize, 16); // 16.5
    EXPECT_EQ(layoutWith({}, {}, 9, {5197.5L, 6600}).pointSize, 18); // 17.5
    for (std::size_t g = 0; g < 4; ++g)
        EXPECT_EQ(listingColumnX(g, 4752), (std::array<long long, 4>{1, 1189, 2377, 3565})[g]);
}

TEST(PaperListing, HeadingsStackFromTheTop) {
    // Name and count only: the count line at 2r, the first columns at 5r + 1.
    ListingLayout layout = layoutWith({.markedNumbers = false}, {}, 1);
    const long long r = layout.lineHeight;
    EXPECT_EQ(layout.headings, (std::vector<ListingText>{{2040, 0, "[ Sistem1.Qtr ]"},
                                                         {2016, 2 * r, "Nº di colonne: 1"}}));
    ListingCursor cursor(layout, a4.height);
    EXPECT_EQ(cursor.next().y, 5 * r + 1);

    // 31 marked numbers: the 31st alone on a second line that starts with eight blanks.
    const auto marked = numbersUpTo(31);
    layout = layoutWith({}, marked, 12);
    ASSERT_EQ(layout.headings.size(), 4u);
    EXPECT_EQ(layout.headings[1].text, listingReferenceLine());
    EXPECT_EQ(layout.headings[1].y, 2 * r);
    EXPECT_EQ(layout.headings[2], (ListingText{layout.headings[1].x, 3 * r + 2, "        31 "}));
    EXPECT_EQ(layout.headings[3].y, 5 * r + 2);
    EXPECT_EQ(layout.columnsTop, 7 * r + 2);

    const auto lines = markedNumberLines(numbersUpTo(61));
    EXPECT_EQ(lines[1].size(), 8u + 90);
    EXPECT_EQ(lines[2], "        61 ");
    EXPECT_EQ(markedNumberLines(numbersUpTo(60))[2], "");
    EXPECT_EQ(markedNumberLines(std::vector<int>{5, 40}),
              (std::vector<std::string>{"Sistema: 5  40 ", "", ""}));
    EXPECT_TRUE(layoutWith({false, false, false}, {}, 3).headings.empty());
}

TEST(PaperListing, AHeadingWiderThanThePageIsDrawnSmallerAndTheColumnsKeepTheirSize) {
    // 20 x 5197.5 / 5940 = 17.5 rounds to 18: the 99 characters of a full marked-number line
    // need 5346 units of a 5197.5 wide page.
    const PageSize page{5197.5L, 6600};
    const auto marked = numbersUpTo(31);
    const ListingLayout layout = layoutWith({}, marked, 9, page);
    EXPECT_EQ(layout.pointSize, 18);
    EXPECT_EQ(layout.referenceWidth, 99 * 3 * 18);
    FixedPitchMeasure measure;
    for (const ListingText& heading : layout.headings) {
        measure.setPointSize(heading.pointSize == 0 ? layout.pointSize : heading.pointSize);
        EXPECT_GE(heading.x, 0) << heading.text;
        EXPECT_LE(static_cast<long double>(heading.x + measure.textWidth(heading.text)), page.width)
            << heading.text;
    }
    // The largest size that fits, and the second line starts and sizes as the first.
    ASSERT_EQ(layout.headings.size(), 4u);
    EXPECT_EQ(layout.headings[1].pointSize, 17);
    EXPECT_EQ(layout.headings[2].pointSize, 17);
    EXPECT_EQ(layout.headings[2].x, layout.headings[1].x);
    EXPECT_EQ(layout.headings[0].pointSize, 0);
}

TEST(PaperListing, FourColumnsALineAndANewPageOnlyWhenALineWouldNotFit) {
    const ListingLayout layout = layoutWith({false, false, true}, {}, 9);
    const long long r = layout.lineHeight; // 81; columns start at y = 162
    std::vector<ListingCursor::Place> places;
    ListingCursor cursor(layout, a4.height);
    for (int i = 0; i < 9; ++i)
        places.push_back(cursor.next());
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(places[i].x, listingColumnX(static_cast<std::size_t>(i % 4), 4752));
        EXPECT_EQ(places[i].y, 2 * r + (i / 4) * (r + 2) + r + 1);
        EXPECT_FALSE(places[i].newPage);
    }

    // The second line sits at y = 245 and its text stands from 327 to 2r below 245: 407
    // units of page hold it whole.
    auto pagesOf = [&](long double height) {
        ListingCursor c(layout, height);
        std::vector<long long> ys;
        for (int i = 0; i < 12; ++i) {
            const auto place = c.next();
            if (place.newPage)
                ys.push_back(-1);
            ys.push_back(place.y);
        }
        return ys;
    };
    const long long first = 2 * r + r + 1;
    EXPECT_EQ(pagesOf(407), (std::vector<long long>{first, first, first, first, 327, 327, 327, 327,
                                                    -1, r + 1, r + 1, r + 1, r + 1}));
    const long long second = r + 2 + r + 1;
    EXPECT_EQ(pagesOf(406), (std::vector<long long>{first, first, first, first, -1, r + 1, r + 1,
                                                    r + 1, r + 1, second, second, second, second}));
}

TEST(PaperListing, RangeFieldsAreReadByTheirLeadingDigits) {
    EXPECT_EQ(leadingInteger("12a"), 12);
    EXPECT_EQ(leadingInteger("  -3x"), -3);
    EXPECT_EQ(leadingInteger("+7"), 7);
    EXPECT_EQ(leadingInteger("abc"), 0);
    EXPECT_EQ(leadingInteger(""), 0);
    EXPECT_EQ(leadingInteger("99999999999999999999"), 1'000'000'000'000LL);

    EXPECT_TRUE(validListingRange(5, 5, 9));
    EXPECT_TRUE(validListingRange(1, 9, 9));
    EXPECT_FALSE(validListingRange(6, 5, 9));  // reversed
    EXPECT_FALSE(validListingRange(0, 5, 9));  // outside
    EXPECT_FALSE(validListingRange(1, 10, 9)); // outside
    EXPECT_FALSE(validListingRange(0, 0, 0));  // no columns
}
