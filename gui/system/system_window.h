#pragma once

#include "core/byte_file.h"
#include "core/system_state.h"
#include "gui/system/system_host.h"

#include <QList>
#include <QString>
#include <QWidget>

#include <optional>

class QAction;
class QMdiSubWindow;
class QMenu;
class QTableView;
class QToolButton;

namespace quintor {

class Archive;
class FinalColumnsModel;
class NumberBoard;
class BevelPanel;
class ProgramContext;
class ShadowLabel;

// The system window: one system (marked numbers, final columns, file name, ...) with its
// board, labels, final-column grid, menus and tool buttons.
//
// Every menu item and tool button calls a slot named after its command (onSaveTriggered,
// onSelectColumnsTriggered, ...); the commands that open other windows live in the
// system_window_*.cpp files. A command whose window is not in the program yet stays disabled
// while its menu item is listed in pendingCommands() (system_window_pending.cpp). A dialog
// gets state() by reference and the window runs refreshSystemView() after it.
class SystemWindow : public QWidget {
    Q_OBJECT
public:
    // A new empty system named Sistem<number>.Qtr in the current folder.
    // host: the frame holding the window (nullptr for a window on its own); context: what the
    // program's windows share, kept by the frame for longer than the window.
    SystemWindow(SystemHost* host, ProgramContext& context, int newSystemNumber,
                 QWidget* parent = nullptr);
    ~SystemWindow() override;

    SystemState& state() { return state_; }
    const SystemState& state() const { return state_; }
    SystemHost* host() const { return host_; }
    ProgramContext& context() const { return context_; }
    QString fileName() const;
    void setFileName(const QString& name);

    // Shows the state: the initial system's labels, the final columns' labels and grid.
    void refreshSystemView();
    // Toggles n on the board and in the state (weight back to 50); no refresh, no modified flag.
    void toggleBoardMark(int n);
    // Redraws every mark from the state, then lays the window out again.
    void drawBoardMarks();
    // Caption, save caption and hint, recent-files menus.
    void showFileName();
    // Loads a file into this (new) window; false leaves no columns and no marks.
    bool loadSystem(const QString& name);
    // Writes the system to that file (the window's name stays); on success clears the
    // modified flag and records the name in the recent-files list. Asks before replacing
    // another program's change to the file, and shows what went wrong; false when not saved.
    bool saveSystemTo(const QString& name);
    // Centres the labels of the final-column panel and fits the grid to it.
    void layOutFinalColumnsPanel();
    // Places the board and the marked-number list at the board's scale.
    void layOutInitialSystemPanel();
    // Widget pixels per board unit: the board and the marked-number list grow with the window.
    qreal boardScale() const { return boardScale_; }
    // The window's size with the board at that scale and the final-column panel that wide.
    static QSize sizeForBoardScale(qreal scale, int finalPanelWidth);
    // The size of a new window in an area of that size: a good share of it, never more.
    static QSize defaultSize(QSize area);
    // The close question; true when the window may close.
    bool confirmClose();
    // The last close question was answered No: the changes were given up for a close that the
    // frame may still call off when another window refuses.
    bool changesGivenUp() const { return changesGivenUp_; }

    // The menu item or tool button with that objectName (nullptr when none).
    QAction* command(const QString& objectName) const;
    QToolButton* button(const QString& objectName) const;
    const QList<QMenu*>& menus() const { return menus_; }
    QMenu* userFunctionMenu() const { return userFunctionMenu_; }
    QMdiSubWindow* subWindow() const;

    FinalColumnsModel* columnsModel() const { return model_; }

    // Menu items whose windows do not exist yet; see system_window_pending.cpp.
    static const QStringList& pendingCommands();
    // The items that open the help; disabled when the program has no help to show.
    static const QStringList& helpCommands();

public slots:
    // A press of any mouse button on the board at x, y.
    void onBoardPressed(Qt::MouseButton button, int x, int y);
    void onNewTriggered();
    void onOpenTriggered();
    void onCloseTriggered();
    void onSaveTriggered();
    void onSaveAsTriggered();
    void onQuitTriggered();

