#include "gui/system/system_window.h"

#include "core/column_price.h"
#include "core/combinatorics.h"
#include "core/money.h"
#include "core/print_settings.h"
#include "core/program_folder.h"
#include "core/random.h"
#include "core/recent_files.h"
#include "core/system_file.h"
#include "gui/common/bevel_panel.h"
#include "gui/common/feedback.h"
#include "gui/common/help_link.h"
#include "gui/common/program_context.h"
#include "gui/common/prompter.h"
#include "gui/common/shadow_label.h"
#include "gui/system/board.h"
#include "gui/system/columns_model.h"
#include "gui/userfunc/user_function_commands.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QHeaderView>
#include <QIcon>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>
#include <QToolButton>

#include <cmath>
#include <filesystem>

// The pictures are compiled into a static library, whose resources are not registered on
// their own.
static void registerPictures() {
    Q_INIT_RESOURCE(icons);
}

namespace quintor {

namespace {

constexpr int toolPanelHeight = 38;
constexpr int gridTop = 92;
// The initial-system panel: the captions above, then the board and the marked numbers side by
// side, both growing with the board's scale. At scale 1 the panel is 337 wide.
constexpr int boardLeft = 20;
constexpr int boardTop = 93;
constexpr int boardListGap = 16;
constexpr int listWidth = 153;
constexpr int listRightMargin = 11;
constexpr int panelBottomMargin = 12;
constexpr int listFontPixels = 16;
// The final-column panel is never narrower than its grid at the grid's own size.
constexpr int minimumFinalPanelWidth = 260;
constexpr int gridSideMargin = 8;

// The marked-number list grows more slowly than the board: a text as large as the board's
// scale would ask for is far larger than reading needs.
qreal listScale(qreal boardScale) {
    return std::sqrt(boardScale);
}

int leftPanelWidth(qreal scale) {
    return boardLeft + boardListGap + listRightMargin + ShadowLabel::shadowOffset.x() +
           int(std::lround(NumberBoard::boardWidth * scale + listWidth * listScale(scale)));
}

// The largest board scale (never below 1) whose panel fits a system window of that size, with
// room left for the final-column panel.
qreal fittingBoardScale(QSize window) {
    const qreal byHeight = (window.height() - toolPanelHeight - boardTop - panelBottomMargin) /
                           qreal(NumberBoard::boardHeight);
    const int roomForPanel = window.width() - minimumFinalPanelWidth;
    if (byHeight <= 1 || leftPanelWidth(1) >= roomForPanel)
        return 1;
    if (leftPanelWidth(byHeight) <= roomForPanel)
        return byHeight;
    // The panel's width grows with the scale: the widest scale that fits, by halving.
    qreal fits = 1, tooWide = byHeight;
    while (tooWide - fits > 0.001) {
        const qreal middle = (fits + tooWide) / 2;
        (leftPanelWidth(middle) <= roomForPanel ? fits : tooWide) = middle;
    }
    return fits;
}

// The final-column panel of a new window: the grid with room to spare.
constexpr int defaultFinalPanelWidth = 380;
// Each zoom step grows or shrinks the board by a quarter.
constexpr qreal zoomStep = 1.25;
// A new window takes up to this share of the area's height and width.
constexpr qreal defaultHeightShare = 0.85;
constexpr qreal defaultWidthShare = 0.9;

int windowHeightFor(qreal scale) {
    return toolPanelHeight + boardTop + panelBottomMargin +
           int(std::lround(NumberBoard::boardHeight * scale));
}

const QColor darkRed(128, 0, 0);

std::filesystem::path toPath(const QString& name) {
    return std::filesystem::path(name.toStdString());
}

QString fileNamePart(const QString& path) {
    return QFileInfo(path).fileName();
}

QString saveErrorMessage() {
    return QStringLiteral(
        "Si è verificato un errore durante il salvataggio del sistema !\rImpossibile scrivere "
        "sul disco.");
}

QFont labelFont(int pixels, bool bold = true) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// The picture of a tool button: the desktop's icon theme where it has one for the command,
// else the program's own drawing, which is sharp at any size.
QIcon toolIcon(const QString& name) {
    static const QHash<QString, QString> themeNames = {
        {QStringLiteral("new"), QStringLiteral("document-new")},
        {QStringLiteral("open"), QStringLiteral("document-open")},
        {QStringLiteral("save"), QStringLiteral("document-save")},
        {QStringLiteral("delete"), QStringLiteral("edit-delete")},
        {QStringLiteral("print-paper"), QStringLiteral("document-print")},
        {QStringLiteral("keyboard"), QStringLiteral("input-keyboard")},
    };
    static const bool registered = (registerPictures(), true);
    Q_UNUSED(registered);
    const QIcon own(QStringLiteral(":/icons/%1.svg").arg(name));
    const QString theme = themeNames.value(name);
    return theme.isEmpty() ? own : QIcon::fromTheme(theme, own);
}

enum class Place { None, Toolbar, ColumnPanel };

struct CommandDef {
    const char* menu;
    const char* item; // objectName of the menu item
    const char* caption;
    const char* shortcut; // portable text, empty for none
    const char* itemHint; // empty for none
    const char* button;   // objectName of the tool button, empty for none
    const char* buttonHint;
    Place place;
    const char* icon; // picture of the tool button, see toolIcon
    void (SystemWindow::*slot)();
    bool separatorAfter = false;
};

// The menus and tool buttons, in menu order. The File menu's recent-files submenu is added
// by buildCommands after the Apri item.
const CommandDef commandTable[] = {
    {"&File", "newAction", "&Nuovo", "Ctrl+N", "", "newButton",
     "Nuovo sistema|Per lavorare su un nuovo sistema.", Place::Toolbar, "new",
     &SystemWindow::onNewTriggered},
    {"&File", "openAction", "&Apri", "Ctrl+A", "", "openButton",
     "Apri sistema|Carica un sistema dal disco.", Place::Toolbar, "open",
     &SystemWindow::onOpenTriggered},
    {"&File", "closeAction", "&Chiudi", "Ctrl+F4", "Chiude il sistema attivo.", "", "", Place::None,
     "", &SystemWindow::onCloseTriggered},
    {"&File", "saveAction", "&Salva", "Ctrl+S", "", "saveButton",
     "Salva sistema|Salva il sistema attivo con il nome attuale.", Place::Toolbar, "save",
     &SystemWindow::onSaveTriggered},
    {"&File", "saveAsAction", "Sal&va con altro nome", "Ctrl+V", "", "", "", Place::None, "",
     &SystemWindow::onSaveAsTriggered, true},
    {"&File", "quitAction", "F&ine", "Alt+F4", "Chiude il programma Quintor", "", "", Place::None,
     "", &SystemWindow::onQuitTriggered},

    {"&Colonne", "selectColumnsAction", "&Seleziona colonne finali", "", "", "selectColumnsButton",
     "Seleziona colonne finali|Questo è il pulsante più importante: apre la scheda per "
     "selezionare le colonne finali, in bocca al lupo !",
     Place::Toolbar, "select", &SystemWindow::onSelectColumnsTriggered},
    {"&Colonne", "compareColumnsAction", "S&poglio delle colonne", "", "", "compareColumnsButton",
     "Spoglio delle colonne|Permette di confrontare le colonne giocate con la colonna vincente.",
     Place::Toolbar, "compare", &SystemWindow::onCompareColumnsTriggered},
    {"&Colonne", "archiveAction", "&Gestione colonne vincenti", "", "", "archiveButton",
     "Gestione colonne vincenti", Place::Toolbar, "archive", &SystemWindow::onArchiveTriggered,
     true},
    {"&Colonne", "importColumnsAction", "&Importa colonne", "", "", "", "", Place::None, "",
     &SystemWindow::onImportColumnsTriggered},
    {"&Colonne", "importCsvAction", "Importa colonne da CSV", "Ctrl+Shift+I",
     "Aggiunge le colonne di un file CSV o di testo (sei numeri per riga).", "", "", Place::None,
     "", &SystemWindow::onImportCsvTriggered},
    {"&Colonne", "exportColumnsAction", "Espo&rta colonne", "Ctrl+Shift+E",
     "Scrive le colonne finali in un file CSV o di testo.", "", "", Place::None, "",
     &SystemWindow::onExportColumnsTriggered},
    {"&Colonne", "filterColumnsAction", "&Filtra colonne finali", "Ctrl+Shift+F",
     "Elimina le colonne finali che non superano i filtri scelti.", "", "", Place::None, "",
     &SystemWindow::onFilterColumnsTriggered},
    {"&Colonne", "clearColumnsAction", "&Azzera colonne", "", "", "", "", Place::None, "",
     &SystemWindow::onClearColumnsTriggered},
    {"&Colonne", "randomColumnsAction", "&Estrai colonne casualmente", "", "", "", "", Place::None,
     "", &SystemWindow::onRandomColumnsTriggered},
    {"&Colonne", "columnPriceAction", "&Cambia costo di una colonna", "", "", "", "", Place::None,
     "", &SystemWindow::onColumnPriceTriggered, true},
    {"&Colonne", "deleteColumnsAction", "&Taglia", "", "", "deleteColumnsButton",
     "Elimina colonne|Elimina le colonne selezionate.", Place::ColumnPanel, "delete",
     &SystemWindow::onDeleteColumnsTriggered},
    {"&Colonne", "editColumnAction", "&Modifica", "", "", "editColumnButton",
     "Modifica la colonna selezionata|Permette di modificare la colonna selezionata.",
     Place::ColumnPanel, "edit", &SystemWindow::onEditColumnTriggered},
    {"&Colonne", "keyboardColumnsAction", "C&olonne da tastiera", "", "", "keyboardColumnsButton",
     "Colonne da tastiera|Permette di aggiungere colonne manualmente.", Place::ColumnPanel,
     "keyboard", &SystemWindow::onKeyboardColumnsTriggered, true},
    {"&Colonne", "distributionAction", "&Distribuzione dei segni", "", "", "distributionButton",
     "Distribuzione dei segni|Visualizza la distribuzione dei segni.", Place::Toolbar,
     "distribution", &SystemWindow::onDistributionTriggered},
    {"&Colonne", "winningProbabilityAction", "Calcola probabilità di &vincita", "", "",
     "winningProbabilityButton",
     "Calcola la probabilità di vincita|Viene calcolata la probabilità di vincita delle colonne.",
     Place::Toolbar, "probability", &SystemWindow::onWinningProbabilityTriggered, true},
    {"&Colonne", "guaranteeAction", "Gara&nzia del sistema", "Ctrl+Shift+G",
     "Mostra quante combinazioni dei segni le colonne finali coprono: t punti se m numeri "
     "estratti sono tra i segni.",
     "", "", Place::None, "", &SystemWindow::onGuaranteeTriggered},
    {"&Colonne", "guaranteeHolesAction", "&Buchi della garanzia", "Ctrl+Shift+B",
     "Elenca le combinazioni dei segni che nessuna colonna finale copre.", "", "", Place::None, "",
     &SystemWindow::onGuaranteeHolesTriggered},
    {"&Colonne", "completeGuaranteeAction", "Comp&leta la garanzia", "Ctrl+Shift+L",
     "Aggiunge colonne finali fino a garantire il risultato scelto.", "", "", Place::None, "",
     &SystemWindow::onCompleteGuaranteeTriggered},
    {"&Colonne", "backtestAction", "Verifica sull'arc&hivio", "Ctrl+Shift+V",
     "Gioca le colonne finali su tutte le estrazioni dell'archivio.", "", "", Place::None, "",
     &SystemWindow::onBacktestTriggered},
    {"&Colonne", "walkForwardAction", "Metodo contro il caso s&ulle ultime estrazioni",
     "Ctrl+Shift+M",
     "Ripete la selezione prima di ognuna delle ultime estrazioni e la confronta con sistemi "
     "casuali.",
     "", "", Place::None, "", &SystemWindow::onWalkForwardTriggered},

    {"&Sistema", "numberProbabilitiesAction", "&Modifica probabilità dei numeri", "", "",
     "numberProbabilitiesButton", "Modifica probabilità dei numeri", Place::Toolbar, "weights",
     &SystemWindow::onNumberProbabilitiesTriggered},
    {"&Sistema", "fixedNumbersAction", "&Fisse", "",
     "Specifica i numeri che saranno presenti in tutte le colonne", "", "", Place::None, "",
     &SystemWindow::onFixedNumbersTriggered},
    {"&Sistema", "clearSystemAction", "A&zzera sistema", "", "", "", "", Place::None, "",
     &SystemWindow::onClearSystemTriggered, true},
    {"&Sistema", "addRandomNumberAction", "&Aggiungi numero casualmente", "", "",
     "addRandomNumberButton", "Segno casuale|Aggiunge un segno casuale al sistema.", Place::Toolbar,
     "random", &SystemWindow::onAddRandomNumberTriggered},
    {"&Sistema", "removeRandomNumberAction", "&Togli un numero casualmente", "", "", "", "",
     Place::None, "", &SystemWindow::onRemoveRandomNumberTriggered},
    {"&Sistema", "addMostProbableAction", "A&ggiungi numeri più probabili", "", "", "", "",
     Place::None, "", &SystemWindow::onAddMostProbableTriggered},
    {"&Sistema", "removeLeastProbableAction", "T&ogli numeri meno probabili", "", "", "", "",
     Place::None, "", &SystemWindow::onRemoveLeastProbableTriggered},

    {"Stam&pa", "printVerticalAction", "&Verticale su schedine", "", "", "printVerticalButton",
     "Stampa verticale delle colonne su schedine", Place::Toolbar, "print-vertical",
     &SystemWindow::onPrintVerticalTriggered},
    {"Stam&pa", "printHorizontalAction", "&Orizzontale su schedine", "", "",
     "printHorizontalButton", "Stampa orizzontale delle colonne su schedine", Place::Toolbar,
     "print-horizontal", &SystemWindow::onPrintHorizontalTriggered},
    {"Stam&pa", "printPaperAction", "&Su carta comune", "", "", "printPaperButton",
     "Stampa colonne su carta|Apre la scheda per la gestione della stampa su carta semplice.",
     Place::Toolbar, "print-paper", &SystemWindow::onPrintPaperTriggered, true},
    {"Stam&pa", "printerSetupAction", "&Imposta stampante", "", "", "", "", Place::None, "",
     &SystemWindow::onPrinterSetupTriggered},

    {"Funzioni &Utente", "addUserFunctionAction", "Aggiungi nuova funzione", "", "", "", "",
     Place::None, "", &SystemWindow::onAddUserFunctionTriggered},
    {"Funzioni &Utente", "deleteUserFunctionAction", "Elimina Funzione", "", "", "", "",
     Place::None, "", &SystemWindow::onDeleteUserFunctionTriggered},
    {"Funzioni &Utente", "userFunctionHelpAction", "&COME CREARLE", "", "", "", "", Place::None, "",
     &SystemWindow::onUserFunctionHelpTriggered},

    {"&Visualizza", "zoomInAction", "&Ingrandisci", "Ctrl++",
     "Ingrandisce la tavola dei numeri e la finestra del sistema.", "", "", Place::None, "",
     &SystemWindow::onZoomInTriggered},
    {"&Visualizza", "zoomOutAction", "&Riduci", "Ctrl+-",
     "Riduce la tavola dei numeri e la finestra del sistema.", "", "", Place::None, "",
     &SystemWindow::onZoomOutTriggered},
    {"&Visualizza", "zoomResetAction", "&Dimensione normale", "Ctrl+0",
     "Riporta la finestra del sistema alla dimensione iniziale.", "", "", Place::None, "",
     &SystemWindow::onZoomResetTriggered},

    {"&Guida in linea", "helpContentsAction", "&Sommario", "F1", "", "", "", Place::None, "",
     &SystemWindow::onHelpContentsTriggered},
    {"&Guida in linea", "helpSearchAction", "&Cerca argomento", "", "", "", "", Place::None, "",
     &SystemWindow::onHelpSearchTriggered},
    {"&Guida in linea", "quickTourAction", "&Quintor in pochi secondi", "", "", "", "", Place::None,
     "", &SystemWindow::onQuickTourTriggered},
};

// The tool bar's order, left to right, with a gap before each group.
const char* const toolbarOrder[] = {"newButton",
                                    "openButton",
                                    "saveButton",
                                    nullptr,
                                    "selectColumnsButton",
                                    "compareColumnsButton",
                                    "archiveButton",
                                    nullptr,
                                    "distributionButton",
                                    "winningProbabilityButton",
                                    "numberProbabilitiesButton",
                                    "addRandomNumberButton",
                                    nullptr,
                                    "printVerticalButton",
                                    "printHorizontalButton",
                                    "printPaperButton"};

// The menu item of a command, enabled unless its window is still on its way or it needs the
// guide and there is none.
QAction* commandAction(SystemWindow* window, const CommandDef& def, const QStringList& pending) {
    auto* action = new QAction(QString::fromUtf8(def.caption), window);
    action->setObjectName(QString::fromUtf8(def.item));
    if (*def.shortcut)
        action->setShortcut(QKeySequence(QString::fromLatin1(def.shortcut)));
    if (*def.itemHint)
        setHint(action, QString::fromUtf8(def.itemHint));
    QObject::connect(action, &QAction::triggered, window, def.slot);
    action->setEnabled(
        !pending.contains(action->objectName()) &&
        (helpAvailable() || !SystemWindow::helpCommands().contains(action->objectName())));
    return action;
}

// The tool button of a command on panel, enabled whenever its menu item is.
QToolButton* commandButton(QWidget* panel, SystemWindow* window, const CommandDef& def,
                           QAction* action) {
    auto* button = new QToolButton(panel);
    button->setObjectName(QString::fromUtf8(def.button));
    button->setAutoRaise(true);
    button->setIcon(toolIcon(QString::fromUtf8(def.icon)));
    button->setIconSize(QSize(24, 24));
    button->setFixedSize(32, 32);
    const QString hint = QString::fromUtf8(def.buttonHint);
    setHint(button, hint);
    button->setAccessibleName(shortHint(hint));
    button->setEnabled(action->isEnabled());
    QObject::connect(button, &QToolButton::clicked, window, def.slot);
    QObject::connect(action, &QAction::enabledChanged, button, &QToolButton::setEnabled);
    return button;
}

// The tool bar's buttons from the left in toolbarOrder, a gap where it has none.
void placeToolbarButtons(const QHash<QString, QToolButton*>& buttons) {
    int x = 4;
    for (const char* name : toolbarOrder) {
        if (!name) {
            x += 10;
            continue;
        }
        if (QToolButton* b = buttons.value(QString::fromLatin1(name))) {
            b->move(x, 3);
            x += 34;
        }
    }
}

} // namespace

SystemWindow::SystemWindow(SystemHost* host, ProgramContext& context, int newSystemNumber,
                           QWidget* parent)
    : QWidget(parent), host_(host), context_(context) {
    setAttribute(Qt::WA_DeleteOnClose, false); // the sub-window owns and frees it
    setWindowTitle(QStringLiteral("Sistema"));
    setHint(this, QStringLiteral("Scheda principale del sistema."));

    const PrintSettings settings = loadPrintSettings(programFolder());
    state_.layout = settings.layout;
    context_.columnPrice() = settings.columnPrice;
    QString folder = QDir::currentPath();
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    setFileName(folder + QString::fromStdString(newSystemFileName(newSystemNumber)));
    state_.modified = false;

    buildPanels();
    buildCommands();
    reloadUserFunctions();
    // An add or a delete made from any window changes the menu of every window.
    connect(&context_, &ProgramContext::userFunctionsChanged, this,
            &SystemWindow::reloadUserFunctions);
    resize(780, 480);
    setMinimumSize(leftPanelWidth(1) + minimumFinalPanelWidth, toolPanelHeight + 360);
    refreshSystemView();
}

SystemWindow::~SystemWindow() = default;

QString SystemWindow::fileName() const {
    return QString::fromStdString(state_.fileName);
}

void SystemWindow::setFileName(const QString& name) {
    state_.fileName = name.toStdString();
}

QMdiSubWindow* SystemWindow::subWindow() const {
    return qobject_cast<QMdiSubWindow*>(parentWidget());
}

void SystemWindow::buildPanels() {
    toolPanel_ = new BevelPanel(this);
    toolPanel_->setObjectName(QStringLiteral("toolPanel"));
    initialSystemPanel_ = new BevelPanel(this);
    initialSystemPanel_->setObjectName(QStringLiteral("initialSystemPanel"));
    finalColumnsPanel_ = new BevelPanel(this);
    finalColumnsPanel_->setObjectName(QStringLiteral("finalColumnsPanel"));
    for (BevelPanel* panel : {toolPanel_, initialSystemPanel_, finalColumnsPanel_})
        panel->setBackgroundTile(BevelPanel::standardBackground());
    setHint(initialSystemPanel_, QStringLiteral("Parte riguardante il sistema iniziale."));
    setHint(finalColumnsPanel_, QStringLiteral("Parte riguardante le colonne giocabili."));
    initialSystemPanel_->setAccessibleName(QStringLiteral("Sistema iniziale"));
    finalColumnsPanel_->setAccessibleName(QStringLiteral("Colonne finali"));
    buildInitialSystemPanel();
    buildFinalColumnsPanel();
}

void SystemWindow::buildInitialSystemPanel() {
    QWidget* panel = initialSystemPanel_;
    auto* title =
        new ShadowLabel(darkRed, labelFont(18), panel, QStringLiteral("Sistema iniziale"));
    title->setObjectName(QStringLiteral("initialSystemTitle"));
    title->adjustSize();
    title->move(20, 8);
    auto* markedCaption =
        new ShadowLabel(Qt::black, labelFont(14), panel, QStringLiteral("Numero di segni:"));
    markedCaption->setObjectName(QStringLiteral("markedCountCaption"));
    markedCaption->adjustSize();
    markedCaption->move(20, 40);
    auto* columnsCaption =
        new ShadowLabel(Qt::black, labelFont(14), panel, QStringLiteral("Colonne iniziali:"));
    columnsCaption->setObjectName(QStringLiteral("initialColumnsCaption"));
    columnsCaption->adjustSize();
    columnsCaption->move(20, 64);
    markedCountLabel_ = new ShadowLabel(Qt::black, labelFont(14), panel);
    markedCountLabel_->setObjectName(QStringLiteral("markedCountLabel"));
    initialColumnsLabel_ = new ShadowLabel(Qt::black, labelFont(14), panel);
    initialColumnsLabel_->setObjectName(QStringLiteral("initialColumnsLabel"));
    for (QLabel* l : {markedCaption, markedCountLabel_})
        setHint(l, QStringLiteral("Numero di segni che compongono il sistema."));
    // The count's own hint is the count itself, set as it changes.
    setHint(columnsCaption, QStringLiteral("Numero di colonne che compongono il sistema."));
    markedCountLabel_->setAccessibleName(QStringLiteral("Numero di segni"));
    initialColumnsLabel_->setAccessibleName(QStringLiteral("Colonne iniziali"));

    boardWidget_ = new NumberBoard(panel);
    boardWidget_->setObjectName(QStringLiteral("boardWidget"));
    boardWidget_->setAccessibleName(QStringLiteral("Tavola dei numeri"));
    setHint(boardWidget_,
            QStringLiteral("Usa il tasto sinistro del mouse per selezionare/annullare un segno del "
                           "sistema."));
    connect(boardWidget_, &NumberBoard::pressed, this, &SystemWindow::onBoardPressed);
    connect(boardWidget_, &NumberBoard::toggleRequested, this, [this](int n) {
        state_.modified = true;
        toggleBoardMark(n);
        refreshSystemView();
    });

    markedNumbersLabel_ = new ShadowLabel(Qt::black, labelFont(16), panel);
    markedNumbersLabel_->setObjectName(QStringLiteral("markedNumbersLabel"));
    markedNumbersLabel_->setWordWrap(true);
    markedNumbersLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    markedNumbersLabel_->setAccessibleName(QStringLiteral("Numeri segnati"));
}

void SystemWindow::buildFinalColumnsPanel() {
    QWidget* panel = finalColumnsPanel_;
    finalColumnsLabel_ = new ShadowLabel(darkRed, labelFont(18), panel);
    finalColumnsLabel_->setObjectName(QStringLiteral("finalColumnsLabel"));
    setHint(finalColumnsLabel_, QStringLiteral("Numero di colonne giocabili."));
    costLabel_ = new ShadowLabel(Qt::black, labelFont(14), panel);
    costLabel_->setObjectName(QStringLiteral("costLabel"));
    setHint(costLabel_, QStringLiteral("Costo delle colonne giocabili."));

    model_ = new FinalColumnsModel(state_, this);
    finalColumnsGrid_ = new QTableView(panel);
    QTableView* grid = finalColumnsGrid_;
    grid->setObjectName(QStringLiteral("finalColumnsGrid"));
    grid->setModel(model_);
    grid->setAccessibleName(QStringLiteral("Colonne finali"));
    setHint(grid, QStringLiteral("Elenco delle colonne giocabili."));
    QFont courier(QStringLiteral("Courier"));
    courier.setStyleHint(QFont::TypeWriter);
    courier.setPixelSize(13);
    grid->setFont(courier);
    grid->horizontalHeader()->setFont(courier);
    grid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->horizontalHeader()->setHighlightSections(false);
    grid->setColumnWidth(0, 70);
    grid->setColumnWidth(1, 148);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->verticalHeader()->setMinimumSectionSize(10);
    grid->verticalHeader()->setDefaultSectionSize(17);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    // One range of rows, as the delete and modify commands take it: Ctrl+click must not make
    // a selection with gaps that "Taglia" would then close up.
    grid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setWordWrap(false);
    // Tab moves on to the next control; Ctrl+Tab moves between the grid's cells.
    grid->setTabKeyNavigation(false);
    grid->horizontalHeader()->setStretchLastSection(true);
}

QMenu* SystemWindow::addCommandMenu(const QString& title) {
    auto* menu = new QMenu(title, this);
    menus_ << menu;
    if (title == QLatin1String("Funzioni &Utente"))
        addUserFunctionPlaces(menu);
    return menu;
}

void SystemWindow::addUserFunctionPlaces(QMenu* menu) {
    userFunctionMenu_ = menu;
    menu->setObjectName(QStringLiteral("userFunctionMenu"));
    // Places for the registered functions, shown as they are filled in.
    for (int k = 1; k <= 15; ++k) {
        QAction* item = menu->addAction(QStringLiteral("&%1").arg(k));
        item->setObjectName(QStringLiteral("userFunctionAction%1").arg(k));
        item->setVisible(false);
        connect(item, &QAction::triggered, this, &SystemWindow::onUserFunctionTriggered);
        functionItems_ << item;
    }
    userFunctionSeparator_ = menu->addSeparator();
    userFunctionSeparator_->setObjectName(QStringLiteral("userFunctionSeparator"));
    userFunctionSeparator_->setVisible(false);
}

void SystemWindow::addRecentFilesMenu(QMenu* menu) {
    QMenu* recent = menu->addMenu(QStringLiteral("&Riapri"));
    recent->menuAction()->setObjectName(QStringLiteral("reopenAction"));
    recent->menuAction()->setShortcut(QKeySequence(QStringLiteral("Ctrl+R")));
    openSubmenuOnShortcut(menu, recent);
    // Each item's tip is the whole path its caption shortens.
    recent->setToolTipsVisible(true);
    // Read again each time: another window's save may have moved the entries, and an item
    // must open the file its caption names.
    connect(recent, &QMenu::aboutToShow, this, &SystemWindow::refreshRecentMenus);
    for (int k = 0; k < 6; ++k) {
        QAction* item = recent->addAction(QStringLiteral("&%1").arg(k + 1));
        item->setObjectName(QStringLiteral("recentAction%1").arg(k + 1));
        connect(item, &QAction::triggered, this, [this, k] { openRecent(k); });
        recentItems_ << item;
    }
}

void SystemWindow::buildCommands() {
    const QStringList& pending = pendingCommands();
    QMenu* menu = nullptr;
    QHash<QString, QToolButton*> buttons;
    for (const CommandDef& def : commandTable) {
        if (!menu || menu->title() != QString::fromUtf8(def.menu))
            menu = addCommandMenu(QString::fromUtf8(def.menu));
        QAction* action = commandAction(this, def, pending);
        menu->addAction(action);
        if (action->objectName() == QLatin1String("openAction"))
            addRecentFilesMenu(menu);
        if (def.separatorAfter)
            menu->addSeparator();
        if (*def.button) {
            QToolButton* button = commandButton(
                def.place == Place::Toolbar ? toolPanel_ : finalColumnsPanel_, this, def, action);
            buttons.insert(button->objectName(), button);
            if (def.place == Place::ColumnPanel)
                columnButtons_ << button;
        }
    }
    placeToolbarButtons(buttons);
    // Ctrl++ needs Shift on keyboards where + shares the = key: Ctrl+= works there too.
    QAction* zoomIn = command(QStringLiteral("zoomInAction"));
    zoomIn->setShortcuts({zoomIn->shortcut(), QKeySequence(QStringLiteral("Ctrl+="))});
}

QAction* SystemWindow::command(const QString& objectName) const {
    return findChild<QAction*>(objectName);
}

QToolButton* SystemWindow::button(const QString& objectName) const {
    return findChild<QToolButton*>(objectName);
}

QSize SystemWindow::sizeForBoardScale(qreal scale, int finalPanelWidth) {
    return {leftPanelWidth(scale) + std::max(finalPanelWidth, minimumFinalPanelWidth),
            windowHeightFor(scale)};
}

QSize SystemWindow::defaultSize(QSize area) {
    // In quarter steps, so that neighbouring screens give the same board.
    qreal scale = std::floor((area.height() * defaultHeightShare - windowHeightFor(0)) /
                             NumberBoard::boardHeight * 4) /
                  4;
    scale = std::clamp(scale, 1.0, 4.0);
    while (scale > 1 &&
           leftPanelWidth(scale) + defaultFinalPanelWidth > area.width() * defaultWidthShare)
        scale -= 0.25;
    return sizeForBoardScale(scale, defaultFinalPanelWidth).boundedTo(area);
}

void SystemWindow::onZoomInTriggered() {
    zoomTo(sizeForBoardScale(boardScale_ * zoomStep, width() - leftPanelWidth(boardScale_)));
}

void SystemWindow::onZoomOutTriggered() {
    zoomTo(sizeForBoardScale(std::max(1.0, boardScale_ / zoomStep),
                             width() - leftPanelWidth(boardScale_)));
}

void SystemWindow::onZoomResetTriggered() {
    zoomTo(defaultSize(availableArea()));
}

QSize SystemWindow::availableArea() const {
    const QMdiSubWindow* sub = subWindow();
    if (sub && sub->mdiArea())
        return sub->mdiArea()->viewport()->size() - (sub->size() - size());
    if (const QScreen* shown = screen())
        return shown->availableSize() - (frameGeometry().size() - size());
    return size();
}

void SystemWindow::zoomTo(QSize wanted) {
    // The window grows as far as its area lets it; the board then takes what fits.
    const QSize target = wanted.boundedTo(availableArea()).expandedTo(minimumSize());
    QMdiSubWindow* sub = subWindow();
    if (!sub) {
        resize(target);
        return;
    }
    if (sub->isMaximized() || sub->isMinimized())
        sub->showNormal();
    sub->resize(target + (sub->size() - size()));
    // A window grown past the area's edge moves back inside it.
    if (const QMdiArea* area = sub->mdiArea()) {
        const QSize room = area->viewport()->size();
        sub->move(std::clamp(sub->x(), 0, std::max(0, room.width() - sub->width())),
                  std::clamp(sub->y(), 0, std::max(0, room.height() - sub->height())));
    }
}

void SystemWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int w = width();
    const int h = height();
    boardScale_ = fittingBoardScale(size());
    const int leftWidth = leftPanelWidth(boardScale_);
    toolPanel_->setGeometry(0, 0, w, toolPanelHeight);
    initialSystemPanel_->setGeometry(0, toolPanelHeight, leftWidth, h - toolPanelHeight);
    finalColumnsPanel_->setGeometry(leftWidth, toolPanelHeight, std::max(0, w - leftWidth),
                                    h - toolPanelHeight);
    layOutInitialSystemPanel();
    layOutFinalColumnsPanel();
}

