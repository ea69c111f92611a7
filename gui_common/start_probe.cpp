#include "gui_common/start_probe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

namespace quintor {

namespace {

// Watches every widget's painting for the first one inside the window.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(QWidget* window) : QObject(window), window_(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !seen_ && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window() == window_) {
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
    QWidget* window_;
    bool seen_ = false;
};

} // namespace

void quitOnceShownIfProbed(QWidget* window) {
    const char* probe = std::getenv("QUINTOR_START_PROBE");
    if (!probe || !*probe)
        return;
    QCoreApplication::instance()->installEventFilter(new FirstPaint(window));
}

} // namespace quintor
