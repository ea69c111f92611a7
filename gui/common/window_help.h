#pragma once

#include "gui/common/help_link.h"

class QAbstractButton;
class QWidget;

namespace quintor {

// Gives a window its page of the guide: F1 anywhere in the window opens that page, and so
// does button (its "?" or "Spiegazioni" button) when given, which is enabled only when the
// guide is there. The help window comes up beside the window, without blocking it, even when
// the window is modal. Call it once, from the window's constructor.
void attachHelpTopic(QWidget* window, HelpTopic topic, QAbstractButton* button = nullptr);

} // namespace quintor
