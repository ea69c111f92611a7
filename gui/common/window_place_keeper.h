#pragma once

#include "core/window_places.h"

#include <QObject>
#include <QRect>
#include <QString>

#include <optional>

class QWidget;

namespace quintor {

// Remembers where the user left each kind of window and puts the next one of that kind there,
// in this run and the next ones (core/window_places.h). Watching the application, it places
// every top-level window with an objectName as it is shown and records it as it is hidden; a
// window that is not resizable keeps its own size and gets only its position. Places are kept
// on the screen: a window is never put where it cannot be seen or reached.
class WindowPlaceKeeper : public QObject {
    Q_OBJECT
public:
    // Reads the places of the program folder and starts watching the application's windows.
    WindowPlaceKeeper();
    ~WindowPlaceKeeper() override;

    // The last place of a kind of window the keeper cannot see on its own (a window inside
    // the frame), and recording one.
    std::optional<WindowPlace> place(const QString& kind) const;
    void remember(const QString& kind, const QRect& geometry, bool maximized = false);

    // The keeper the program runs with, or null (tests that do not make one).
    static WindowPlaceKeeper* current();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void restore(QWidget* window) const;
    void record(QWidget* window);

    WindowPlaces places_;
};

} // namespace quintor
