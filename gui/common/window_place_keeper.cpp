#include "gui/common/window_place_keeper.h"

#include "core/program_folder.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace quintor {

namespace {

WindowPlaceKeeper* running = nullptr;

// Windows placed by the keeper, and those shown at least once: only a window that was really
// on the screen is recorded.
const char* const placedProperty = "quintorPlaced";

bool keptWindow(const QWidget* widget) {
    if (!widget->isWindow() || widget->objectName().isEmpty() ||
        widget->objectName().contains(QLatin1Char(' ')))
        return false;
    const Qt::WindowType type = widget->windowType();
    return type == Qt::Window || type == Qt::Dialog;
}

// The rectangle moved and shrunk as little as needed to lie inside area.
QRect inside(QRect rect, const QRect& area) {
    rect.setSize(rect.size().boundedTo(area.size()));
    rect.moveLeft(std::clamp(rect.left(), area.left(), area.right() - rect.width() + 1));
    rect.moveTop(std::clamp(rect.top(), area.top(), area.bottom() - rect.height() + 1));
    return rect;
}

} // namespace

WindowPlaceKeeper::WindowPlaceKeeper() : places_(loadWindowPlaces(programFolder())) {
    running = this;
    qApp->installEventFilter(this);
}

WindowPlaceKeeper::~WindowPlaceKeeper() {
    if (running == this)
        running = nullptr;
}

WindowPlaceKeeper* WindowPlaceKeeper::current() {
    return running;
}

std::optional<WindowPlace> WindowPlaceKeeper::place(const QString& kind) const {
    const auto found = places_.find(kind.toStdString());
    if (found == places_.end())
        return std::nullopt;
    return found->second;
}

void WindowPlaceKeeper::remember(const QString& kind, const QRect& geometry, bool maximized) {
    if (geometry.isEmpty())
        return;
    const WindowPlace place{geometry.x(), geometry.y(), geometry.width(), geometry.height(),
                            maximized};
    auto [entry, added] = places_.try_emplace(kind.toStdString(), place);
    if (!added && entry->second == place)
        return;
    entry->second = place;
    // Written at once: a program killed later still opens its windows where they were.
    saveWindowPlaces(programFolder(), places_);
}

bool WindowPlaceKeeper::eventFilter(QObject* watched, QEvent* event) {
    if ((event->type() == QEvent::Show || event->type() == QEvent::Hide) &&
        watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        if (keptWindow(widget)) {
            if (event->type() == QEvent::Show)
                restore(widget);
            else
                record(widget);
        }
    }
    return QObject::eventFilter(watched, event);
}

void WindowPlaceKeeper::restore(QWidget* window) const {
    if (window->property(placedProperty).toBool())
        return;
    window->setProperty(placedProperty, true);
    const std::optional<WindowPlace> known = place(window->objectName());
    if (!known)
        return;
    QRect rect(known->x, known->y, known->width, known->height);
    const QScreen* screen = QGuiApplication::screenAt(rect.center());
    if (!screen)
        screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const bool resizable = window->minimumSize() != window->maximumSize();
    if (!resizable)
        rect.setSize(window->size());
    else if (window->layout())
        rect.setSize(rect.size().expandedTo(window->minimumSizeHint()));
    // The place is the frame's corner and the client's size: the frame must fit too.
    const QSize frameExtra = window->frameGeometry().size() - window->size();
    rect = inside(rect, screen->availableGeometry().adjusted(0, 0, -frameExtra.width(),
                                                             -frameExtra.height()));
    if (resizable)
        window->resize(rect.size());
    window->move(rect.topLeft());
    if (resizable)
        window->setWindowState(known->maximized ? window->windowState() | Qt::WindowMaximized
                                                : window->windowState() & ~Qt::WindowMaximized);
}

void WindowPlaceKeeper::record(QWidget* window) {
    if (!window->property(placedProperty).toBool())
        return;
    const bool maximized = window->isMaximized();
    // A maximized window keeps the place it goes back to when it is restored.
    const QRect normal = maximized ? window->normalGeometry() : window->geometry();
    const QPoint framePosition = maximized ? normal.topLeft() : window->pos();
    remember(window->objectName(), QRect(framePosition, normal.size()), maximized);
}

} // namespace quintor