void SystemWindow::layOutInitialSystemPanel() {
    const QSize boardSize(int(std::lround(NumberBoard::boardWidth * boardScale_)),
                          int(std::lround(NumberBoard::boardHeight * boardScale_)));
    boardWidget_->setGeometry(QRect(QPoint(boardLeft, boardTop), boardSize));
    // The list keeps its proportions, so as many numbers fit on it at any scale; it only runs
    // longer down beside the board.
    const qreal textScale = listScale(boardScale_);
    markedNumbersLabel_->setFont(labelFont(int(std::lround(listFontPixels * textScale))));
    markedNumbersLabel_->setFixedSize(
        QSize(int(std::lround(listWidth * textScale)), boardSize.height()) +
        QSize(ShadowLabel::shadowOffset.x(), ShadowLabel::shadowOffset.y()));
    markedNumbersLabel_->move(boardLeft + boardSize.width() + boardListGap, boardTop);
}

void SystemWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    layOutFinalColumnsPanel();
}

void SystemWindow::layOutFinalColumnsPanel() {
    const int clientWidth = finalColumnsPanel_->contentsRect().width();
    // Each label's text centred, with integer division.
    for (const auto& [label, top] : {std::pair{finalColumnsLabel_, 8}, std::pair{costLabel_, 34}}) {
        label->adjustSize();
        label->move((clientWidth - label->contentsRect().width()) / 2, top);
    }

    const int buttonsWidth = int(columnButtons_.size()) * 34 - 2;
    int x = (clientWidth - buttonsWidth) / 2;
    for (QToolButton* b : columnButtons_) {
        b->move(x, 56);
        x += 34;
    }
    // The grid takes the rest of the panel, its own width at the least.
    const int gridWidth =
        std::max(70 + 148 + finalColumnsGrid_->verticalScrollBar()->sizeHint().width() +
                     2 * finalColumnsGrid_->frameWidth() + 2,
                 clientWidth - 2 * gridSideMargin);
    finalColumnsGrid_->setFixedWidth(gridWidth);
    finalColumnsGrid_->move((clientWidth - gridWidth) / 2, gridTop);
    if (finalColumnsGrid_->isVisibleTo(finalColumnsPanel_))
        finalColumnsGrid_->setFixedHeight(
            std::max(0, finalColumnsPanel_->contentsRect().height() - gridTop - 4));
}

