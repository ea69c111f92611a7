#pragma once

#include <QPointF>
#include <QString>

#include <vector>

namespace quintor::test {

// The centres of the dark spots on the first page of a PDF, in millimetres from the sheet's
// top-left corner: the page is rendered by pdftoppm (poppler-utils) at dpi and each spot's
// centre is the mean of its pixels, which places it far finer than a pixel. Empty when the
// file cannot be rendered.
std::vector<QPointF> markCentresMillimetres(const QString& pdf, int dpi = 300);

// The largest distance from a centre of one list to the nearest of the other, both ways;
// a huge value when the lists differ in size.
double largestMarkDistance(const std::vector<QPointF>& a, const std::vector<QPointF>& b);

} // namespace quintor::test
