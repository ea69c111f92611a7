#pragma once

class QWidget;

namespace quintor {

class Archive;

// When archive holds the simulated draws of a first start, a strip at the foot of window says
// that the figures it shows come from them, so that nobody plays by them. A window of fixed
// size grows by the strip's height; a window with a layout gets the strip as its last row.
// Nothing happens for real draws.
void addSimulatedDrawsNotice(QWidget* window, const Archive& archive);

} // namespace quintor