void SystemWindow::onBoardPressed(Qt::MouseButton /*button*/, int x, int y) {
    state_.modified = true;
    const int w = NumberBoard::boardWidth;
    const int h = NumberBoard::boardHeight;
    if (x < 3 || x > w - 3 || y < 3 || y > h - 3)
        return;
    const int col = static_cast<int>(x / (w * (1.0 / 6)));
    const int row = static_cast<int>(y / (h * (1.0 / 15)));
    const int n = std::clamp(15 * col + row + 1, 1, boardSize);
    toggleBoardMark(n);
    refreshSystemView();
}

void SystemWindow::toggleBoardMark(int n) {
    if (!isBoardNumber(n))
        return;
    // Only a byte 1 is a mark, as the state counts it; a loaded file may hold other values.
    if (state_.marked[static_cast<std::size_t>(n)] == 1)
        boardWidget_->eraseMark(n);
    else
        boardWidget_->drawMark(n);
    layOutFinalColumnsPanel();
    state_.toggleMark(n);
}

void SystemWindow::drawBoardMarks() {
    for (int n = 1; n <= boardSize; ++n) {
        if (state_.marked[static_cast<std::size_t>(n)] == 1)
            boardWidget_->drawMark(n);
        else
            boardWidget_->eraseMark(n);
    }
    layOutFinalColumnsPanel();
}

