#pragma once

namespace quintor {

// Help topics by context number, as the help buttons and menu items ask for them.
enum class HelpTopic : int {
    Contents = 1,
    QuickTour = 2,
    Archive = 3,
    NumberProbabilities = 12,
    VerticalPrinting = 13,
    Selection = 14,
    Distribution = 15,
    FixedNumbers = 16,
    HorizontalPrinting = 17,
    UserFunctions = 18,
    WalkForward = 30,
    GuaranteeTable = 31,
    GuaranteeHoles = 32,
    GuaranteeRepair = 33,
    ArchiveBacktest = 34,
};

// What shows the help: the program's help window registers itself at start-up. Windows
// below it in the program reach it only through these functions.
class HelpViewer {
public:
    virtual ~HelpViewer() = default;
    virtual void showTopic(int context) = 0;
    // The keyword index with the focus in its field, ready for typing.
    virtual void showSearch() = 0;
};

// The viewer stays owned by the caller; nullptr withdraws it.
void setHelpViewer(HelpViewer* viewer);
HelpViewer* helpViewer();
// A "Spiegazioni" button is enabled only when this is true.
bool helpAvailable();
// Both do nothing when no viewer is registered.
void showHelpTopic(HelpTopic topic);
void showHelpSearch();

} // namespace quintor
