#pragma once

#include "core/system_state.h"
#include "gui/system/system_host.h"

#include <QList>
#include <QString>
#include <QWidget>

class QAction;
class QLabel;
class QMdiSubWindow;
class QMenu;
class QTableView;
class QToolButton;

namespace quintor {

class FinalColumnsModel;
class NumberBoard;
class BevelPanel;

// The system window: one system (marked numbers, final columns, file name, ...) with its
// board, labels, final-column grid, menus and tool buttons.
//
// Commands of other windows: every menu item and tool button calls a slot named after its
// handler (SpeedButton14Click, Importacolonne1Click, ...). The slots of windows not yet in the
// program are stubs in usis_pending.cpp and their items stay disabled while their menu item
// is listed in pendingCommands() there; to bring a command to life, define its slot in your
// own file, remove the stub and the list entry. A dialog gets state() by reference and the
// window runs refreshSystemView() after it.
class SystemWindow : public QWidget {
    Q_OBJECT
public:
    // FormCreate: a new empty system named Sistem<number>.Qtr in the current folder.
    // host: the frame holding the window (nullptr for a window on its own).
    SystemWindow(SystemHost* host, int newSystemNumber, QWidget* parent = nullptr);
    ~SystemWindow() override;

    SystemState& state() { return state_; }
    const SystemState& state() const { return state_; }
    SystemHost* host() const { return host_; }
    QString fileName() const;
    void setFileName(const QString& name);

    // Display refresh: counts, initial columns, list of marked numbers, final columns, cost.
    void refreshSystemView();
    // Toggles n on the board and in the state (weight back to 50); no refresh, no modified flag.
    void toggleBoardMark(int n);
    // Redraws every mark from the state, then lays the window out again.
    void drawBoardMarks();
    // Caption, save caption and hint, recent-files menus.
    void showFileName();
    // Loads a file into this (new) window; false leaves no columns and no marks.
    bool readSystemFile(const QString& name);
    // Writes the system; on success clears the modified flag and records the name in the
    // recent-files list.
    bool writeSystemFile(const QString& name);
    // Centres the labels of the final-column panel and fits the grid to it.
    void FormResize();
    // The close question; true when the window may close.
    bool FormCloseQuery();
    // The last close question was answered No: the changes were given up for a close that the
    // frame may still call off when another window refuses.
    bool changesGivenUp() const { return changesGivenUp_; }

    // The menu item or tool button with that objectName (nullptr when none).
    QAction* command(const QString& objectName) const;
    QToolButton* button(const QString& objectName) const;
    const QList<QMenu*>& menus() const { return menus_; }
    QMenu* userFunctionMenu() const { return userMenu_; }
    QMdiSubWindow* subWindow() const;

    FinalColumnsModel* columnsModel() const { return model_; }

    // Menu items whose windows do not exist yet; see usis_pending.cpp.
    static const QStringList& pendingCommands();
    // The items that open the help; disabled when the program has no help to show.
    static const QStringList& helpCommands();

    static QString saveErrorMessage();

public slots:
    void TAVMouseDown(Qt::MouseButton button, int x, int y);
    void SpeedButton1Click(); // Nuovo
    void SpeedButton2Click(); // Apri
    void SF1Click();
    void SF2Click();
    void SF3Click();
    void SF4Click();
    void SF5Click();
    void SF6Click();
    void Chiudi1Click();
    void Salva1Click();
    void Salvaconnome1Click();
    void Fine1Click();

    // Commands of other windows.
    void SpeedButton14Click(); // selection of final columns
    void SpeedButton16Click(); // comparison with the winning column
    void SpeedButton4Click();  // winning-columns archive
    void Importacolonne1Click();
    void Filtracolonnefinali1Click();
    void Esportacolonne1Click();
    void Importacolonnedacsv1Click();
    void Azzeracolonne1Click();
    void Estraicolonnecasualmente1Click();
    void Costocolonne1Click();
    void SpeedButton19Click(); // delete selected columns
    void SpeedButton7Click();  // modify the selected column
    void SpeedButton21Click(); // columns from the keyboard
    void SpeedButton18Click(); // distribution of signs
    void SpeedButton20Click(); // probability of winning
    void Garanziadelsistema1Click();
    void Buchidellagaranzia1Click();
    void Completalagaranzia1Click();
    void Verificasullarchivio1Click();
    void SpeedButton8Click(); // number probabilities
    void Fisse1Click();
    void Azzerasistema1Click();
    void SpeedButton23Click(); // random mark
    void Togliunsegnocasualmente1Click();
    void Aggiungisegnipiprobabili1Click();
    void Toglisegnimenoprobabili1Click();
    void SpeedButton15Click(); // vertical slips
    void SpeedButton17Click(); // horizontal slips
    void SpeedButton22Click(); // plain paper
    void Impostastampante1Click();
    void Aggiunginuovafunzione1Click();
    void EliminaFunzioneUtente1Click();
    void COMECREARLE1Click();
    // Runs the user function of the clicked item fu1..fu15.
    void fu1Click();
    // Reloads the user-function list into fu1..fu15 and N8.
    void carica_funzioni_utente();
    void Sommario1Click();
    void Cercaargomento1Click();
    void Quintorinpochisecondi1Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildPanels();
    void buildCommands();
    void openRecent(int index);
    void refreshRecentMenus();
    // The overwrite question of the save commands; true on Yes.
    bool confirmOverwrite();

    SystemHost* host_;
    SystemState state_;
    bool firstActivationDone_ = false;
    bool nameChosen_ = false; // loaded from or saved to its file at least once
    bool changesGivenUp_ = false;

    BevelPanel* Miopan1 = nullptr; // the tool buttons
    BevelPanel* MP1 = nullptr;
    BevelPanel* MP2 = nullptr;
    NumberBoard* TAV = nullptr;
    QTableView* COL = nullptr;
    FinalColumnsModel* model_ = nullptr;
    // Shadowed pairs: coloured label first, its white shadow second.
    QLabel* Label8 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label12 = nullptr;
    QLabel* Label11 = nullptr;
    QLabel* Label14 = nullptr;
    QLabel* Label13 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label16 = nullptr;
    QLabel* Label15 = nullptr;
    QList<QToolButton*> columnButtons_; // in MP2 above the grid
    QList<QMenu*> menus_;
    QMenu* userMenu_ = nullptr;
    QList<QAction*> recentItems_;   // SF1..SF6
    QList<QAction*> functionItems_; // fu1..fu15
    QAction* N8 = nullptr;          // between the functions and the fixed items
};

} // namespace quintor