void SystemWindow::refreshSystemView() {
    refreshInitialSystem();
    refreshFinalColumns();
    layOutFinalColumnsPanel();
}

void SystemWindow::refreshInitialSystem() {
    const int count = state_.markedCount();
    markedCountLabel_->setText(QString::number(count));
    markedCountLabel_->adjustSize();
    markedCountLabel_->move(160, 40);

    const QString initial = QString::fromStdString(initialColumnCountText(count));
    initialColumnsLabel_->setText(initial);
    setHint(initialColumnsLabel_, initial);
    initialColumnsLabel_->adjustSize();
    initialColumnsLabel_->move(160, 64);

    markedNumbersLabel_->setText(QString::fromStdString(markedNumbersText(state_)));
}

void SystemWindow::refreshFinalColumns() {
    const std::size_t columns = state_.finalColumns.size();
    finalColumnsLabel_->setText(QStringLiteral("Colonne finali: %1").arg(columns));
    costLabel_->setText(QString::fromStdString(costText(context_.columnPrice(), columns)));
    model_->refresh();
    finalColumnsGrid_->horizontalHeader()->setVisible(!state_.finalColumns.empty());
}

void SystemWindow::showFileName() {
    const QString shortName = fileNamePart(fileName());
    setWindowTitle(shortName);
    if (QMdiSubWindow* sub = subWindow())
        sub->setWindowTitle(shortName);
    command(QStringLiteral("saveAction"))
        ->setText(QStringLiteral("&Salva ") + literalMenuText(shortName));
    setHint(button(QStringLiteral("saveButton")), QStringLiteral("Salva ") + shortName);
    refreshRecentMenus();
}

