#include "render/print_renderer.h"

#include "core/column.h"

#include <QFontMetrics>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>

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

QRectF listingArea(const QPagedPaintDevice& device) {
    const int dpi = device.logicalDpiX();
    QPageLayout sheet = device.pageLayout();
    // What the device paints from: the sheet's corner in full-page mode, else the corner of
    // its margins.
    const QPointF origin = sheet.paintRectPixels(dpi).topLeft();
    const QRectF full = sheet.fullRectPixels(dpi);
    const qreal margin = listingMarginMillimetres * dpi / 25.4;
    QRectF area = full.marginsRemoved(QMarginsF(margin, margin, margin, margin));
    sheet.setMode(QPageLayout::StandardMode);
    if (sheet.setMargins(sheet.minimumMargins()))
        area = area.intersected(QRectF(sheet.paintRectPixels(dpi)));
    return area.translated(-origin).intersected(QRectF(0, 0, device.width(), device.height()));
}

std::vector<QPointF> calibrationCrossesMillimetres(QSizeF sheet) {
    // Near the corners, where slips' first and last boxes lie, and in the middle; on whole
    // millimetres so the rulers read them directly.
    const qreal right = std::floor(sheet.width() - 40);
    const qreal bottom = std::floor(sheet.height() - 40);
    const QPointF middle(std::floor(sheet.width() / 2), std::floor(sheet.height() / 2));
    return {{40, 40}, {right, 40}, middle, {40, bottom}, {right, bottom}};
}

void paintCalibrationPage(QPainter& painter, QSizeF sheet) {
    const qreal unit = painter.device()->logicalDpiX() / 25.4; // device units per millimetre
    painter.save();
    painter.setPen(QPen(Qt::black, std::max<qreal>(1, 0.15 * unit)));
    QFont font = slipLabelFont();
    font.setPixelSize(std::max(1, static_cast<int>(2.5 * unit)));
    painter.setFont(font);
    auto at = [unit](qreal x, qreal y) { return QPointF(x * unit, y * unit); };
    // Rulers, from 10 mm in: a tick every millimetre, longer every 5, numbered every 10.
    const qreal start = 10;
    painter.drawLine(at(start, start), at(sheet.width() - start, start));
    painter.drawLine(at(start, start), at(start, sheet.height() - start));
    for (int mm = static_cast<int>(start); mm <= sheet.width() - start; ++mm) {
        const qreal length = mm % 10 == 0 ? 4 : (mm % 5 == 0 ? 2.5 : 1.5);
        painter.drawLine(at(mm, start), at(mm, start + length));
        if (mm % 10 == 0 && mm > start)
            painter.drawText(QRectF(at(mm - 5, start + 4.5), at(mm + 5, start + 8)),
                             Qt::AlignCenter, QString::number(mm));
    }
    for (int mm = static_cast<int>(start); mm <= sheet.height() - start; ++mm) {
        const qreal length = mm % 10 == 0 ? 4 : (mm % 5 == 0 ? 2.5 : 1.5);
        painter.drawLine(at(start, mm), at(start + length, mm));
        if (mm % 10 == 0 && mm > start)
            painter.drawText(QRectF(at(start + 4.5, mm - 2), at(start + 14, mm + 2)),
                             Qt::AlignLeft | Qt::AlignVCenter, QString::number(mm));
    }
    for (const QPointF& cross : calibrationCrossesMillimetres(sheet)) {
        painter.drawLine(at(cross.x() - 6, cross.y()), at(cross.x() + 6, cross.y()));
        painter.drawLine(at(cross.x(), cross.y() - 6), at(cross.x(), cross.y() + 6));
        painter.drawEllipse(
            QRectF(at(cross.x() - 3, cross.y() - 3), at(cross.x() + 3, cross.y() + 3)));
        painter.drawText(
            QRectF(at(cross.x() - 25, cross.y() + 7), at(cross.x() + 25, cross.y() + 11)),
            Qt::AlignCenter,
            QStringLiteral("%1 mm da sinistra, %2 mm dall'alto").arg(cross.x()).arg(cross.y()));
    }
    painter.drawText(QRectF(at(start + 30, sheet.height() / 2 + 20),
                            at(sheet.width() - 30, sheet.height() / 2 + 45)),
                     Qt::AlignLeft | Qt::TextWordWrap,
                     QStringLiteral("Foglio di taratura. Misurare con un righello dove sono "
                                    "caduti i centri delle croci: la differenza dalla posizione "
                                    "scritta sotto ciascuna è l'errore della stampante, da "
                                    "correggere nei Margini (in millimetri)."));
    painter.restore();
}

SlipPicture slipPicture(SlipLayout layout, const LayoutValues& values, PageSize page,
                        std::span<const Column> finalColumns, std::size_t slip, bool withLabel) {
    SlipPicture picture{
        planSlip(layout, values, page, finalColumns, slip), {}, values.vertical[5], {}};
    if (withLabel && layout == SlipLayout::vertical)
        picture.label = slipLabel(slip);
    return picture;
}

SlipPicture testSlipPicture(SlipLayout layout, const LayoutValues& values, PageSize page) {
    SlipPicture picture{planTestSlip(layout, values, page), {}, values.vertical[5], {}};
    if (layout == SlipLayout::vertical)
        picture.label = slipLabel(1);
    return picture;
}

void paintSlipBoxes(QPainter& painter, const std::vector<SlipMark>& boxes) {
    if (boxes.empty())
        return;
    painter.save();
    const QColor faint(175, 175, 175);
    painter.setPen(QPen(faint, 0));
    painter.setBrush(Qt::NoBrush);
    QFont font = slipLabelFont();
    const MarkRect& first = boxes.front().rect;
    font.setPixelSize(std::max(1, static_cast<int>(first.x2 - first.x1)));
    painter.setFont(font);
    for (const SlipMark& box : boxes) {
        const MarkRect& r = box.rect;
        const QRectF square(static_cast<qreal>(r.x1), static_cast<qreal>(r.y1),
                            static_cast<qreal>(r.x2 - r.x1), static_cast<qreal>(r.y2 - r.y1));
        painter.drawEllipse(square);
        // The number just under its box, where the slip prints it.
        painter.drawText(
            square.translated(0, square.height()).adjusted(-square.width(), 0, square.width(), 0),
            Qt::AlignHCenter | Qt::AlignTop, QString::number(box.number));
    }
    painter.restore();
}

void paintSlip(QPainter& painter, const SlipPicture& picture) {
    paintSlipBoxes(painter, picture.boxes);
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
    const QRectF area = listingArea(device);
    const PageSize page{static_cast<long double>(area.width()),
                        static_cast<long double>(area.height())};
    DeviceTextMeasure measure(listingFont(), &device);
    const ListingLayout layout = layoutListing(measure, page, request.options, request.systemFile,
                                               request.markedNumbers, count);

    painter.save();
    painter.translate(area.topLeft());
    painter.setFont(measure.font());
    painter.setPen(QPen(Qt::black));
    painter.setBrush(QBrush(Qt::white));
    outcome.pages = 1;
    for (const ListingText& heading : layout.headings) {
        if (heading.pointSize == 0) {
            drawTextAt(painter, heading.x, heading.y, text(heading.text));
            continue;
        }
        QFont smaller = measure.font();
        smaller.setPointSize(heading.pointSize);
        painter.setFont(smaller);
        drawTextAt(painter, heading.x, heading.y, text(heading.text));
        painter.setFont(measure.font());
    }

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
