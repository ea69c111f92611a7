#include "tests/gui/support/pdf_marks.h"

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <limits>

namespace quintor::test {

std::vector<QPointF> markCentresMillimetres(const QString& pdf, int dpi) {
    QTemporaryDir dir;
    const QString base = dir.filePath(QStringLiteral("pagina"));
    QProcess render;
    render.start(QStringLiteral("pdftoppm"),
                 {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-gray"),
                  QStringLiteral("-singlefile"), QStringLiteral("-f"), QStringLiteral("1"),
                  QStringLiteral("-l"), QStringLiteral("1"), pdf, base});
    if (!render.waitForFinished(60000) || render.exitCode() != 0)
        return {};
    const QImage image(base + QStringLiteral(".pgm"));
    if (image.isNull())
        return {};
    const int w = image.width();
    const int h = image.height();
    std::vector<char> seen(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0);
    auto dark = [&](int x, int y) { return qGray(image.pixel(x, y)) < 128; };
    std::vector<QPointF> centres;
    std::vector<QPoint> stack;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (seen[static_cast<std::size_t>(y) * w + x] || !dark(x, y))
                continue;
            double sx = 0;
            double sy = 0;
            long count = 0;
            stack.assign(1, QPoint(x, y));
            seen[static_cast<std::size_t>(y) * w + x] = 1;
            while (!stack.empty()) {
                const QPoint p = stack.back();
                stack.pop_back();
                sx += p.x() + 0.5;
                sy += p.y() + 0.5;
                ++count;
                for (const QPoint step :
                     {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
                    const QPoint q = p + step;
                    if (q.x() < 0 || q.y() < 0 || q.x() >= w || q.y() >= h)
                        continue;
                    char& mark = seen[static_cast<std::size_t>(q.y()) * w + q.x()];
                    if (!mark && dark(q.x(), q.y())) {
                        mark = 1;
                        stack.push_back(q);
                    }
                }
            }
            const double perMillimetre = dpi / 25.4;
            centres.emplace_back(sx / count / perMillimetre, sy / count / perMillimetre);
        }
    return centres;
}

double largestMarkDistance(const std::vector<QPointF>& a, const std::vector<QPointF>& b) {
    if (a.size() != b.size() || a.empty())
        return std::numeric_limits<double>::infinity();
    auto farthest = [](const std::vector<QPointF>& from, const std::vector<QPointF>& to) {
        double worst = 0;
        for (const QPointF& p : from) {
            double nearest = std::numeric_limits<double>::infinity();
            for (const QPointF& q : to)
                nearest = std::min(nearest, std::hypot(p.x() - q.x(), p.y() - q.y()));
            worst = std::max(worst, nearest);
        }
        return worst;
    };
    return std::max(farthest(a, b), farthest(b, a));
}

} // namespace quintor::test