void SystemWindow::refreshRecentMenus() {
    const RecentFiles list = RecentFiles::load(RecentFiles::location(programFolder()));
    const std::string own = state_.fileName;
    for (int k = 0; k < 6; ++k) {
        QAction* item = recentItems_[k];
        showRecentEntry(item, k, list);
        const bool filled = item->isVisible();
        if (host_)
            host_->showRecentItem(k, item->text(), item->data().toString(), filled);
        if (filled && list.entries[static_cast<std::size_t>(k)] == own)
            item->setVisible(false);
    }
}

bool SystemWindow::loadSystem(const QString& name) {
    const bool loaded = quintor::readSystemFile(toPath(name), state_, diskVersion_);
    // A file that is not a readable system (a damaged one, or another kind of file chosen by
    // mistake) is not replaced by a plain save without asking.
    nameChosen_ = loaded;
    model_->refresh();
    finalColumnsGrid_->horizontalHeader()->setVisible(!state_.finalColumns.empty());
    if (!loaded)
        return false;
    drawBoardMarks();
    refreshSystemView();
    const std::string unread = unreadFilterLinesMessage(toPath(name), state_.unreadFilterLines);
    if (!unread.empty())
        showInformation(this, QStringLiteral("Filtri"), QString::fromStdString(unread));
    return true;
}

