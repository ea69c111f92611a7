#include "gui/common/simulated_draws_notice.h"

#include "core/archive.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPalette>
#include <QWidget>

namespace quintor {

void addSimulatedDrawsNotice(QWidget* window, const Archive& archive) {
    if (!isSimulatedArchive(archive))
        return;
    auto* notice = new QLabel(
        QStringLiteral("Calcolato su estrazioni simulate, non reali: importare le estrazioni "
                       "reali da \u00abGestione colonne vincenti\u00bb."),
        window);
    notice->setObjectName(QStringLiteral("simulatedDrawsNotice"));
    notice->setWordWrap(true);
    notice->setMargin(4);
    notice->setAutoFillBackground(true);
    QPalette colours = notice->palette();
    colours.setColor(QPalette::Window, QColor(255, 243, 176));
    colours.setColor(QPalette::WindowText, Qt::black);
    notice->setPalette(colours);
    notice->setAccessibleName(QStringLiteral("Avviso: estrazioni simulate"));
    if (auto* layout = qobject_cast<QBoxLayout*>(window->layout())) {
        layout->addWidget(notice);
        return;
    }
    // Placed by hand below everything else, across the whole width.
    const int width = window->width();
    const int height = notice->heightForWidth(width);
    notice->setGeometry(0, window->height(), width, height);
    const QSize grown(width, window->height() + height);
    if (window->minimumSize() == window->maximumSize())
        window->setFixedSize(grown);
    else
        window->resize(grown);
}

} // namespace quintor
