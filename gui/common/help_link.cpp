#include "gui/common/help_link.h"

namespace quintor {

namespace {
HelpViewer* registeredViewer = nullptr;
}

void setHelpViewer(HelpViewer* viewer) {
    registeredViewer = viewer;
}

HelpViewer* helpViewer() {
    return registeredViewer;
}

bool helpAvailable() {
    return registeredViewer != nullptr;
}

void showHelpTopic(HelpTopic topic) {
    if (registeredViewer)
        registeredViewer->showTopic(static_cast<int>(topic));
}

void showHelpSearch() {
    if (registeredViewer)
        registeredViewer->showSearch();
}

} // namespace quintor