bool SystemWindow::saveSystemTo(const QString& name) {
    HourglassGuard hourglass;
    std::optional<DiskVersion> version = diskVersion_;
    SystemSaveResult result = saveSystemFile(toPath(name), state_, version);
    if (result == SystemSaveResult::changedOnDisk) {
        // Another program (or another window) saved this file after this window read or
        // saved it: its work is not replaced unless the user says so.
        hourglass.release();
        if (!confirmReplacingOtherChange(name))
            return false;
        version.reset();
        HourglassGuard again;
        result = saveSystemFile(toPath(name), state_, version);
    }
    if (result != SystemSaveResult::saved) {
        hourglass.release();
        showError(this, QStringLiteral("Errore !"),
                  result == SystemSaveResult::busy ? QString::fromUtf8(systemBusyMessage)
                                                   : saveErrorMessage());
        return false;
    }
    diskVersion_ = version;
    state_.modified = false;
    nameChosen_ = true;
    // The list's own troubles never make a save fail.
    RecentFiles::recordSave(programFolder(), name.toStdString());
    refreshRecentMenus();
    return true;
}

void SystemWindow::onSaveTriggered() {
    // A name the program chose has never been confirmed by the user: a file that has
    // appeared under it since, in any letter case, is not replaced without asking.
    QString name = fileName();
    if (!nameChosen_) {
        if (!confirmOverwrite(this, name))
            return;
        if (name != fileName()) {
            setFileName(name);
            showFileName();
        }
    }
    saveSystemTo(name);
}

