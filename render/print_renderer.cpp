#include "render/print_renderer.h"

#include "core/column.h"

#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>

namespace quintor {

namespace {

QString text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// Pen black, one unit, solid, drawn over what is there; brush black and solid.
void slipPenAndBrush(QPainter& painter) {
    QPen pen(Qt::black);
    pen.setWidth(1);
    pen.setStyle(Qt::SolidLine);
    painter.setPen(pen);
    painter.setBrush(QBrush(Qt::black, Qt::SolidPattern));
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

// Texts are placed by the top-left corner of their line, as the layout gives them.
void drawTextAt(QPainter& painter, long long x, long long y, const QString& line) {
    painter.drawText(
        QPointF(static_cast<qreal>(x), static_cast<qreal>(y) + painter.fontMetrics().ascent()),
        line);
}

} // namespace

QFont slipLabelFont() {
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    font.setStyleHint(QFont::SansSerif);
    font.setFixedPitch(false);
    font.setPointSize(labelMeasuringPointSize);
    return font;
}

QFont listingFont() {
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Mono"), QStringLiteral("Courier New")});
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setKerning(false);
    font.setPointSize(listingMeasuringPointSize);
    return font;
}

PageSize printablePage(const QPaintDevice& device) {
    return {static_cast<long double>(device.width()), static_cast<long double>(device.height())};
}

DeviceTextMeasure::DeviceTextMeasure(const QFont& font, const QPaintDevice* device)
    : font_(font), device_(device) {}

void DeviceTextMeasure::setPointSize(int points) {
    font_.setPointSize(points);
}

long long DeviceTextMeasure::textWidth(std::string_view line) {
    return QFontMetrics(font_, device_).horizontalAdvance(text(line));
}

long long DeviceTextMeasure::textHeight(std::string_view) {
    return QFontMetrics(font_, device_).height();
}

SlipPicture slipPicture(SlipLayout layout, const LayoutValues& values, PageSize page,
                        std::span<const Column> finalColumns, std::size_t slip, bool withLabel) {
    SlipPicture picture{planSlip(layout, values, page, finalColumns, slip), {}, values.vertical[5]};
    if (withLabel && layout == SlipLayout::vertical)
        picture.label = slipLabel(slip);
    return picture;
}

SlipPicture testSlipPicture(SlipLayout layout, const LayoutValues& values, PageSize page) {
    SlipPicture picture{planTestSlip(layout, values, page), {}, values.vertical[5]};
    if (layout == SlipLayout::vertical)
        picture.label = slipLabel(1);
    return picture;
}

void paintSlip(QPainter& painter, const SlipPicture& picture) {
    painter.save();
    slipPenAndBrush(painter);
    if (!picture.label.empty()) {
        QFont font = slipLabelFont();
        const PageSize page = printablePage(*painter.device());
        const QFontMetrics at20(font, painter.device());
        font.setPointSize(labelPointSize(page.height, picture.numberSize, at20.height()));
        painter.setFont(font);
        // The label sits on a white ground of its own.
        painter.setBackgroundMode(Qt::OpaqueMode);
        painter.setBackground(Qt::white);
        drawTextAt(painter, 0, 0, text(picture.label));
        painter.setBackgroundMode(Qt::TransparentMode);
    }
    for (const SlipMark& mark : picture.plan.marks) {
        const MarkRect& r = mark.rect;
        painter.drawEllipse(QRectF(static_cast<qreal>(r.x1), static_cast<qreal>(r.y1),
                                   static_cast<qreal>(r.x2 - r.x1),
                                   static_cast<qreal>(r.y2 - r.y1)));
    }
    painter.restore();
}

ListingOutcome paintListing(QPainter& painter, QPagedPaintDevice& device,
                            const ListingRequest& request,
                            const std::function<bool(std::size_t done)>& progress) {
    ListingOutcome outcome;
    if (request.first < 1 || request.last < request.first ||
        request.last > request.finalColumns.size())
        return outcome;
    const std::size_t count = request.last - request.first + 1;
    const PageSize page = printablePage(device);
    DeviceTextMeasure measure(listingFont(), &device);
    const ListingLayout layout = layoutListing(measure, page, request.options, request.systemFile,
                                               request.markedNumbers, count);

    painter.save();
    painter.setFont(measure.font());
    painter.setPen(QPen(Qt::black));
    painter.setBrush(QBrush(Qt::white));
    outcome.pages = 1;
    for (const ListingText& heading : layout.headings)
        drawTextAt(painter, heading.x, heading.y, text(heading.text));

    ListingCursor cursor(layout, page.height);
    const qreal ascent = painter.fontMetrics().ascent();
    for (std::size_t i = 0; i < count; ++i) {
        const ListingCursor::Place place = cursor.next();
        if (place.newPage) {
            if (request.maxPages != 0 && outcome.pages >= request.maxPages)
                break;
            device.newPage();
            ++outcome.pages;
        }
        painter.drawText(
            QPointF(static_cast<qreal>(place.x), static_cast<qreal>(place.y) + ascent),
            QString::fromLatin1(formatColumn(request.finalColumns[request.first - 1 + i])));
        if (progress && (i + 1) % listingProgressStep == 0 && !progress(i + 1)) {
            outcome.stopped = true;
            break;
        }
    }
    if (progress && !outcome.stopped)
        progress(count);
    painter.restore();
    return outcome;
}

} // namespace quintor
