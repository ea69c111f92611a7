#pragma once

#include "core/paper_listing.h"
#include "core/slip_layout.h"

#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include <functional>
#include <span>
#include <string>
#include <vector>

class QPainter;
class QPaintDevice;
class QPagedPaintDevice;

namespace quintor {

// The one renderer of printed pages: the same code draws on paper (QPrinter), into PDF
// (QPdfWriter or a printer writing to a file) and into the preview.

// "Arial" for the slip number: a metric-compatible sans face, variable pitch.
QFont slipLabelFont();
// The listing's face: the layout of its lines assumes characters of equal width, so a
// fixed-pitch face with the metrics of the common typewriter face.
QFont listingFont();

// The printable page of a device in its own units (a printer's page rectangle in device
// pixels; painting starts at its top-left corner).
PageSize printablePage(const QPaintDevice& device);

// Text measured in a font on the device that will draw it.
class DeviceTextMeasure : public TextMeasure {
public:
    DeviceTextMeasure(const QFont& font, const QPaintDevice* device);
    void setPointSize(int points) override;
    long long textWidth(std::string_view text) override;
    long long textHeight(std::string_view text) override;
    const QFont& font() const { return font_; }

private:
    QFont font_;
    const QPaintDevice* device_;
};

// What one slip page holds.
struct SlipPicture {
    SlipPlan plan;
    std::string label; // empty: no slip number
    Real48 numberSize;
    // The slip's boxes, drawn faintly beneath the marks (a preview's, never paper's: the
    // slip itself has them printed).
    std::vector<SlipMark> boxes;
};
SlipPicture slipPicture(SlipLayout layout, const LayoutValues& values, PageSize page,
                        std::span<const Column> finalColumns, std::size_t slip, bool withLabel);
// The test slip; the upright one always carries "1ª".
SlipPicture testSlipPicture(SlipLayout layout, const LayoutValues& values, PageSize page);
// Draws on the current page of a painter that is active on its device.
void paintSlip(QPainter& painter, const SlipPicture& picture);

// The listing keeps this far from every edge of the sheet, so that no printer drops a line
// in the strip it cannot print; a printer that declares wider margins has them.
inline constexpr double listingMarginMillimetres = 5.0;
// Where the listing goes on the device, in its units: the sheet less those margins.
QRectF listingArea(const QPagedPaintDevice& device);

// The calibration sheet: millimetre rulers along the top and left edges, and cross-hairs
// at known places, each labelled with its distance from the sheet's left and top edges. A
// player measures on paper where each landed and corrects the margins by the difference.
// Painted on the whole sheet of a device in full-page mode.
std::vector<QPointF> calibrationCrossesMillimetres(QSizeF sheetMillimetres);
void paintCalibrationPage(QPainter& painter, QSizeF sheetMillimetres);

struct ListingRequest {
    ListingOptions options;
    std::string systemFile;
    std::vector<int> markedNumbers;
    std::span<const Column> finalColumns;
    std::size_t first = 1; // 1-based, within the list
    std::size_t last = 0;
    std::size_t maxPages = 0; // 0: every page (a preview shows only the first ones)
};
struct ListingOutcome {
    std::size_t pages = 0;
    bool stopped = false;
};
// Draws the listing, starting pages on the device as it goes. `progress` is told how many
// columns are drawn every few hundred columns; returning false stops the listing there.
ListingOutcome paintListing(QPainter& painter, QPagedPaintDevice& device,
                            const ListingRequest& request,
                            const std::function<bool(std::size_t done)>& progress = {});
inline constexpr std::size_t listingProgressStep = 500;

} // namespace quintor