    // Commands of other windows.
    void onSelectColumnsTriggered();
    void onCompareColumnsTriggered(); // with a winning column
    void onArchiveTriggered();        // winning-columns archive
    void onImportColumnsTriggered();
    void onFilterColumnsTriggered();
    void onExportColumnsTriggered();
    void onImportCsvTriggered();
    void onClearColumnsTriggered();
    void onRandomColumnsTriggered();
    void onColumnPriceTriggered();
    void onDeleteColumnsTriggered(); // the selected ones
    void onEditColumnTriggered();    // the selected one
    void onKeyboardColumnsTriggered();
    void onDistributionTriggered(); // of the numbers over the final columns
    void onWinningProbabilityTriggered();
    void onGuaranteeTriggered();
    void onGuaranteeHolesTriggered();
    void onCompleteGuaranteeTriggered();
    void onBacktestTriggered();    // the final columns played on the archive
    void onWalkForwardTriggered(); // the selection repeated before past draws, against chance
    void onNumberProbabilitiesTriggered();
    void onFixedNumbersTriggered();
    void onClearSystemTriggered();
    void onAddRandomNumberTriggered();
    void onRemoveRandomNumberTriggered();
    void onAddMostProbableTriggered();
    void onRemoveLeastProbableTriggered();
    void onPrintVerticalTriggered();   // vertical slips
    void onPrintHorizontalTriggered(); // horizontal slips
    void onPrintPaperTriggered();      // plain paper
    void onPrinterSetupTriggered();
    void onAddUserFunctionTriggered();
    void onDeleteUserFunctionTriggered();
    void onUserFunctionHelpTriggered();
    // Runs the user function of the clicked item of the user-function menu.
    void onUserFunctionTriggered();
    // Reloads the user-function list into the menu's items and shows the separator after them
    // when there is any.
    void reloadUserFunctions();
    void onHelpContentsTriggered();
    void onHelpSearchTriggered();
    void onQuickTourTriggered();
    // View > Zoom: the window, and with it the board, a step larger or smaller, or back to the
    // size of a new window.
    void onZoomInTriggered();
    void onZoomOutTriggered();
    void onZoomResetTriggered();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildPanels();
    void buildInitialSystemPanel();
    void buildFinalColumnsPanel();
    void buildCommands();
    // A menu of the menu bar; the user-function menu gets its places.
    QMenu* addCommandMenu(const QString& title);
    void addUserFunctionPlaces(QMenu* menu);
    // The Riapri submenu after the Apri item of menu.
    void addRecentFilesMenu(QMenu* menu);
    // The marked count, the initial-column count and the list of marked numbers.
    void refreshInitialSystem();
    // The final-column count, their cost and the grid.
    void refreshFinalColumns();
    void openRecent(int index);
    void refreshRecentMenus();
    // Asked when another program changed the file since this window read or saved it; true
    // when the user chooses to replace that program's version.
    bool confirmReplacingOtherChange(const QString& name);
    // The room the window may take: its MDI area, or the screen of a window on its own.
    QSize availableArea() const;
    // Resizes the window (its sub-window in the frame) towards that size, within its area.
    void zoomTo(QSize wanted);
    // The program's archive for a command that reads it, the archive window's loading finished.
    const Archive& loadedArchive();

    SystemHost* host_;
    ProgramContext& context_;
    SystemState state_;
    bool firstActivationDone_ = false;
    bool nameChosen_ = false; // loaded from or saved to its file at least once
    // The file as this window last read or saved it: a save finding it changed since asks.
    std::optional<DiskVersion> diskVersion_;
    bool changesGivenUp_ = false;
    qreal boardScale_ = 1.0;

    BevelPanel* toolPanel_ = nullptr;
    BevelPanel* initialSystemPanel_ = nullptr;
    BevelPanel* finalColumnsPanel_ = nullptr;
    NumberBoard* boardWidget_ = nullptr;
    QTableView* finalColumnsGrid_ = nullptr;
    FinalColumnsModel* model_ = nullptr;
    ShadowLabel* markedCountLabel_ = nullptr;
    ShadowLabel* initialColumnsLabel_ = nullptr;
    ShadowLabel* markedNumbersLabel_ = nullptr;
    ShadowLabel* finalColumnsLabel_ = nullptr;
    ShadowLabel* costLabel_ = nullptr;
    QList<QToolButton*> columnButtons_; // in the final-column panel above the grid
    QList<QMenu*> menus_;
    QMenu* userFunctionMenu_ = nullptr;
    QList<QAction*> recentItems_;              // the Riapri submenu's six items
    QList<QAction*> functionItems_;            // the fifteen places for user functions
    QAction* userFunctionSeparator_ = nullptr; // between the functions and the fixed items
};

} // namespace quintor
