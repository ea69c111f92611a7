#include "gui/common/start_probe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace quintor {

namespace {

// Watches every widget's painting for the first one inside the window, or for the first one
// inside a widget of the class named, when a class is named.
class FirstPaint : public QObject {
public:
    FirstPaint(QWidget* window, QByteArray className)
        : QObject(window), window_(window), className_(std::move(className)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !seen_ && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window() == window_ &&
            (className_.isEmpty() || insideNamedClass(static_cast<QWidget*>(watched)))) {
            seen_ = true;
            // Queued: the painting this event starts reaches the screen before the line goes.
            QTimer::singleShot(0, [] {
                std::fputs("mostrata\n", stdout);
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool insideNamedClass(const QWidget* widget) const {
        for (; widget; widget = widget->parentWidget())
            if (widget->inherits(className_.constData()))
                return true;
        return false;
    }

    QWidget* window_;
    QByteArray className_;
    bool seen_ = false;
};

} // namespace

void quitOnceShownIfProbed(QWidget* window) {
    const char* probe = std::getenv("QUINTOR_START_PROBE");
    if (!probe || !*probe)
        return;
    const QByteArray className = qstrcmp(probe, "1") == 0 ? QByteArray() : QByteArray(probe);
    QCoreApplication::instance()->installEventFilter(new FirstPaint(window, className));
}

} // namespace quintor
