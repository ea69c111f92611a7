#pragma once

class QWidget;

namespace quintor {

// For timing the start-up from outside: with QUINTOR_START_PROBE set in the environment, the
// first time `window` has been painted the program writes the line "mostrata" on its
// standard output and quits. Set to a class name instead of 1 (e.g. quintor::SystemWindow), it
// waits for the first painting inside a widget of that class. Without it, nothing happens. Call
// before showing the window.
void quitOnceShownIfProbed(QWidget* window);

} // namespace quintor