void SystemWindow::onSaveAsTriggered() {
    FileRequest request;
    request.title = QStringLiteral("Salva sistema con nome");
    request.filter = QStringLiteral("Sistema Quintor (*.qtr)|*.qtr|Tutti i file (*.*)|*.*");
    request.defaultExtension = QStringLiteral("qtr");
    request.startName = fileName();
    const QString typed = Prompter::current().saveFileName(this, request);
    if (typed.isEmpty())
        return;
    QString chosen = QString::fromStdString(systemFileNameFor(toPath(typed)).string());
    if (!confirmOverwrite(this, chosen))
        return;
    setFileName(chosen);
    showFileName();
    saveSystemTo(chosen);
}

bool SystemWindow::confirmReplacingOtherChange(const QString& name) {
    return askQuestion(this, QStringLiteral("Attenzione"),
                       QStringLiteral("Il file %1 è stato modificato da un altro programma dopo "
                                      "l'ultima apertura o registrazione !\rSovrascrivo le sue "
                                      "modifiche con il sistema di questa finestra ?")
                           .arg(fileNamePart(name)),
                       QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

bool SystemWindow::confirmClose() {
    changesGivenUp_ = false;
    if (!state_.modified)
        return true;
    // With several systems asked in turn, the user sees which one the question is about.
    if (QMdiSubWindow* sub = subWindow(); sub && sub->mdiArea())
        sub->mdiArea()->setActiveSubWindow(sub);
    const auto answer = askQuestion(
        this, QStringLiteral("Attenzione"),
        QStringLiteral(
            "Il sistema attuale è stato modificato !\rVuoi registrare le modifiche ?\r") +
            fileNamePart(fileName()),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (answer == QMessageBox::Yes) {
        onSaveAsTriggered();
        return !state_.modified;
    }
    if (answer == QMessageBox::No) {
        state_.modified = false;
        changesGivenUp_ = true;
        return true;
    }
    return false;
}

void SystemWindow::closeEvent(QCloseEvent* event) {
    if (confirmClose())
        event->accept();
    else
        event->ignore();
}

void SystemWindow::onCloseTriggered() {
    if (QMdiSubWindow* sub = subWindow())
        sub->close();
    else
        close();
}

void SystemWindow::onNewTriggered() {
    if (host_)
        host_->newSystem();
}

void SystemWindow::onOpenTriggered() {
    if (host_)
        host_->openSystem();
}

void SystemWindow::onQuitTriggered() {
    if (host_)
        host_->quitProgram();
}

void SystemWindow::openRecent(int index) {
    if (host_)
        host_->openRecentSystem(index);
}

} // namespace quintor
